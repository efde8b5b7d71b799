#pragma once
// Office Open XML workbooks (.xlsx): the spreadsheet files the program reads its pipe data from
// and writes its reports into.
//
// A Workbook is one in-memory model of the package: every zip entry is held as bytes, and the
// parts that describe the workbook (content types, relationships, workbook.xml, shared strings,
// styles) are parsed once and kept. Only this module knows the OOXML layout; callers see sheets
// by name and cells as values. The model is editable by design so that writing (cells, sheets,
// defined names, save as) can be layered on the same parsed parts.
//
// Every file is treated as untrusted: sizes are bounded, archive paths never touch the disk,
// relationship targets resolve only inside the package, and malformed content raises
// xlsx::Error instead of crashing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cell_ref.h"

namespace tovakin::platform::xlsx {

struct CellValue {
  enum class Type { Empty, Number, Text, Boolean, Error };
  Type type = Type::Empty;
  double number = 0;  // Number: the value; Boolean: 1 or 0
  std::string text;   // Text: the string (rich text runs joined); Error: "#N/A", "#DIV/0!", ...
  // A formula cell carries its cached result as one of the types above.

  bool empty() const { return type == Type::Empty; }
  friend bool operator==(const CellValue&, const CellValue&) = default;
};

// One sheet row: index = column (A = 0). Trailing empty cells may be absent.
using Row = std::vector<CellValue>;

// Raised for anything wrong with a workbook; the message is Japanese and names the file,
// sheet or part concerned.
class Error : public std::runtime_error {
  using runtime_error::runtime_error;
};

// Bounds that protect the reader from hostile or broken files.
struct Limits {
  std::uint64_t maxEntrySize = 64ull << 20;    // uncompressed bytes of one zip entry
  std::uint64_t maxTotalSize = 256ull << 20;   // uncompressed bytes of all entries together
  std::uint64_t maxEntries = 10000;            // entries in the archive
  std::uint64_t maxCellsPerSheet = 1u << 20;   // cells (present in the XML) of one sheet
  std::uint64_t maxFileSize = 256ull << 20;    // bytes of the .xlsx file itself
};

// CellRef, parseCellRef ("B12", "$b$12" -> column 1, row 12; false for anything outside the
// sheet grid) and formatCellRef come from platform/cell_ref.h.

namespace detail {
struct Model;  // the parsed package; defined in xlsx_model.h
}

class Workbook {
 public:
  // Reads the whole package into memory. Throws xlsx::Error when the file is missing or
  // unreadable, is not a zip archive, exceeds the limits, or its workbook parts are broken.
  static Workbook open(const std::string& path, const Limits& limits = Limits{});

  Workbook(Workbook&&) noexcept;
  Workbook& operator=(Workbook&&) noexcept;
  ~Workbook();

  // The file the workbook was opened from.
  const std::string& path() const;

  // Sheet names in workbook order (worksheets only; chart sheets are left out).
  const std::vector<std::string>& sheetNames() const;
  bool hasSheet(std::string_view name) const;

  // The sheet's cells, row 1 first; rows missing from the XML are empty Rows, trailing empty
  // rows after the last row present are absent. Throws xlsx::Error for an unknown sheet name
  // or a broken sheet part.
  std::vector<Row> rows(std::string_view sheet) const;

 private:
  explicit Workbook(std::unique_ptr<detail::Model> model);
  std::unique_ptr<detail::Model> model_;
};

}  // namespace tovakin::platform::xlsx
