#pragma once
// How the report puts values into cells: number texts, section numbers and titles, signed
// terms, the verdict pairs of the checks and the superscript pass over "^" markers.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "report/layer.h"

namespace tovakin::report {

class ReportBook;

// Length of a UTF-8 text in UTF-16 code units (the unit of character positions in cells).
std::size_t utf16Units(std::string_view text);

// A number in a fixed pattern ("0" … "0.00000"), and in general format (shortest text).
std::string num(double value, std::string_view pattern);
std::string general(double value);
// The value with at least `decimals` decimals, and as many more as it needs to show every digit
// it holds: a typed or measured value printed in a formula keeps its digits (2.25 stays 2.25,
// 0.1544 stays 0.1544), a 2 shows as 2.00 with two decimals.
std::string numKept(double value, int decimals);

// A number held as text in the record (呼び径, 上載荷重): the trimmed text read as a number
// (full-width digits accepted) in the pattern; a text that is no number is written as it stands.
std::string numText(std::string_view text, std::string_view pattern);

// A text the spreadsheet must keep as typed: the leading "'" of a text cell.
inline std::string asText(std::string_view text) { return "'" + std::string(text); }

// The section number with every digit full-width: 1 → "１", 12 → "１２".
std::string fullWidthNumber(int number);
// The section title or a sub-heading: the full-width number followed by the literal, which
// starts with "．" (title) or "－" (sub-heading).
inline std::string sectionHeading(int number, std::string_view literal) {
  return fullWidthNumber(number) + std::string(literal);
}

// "＋" for a value of zero or more, else "－".
std::string funcSignMark(double value);
// A further term of a signed sum: its sign, then its absolute value in the pattern.
std::string signedTerm(double value, std::string_view pattern);

// The two cells that close a check. The comparison is made on the full values, and equality
// passes; a value that cannot be compared (NaN) fails.
struct Verdict {
  bool passes = false;
  std::string comparator;  // "≧" / "＜" or "≦" / "＞"
  std::string verdict;     // "…ＯＫ" or "…やり直し"
};
inline constexpr const char* kVerdictOk = "…ＯＫ";
inline constexpr const char* kVerdictRedo = "…やり直し";
// Capacity at least demand ("≧" … "＜").
Verdict capacityVerdict(double capacity, double demand);
// Value within a limit ("≦" … "＞").
Verdict limitVerdict(double value, double limit);

// 2×Kx×W×R^4 and EI＋0.061×e'×R^3: numerator and denominator of a horizontal deflection
// ΔX = F·2·Kx·W·R⁴ / (EI + 0.061·e'·R³), as every side-load sheet writes them (with "^" markers).
std::string deflectionNumerator(double kx, double load, double r);
std::string deflectionDenominator(double ei, double e, double r);

// The superscript pass over one cell: every "^" in the cell's text is removed and the
// character that followed it is raised. A "^" at the end is removed and raises nothing.
// Failures show the error box under the label "JyoCharEdit"; Ignore goes on with the next step.
void JyoCharEdit(ReportBook& book, const std::string& sheet, const std::string& address);

// The same on a text: the text without markers and the 1-based UTF-16 positions (with their
// lengths in units) of the characters to raise, left to right.
struct RaisedText {
  std::string text;
  struct Run {
    int start;
    int length;
    bool operator==(const Run&) const = default;
  };
  std::vector<Run> runs;
};
RaisedText stripSuperscriptMarkers(std::string_view text);

}  // namespace tovakin::report
