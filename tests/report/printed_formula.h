#pragma once
// A checking engineer's reading of the report: a formula text as a sheet prints it, evaluated
// with the numbers printed in it. Shared by the checks that every printed formula gives the
// value printed beside it.
#include <cmath>
#include <cstring>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "app/number_format.h"
#include "support/recording_report_book.h"

namespace tovakin::testing {

// Evaluates a formula text: numbers, "×", "／", "＋", "－" and "-", brackets "（）" and "｛｝",
// "^d" for a raised exponent digit, a visible power sign "＾" before a bracketed exponent, "π",
// "Exp" and "tan" (degrees). A closing "｝" without its opening one is layout (the template
// holds the other), a leading "'" is the text-cell mark, and blanks separate nothing.
//
// The numbers read can be recorded, and one of them moved by half a unit of its last printed
// digit: how far a value may lie from a formula of rounded numbers. Whole numbers are constants
// of the formula (2, 45, 1000, an exponent) and are not moved.
struct PrintedNumbers {
  struct Number {
    double value;
    int decimals;
  };
  std::vector<Number> read;  // every number with a decimal point, in reading order
  int moved = -1;            // the index in `read` of the number moved by half a unit
};

class PrintedFormula {
 public:
  explicit PrintedFormula(std::string text, PrintedNumbers* numbers = nullptr) : numbers_(numbers) {
    if (!text.empty() && text.front() == '\'') text.erase(0, 1);
    const std::pair<const char*, const char*> symbols[] = {{"×", "*"}, {"／", "/"}, {"＋", "+"}, {"－", "-"},
                                                           {"（", "("}, {"）", ")"}, {"｛", "{"}, {"｝", "}"},
                                                           {"＾", "^"}, {"π", "p"},  {" ", ""},  {"　", ""}};
    for (const auto& [wide, ascii] : symbols)
      for (std::size_t at; (at = text.find(wide)) != std::string::npos;) text.replace(at, std::strlen(wide), ascii);
    std::string kept;
    int open = 0;
    for (char c : text) {
      if (c == '{') ++open, c = '(';
      if (c == '}') {
        if (open == 0) continue;
        --open, c = ')';
      }
      kept += c;
    }
    text_ = kept;
  }
  // NaN for a text that is no formula.
  double value() {
    pos_ = 0;
    const double v = sum();
    return pos_ == text_.size() ? v : std::nan("");
  }

 private:
  bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  bool word(const char* w) {
    if (text_.compare(pos_, std::strlen(w), w) != 0) return false;
    pos_ += std::strlen(w);
    return true;
  }
  double sum() {
    double v = product();
    while (at('+') || at('-')) {
      const char op = text_[pos_++];
      const double rhs = product();
      v = op == '+' ? v + rhs : v - rhs;
    }
    return v;
  }
  double product() {
    double v = power();
    while (at('*') || at('/')) {
      const char op = text_[pos_++];
      const double rhs = power();
      v = op == '*' ? v * rhs : v / rhs;
    }
    return v;
  }
  double power() {
    double v = primary();
    if (at('^')) {
      ++pos_;
      if (at('(')) return std::pow(v, primary());
      if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_]))) return std::nan("");
      v = std::pow(v, text_[pos_++] - '0');
    }
    return v;
  }
  double primary() {
    if (at('-')) {
      ++pos_;
      return -power();
    }
    if (at('(')) {
      ++pos_;
      const double v = sum();
      if (!at(')')) return std::nan("");
      ++pos_;
      return v;
    }
    if (word("p")) return std::numbers::pi;
    if (word("Exp")) return at('(') ? std::exp(primary()) : std::nan("");
    if (word("tan")) return at('(') ? std::tan(primary() * std::numbers::pi / 180.0) : std::nan("");
    const std::size_t start = pos_;
    while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) ++pos_;
    double v = std::nan("");
    const std::string digits = text_.substr(start, pos_ - start);
    if (pos_ == start || !app::parseDecimal(digits, v)) return std::nan("");
    const std::size_t point = digits.find('.');
    if (numbers_ && point != std::string::npos) {
      const int decimals = static_cast<int>(digits.size() - point - 1);
      if (static_cast<int>(numbers_->read.size()) == numbers_->moved) v += 0.5 * std::pow(10.0, -decimals);
      numbers_->read.push_back({v, decimals});
    }
    return v;
  }

  PrintedNumbers* numbers_ = nullptr;
  std::string text_;
  std::size_t pos_ = 0;
};

// A cell as the reader sees it: its text with "^" put back before each raised character (every
// character is one unit).
inline std::string shownWithMarkers(const RecordingReportBook& book, const std::string& sheet,
                                    const std::string& address) {
  const std::string plain = book.text(sheet, address);
  const auto* cell = book.cell(sheet, address);
  const std::set<int> up = cell ? cell->raised : std::set<int>{};
  std::string out;
  int unit = 0;
  for (std::size_t i = 0; i < plain.size();) {
    std::size_t len = 1;
    const auto c = static_cast<unsigned char>(plain[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    if (up.count(++unit)) out += '^';
    out += plain.substr(i, len);
    i += len;
  }
  return out;
}

}  // namespace tovakin::testing
