#pragma once
// A1 cell references ("B12", "$B$12") inside the grid of a worksheet: columns A..XFD, rows
// 1..1048576. Header-only, standard library only, so that the build tools can use it too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovakin::platform::xlsx {

inline constexpr std::uint32_t kMaxColumns = 16384;  // A .. XFD
inline constexpr std::uint32_t kMaxRows = 1048576;

// Column index (A = 0) and row number (1-based) of a cell.
struct CellRef {
  std::uint32_t column = 0;  // 0-based
  std::uint32_t row = 0;     // 1-based
};

// What a reader takes beyond the plain form "B12". Workbook files and addresses given to the
// workbook take all three; the sources of the build tool only the plain form.
struct A1Form {
  bool dollars = true;       // "$B$12", "B$12": the absolute marks
  bool lowerCase = true;     // "b12"
  bool leadingZeros = true;  // "B012"
};
// Exactly what formatCellRef writes: upper-case letters, no "$", no leading zero.
inline constexpr A1Form kPlainA1{false, false, false};

// Column letters ("A" .. "XFD") to the 0-based column.
constexpr bool parseColumnLetters(std::string_view s, std::uint32_t& column, A1Form form = {}) {
  if (s.empty() || s.size() > 3) return false;
  std::uint32_t value = 0;
  for (char c : s) {
    if (form.lowerCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return false;
    value = value * 26 + static_cast<std::uint32_t>(c - 'A' + 1);
  }
  if (value > kMaxColumns) return false;
  column = value - 1;
  return true;
}

// Row digits ("12") to the 1-based row.
constexpr bool parseRowDigits(std::string_view s, std::uint32_t& row, A1Form form = {}) {
  if (s.empty() || s.size() > 7 || (!form.leadingZeros && s.front() == '0')) return false;
  std::uint32_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (value < 1 || value > kMaxRows) return false;
  row = value;
  return true;
}

// The whole text as one cell reference; false for anything else, out is then unchanged.
constexpr bool parseCellRef(std::string_view a1, CellRef& out, A1Form form = {}) {
  const auto isLetter = [&](char c) { return (c >= 'A' && c <= 'Z') || (form.lowerCase && c >= 'a' && c <= 'z'); };
  std::size_t i = 0;
  if (form.dollars && i < a1.size() && a1[i] == '$') ++i;
  const std::size_t lettersFrom = i;
  while (i < a1.size() && isLetter(a1[i])) ++i;
  CellRef ref;
  if (!parseColumnLetters(a1.substr(lettersFrom, i - lettersFrom), ref.column, form)) return false;
  if (form.dollars && i < a1.size() && a1[i] == '$') ++i;
  if (!parseRowDigits(a1.substr(i), ref.row, form)) return false;
  out = ref;
  return true;
}

// The letters of a 0-based column: 0 -> "A", 27 -> "AB".
inline std::string columnLetters(std::uint32_t column) {
  std::string letters;
  for (std::uint32_t n = column + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

// {1, 12} -> "B12".
inline std::string formatCellRef(CellRef ref) { return columnLetters(ref.column) + std::to_string(ref.row); }

}  // namespace tovakin::platform::xlsx
