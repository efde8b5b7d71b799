#pragma once
// A text field of a fixed length in characters, as the record types of the program have them.
// Assignment keeps at most N characters (UTF-16 code units, as the original counted them);
// the blank padding to N is applied when the record is written to a file. A field that was
// never assigned is written as NUL bytes.
#include <cstddef>
#include <string>
#include <string_view>

#include "app/layer.h"
#include "platform/utf8.h"

namespace tovakin::app {

// Number of bytes of the longest prefix of a UTF-8 text that holds at most `units` UTF-16 units.
inline std::size_t utf8PrefixForUtf16Units(std::string_view s, std::size_t units) {
  return utf8::byteOffsetOfUtf16(s, units);
}

template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t width = N;
  FixedText() = default;
  FixedText(std::string_view s) { assign(s); }  // NOLINT: records are assigned from texts
  FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  FixedText& operator=(const std::string& s) { return *this = std::string_view(s); }
  FixedText& operator=(const char* s) { return *this = std::string_view(s); }

  const std::string& str() const { return value_; }
  operator const std::string&() const { return value_; }  // NOLINT
  bool assigned() const { return assigned_; }
  bool operator==(const FixedText&) const = default;

 private:
  void assign(std::string_view s) {
    value_.assign(s.substr(0, utf8PrefixForUtf16Units(s, N)));
    assigned_ = true;
  }
  std::string value_;
  bool assigned_ = false;
};

}  // namespace tovakin::app
