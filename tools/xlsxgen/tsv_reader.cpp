// TSV input: UTF-8, lines ending in LF or CR LF, fields separated by tabs.
//
// The first line holds the column names and is written as text. In the lines after it an empty
// field writes no cell, a field that is entirely a decimal number is written as a number, a field
// starting with "'" is written as the text after the "'" (so "'150" stays the text "150"), and
// anything else is text. Control characters and malformed UTF-8 are refused.
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>

#include "platform/utf8.h"
#include "sheet_source.h"

namespace xlsxgen {

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(path + ": cannot open");
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Failure(path + ": cannot read");
  return data;
}

std::size_t invalidUtf8At(std::string_view s) { return tovakin::platform::utf8::firstInvalid(s); }

namespace {

// A plain decimal number: optional "-", digits with an optional fraction, optional exponent.
bool parseDecimalField(std::string_view s, double& out) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i - start;
  };
  if (i < s.size() && s[i] == '-') ++i;
  std::size_t mantissa = digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  if (i != s.size()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

}  // namespace

SheetSource readTsvSheet(const std::string& sheetName, const std::string& path) {
  std::string data = readWholeFile(path);
  std::string_view text(data);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (const auto bad = invalidUtf8At(text); bad != std::string_view::npos) {
    throw Failure(path + ": not valid UTF-8 at byte " + std::to_string(bad));
  }

  SheetSource sheet;
  sheet.name = sheetName;
  sheet.origin = path;
  std::size_t lineNo = 0;
  while (!text.empty()) {
    ++lineNo;
    const auto lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::vector<Cell> row;
    std::size_t column = 0;
    for (std::size_t start = 0;; ++column) {
      const auto tab = line.find('\t', start);
      const std::string_view field = line.substr(start, tab == std::string_view::npos ? line.npos : tab - start);
      for (char c : field) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          throw Failure(path + ":" + std::to_string(lineNo) + ": control character in field " +
                        std::to_string(column + 1));
        }
      }
      Cell cell;
      if (field.empty()) {
        // no cell
      } else if (lineNo == 1) {
        cell.kind = Cell::Kind::Text;
        cell.text = std::string(field);
      } else if (field.front() == '\'') {
        cell.kind = Cell::Kind::Text;
        cell.text = std::string(field.substr(1));
        if (cell.text.empty()) cell.kind = Cell::Kind::Empty;
      } else if (parseDecimalField(field, cell.number)) {
        cell.kind = Cell::Kind::Number;
      } else {
        cell.kind = Cell::Kind::Text;
        cell.text = std::string(field);
      }
      row.push_back(std::move(cell));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    while (!row.empty() && row.back().kind == Cell::Kind::Empty) row.pop_back();
    sheet.rows.push_back(std::move(row));
  }
  if (sheet.rows.empty()) throw Failure(path + ": no header line");
  return sheet;
}

SheetSource readSheet(const std::string& sheetName, const std::string& path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  const std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot);
  if (ext == ".tsv" || ext == ".TSV") return readTsvSheet(sheetName, path);
  if (ext == ".sheet") return readSheetDescription(sheetName, path);
  throw Failure(path + ": unknown input format (expected .tsv or .sheet)");
}

}  // namespace xlsxgen
