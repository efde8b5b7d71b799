#include "app/std_io.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/layer.h"
#include "app/number_format.h"
#include "platform/error_box.h"
#include "platform/utf8.h"

namespace tovakin::app {

namespace {

constexpr std::string_view kFullWidthBlank = "\xE3\x80\x80";  // U+3000

// Length of a text in UTF-16 units, the unit in which lengths and limits are counted.
std::size_t utf16Length(std::string_view s) { return utf8::utf16Length(s); }

bool isBlankAt(std::string_view s, std::size_t i, std::size_t& len) {
  if (s[i] == ' ') {
    len = 1;
    return true;
  }
  if (s.substr(i, kFullWidthBlank.size()) == kFullWidthBlank) {
    len = kFullWidthBlank.size();
    return true;
  }
  len = utf8::decode(s, i).length;
  return false;
}

// Position of the last "/" before the last character, or npos: the backward search of the
// path helpers never looks at the last character itself.
std::size_t lastSeparatorBeforeEnd(std::string_view path, char sep) {
  if (path.size() < 2) return std::string_view::npos;
  return path.find_last_of(sep, path.size() - 2);
}

// The leading number of a text as it stands: how many characters the number took (0 when the
// text starts with no number), and whether it lies beyond the range of a double. Never raises,
// so that a reader can tell a text with leftovers from a number too large.
struct ScannedNumber {
  double value = 0.0;
  std::size_t used = 0;
  bool overflow = false;
};
ScannedNumber scanNumber(std::string_view s) {
  ScannedNumber out;
  std::size_t i = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    const bool hex = s[1] == 'H' || s[1] == 'h';
    double v = 0.0;
    for (i = 2; i < s.size(); ++i) {
      const char c = s[i];
      int digit = -1;
      if (c >= '0' && c <= '7') digit = c - '0';
      else if (hex && c >= '8' && c <= '9') digit = c - '0';
      else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (digit < 0) break;
      v = v * (hex ? 16.0 : 8.0) + digit;
    }
    if (i > 2) out.used = i;
    out.overflow = !std::isfinite(v);
    out.value = out.overflow ? 0.0 : v;
    return out;
  }

  std::string text;  // sign, mantissa and exponent in the form parseDecimal reads
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') text.push_back('-');
    ++i;
  }
  bool anyDigit = false, point = false;
  std::string mantissa;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      mantissa.push_back(c);
      anyDigit = true;
    } else if (c == '.' && !point) {
      mantissa.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return out;
  text += mantissa;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    const std::size_t digitsFrom = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') exponent.push_back(s[j++]);
    if (j > digitsFrom) {
      text += exponent;
      i = j;
    }
  }
  out.used = i;
  double v = 0.0;
  // A text made of digits and at most one point always parses; out of range means overflow,
  // except that a tiny exponent underflows to zero as the runtime did.
  if (!parseDecimal(text, v)) {
    const std::size_t e = text.find('e');
    out.overflow = !(e != std::string::npos && text.size() > e + 1 && text[e + 1] == '-');
    return out;
  }
  out.overflow = !std::isfinite(v);
  out.value = out.overflow ? 0.0 : v;
  return out;
}

// The same for the readers that stop at the number: overflow raises (6).
double leadingNumber(std::string_view s) {
  const ScannedNumber scanned = scanNumber(s);
  if (scanned.overflow) raiseError(err::kOverflow);
  return scanned.value;
}

}  // namespace

std::string myTrim(std::string_view value) {
  std::string result, pending;
  bool started = false;
  for (std::size_t i = 0; i < value.size();) {
    if (value[i] == '\0') break;
    std::size_t len = 1;
    if (isBlankAt(value, i, len)) {
      pending.append(value.substr(i, len));
    } else {
      if (started) result += pending;
      started = true;
      result.append(value.substr(i, len));
      pending.clear();
    }
    i += len;
  }
  return result;
}

std::optional<std::string> myTrim(const std::optional<std::string>& value) {
  if (!value) return std::nullopt;
  return myTrim(std::string_view(*value));
}

std::string myTrim(double value) { return myTrim(formatGeneral(value)); }

namespace {
std::string packedNumberText(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') packed.push_back(c);
  return packed;
}
}  // namespace

double myCDbl(std::string_view text) {
  double result = 0.0;
  guardStep("myCDbl", [&] { result = leadingNumber(packedNumberText(text)); });
  return result;
}

LeadingNumber readLeadingNumber(std::string_view text) {
  try {
    return {leadingNumber(packedNumberText(text)), false};
  } catch (const RuntimeError&) {
    return {0.0, true};  // overflow is the one error of the reading
  }
}

TypedNumber readTypedNumber(std::string_view text) {
  std::string narrow = toNarrow(text);
  // The ideographic full stop (the "." key of a Japanese input method in kana mode) and its
  // half-width form are the decimal point a number box was given.
  for (std::string_view stop : {std::string_view("\xE3\x80\x82"), std::string_view("\xEF\xBD\xA1")}) {
    for (std::size_t at = narrow.find(stop); at != std::string::npos; at = narrow.find(stop, at + 1))
      narrow.replace(at, stop.size(), ".");
  }
  // Blanks stand around a number only: one inside it ("1 5") is a leftover like any other.
  const std::size_t from = narrow.find_first_not_of(" \t\r\n");
  if (from == std::string::npos || narrow[from] == '\0') return {TypedNumber::Blank, 0.0};
  const std::string_view number =
      std::string_view(narrow).substr(from, narrow.find_last_not_of(" \t\r\n") + 1 - from);
  const ScannedNumber scanned = scanNumber(number);
  // "2,5", "7,000", "1.5m" or "1e999abc": the number is not what the text shows, however large.
  if (scanned.used == 0 || scanned.used != number.size()) return {TypedNumber::Unreadable, 0.0};
  if (scanned.overflow) return {TypedNumber::Overflow, 0.0};
  return {TypedNumber::Number, scanned.value};
}

std::string toNarrow(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const utf8::Char c = utf8::decode(text, i);
    const std::size_t len = c.length;
    const char32_t cp = c.codePoint;  // U+FFFD for broken bytes, which are kept as they are
    if (cp >= 0xFF01 && cp <= 0xFF5E) {
      out.push_back(static_cast<char>(cp - 0xFF01 + 0x21));
    } else if (cp == 0x3000) {
      out.push_back(' ');
    } else {
      out.append(text.substr(i, len));
    }
    i += len;
  }
  return out;
}

std::string myNumberStyle(std::string_view text, std::string_view format) {
  std::string result;
  guardStep("myNumberStyle", [&] {
    if (myTrim(text).empty()) {
      result = formatPattern(0.0, format);
      return;
    }
    result = formatPattern(myCDbl(toNarrow(text)), format);
    const std::size_t b = result.find_first_not_of(' ');
    const std::size_t e = result.find_last_not_of(' ');
    result = b == std::string::npos ? std::string() : result.substr(b, e - b + 1);
  });
  return result;
}

std::optional<double> UserMax(std::optional<double> a, std::optional<double> b) {
  if (!a || !b) return std::nullopt;
  return *a > *b ? a : b;
}

std::string myFilenameDir(std::string_view path) {
  const std::size_t n = lastSeparatorBeforeEnd(path, '/');
  if (n == std::string_view::npos) return {};
  return std::string(path.substr(0, n + 1));
}

std::string myFilenameFilename(std::string_view path) {
  const std::size_t n = lastSeparatorBeforeEnd(path, '/');
  if (n == std::string_view::npos) return std::string(path);
  return std::string(path.substr(n + 1));
}

std::string myFilenameNoExt(std::string_view path) {
  const std::string name = myFilenameFilename(path);
  const std::size_t n = lastSeparatorBeforeEnd(name, '.');
  if (n == std::string::npos) return std::string(path);
  return myFilenameDir(path) + name.substr(0, n);
}

std::string myPathEdit(std::string_view path) {
  if (path.empty()) return {};
  if (path.back() == '/') return std::string(path);
  return std::string(path) + "/";
}

std::string myPathTrim(std::string_view path, int limit) {
  const std::size_t length = utf16Length(path);
  if (limit >= 0 && length <= static_cast<std::size_t>(limit)) return std::string(path);

  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t at = path.find('/', from);
    if (at == std::string_view::npos) {
      parts.push_back(path.substr(from));
      break;
    }
    parts.push_back(path.substr(from, at - from));
    from = at + 1;
  }

  std::string form;
  for (std::size_t k = parts.size(); k-- > 0;) {
    std::string tail;
    for (std::size_t j = k; j < parts.size(); ++j) {
      tail += '/';
      tail.append(parts[j]);
    }
    form = (k > 0 ? "..." : "") + tail;
    if (static_cast<long long>(utf16Length(form)) > limit) break;
  }
  return form;
}

}  // namespace tovakin::app
