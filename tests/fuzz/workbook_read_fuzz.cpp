// The workbook reader: any bytes as an .xlsx file either open or are refused with xlsx::Error;
// an opened workbook lists its sheets and every cell of every sheet is read (a sheet may still
// be refused on its own).
#include <cmath>
#include <string>

#include "fuzz/fuzz_target.h"
#include "fuzz/workbook_limits.h"
#include "fuzz/zip_mutator.h"
#include "platform/xlsx.h"

namespace {

namespace xlsx = tovakin::platform::xlsx;

// Touches every value, so that a value the reader built wrongly is read by the sanitizers.
std::size_t readAllCells(const xlsx::Workbook& book, const std::string& sheet) {
  std::size_t seen = 0;
  for (const xlsx::Row& row : book.rows(sheet))
    for (const xlsx::CellValue& cell : row) {
      switch (cell.type) {
        case xlsx::CellValue::Type::Empty:
          break;
        case xlsx::CellValue::Type::Number:
        case xlsx::CellValue::Type::Boolean:
          seen += std::isnan(cell.number) ? 2 : 1;
          break;
        case xlsx::CellValue::Type::Text:
        case xlsx::CellValue::Type::Error:
          seen += cell.text.size();
          break;
      }
    }
  return seen;
}

}  // namespace

TOVAKIN_FUZZ_TARGET(workbook_read) {
  static const std::string path = tovakin::fuzz::ScratchFolder::file("read.xlsx");
  if (!tovakin::fuzz::writeInput(path, data, size)) return 0;

  try {
    const xlsx::Workbook book = xlsx::Workbook::open(path, tovakin::fuzz::workbookLimits());
    TOVAKIN_FUZZ_CHECK(book.path() == path);
    for (const std::string& sheet : book.sheetNames()) {
      TOVAKIN_FUZZ_CHECK(book.hasSheet(sheet));
      try {
        (void)readAllCells(book, sheet);
      } catch (const xlsx::Error&) {
        // This sheet's part is refused; the others are still read.
      }
    }
  } catch (const xlsx::Error&) {
    // A refused file is the reader's normal answer to bytes that are no workbook.
  }
  return 0;
}
