#pragma once
// Conversion between the program's UTF-8 texts and the Japanese ANSI code page (CP932), in which
// the settings file and the fixed-length text fields of the document file are stored.
// CP932 keeps 0x5C as the backslash (not the yen sign), so paths survive a round trip.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tovakin::platform {

// UTF-8 to CP932. A character CP932 cannot represent, and every invalid UTF-8 sequence, becomes "?".
// The JIS-style characters Linux input methods type (U+301C wave dash, U+2212 minus, U+2016
// double vertical line, U+00A2 cent, U+00A3 pound, U+00AC not) are written as the CP932
// characters that stand for them, which read back under their full-width code points.
std::string toCp932(std::string_view utf8);

// The code point a character reads back as after a trip through CP932 when it is one of those
// JIS-style characters ('〜' -> '～'); any other character unchanged.
char32_t cp932Counterpart(char32_t c);

// The first character of the text that CP932 cannot hold, so that it would be replaced or lost
// on the way (also an invalid UTF-8 sequence, as U+FFFD); nullopt when CP932 holds them all.
std::optional<char32_t> firstCharNotInCp932(std::string_view utf8);

// The character as a text: its UTF-8 form, and its code point ("U+00E9") for one that fonts may
// not show.
std::string describeChar(char32_t c);

// CP932 to UTF-8. A byte or byte pair that is not valid CP932 decodes to U+FFFD.
std::string fromCp932(std::string_view bytes);

// True for a byte that starts a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The largest length <= n of a prefix of CP932 bytes that does not split a double-byte character.
std::size_t cp932CutLength(std::string_view bytes, std::size_t n);

// toCp932, then cut to at most n bytes on a character boundary (no padding).
std::string toCp932Cut(std::string_view utf8, std::size_t n);

}  // namespace tovakin::platform
