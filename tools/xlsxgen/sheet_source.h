#pragma once
// xlsxgen: the sheets to write, independent of the file format they were read from.
//
// A reader turns one input file into a SheetSource; the writer turns a list of them into one
// workbook. Each input format is one reader, chosen by the file's extension: ".tsv" gives plain
// cells (the pipe-material data), ".sheet" a laid-out sheet with cell formats, merges, rich text,
// print set-up and defined names (the report template; see sheet_description.cpp).
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xlsxgen {

// A problem with the input or the output; the message names the file (and line) concerned.
class Failure : public std::runtime_error {
  using runtime_error::runtime_error;
};

// ---- cell formats -------------------------------------------------------------------------------

enum class HAlign { General, Left, Center, Right, Fill, Justify, CenterAcross, Distributed };
enum class VAlign { Bottom, Top, Center, Justify, Distributed };
enum class Line { None, Thin, Medium, Dashed, Dotted, Thick, Double, Hair };

struct Font {
  std::string name;
  double size = 11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint32_t color = 0;  // RGB; 0 = automatic
  auto operator<=>(const Font&) const = default;
};

struct CellStyle {
  Font font;
  HAlign align = HAlign::General;
  VAlign valign = VAlign::Center;
  bool wrap = false;
  bool shrink = false;
  int indent = 0;
  Line top = Line::None, bottom = Line::None, left = Line::None, right = Line::None;
  std::string numFormat;   // "" = General
  std::uint32_t fill = 0;  // RGB background; 0 = none
  auto operator<=>(const CellStyle&) const = default;
};

// ---- cells --------------------------------------------------------------------------------------

// A piece of a rich text: raised or lowered characters are runs of their own.
enum class Script { Normal, Super, Sub };
struct Run {
  std::string text;
  Script script = Script::Normal;
  bool operator==(const Run&) const = default;
};

struct Cell {
  enum class Kind { Empty, Number, Text };
  Kind kind = Kind::Empty;
  double number = 0;
  std::string text;       // Text: the whole text (all runs joined)
  std::vector<Run> runs;  // Text: set only when some characters are raised or lowered
  bool styled = false;    // a styled cell is written even when empty
  CellStyle style;
};

// ---- sheet layout -------------------------------------------------------------------------------

struct CellRange {
  std::uint32_t firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0;  // 0-based, inclusive
  bool single() const { return firstRow == lastRow && firstCol == lastCol; }
  bool contains(std::uint32_t r, std::uint32_t c) const {
    return r >= firstRow && r <= lastRow && c >= firstCol && c <= lastCol;
  }
  bool overlaps(const CellRange& o) const {
    return firstRow <= o.lastRow && o.firstRow <= lastRow && firstCol <= o.lastCol && o.firstCol <= lastCol;
  }
};

struct PageSetup {
  int paper = 9;               // Excel paper code: 9 = A4
  bool landscape = false;
  double marginLeft = 0.7, marginRight = 0.7, marginTop = 0.75, marginBottom = 0.75;  // inches
  double marginHeader = 0.3, marginFooter = 0.3;
  bool fit = false;            // scale to fitWide x fitTall pages (0 = as many as needed)
  int fitWide = 1, fitTall = 0;
  bool centerHorizontally = false, centerVertically = false;
  std::string header, footer;  // Excel header/footer codes ("&P", "&C", ...)
  bool hasPrintArea = false;
  CellRange printArea;
  bool hideGridlines = false;  // on screen; gridlines are never printed
  int zoom = 100;
};

// A workbook-wide defined name for one cell of the sheet it is declared in.
struct DefinedName {
  std::string name;
  std::uint32_t row = 0, col = 0;  // 0-based
  int line = 0;                    // where it was declared, for messages
};

struct SheetSource {
  std::string name;                     // the sheet's tab name
  std::string origin;                   // the file it was read from, for messages
  std::vector<std::vector<Cell>> rows;  // row 1 first, column A first

  // Layout, set by the ".sheet" reader only.
  bool laidOut = false;
  Font baseFont;                              // every styled cell starts from it
  double defaultRowHeight = 0;                // points; 0 = the spreadsheet's own
  std::map<std::uint32_t, double> colWidths;  // column -> width in characters
  std::map<std::uint32_t, double> rowHeights; // row -> height in points
  std::vector<CellRange> merges;
  PageSetup page;
  std::vector<DefinedName> names;
};

// ---- readers ------------------------------------------------------------------------------------

// Reads one sheet from a TSV file (see tsv_reader.cpp for the rules).
SheetSource readTsvSheet(const std::string& sheetName, const std::string& path);

// Reads one laid-out sheet from a sheet description (see sheet_description.cpp for the format).
SheetSource readSheetDescription(const std::string& sheetName, const std::string& path);
// The same from text already in memory; `path` only names it in messages.
SheetSource parseSheetDescription(const std::string& sheetName, std::string_view text, const std::string& path);

// Reads one sheet from a file of any supported input format, chosen by its extension.
SheetSource readSheet(const std::string& sheetName, const std::string& path);

// Shared by the readers.
std::string readWholeFile(const std::string& path);
// Byte offset of the first invalid UTF-8 sequence, or npos.
std::size_t invalidUtf8At(std::string_view s);

// ---- writer -------------------------------------------------------------------------------------

// Writes the sheets in the given order to `outPath`, atomically: the workbook is written to
// `outPath` + ".tmp" and renamed over `outPath` only when complete. The workbook's Normal style
// takes the base font of the first laid-out sheet.
void writeWorkbook(const std::string& outPath, const std::vector<SheetSource>& sheets);

}  // namespace xlsxgen
