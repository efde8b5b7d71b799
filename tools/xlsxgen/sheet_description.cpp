// Sheet descriptions (".sheet"): one laid-out sheet as readable, diffable text.
//
// UTF-8, one statement per line, LF or CR LF. Blank lines and lines whose first non-blank
// character is "#" are ignored. Words are separated by blanks; a value holding blanks is put in
// double quotes (font="ＭＳ 明朝"). Lengths: column widths in characters, row heights and font
// sizes in points, margins in millimetres. Rows and columns are written as in the spreadsheet
// (row 1, column A); a RANGE is one cell "G12" or a rectangle "G12:J12".
//
//   sheet NAME                 first statement: the tab name, equal to the name the sheet is
//                              given on the command line
//   font NAME SIZE             base font of every cell of the sheet (default "ＭＳ 明朝" 10.5)
//   page a4|a3|b5|b4|letter portrait|landscape
//   margins L R T [B [H F]]    page margins in mm (B defaults to T; H, F the header and footer
//                              distances)
//   fit W H                    print scaled to W pages wide and H tall (0 = as many as needed)
//   center horizontal|vertical|both|none    position of the print on the paper
//   header TEXT / footer TEXT  page header and footer, in the spreadsheet's codes (&C&P ...)
//   print RANGE                print area
//   gridlines hidden|shown     gridlines on screen (they are never printed)
//   zoom PERCENT
//   width COLS W               column width: "width C 2.5", "width C:AD 2.5"
//   height ROWS H              row height: "height 1 26", "height 10:12 8", "height default 17"
//   style NAME PROP...         defines (or redefines) a cell style for this sheet
//   name NAME CELL             workbook-wide defined name for CELL of this sheet; CELL must be
//                              a cell (or the first cell of a merged range) defined below
//   border RANGE EDGES LINE    draws lines: EDGES is box (outline), grid (outline and inner),
//                              all (= grid), top, bottom, left, right, inner, inner-h, inner-v;
//                              LINE is thin, medium, thick, double, hair, dotted, dashed, none
//   RANGE STYLE[+STYLE...] [TEXT]
//                              a cell: a rectangle is merged into one cell. The styles apply
//                              left to right; a style property may stand in the list too
//                              (value+bold, text+size=12). TEXT is the rest of the line, blanks at both ends
//                              removed (put it in double quotes to keep them); without TEXT the
//                              cell is left empty but styled, ready to receive a value.
//
// Markup in TEXT: "^x" raises the one character x, "^{xyz}" raises several, "_x" and "_{xyz}"
// lower them (m^3, kN/m^2, γ_{sat}); "^^" and "__" stand for "^" and "_" themselves.
//
// Style properties: font=NAME size=PT bold regular italic underline color=RRGGBB fill=RRGGBB
// align=general|left|center|right|fill|justify|center-across|distributed
// valign=top|center|bottom|justify|distributed wrap shrink indent=N num=FORMAT
// border=LINE border-top=LINE border-bottom=LINE border-left=LINE border-right=LINE,
// and the name of a style defined before, whose properties are taken in its place.
// Built-in styles (every cell starts from the base font, vertically centred):
//   text, label         left-aligned          value, right   right-aligned
//   unit                left-aligned, indented by one step (a small gap after the value)
//   formula             left-aligned, shrinks a long text to fit its cell
//   title               bold 14 pt, left      heading   bold 11 pt, left
//   subheading          bold, left            center    centred
//   note                9 pt, left            plain     nothing added
//
// Every problem (an unknown word, a bad reference, overlapping cells, a name on a cell that is
// not defined, unbalanced markup, ...) is refused with the file, line and cause.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <unordered_map>

#include "platform/cell_ref.h"
#include "platform/utf8.h"
#include "sheet_source.h"

namespace xlsxgen {
namespace {

// ---- small parsers ------------------------------------------------------------------------------

bool parseNumber(std::string_view s, double& out) {
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

bool parseInt(std::string_view s, int& out) {
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

// Cells, columns and rows are written in the plain form only: "G12", "AD", "12".
using tovakin::platform::xlsx::kPlainA1;

// Column letters ("A", "AD") -> 0-based index.
bool parseColumn(std::string_view s, std::uint32_t& col) { return tovakin::platform::xlsx::parseColumnLetters(s, col, kPlainA1); }

// Row number ("12") -> 0-based index.
bool parseRow(std::string_view s, std::uint32_t& row) {
  if (!tovakin::platform::xlsx::parseRowDigits(s, row, kPlainA1)) return false;
  --row;
  return true;
}

bool parseCell(std::string_view s, std::uint32_t& row, std::uint32_t& col) {
  tovakin::platform::xlsx::CellRef ref;
  if (!tovakin::platform::xlsx::parseCellRef(s, ref, kPlainA1)) return false;
  row = ref.row - 1;
  col = ref.column;
  return true;
}

bool parseRange(std::string_view s, CellRange& r) {
  const auto colon = s.find(':');
  if (colon == std::string_view::npos) {
    if (!parseCell(s, r.firstRow, r.firstCol)) return false;
    r.lastRow = r.firstRow;
    r.lastCol = r.firstCol;
    return true;
  }
  return parseCell(s.substr(0, colon), r.firstRow, r.firstCol) &&
         parseCell(s.substr(colon + 1), r.lastRow, r.lastCol) && r.firstRow <= r.lastRow &&
         r.firstCol <= r.lastCol;
}

std::string cellName(std::uint32_t row, std::uint32_t col) { return tovakin::platform::xlsx::formatCellRef({col, row + 1}); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Splits off the next word; a word may hold double-quoted parts (font="ＭＳ 明朝", "a b").
// Returns false on an unterminated quote.
bool nextWord(std::string_view& rest, std::string& word) {
  word.clear();
  std::size_t i = 0;
  while (i < rest.size() && isBlank(rest[i])) ++i;
  bool quoted = false;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && isBlank(c)) break;
    word.push_back(c);
  }
  rest.remove_prefix(i);
  return !quoted;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Bytes of the character at t[i] (the text has been checked to be well-formed UTF-8).
std::size_t utf8Length(std::string_view t, std::size_t i) { return tovakin::platform::utf8::decode(t, i).length; }

// ---- styles -------------------------------------------------------------------------------------

// A style is a list of property changes, applied in order onto a cell's style.
using StyleChange = std::function<void(CellStyle&)>;
using Style = std::vector<StyleChange>;

bool parseLine(std::string_view s, Line& out) {
  static const std::pair<std::string_view, Line> kLines[] = {
      {"none", Line::None},     {"thin", Line::Thin},     {"medium", Line::Medium}, {"thick", Line::Thick},
      {"double", Line::Double}, {"hair", Line::Hair},     {"dotted", Line::Dotted}, {"dashed", Line::Dashed},
  };
  for (const auto& [name, line] : kLines) {
    if (s == name) {
      out = line;
      return true;
    }
  }
  return false;
}

bool parseColor(std::string_view s, std::uint32_t& out) {
  if (s.size() != 6) return false;
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = v == 0 ? 0x000001 : v;  // 0 means "automatic"; black stays black
  return true;
}

class Parser {
 public:
  Parser(const std::string& sheetName, const std::string& path) : path_(path) {
    sheet_.name = sheetName;
    sheet_.origin = path;
    sheet_.laidOut = true;
    sheet_.baseFont.name = "ＭＳ 明朝";
    sheet_.baseFont.size = 10.5;
    sheet_.page.hideGridlines = true;
    defineBuiltInStyles();
  }

  SheetSource parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (const auto bad = invalidUtf8At(text); bad != std::string_view::npos) {
      throw Failure(path_ + ": not valid UTF-8 at byte " + std::to_string(bad));
    }
    while (!text.empty()) {
      ++line_;
      const auto lf = text.find('\n');
      std::string_view l = text.substr(0, lf);
      text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
      if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
      for (char c : l) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) fail("control character");
      }
      statement(l);
    }
    if (!sawSheet_) throw Failure(path_ + ": empty description (expected \"sheet " + sheet_.name + "\")");
    finish();
    return std::move(sheet_);
  }

 private:
  [[noreturn]] void fail(const std::string& message) const {
    throw Failure(path_ + ":" + std::to_string(line_) + ": " + message);
  }

  void defineBuiltInStyles() {
    const auto align = [](HAlign a) { return StyleChange([a](CellStyle& s) { s.align = a; }); };
    const auto bold = StyleChange([](CellStyle& s) { s.font.bold = true; });
    const auto size = [](double pt) { return StyleChange([pt](CellStyle& s) { s.font.size = pt; }); };
    styles_["plain"] = {};
    styles_["text"] = {align(HAlign::Left)};
    styles_["label"] = {align(HAlign::Left)};
    styles_["unit"] = {align(HAlign::Left), [](CellStyle& s) { s.indent = 1; }};
    styles_["value"] = {align(HAlign::Right)};
    styles_["right"] = {align(HAlign::Right)};
    styles_["center"] = {align(HAlign::Center)};
    styles_["formula"] = {align(HAlign::Left), [](CellStyle& s) { s.shrink = true; }};
    styles_["title"] = {align(HAlign::Left), bold, size(14)};
    styles_["heading"] = {align(HAlign::Left), bold, size(11)};
    styles_["subheading"] = {align(HAlign::Left), bold};
    styles_["note"] = {align(HAlign::Left), size(9)};
  }

  void statement(std::string_view l) {
    std::string_view rest = trimBlanks(l);
    if (rest.empty() || rest.front() == '#') return;
    std::string word;
    if (!nextWord(rest, word)) fail("unterminated quote");
    if (!sawSheet_) {
      if (word != "sheet") fail("the description must start with \"sheet " + sheet_.name + "\"");
      sheetStatement(rest);
      return;
    }
    if (!word.empty() && word[0] >= 'A' && word[0] <= 'Z') {
      cellStatement(word, rest);
      return;
    }
    static const std::unordered_map<std::string_view, void (Parser::*)(std::string_view)> kStatements = {
        {"sheet", &Parser::sheetStatement},   {"font", &Parser::fontStatement},
        {"page", &Parser::pageStatement},     {"margins", &Parser::marginsStatement},
        {"fit", &Parser::fitStatement},       {"center", &Parser::centerStatement},
        {"header", &Parser::headerStatement}, {"footer", &Parser::footerStatement},
        {"print", &Parser::printStatement},   {"gridlines", &Parser::gridlinesStatement},
        {"zoom", &Parser::zoomStatement},     {"width", &Parser::widthStatement},
        {"height", &Parser::heightStatement}, {"style", &Parser::styleStatement},
        {"name", &Parser::nameStatement},     {"border", &Parser::borderStatement},
    };
    const auto found = kStatements.find(word);
    if (found == kStatements.end()) fail("unknown statement \"" + word + "\"");
    (this->*found->second)(rest);
  }

  // The words of the rest of a statement; exactly `count` of them, or between min and max.
  std::vector<std::string> words(std::string_view rest, std::size_t min, std::size_t max, const char* usage) {
    std::vector<std::string> out;
    std::string w;
    while (!trimBlanks(rest).empty()) {
      if (!nextWord(rest, w)) fail("unterminated quote");
      out.push_back(w);
    }
    if (out.size() < min || out.size() > max) fail(std::string("expected ") + usage);
    return out;
  }

  CellRange range(const std::string& s) {
    CellRange r;
    if (!parseRange(s, r)) fail("\"" + s + "\" is not a cell or range (like G12 or G12:J12)");
    return r;
  }

  double number(const std::string& s, double min, double max, const char* what) {
    double v;
    if (!parseNumber(s, v) || v < min || v > max) {
      fail("\"" + s + "\" is not a valid " + what);
    }
    return v;
  }

  // ---- statements ----

  void sheetStatement(std::string_view rest) {
    if (sawSheet_) fail("\"sheet\" given twice");
    const auto w = words(rest, 1, 1, "sheet NAME");
    if (w[0] != sheet_.name) {
      fail("the description is for sheet \"" + w[0] + "\", not \"" + sheet_.name + "\"");
    }
    sawSheet_ = true;
  }

  void fontStatement(std::string_view rest) {
    if (!cells_.empty()) fail("\"font\" must come before the cells");
    const auto w = words(rest, 2, 2, "font NAME SIZE");
    if (w[0].empty()) fail("empty font name");
    sheet_.baseFont.name = w[0];
    sheet_.baseFont.size = number(w[1], 1, 409, "font size");
  }

  void pageStatement(std::string_view rest) {
    const auto w = words(rest, 1, 2, "page a4|a3|b4|b5|letter [portrait|landscape]");
    static const std::pair<std::string_view, int> kPapers[] = {{"a4", 9}, {"a3", 8}, {"b4", 12}, {"b5", 13}, {"letter", 1}};
    const auto paper = std::find_if(std::begin(kPapers), std::end(kPapers), [&](const auto& p) { return p.first == w[0]; });
    if (paper == std::end(kPapers)) fail("unknown paper \"" + w[0] + "\"");
    sheet_.page.paper = paper->second;
    if (w.size() == 2) {
      if (w[1] != "portrait" && w[1] != "landscape") fail("expected portrait or landscape, not \"" + w[1] + "\"");
      sheet_.page.landscape = w[1] == "landscape";
    }
  }

  void marginsStatement(std::string_view rest) {
    const auto w = words(rest, 3, 6, "margins LEFT RIGHT TOP [BOTTOM [HEADER FOOTER]] (mm)");
    if (w.size() == 5) fail("give both the header and the footer distance");
    std::vector<double> mm;
    for (const auto& s : w) mm.push_back(number(s, 0, 200, "margin (mm)") / 25.4);
    auto& p = sheet_.page;
    p.marginLeft = mm[0];
    p.marginRight = mm[1];
    p.marginTop = mm[2];
    p.marginBottom = mm.size() > 3 ? mm[3] : mm[2];
    if (mm.size() == 6) {
      p.marginHeader = mm[4];
      p.marginFooter = mm[5];
    }
  }

  void fitStatement(std::string_view rest) {
    const auto w = words(rest, 2, 2, "fit WIDE TALL");
    int wide, tall;
    if (!parseInt(w[0], wide) || !parseInt(w[1], tall) || wide < 0 || tall < 0 || wide > 100 || tall > 100) {
      fail("fit takes two page counts from 0 to 100");
    }
    sheet_.page.fit = true;
    sheet_.page.fitWide = wide;
    sheet_.page.fitTall = tall;
  }

  void centerStatement(std::string_view rest) {
    const auto w = words(rest, 1, 1, "center horizontal|vertical|both|none");
    auto& p = sheet_.page;
    if (w[0] == "horizontal") p.centerHorizontally = true, p.centerVertically = false;
    else if (w[0] == "vertical") p.centerHorizontally = false, p.centerVertically = true;
    else if (w[0] == "both") p.centerHorizontally = p.centerVertically = true;
    else if (w[0] == "none") p.centerHorizontally = p.centerVertically = false;
    else fail("expected horizontal, vertical, both or none, not \"" + w[0] + "\"");
  }

  std::string restText(std::string_view rest) {
    std::string_view t = trimBlanks(rest);
    if (!t.empty() && t.front() == '"') {
      if (t.size() < 2 || t.back() != '"') fail("unterminated quote");
      t = t.substr(1, t.size() - 2);
    }
    if (t.find('\t') != std::string_view::npos) fail("tab inside a text");
    return std::string(t);
  }

  void headerStatement(std::string_view rest) {
    sheet_.page.header = restText(rest);
    if (sheet_.page.header.size() > 255) fail("header longer than 255 bytes");
  }
  void footerStatement(std::string_view rest) {
    sheet_.page.footer = restText(rest);
    if (sheet_.page.footer.size() > 255) fail("footer longer than 255 bytes");
  }

  void printStatement(std::string_view rest) {
    const auto w = words(rest, 1, 1, "print RANGE");
    sheet_.page.hasPrintArea = true;
    sheet_.page.printArea = range(w[0]);
  }

  void gridlinesStatement(std::string_view rest) {
    const auto w = words(rest, 1, 1, "gridlines hidden|shown");
    if (w[0] != "hidden" && w[0] != "shown") fail("expected hidden or shown, not \"" + w[0] + "\"");
    sheet_.page.hideGridlines = w[0] == "hidden";
  }

  void zoomStatement(std::string_view rest) {
    const auto w = words(rest, 1, 1, "zoom PERCENT");
    int z;
    if (!parseInt(w[0], z) || z < 10 || z > 400) fail("zoom takes a percentage from 10 to 400");
    sheet_.page.zoom = z;
  }

  void widthStatement(std::string_view rest) {
    const auto w = words(rest, 2, 2, "width COLUMNS WIDTH (like \"width C:AD 2.5\")");
    std::uint32_t first, last;
    const auto colon = w[0].find(':');
    const std::string a = w[0].substr(0, colon), b = colon == std::string::npos ? a : w[0].substr(colon + 1);
    if (!parseColumn(a, first) || !parseColumn(b, last) || first > last) {
      fail("\"" + w[0] + "\" is not a column or column range (like C or C:AD)");
    }
    const double width = number(w[1], 0, 255, "column width");
    for (std::uint32_t c = first; c <= last; ++c) sheet_.colWidths[c] = width;
  }

  void heightStatement(std::string_view rest) {
    const auto w = words(rest, 2, 2, "height ROWS HEIGHT (like \"height 5:9 17\" or \"height default 17\")");
    const double height = number(w[1], 0, 409, "row height");
    if (w[0] == "default") {
      sheet_.defaultRowHeight = height;
      return;
    }
    std::uint32_t first, last;
    const auto colon = w[0].find(':');
    const std::string a = w[0].substr(0, colon), b = colon == std::string::npos ? a : w[0].substr(colon + 1);
    if (!parseRow(a, first) || !parseRow(b, last) || first > last) {
      fail("\"" + w[0] + "\" is not a row or row range (like 5 or 5:9)");
    }
    for (std::uint32_t r = first; r <= last; ++r) sheet_.rowHeights[r] = height;
  }

  static bool validStyleName(const std::string& n) {
    if (n.empty() || n[0] < 'a' || n[0] > 'z') return false;
    return std::all_of(n.begin(), n.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; });
  }

  StyleChange property(const std::string& p) {
    const auto eq = p.find('=');
    const std::string key = p.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : p.substr(eq + 1);
    const bool hasValue = eq != std::string::npos;
    const auto needValue = [&] {
      if (!hasValue || value.empty()) fail("style property \"" + key + "\" needs a value (" + key + "=...)");
    };
    const auto noValue = [&] {
      if (hasValue) fail("style property \"" + key + "\" takes no value");
    };
    // A style defined before stands for its properties (its name wins over a property word).
    if (!hasValue) {
      const auto found = styles_.find(p);
      if (found != styles_.end()) {
        const Style base = found->second;
        return [base](CellStyle& s) {
          for (const auto& change : base) change(s);
        };
      }
    }
    if (key == "bold") { noValue(); return [](CellStyle& s) { s.font.bold = true; }; }
    if (key == "regular") { noValue(); return [](CellStyle& s) { s.font.bold = s.font.italic = s.font.underline = false; }; }
    if (key == "italic") { noValue(); return [](CellStyle& s) { s.font.italic = true; }; }
    if (key == "underline") { noValue(); return [](CellStyle& s) { s.font.underline = true; }; }
    if (key == "wrap") { noValue(); return [](CellStyle& s) { s.wrap = true; }; }
    if (key == "shrink") { noValue(); return [](CellStyle& s) { s.shrink = true; }; }
    if (key == "font") {
      needValue();
      return [value](CellStyle& s) { s.font.name = value; };
    }
    if (key == "size") {
      needValue();
      const double pt = number(value, 1, 409, "font size");
      return [pt](CellStyle& s) { s.font.size = pt; };
    }
    if (key == "color" || key == "fill") {
      needValue();
      std::uint32_t rgb;
      if (!parseColor(value, rgb)) fail("\"" + value + "\" is not a colour (RRGGBB)");
      if (key == "color") return [rgb](CellStyle& s) { s.font.color = rgb; };
      return [rgb](CellStyle& s) { s.fill = rgb; };
    }
    if (key == "indent") {
      needValue();
      int n;
      if (!parseInt(value, n) || n < 0 || n > 15) fail("indent takes a level from 0 to 15");
      return [n](CellStyle& s) { s.indent = n; };
    }
    if (key == "num") {
      needValue();
      return [value](CellStyle& s) { s.numFormat = value; };
    }
    if (key == "align") {
      needValue();
      static const std::pair<std::string_view, HAlign> kAligns[] = {
          {"general", HAlign::General}, {"left", HAlign::Left},       {"center", HAlign::Center},
          {"right", HAlign::Right},     {"fill", HAlign::Fill},       {"justify", HAlign::Justify},
          {"center-across", HAlign::CenterAcross}, {"distributed", HAlign::Distributed}};
      for (const auto& [n, a] : kAligns) {
        if (value == n) return [a](CellStyle& s) { s.align = a; };
      }
      fail("unknown alignment \"" + value + "\"");
    }
    if (key == "valign") {
      needValue();
      static const std::pair<std::string_view, VAlign> kAligns[] = {
          {"top", VAlign::Top}, {"center", VAlign::Center}, {"bottom", VAlign::Bottom},
          {"justify", VAlign::Justify}, {"distributed", VAlign::Distributed}};
      for (const auto& [n, a] : kAligns) {
        if (value == n) return [a](CellStyle& s) { s.valign = a; };
      }
      fail("unknown vertical alignment \"" + value + "\"");
    }
    if (key == "border" || key == "border-top" || key == "border-bottom" || key == "border-left" ||
        key == "border-right") {
      needValue();
      Line l;
      if (!parseLine(value, l)) fail("unknown line \"" + value + "\"");
      if (key == "border") return [l](CellStyle& s) { s.top = s.bottom = s.left = s.right = l; };
      if (key == "border-top") return [l](CellStyle& s) { s.top = l; };
      if (key == "border-bottom") return [l](CellStyle& s) { s.bottom = l; };
      if (key == "border-left") return [l](CellStyle& s) { s.left = l; };
      return [l](CellStyle& s) { s.right = l; };
    }
    fail("unknown style property or style \"" + p + "\"");
  }

  void styleStatement(std::string_view rest) {
    const auto w = words(rest, 1, 64, "style NAME PROPERTY...");
    if (!validStyleName(w[0])) fail("style name \"" + w[0] + "\": use lower-case letters, digits and \"-\"");
    Style style;
    for (std::size_t i = 1; i < w.size(); ++i) style.push_back(property(w[i]));
    styles_[w[0]] = std::move(style);
  }

  void nameStatement(std::string_view rest) {
    const auto w = words(rest, 2, 2, "name NAME CELL");
    DefinedName n;
    n.name = w[0];
    n.line = line_;
    if (n.name.size() > 255) fail("defined name longer than 255 bytes");
    const auto lead = static_cast<unsigned char>(n.name[0]);
    if ((lead >= '0' && lead <= '9') || lead == '.' || lead == '!' || lead == '\'') {
      fail("defined name \"" + n.name + "\" must start with a letter or \"_\"");
    }
    for (char c : n.name) {
      if (std::string_view("!\"#$%&'()*+,-/:;<=>?@[]^`{|}~").find(c) != std::string_view::npos) {
        fail("defined name \"" + n.name + "\" holds \"" + std::string(1, c) + "\"");
      }
    }
    std::uint32_t r, c;
    if (parseCell(n.name, r, c) || n.name == "R" || n.name == "C" || n.name == "r" || n.name == "c") {
      fail("defined name \"" + n.name + "\" reads as a cell reference");
    }
    for (const auto& other : sheet_.names) {
      if (other.name == n.name) fail("defined name \"" + n.name + "\" given twice");
    }
    if (!parseCell(w[1], n.row, n.col)) fail("\"" + w[1] + "\" is not a cell (like H5)");
    sheet_.names.push_back(std::move(n));
  }

  struct BorderOp {
    CellRange range;
    std::string edges;
    Line line;
  };

  void borderStatement(std::string_view rest) {
    const auto w = words(rest, 3, 3, "border RANGE EDGES LINE");
    BorderOp op{range(w[0]), w[1], Line::None};
    static const std::set<std::string, std::less<>> kEdges = {"box",   "grid",    "all",     "top",    "bottom",
                                                               "left",  "right",   "inner",   "inner-h", "inner-v"};
    if (!kEdges.count(op.edges)) fail("unknown edges \"" + op.edges + "\" (box, grid, top, bottom, left, right, inner, inner-h, inner-v)");
    if (!parseLine(w[2], op.line)) fail("unknown line \"" + w[2] + "\"");
    borders_.push_back(op);
  }

  // Text with ^ and _ markup -> runs.
  std::vector<Run> markup(std::string_view t) {
    std::vector<Run> runs;
    const auto add = [&](Script script, std::string_view piece) {
      if (piece.empty()) return;
      if (!runs.empty() && runs.back().script == script) runs.back().text += piece;
      else runs.push_back(Run{std::string(piece), script});
    };
    for (std::size_t i = 0; i < t.size();) {
      const char c = t[i];
      if (c != '^' && c != '_') {
        const std::size_t len = utf8Length(t, i);
        add(Script::Normal, t.substr(i, len));
        i += len;
        continue;
      }
      const Script script = c == '^' ? Script::Super : Script::Sub;
      if (i + 1 >= t.size()) fail(std::string("\"") + c + "\" at the end of the text (write \"" + c + c + "\" for the character itself)");
      const char next = t[i + 1];
      if (next == c) {
        add(Script::Normal, t.substr(i, 1));
        i += 2;
      } else if (next == '{') {
        const auto close = t.find('}', i + 2);
        if (close == std::string_view::npos) fail(std::string("\"") + c + "{\" without \"}\"");
        if (close == i + 2) fail(std::string("empty \"") + c + "{}\"");
        const std::string_view inner = t.substr(i + 2, close - i - 2);
        if (inner.find_first_of("^_{") != std::string_view::npos) fail("markup inside \"{...}\"");
        add(script, inner);
        i = close + 1;
      } else if (isBlank(next)) {
        fail(std::string("\"") + c + "\" before a blank");
      } else {
        const std::size_t len = utf8Length(t, i + 1);
        add(script, t.substr(i + 1, len));
        i += 1 + len;
      }
    }
    return runs;
  }

  struct CellDef {
    CellRange range;
    CellStyle style;
    std::string text;
    std::vector<Run> runs;
    int line = 0;
  };

  void cellStatement(const std::string& where, std::string_view rest) {
    CellDef def;
    def.range = range(where);
    def.line = line_;
    std::string styleList;
    if (!nextWord(rest, styleList)) fail("unterminated quote");
    if (styleList.empty()) fail("cell " + where + " needs a style (like \"" + where + " text\")");
    def.style = baseStyle();
    std::size_t start = 0;
    while (start <= styleList.size()) {
      const auto plus = styleList.find('+', start);
      const std::string name = styleList.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
      // A style, or a single property given on the spot ("center+bold").
      property(name)(def.style);
      if (plus == std::string::npos) break;
      start = plus + 1;
    }
    const std::string text = restText(rest);
    def.runs = markup(text);
    for (const auto& r : def.runs) def.text += r.text;
    const bool rich = std::any_of(def.runs.begin(), def.runs.end(), [](const Run& r) { return r.script != Script::Normal; });
    if (!rich) def.runs.clear();
    if (rich && def.runs.size() == 1) fail("the whole text of cell " + where + " is raised or lowered; raise part of it");
    if (def.text.size() > 32767) fail("text longer than a cell holds");
    for (const auto& other : cells_) {
      if (other.range.overlaps(def.range)) {
        fail("cell " + where + " overlaps " + cellName(other.range.firstRow, other.range.firstCol) +
             " defined on line " + std::to_string(other.line));
      }
    }
    cells_.push_back(std::move(def));
  }

  CellStyle baseStyle() const {
    CellStyle s;
    s.font = sheet_.baseFont;
    return s;
  }

  // ---- assembling the sheet ----

  Cell& cellAt(std::uint32_t r, std::uint32_t c) {
    if (sheet_.rows.size() <= r) sheet_.rows.resize(r + 1);
    auto& row = sheet_.rows[r];
    if (row.size() <= c) row.resize(c + 1);
    return row[c];
  }

  void finish() {
    for (const auto& def : cells_) {
      if (!def.range.single()) sheet_.merges.push_back(def.range);
      for (std::uint32_t r = def.range.firstRow; r <= def.range.lastRow; ++r) {
        for (std::uint32_t c = def.range.firstCol; c <= def.range.lastCol; ++c) {
          Cell& cell = cellAt(r, c);
          cell.styled = true;
          cell.style = def.style;
        }
      }
      Cell& anchor = cellAt(def.range.firstRow, def.range.firstCol);
      if (!def.text.empty()) {
        anchor.kind = Cell::Kind::Text;
        anchor.text = def.text;
        anchor.runs = def.runs;
      }
    }
    for (const auto& op : borders_) applyBorder(op);
    for (const auto& n : sheet_.names) {
      const bool anchored = std::any_of(cells_.begin(), cells_.end(), [&](const CellDef& d) {
        return d.range.firstRow == n.row && d.range.firstCol == n.col;
      });
      if (!anchored) {
        throw Failure(path_ + ":" + std::to_string(n.line) + ": defined name \"" + n.name + "\" is on " +
                      cellName(n.row, n.col) + ", which is not a cell defined in this sheet");
      }
    }
  }

  void applyBorder(const BorderOp& op) {
    const CellRange& g = op.range;
    const std::string& e = op.edges;
    const bool all = e == "grid" || e == "all";
    for (std::uint32_t r = g.firstRow; r <= g.lastRow; ++r) {
      for (std::uint32_t c = g.firstCol; c <= g.lastCol; ++c) {
        Cell& cell = cellAt(r, c);
        if (!cell.styled) {
          cell.styled = true;
          cell.style = baseStyle();
        }
        CellStyle& s = cell.style;
        const bool outerTop = r == g.firstRow, outerBottom = r == g.lastRow;
        const bool outerLeft = c == g.firstCol, outerRight = c == g.lastCol;
        const bool box = e == "box" || all;
        const bool innerH = e == "inner" || e == "inner-h" || all;
        const bool innerV = e == "inner" || e == "inner-v" || all;
        if ((outerTop && (box || e == "top")) || (!outerTop && innerH)) s.top = op.line;
        if ((outerBottom && (box || e == "bottom")) || (!outerBottom && innerH)) s.bottom = op.line;
        if ((outerLeft && (box || e == "left")) || (!outerLeft && innerV)) s.left = op.line;
        if ((outerRight && (box || e == "right")) || (!outerRight && innerV)) s.right = op.line;
      }
    }
  }

  std::string path_;
  int line_ = 0;
  bool sawSheet_ = false;
  SheetSource sheet_;
  std::unordered_map<std::string, Style> styles_;
  std::vector<CellDef> cells_;
  std::vector<BorderOp> borders_;
};

}  // namespace

SheetSource parseSheetDescription(const std::string& sheetName, std::string_view text, const std::string& path) {
  return Parser(sheetName, path).parse(text);
}

SheetSource readSheetDescription(const std::string& sheetName, const std::string& path) {
  const std::string data = readWholeFile(path);
  return parseSheetDescription(sheetName, data, path);
}

}  // namespace xlsxgen
