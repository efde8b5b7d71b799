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
// xlsx::Error instead of crashing. Entries whose names are no valid part names ("../x", "/x",
// "a\b", "a//b") are dropped at load, so they never reach a saved copy; the workbook is
// refused when anything refers to one. A workbook whose sheets share a part, or whose sheet
// part is also reached by another relationship, is refused, since deleting one sheet would
// take the other's body along.
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

// Bounds that protect the reader from hostile or broken files. With the defaults any workbook
// is read or refused within about 256 MiB of memory and about a second: the package is held in
// memory (at most maxTotalSize), and every XML part is checked against the bounds of its kind
// before its tree is built. Real reports and pipe-material workbooks stay far below them (their
// largest part is under 100 KB, their largest sheet a few thousand cells).
struct Limits {
  // The file and its archive. Entry sizes are checked from the zip directory before anything
  // is inflated, and again while inflating (the directory can lie).
  std::uint64_t maxFileSize = 32ull << 20;   // bytes of the .xlsx file itself
  std::uint64_t maxEntries = 10000;          // entries in the archive
  std::uint64_t maxEntrySize = 32ull << 20;  // uncompressed bytes of one entry of any kind
  std::uint64_t maxTotalSize = 48ull << 20;  // uncompressed bytes of all entries together

  // One kind of XML part: its uncompressed bytes, and what building its tree may cost. The
  // cost is bounded from a scan of the bytes before parsing: the parser's copy of them, 64
  // bytes for every node the bytes can make and 40 for every attribute.
  struct Part {
    std::uint64_t maxSize;
    std::uint64_t maxTree;
  };
  Part sheetPart{16ull << 20, 48ull << 20};
  Part sharedStringsPart{16ull << 20, 32ull << 20};
  Part stylesPart{4ull << 20, 16ull << 20};
  Part workbookPart{2ull << 20, 8ull << 20};
  Part relsPart{2ull << 20, 8ull << 20};   // relationships
  Part otherPart{2ull << 20, 8ull << 20};  // content types, document properties, any other part

  // What the parts hold.
  std::uint64_t maxCellsPerSheet = 1u << 18;     // cells of one sheet: <c> elements, and the
                                                 // cells handed out counted from column A
  std::uint64_t maxTextPerSheet = 32ull << 20;   // bytes of text handed out for one sheet
  std::uint64_t maxSharedStrings = 1u << 18;     // items of the shared strings
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
