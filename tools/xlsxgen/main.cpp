// xlsxgen OUT.xlsx SHEETNAME=FILE [SHEETNAME=FILE ...]
//
// Builds a workbook from readable sources at build time: one sheet per pair, in the given order.
// FILE is a table of values (.tsv) or a laid-out sheet description (.sheet).
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "sheet_source.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: xlsxgen OUT.xlsx SHEETNAME=FILE.tsv|FILE.sheet [SHEETNAME=FILE ...]\n", stderr);
    return 2;
  }
  try {
    std::vector<xlsxgen::SheetSource> sheets;
    for (int i = 2; i < argc; ++i) {
      const std::string arg = argv[i];
      const auto eq = arg.find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) {
        throw xlsxgen::Failure("'" + arg + "': expected SHEETNAME=FILE");
      }
      sheets.push_back(xlsxgen::readSheet(arg.substr(0, eq), arg.substr(eq + 1)));
    }
    xlsxgen::writeWorkbook(argv[1], sheets);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "xlsxgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
