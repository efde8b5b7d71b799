// Texts and formulas for the editor: UTF-8 characters and their UTF-16 widths, the OOXML
// escapes, sheet references inside defined-name formulas, and XML bytes.
#include <unicode/uchar.h>

#include <algorithm>
#include <sstream>

#include "platform/utf8.h"
#include "platform/xlsx_edit_detail.h"

namespace tovakin::platform::xlsx::detail {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

void appendEscape(std::string& out, unsigned unit) {
  static const char* kDigits = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kDigits[(unit >> shift) & 0xF]);
  out.push_back('_');
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Characters of an unquoted sheet reference, external prefix brackets included.
bool isRefNameChar(char c) {
  return isAsciiLetter(c) || isDigit(c) || c == '_' || c == '.' || c == '\\' || c == '[' || c == ']' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// R1C1-looking names ("R", "C12", "R1C1") would be read as references when unquoted.
bool looksLikeR1C1(std::string_view s) {
  std::size_t i = 0;
  auto digits = [&] {
    while (i < s.size() && isDigit(s[i])) ++i;
  };
  if (i < s.size() && (s[i] == 'R' || s[i] == 'r')) {
    ++i;
    digits();
  }
  if (i < s.size() && (s[i] == 'C' || s[i] == 'c')) {
    ++i;
    digits();
  }
  return i == s.size() && !s.empty();
}

void splitRange(std::string_view sheetPart, SheetRefSpan& span) {
  span.external = sheetPart.find('[') != std::string_view::npos || sheetPart.find(']') != std::string_view::npos ||
                  sheetPart.find('/') != std::string_view::npos;
  const auto colon = sheetPart.find(':');
  span.first = std::string(sheetPart.substr(0, colon));
  span.last = colon == std::string_view::npos ? span.first : std::string(sheetPart.substr(colon + 1));
}

std::string_view trimmedView(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

// ---- text --------------------------------------------------------------------------------------

std::vector<TextChar> splitChars(std::string_view s) {
  std::vector<TextChar> out;
  out.reserve(s.size());
  for (const utf8::Char& c : utf8::chars(s))
    out.push_back({c.bytesIn(s), c.codePoint, static_cast<int>(c.utf16Units()), c.valid});
  return out;
}

std::size_t utf16Length(std::string_view text) { return utf8::utf16Length(text); }

std::string escapeCellText(std::string_view text, std::size_t from, std::size_t to) {
  to = std::min(to, text.size());
  std::string out;
  out.reserve(to - std::min(from, to));
  for (std::size_t i = from; i < to;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      if (b == '_' && i + 6 < text.size() && text[i + 1] == 'x' && isHex(text[i + 2]) && isHex(text[i + 3]) &&
          isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_') {
        appendEscape(out, '_');  // a literal "_xHHHH_" keeps its underscore
      } else if (b < 0x20 && b != '\t' && b != '\n') {
        appendEscape(out, b);  // XML holds no such character (and would turn a CR into a LF)
      } else {
        out.push_back(static_cast<char>(b));
      }
      ++i;
      continue;
    }
    // A whole multi-byte character, or one U+FFFD for an ill-formed subsequence.
    const utf8::Char c = utf8::decode(text.substr(0, to), i);
    if (c.codePoint == 0xFFFE || c.codePoint == 0xFFFF) {
      appendEscape(out, static_cast<unsigned>(c.codePoint));
    } else if (!c.valid) {
      utf8::append(out, utf8::kReplacement);
    } else {
      out.append(c.bytesIn(text));
    }
    i += c.length;
  }
  return out;
}

std::string xmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const utf8::Char& c : utf8::chars(text)) {
    const char32_t cp = c.codePoint;
    if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF) continue;
    if (c.valid) out.append(c.bytesIn(text));
    else utf8::append(out, utf8::kReplacement);
  }
  return out;
}

bool needsSpacePreserve(std::string_view text) {
  if (text.empty()) return false;
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  return space(text.front()) || space(text.back()) || text.find("  ") != std::string_view::npos;
}

// ---- sheet references --------------------------------------------------------------------------

std::vector<SheetRefSpan> findSheetRefs(std::string_view f) {
  std::vector<SheetRefSpan> refs;
  std::size_t i = 0;
  const auto skipCellPart = [&] {
    // The reference after "!": a cell, a column or row part; a ":" ends it so that a second
    // sheet-qualified end ("A!B1:A!C2") is found on its own.
    while (i < f.size() && (isAsciiLetter(f[i]) || isDigit(f[i]) || f[i] == '$' || f[i] == '#')) ++i;
  };
  while (i < f.size()) {
    const char c = f[i];
    if (c == '"') {  // a string constant: "" is an escaped quote
      ++i;
      while (i < f.size()) {
        if (f[i] == '"') {
          if (i + 1 < f.size() && f[i + 1] == '"') {
            i += 2;
            continue;
          }
          break;
        }
        ++i;
      }
      ++i;
      continue;
    }
    if (c == '\'') {
      const std::size_t begin = i;
      std::string name;
      ++i;
      bool closed = false;
      while (i < f.size()) {
        if (f[i] == '\'') {
          if (i + 1 < f.size() && f[i + 1] == '\'') {
            name.push_back('\'');
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        name.push_back(f[i++]);
      }
      if (closed && i < f.size() && f[i] == '!') {
        SheetRefSpan span;
        span.begin = begin;
        span.end = i;
        splitRange(name, span);
        refs.push_back(std::move(span));
        ++i;
        skipCellPart();
      }
      continue;
    }
    if (isRefNameChar(c)) {
      const std::size_t begin = i;
      while (i < f.size() && (isRefNameChar(f[i]) || f[i] == ':')) ++i;
      if (i < f.size() && f[i] == '!') {
        SheetRefSpan span;
        span.begin = begin;
        span.end = i;
        splitRange(f.substr(begin, i - begin), span);
        refs.push_back(std::move(span));
        ++i;
        skipCellPart();
      }
      continue;
    }
    ++i;
  }
  return refs;
}

bool formulaRefersTo(std::string_view formula, std::string_view sheet) {
  for (const SheetRefSpan& r : findSheetRefs(formula)) {
    if (!r.external && (equalsFolded(r.first, sheet) || equalsFolded(r.last, sheet))) return true;
  }
  return false;
}

std::string quoteSheetName(std::string_view name) {
  bool plain = !name.empty() && !isDigit(name.front()) && name.front() != '.';
  for (const TextChar& c : splitChars(name)) {
    if (!plain) break;
    if (c.codePoint < 0x80) {
      const char a = static_cast<char>(c.codePoint);
      plain = isAsciiLetter(a) || isDigit(a) || a == '_' || a == '.';
    } else {
      plain = u_isalnum(static_cast<UChar32>(c.codePoint)) != 0;
    }
  }
  CellRef ref;
  if (plain && (parseCellRef(name, ref) || looksLikeR1C1(name) || equalsFolded(name, "TRUE") ||
                equalsFolded(name, "FALSE"))) {
    plain = false;
  }
  if (plain) return std::string(name);
  std::string out = "'";
  for (char c : name) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out + "'";
}

std::string quoteSheetRange(std::string_view first, std::string_view last) {
  if (first == last) return quoteSheetName(first);
  const std::string a = quoteSheetName(first), b = quoteSheetName(last);
  if (a == first && b == last) return a + ":" + b;
  std::string joined = std::string(first) + ":" + std::string(last);
  std::string out = "'";
  for (char c : joined) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out + "'";
}

std::string renameSheetInFormula(std::string_view formula, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t done = 0;
  for (const SheetRefSpan& r : findSheetRefs(formula)) {
    if (r.external) continue;
    const bool a = equalsFolded(r.first, from), b = equalsFolded(r.last, from);
    if (!a && !b) continue;
    out.append(formula.substr(done, r.begin - done));
    out += quoteSheetRange(a ? to : std::string_view(r.first), b ? to : std::string_view(r.last));
    done = r.end;
  }
  out.append(formula.substr(done));
  return out;
}

bool parseSingleCellFormula(std::string_view formula, std::string& sheet, CellRef& cell) {
  formula = trimmedView(formula);
  if (!formula.empty() && formula.front() == '=') formula.remove_prefix(1);
  const auto refs = findSheetRefs(formula);
  if (refs.empty() || refs.front().begin != 0 || refs.front().external || refs.front().first != refs.front().last)
    return false;
  const SheetRefSpan& r = refs.front();
  std::string_view rest = formula.substr(r.end + 1);
  const auto colon = rest.find(':');
  CellRef a;
  if (!parseCellRef(rest.substr(0, colon), a)) return false;
  if (colon != std::string_view::npos) {
    std::string_view second = rest.substr(colon + 1);
    // "Sheet!$C$5:Sheet!$C$5" or "Sheet!$C$5:$C$5"
    if (refs.size() > 1) {
      const SheetRefSpan& r2 = refs[1];
      if (r2.external || !equalsFolded(r2.first, r.first) || r2.first != r2.last) return false;
      second = formula.substr(r2.end + 1);
    } else if (second.find('!') != std::string_view::npos) {
      return false;
    }
    CellRef b;
    if (!parseCellRef(second, b) || b.row != a.row || b.column != a.column) return false;
  } else if (refs.size() > 1) {
    return false;
  }
  sheet = r.first;
  cell = a;
  return true;
}

std::string sheetNameProblem(std::string_view name) {
  if (name.empty()) return "シート名が空です。";
  if (utf16Length(name) > 31) return "シート名「" + std::string(name) + "」が 31 文字を超えています。";
  for (const TextChar& c : splitChars(name)) {
    if (c.codePoint < 0x20 || c.codePoint == 0x7F || c.codePoint == 0xFFFE || c.codePoint == 0xFFFF ||
        !c.valid) {
      return "シート名に使えない文字が含まれています。";
    }
    switch (c.codePoint) {
      case ':': case '\\': case '/': case '?': case '*': case '[': case ']':
        return "シート名「" + std::string(name) + "」に使えない文字（: \\ / ? * [ ]）が含まれています。";
      default:
        break;
    }
  }
  if (name.front() == '\'' || name.back() == '\'') {
    return "シート名「" + std::string(name) + "」の先頭と末尾に ' は使えません。";
  }
  if (equalsFolded(name, "History")) return "シート名「History」は予約されています。";
  return {};
}

// ---- XML ---------------------------------------------------------------------------------------

const std::initializer_list<std::string_view> kWorksheetOrder = {
    "sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr",
    "sheetProtection", "protectedRanges", "scenarios", "autoFilter", "sortState", "dataConsolidate",
    "customSheetViews", "mergeCells", "phoneticPr", "conditionalFormatting", "dataValidations", "hyperlinks",
    "printOptions", "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks", "customProperties",
    "cellWatches", "ignoredErrors", "smartTags", "drawing", "legacyDrawing", "legacyDrawingHF", "drawingHF",
    "picture", "oleObjects", "controls", "webPublishItems", "tableParts", "extLst"};

const std::initializer_list<std::string_view> kWorkbookOrder = {
    "fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets", "functionGroups",
    "externalReferences", "definedNames", "calcPr", "oleSize", "customWorkbookViews", "pivotCaches",
    "smartTagPr", "smartTagTypes", "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"};

const std::initializer_list<std::string_view> kStylesOrder = {
    "numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs", "cellStyles", "dxfs", "tableStyles",
    "colors", "extLst"};

std::string prefixOf(pugi::xml_node node) {
  const std::string_view name(node.name());
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}

pugi::xml_node insertInOrder(pugi::xml_node parent, std::string_view local,
                             std::initializer_list<std::string_view> order) {
  int rank = -1;
  int k = 0;
  for (std::string_view o : order) {
    if (o == local) rank = k;
    ++k;
  }
  const std::string name = prefixOf(parent) + std::string(local);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    int r = -1;
    k = 0;
    for (std::string_view o : order) {
      if (o == localName(c.name())) r = k;
      ++k;
    }
    if (r > rank && rank >= 0) return parent.insert_child_before(name.c_str(), c);
  }
  return parent.append_child(name.c_str());
}

std::string xmlBytes(const pugi::xml_document& doc) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

}  // namespace tovakin::platform::xlsx::detail
