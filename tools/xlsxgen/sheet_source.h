#pragma once
// xlsxgen: the sheets to write, independent of the file format they were read from.
//
// A reader turns one input file into a SheetSource; the writer turns a list of them into one
// workbook. Each input format is one reader, chosen by the file's extension, so that a richer
// description (cell formats, print set-up) can be added beside the TSV reader without touching
// the writer's callers.
#include <stdexcept>
#include <string>
#include <vector>

namespace xlsxgen {

// A problem with the input or the output; the message names the file (and line) concerned.
class Failure : public std::runtime_error {
  using runtime_error::runtime_error;
};

struct Cell {
  enum class Kind { Empty, Number, Text };
  Kind kind = Kind::Empty;
  double number = 0;
  std::string text;
};

struct SheetSource {
  std::string name;                     // the sheet's tab name
  std::vector<std::vector<Cell>> rows;  // row 1 first, column A first
};

// Reads one sheet from a TSV file (see tsv_reader.cpp for the rules).
SheetSource readTsvSheet(const std::string& sheetName, const std::string& path);

// Reads one sheet from a file of any supported input format, chosen by its extension.
SheetSource readSheet(const std::string& sheetName, const std::string& path);

// Writes the sheets in the given order to `outPath`, atomically: the workbook is written to
// `outPath` + ".tmp" and renamed over `outPath` only when complete.
void writeWorkbook(const std::string& outPath, const std::vector<SheetSource>& sheets);

}  // namespace xlsxgen
