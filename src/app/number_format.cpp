#include "app/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/layer.h"
#include "platform/error_box.h"

namespace tovakin::app {

namespace {

// 15 significant digits of |value| and its decimal exponent: |value| = 0.d1…d15 × 10^(exp10+1).
void decimalDigits(double value, std::string& digits, int& exp10) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  digits.clear();
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits.push_back(*p);
  exp10 = (*p == 'e') ? std::atoi(p + 1) : 0;
}

}  // namespace

std::string formatFixed(double value, int decimals) {
  if (!std::isfinite(value)) raiseError(err::kOverflow);
  if (decimals < 0) decimals = 0;
  if (decimals > 15) decimals = 15;

  std::string digits;
  int exp10 = 0;
  decimalDigits(value, digits, exp10);

  // Digits of round(|value| × 10^decimals), as a decimal string without leading zeros.
  std::string kept;
  const int keep = exp10 + 1 + decimals;  // how many of the 15 digits stand before the cut
  if (value == 0.0 || keep < 0) {
    kept = "0";
  } else if (keep >= static_cast<int>(digits.size())) {
    kept = digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
  } else {
    kept = digits.substr(0, static_cast<std::size_t>(keep));
    if (digits[static_cast<std::size_t>(keep)] >= '5') {
      int i = static_cast<int>(kept.size()) - 1;
      for (; i >= 0; --i) {
        if (kept[static_cast<std::size_t>(i)] == '9') {
          kept[static_cast<std::size_t>(i)] = '0';
        } else {
          ++kept[static_cast<std::size_t>(i)];
          break;
        }
      }
      if (i < 0) kept.insert(kept.begin(), '1');
    }
    if (kept.empty()) kept = "0";
  }
  std::size_t nz = kept.find_first_not_of('0');
  kept = (nz == std::string::npos) ? "0" : kept.substr(nz);
  const bool zero = kept == "0";

  if (kept.size() <= static_cast<std::size_t>(decimals))
    kept.insert(0, static_cast<std::size_t>(decimals) + 1 - kept.size(), '0');
  std::string out;
  if (value < 0 && !zero) out.push_back('-');
  out.append(kept, 0, kept.size() - static_cast<std::size_t>(decimals));
  if (decimals > 0) {
    out.push_back('.');
    out.append(kept, kept.size() - static_cast<std::size_t>(decimals), std::string::npos);
  }
  return out;
}

std::string formatPattern(double value, std::string_view pattern) {
  int decimals = 0;
  std::size_t dot = pattern.find('.');
  if (dot != std::string_view::npos) {
    for (std::size_t i = dot + 1; i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#'); ++i) ++decimals;
  }
  return formatFixed(value, decimals);
}

bool parseDecimal(std::string_view text, double& out) {
  if (text.empty()) return false;
  const char* b = text.data();
  const char* e = b + text.size();
  if (*b == '+') ++b;
  double v = 0.0;
  auto r = std::from_chars(b, e, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != e) return false;
  out = v;
  return true;
}

NumberText readNumberText(std::string_view text, double& out) {
  if (text.empty()) return NumberText::NoNumber;
  std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  if (digits.size() < text.size() && !digits.empty() && digits.front() == '-') return NumberText::NoNumber;
  double v = 0.0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v, std::chars_format::general);
  if (r.ptr != digits.data() + digits.size()) return NumberText::NoNumber;
  if (r.ec == std::errc::result_out_of_range) {
    // Too small for a double is 0, as the runtime read it; too large is an overflow.
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    const std::size_t e = digits.find_first_of("eE");
    const bool tinyExponent = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    const std::string_view whole = digits.substr(0, std::min(digits.find('.'), e));
    if (tinyExponent || whole.find_first_not_of('0') == std::string_view::npos) {
      out = 0.0;
      return NumberText::Number;
    }
    return NumberText::OutOfRange;
  }
  if (r.ec != std::errc() || !std::isfinite(v)) return NumberText::NoNumber;
  out = v;
  return NumberText::Number;
}

double numberFromText(std::string_view text) {
  double v = 0.0;
  switch (readNumberText(text, v)) {
    case NumberText::Number: return v;
    case NumberText::OutOfRange: raiseError(err::kOverflow);
    case NumberText::NoNumber: break;
  }
  raiseError(err::kTypeMismatch);
}

double roundTo(double value, int decimals) {
  double out = 0.0;
  parseDecimal(formatFixed(value, decimals), out);
  return out;
}

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) raiseError(err::kOverflow);
  if (value == 0.0) return "0";
  std::string digits;
  int exp10 = 0;
  decimalDigits(value, digits, exp10);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = value < 0 ? "-" : "";
  const int n = static_cast<int>(digits.size());
  if (exp10 >= 15 || exp10 < -4) {
    // Exponent form: d.ddd E±XX
    out += digits.substr(0, 1);
    if (n > 1) out += "." + digits.substr(1);
    char buf[16];
    std::snprintf(buf, sizeof buf, "E%c%02d", exp10 < 0 ? '-' : '+', std::abs(exp10));
    return out + buf;
  }
  if (exp10 >= 0) {
    if (n <= exp10 + 1) {
      out += digits + std::string(static_cast<std::size_t>(exp10 + 1 - n), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exp10 + 1)) + "." +
             digits.substr(static_cast<std::size_t>(exp10 + 1));
    }
  } else {
    out += "0." + std::string(static_cast<std::size_t>(-exp10 - 1), '0') + digits;
  }
  return out;
}

}  // namespace tovakin::app
