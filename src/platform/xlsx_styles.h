#pragma once
// Read-only inspection of a workbook's cell formats, merged ranges, rich-text runs and defined
// names: what a cell looks like rather than what it holds. Used to check the report template
// (every cell a writer fills must exist with its format), never by the report writer itself.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsx.h"

namespace tovakin::platform::xlsx {

// One piece of a cell's text with its own font settings (a rich-text run).
struct TextRun {
  std::string text;
  bool superscript = false;
  bool subscript = false;
};

struct CellLook {
  bool present = false;     // the cell is written in the sheet (with a value or only a format)
  bool styled = false;      // it carries a cell format other than the workbook's default
  std::string text;         // its text, "" when empty or not a text
  std::vector<TextRun> runs;  // rich-text runs; empty for a plain text
  // Alignment ("" when not set: the spreadsheet's general alignment).
  std::string horizontal;
  std::string vertical;
  bool wrapText = false;
  bool shrinkToFit = false;
  int indent = 0;
  // Font of the cell format.
  std::string fontName;
  double fontSize = 0;
  bool bold = false;
  // Borders of the cell format ("" = none, else the line style: "thin", "medium", ...).
  std::string borderTop, borderBottom, borderLeft, borderRight;
  // The merged range the cell belongs to ("" when none) and whether the cell is its first cell.
  std::string mergedRange;
  bool mergeAnchor = false;
  // Columns the cell spans: the merged range's width, else 1.
  int columnSpan = 1;
};

struct DefinedNameEntry {
  std::string name;
  int localSheet = -1;    // index of the sheet it is local to, or -1 for a workbook-wide name
  std::string refersTo;   // the formula text, e.g. 'Sheet'!$C$1
};

// A single-cell reference "Sheet!$C$1" or "'Sheet name'!C1" split into sheet and cell; false for
// ranges, several areas, constants and formulas.
bool parseSheetCell(std::string_view refersTo, std::string& sheet, CellRef& cell);

class WorkbookLooks {
 public:
  // Reads the package; throws xlsx::Error as Workbook::open does.
  static WorkbookLooks open(const std::string& path, const Limits& limits = Limits{});

  WorkbookLooks(WorkbookLooks&&) noexcept;
  WorkbookLooks& operator=(WorkbookLooks&&) noexcept;
  ~WorkbookLooks();

  const std::vector<std::string>& sheetNames() const;

  // The look of one cell by A1 reference. Throws xlsx::Error for an unknown sheet or a bad
  // reference.
  CellLook cell(std::string_view sheet, std::string_view a1) const;

  std::vector<DefinedNameEntry> definedNames() const;

 private:
  struct Impl;
  explicit WorkbookLooks(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace tovakin::platform::xlsx
