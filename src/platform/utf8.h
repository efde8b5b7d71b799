#pragma once
// The one reading of UTF-8 texts in the program. Header-only, standard library only, so that the
// build tools can use it too.
//
// Invalid bytes: each maximal ill-formed subsequence (the longest run of bytes that starts like
// a well-formed sequence but is not one, or else a single byte) is one U+FFFD. So "E3 41 42" is
// U+FFFD 'A' 'B', "E3 81" at the end is one U+FFFD, and a lone continuation byte is one U+FFFD
// each. Overlong forms (C0 80, E0 80 80), surrogates (ED A0 80) and values above U+10FFFF
// (F4 90 80 80) are ill-formed. Every place that counts characters, cuts a text or replaces bad
// bytes therefore sees the same characters.
#include <cstddef>
#include <string>
#include <string_view>

namespace tovakin::platform::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// One character of a text: where it starts, how many bytes it takes and what it is.
struct Char {
  std::size_t offset = 0;
  std::size_t length = 0;      // 1..4; an ill-formed subsequence takes 1..3
  char32_t codePoint = 0;      // kReplacement when !valid
  bool valid = true;           // false for an ill-formed subsequence

  // UTF-16 units: characters beyond the basic plane take a surrogate pair.
  constexpr std::size_t utf16Units() const { return codePoint >= 0x10000 ? 2 : 1; }
  constexpr std::string_view bytesIn(std::string_view text) const { return text.substr(offset, length); }
};

// The character that starts at byte `at` (at < s.size()).
constexpr Char decode(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return Char{at, 1, lead, true};

  std::size_t need;           // continuation bytes
  unsigned char low = 0x80;   // allowed range of the second byte
  unsigned char high = 0xBF;
  char32_t cp;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return Char{at, 1, kReplacement, false};  // continuation byte, C0, C1, F5..FF
  }

  std::size_t length = 1;
  for (std::size_t k = 0; k < need; ++k) {
    if (at + length >= s.size()) return Char{at, length, kReplacement, false};
    const unsigned char c = byte(at + length);
    const bool inRange = k == 0 ? (c >= low && c <= high) : (c >= 0x80 && c <= 0xBF);
    if (!inRange) return Char{at, length, kReplacement, false};
    cp = (cp << 6) | (c & 0x3F);
    ++length;
  }
  return Char{at, length, cp, true};
}

// The characters of a text, front to back: for (const utf8::Char& c : utf8::chars(text)).
class Chars {
 public:
  class iterator {
   public:
    using value_type = Char;
    using difference_type = std::ptrdiff_t;
    constexpr iterator() = default;
    constexpr iterator(std::string_view s, std::size_t at) : s_(s), c_(at < s.size() ? decode(s, at) : Char{at, 0}) {}
    constexpr const Char& operator*() const { return c_; }
    constexpr const Char* operator->() const { return &c_; }
    constexpr iterator& operator++() {
      *this = iterator(s_, c_.offset + c_.length);
      return *this;
    }
    constexpr iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    constexpr bool operator==(const iterator& o) const { return c_.offset == o.c_.offset; }

   private:
    std::string_view s_;
    Char c_{};
  };

  constexpr explicit Chars(std::string_view s) : s_(s) {}
  constexpr iterator begin() const { return iterator(s_, 0); }
  constexpr iterator end() const { return iterator(s_, s_.size()); }

 private:
  std::string_view s_;
};
constexpr Chars chars(std::string_view s) { return Chars(s); }

// Length in UTF-16 units, the unit in which the program counts characters of a text.
constexpr std::size_t utf16Length(std::string_view s) {
  std::size_t n = 0;
  for (const Char& c : chars(s)) n += c.utf16Units();
  return n;
}

// Byte length of the longest prefix that holds at most `units` UTF-16 units; never cuts a
// character (nor an ill-formed subsequence) in two.
constexpr std::size_t byteOffsetOfUtf16(std::string_view s, std::size_t units) {
  std::size_t used = 0;
  for (const Char& c : chars(s)) {
    if (used + c.utf16Units() > units) return c.offset;
    used += c.utf16Units();
  }
  return s.size();
}

// UTF-16 units of the characters that start before byte `offset`.
constexpr std::size_t utf16OffsetOfByte(std::string_view s, std::size_t offset) {
  std::size_t units = 0;
  for (const Char& c : chars(s)) {
    if (c.offset >= offset) break;
    units += c.utf16Units();
  }
  return units;
}

// Byte offset of the first ill-formed subsequence, or npos for a well-formed text.
constexpr std::size_t firstInvalid(std::string_view s) {
  for (const Char& c : chars(s))
    if (!c.valid) return c.offset;
  return std::string_view::npos;
}

// Appends the UTF-8 form of a code point; a surrogate or a value above U+10FFFF is written as
// U+FFFD.
inline void append(std::string& out, char32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace tovakin::platform::utf8
