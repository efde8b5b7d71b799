#pragma once
// Conversion between the program's UTF-8 texts and the Japanese ANSI code page (CP932), in which
// the settings file and the fixed-length text fields of the document file are stored.
// CP932 keeps 0x5C as the backslash (not the yen sign), so paths survive a round trip.
#include <cstddef>
#include <string>
#include <string_view>

namespace tovakin::platform {

// UTF-8 to CP932. A character CP932 cannot represent, and every invalid UTF-8 sequence, becomes "?".
std::string toCp932(std::string_view utf8);

// CP932 to UTF-8. A byte or byte pair that is not valid CP932 decodes to U+FFFD.
std::string fromCp932(std::string_view bytes);

// True for a byte that starts a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The largest length <= n of a prefix of CP932 bytes that does not split a double-byte character.
std::size_t cp932CutLength(std::string_view bytes, std::size_t n);

// toCp932, then cut to at most n bytes on a character boundary (no padding).
std::string toCp932Cut(std::string_view utf8, std::size_t n);

}  // namespace tovakin::platform
