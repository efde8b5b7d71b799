// Code page 932: any bytes decode to well-formed UTF-8 (bad bytes as U+FFFD), the text encodes
// back to CP932 that decodes to the same text (U+FFFD, which CP932 cannot hold, as "?"), cutting
// never splits a character, and the UTF-8 walker agrees with itself on the result and on the
// raw bytes taken as UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace {

namespace utf8 = tovakin::platform::utf8;
using tovakin::platform::cp932CutLength;
using tovakin::platform::fromCp932;
using tovakin::platform::isCp932LeadByte;
using tovakin::platform::toCp932;
using tovakin::platform::toCp932Cut;

std::string replacementsAsQuestionMarks(std::string_view text) {
  std::string out;
  for (const utf8::Char& c : utf8::chars(text)) {
    if (c.codePoint == utf8::kReplacement)
      out.push_back('?');
    else
      out.append(c.bytesIn(text));
  }
  return out;
}

// Walks a text once: the characters tile it, each has a sane length, a well-formed one is
// written back to the very same bytes, and the UTF-16 position helpers agree with the walk. The
// helpers walk from the start themselves, so they are asked at a few characters spread over
// the text (and at its end), which keeps one input linear in its length.
void walk(std::string_view text, bool mustBeWellFormed) {
  constexpr std::size_t kProbes = 16;
  struct Position {
    std::size_t offset, units;
  };
  std::vector<Position> positions;
  std::size_t next = 0;
  std::size_t units = 0;
  bool allValid = true;
  for (const utf8::Char& c : utf8::chars(text)) {
    TOVAKIN_FUZZ_CHECK(c.offset == next);
    TOVAKIN_FUZZ_CHECK(c.length >= 1 && c.length <= 4 && c.offset + c.length <= text.size());
    if (c.valid) {
      std::string again;
      utf8::append(again, c.codePoint);
      TOVAKIN_FUZZ_CHECK(again == c.bytesIn(text));
    } else {
      TOVAKIN_FUZZ_CHECK(c.codePoint == utf8::kReplacement && c.length <= 3);
      allValid = false;
    }
    positions.push_back({c.offset, units});
    units += c.utf16Units();
    next = c.offset + c.length;
  }
  const std::size_t step = positions.size() / kProbes + 1;
  for (std::size_t i = 0; i < positions.size(); i += step) {
    TOVAKIN_FUZZ_CHECK(utf8::utf16OffsetOfByte(text, positions[i].offset) == positions[i].units);
    TOVAKIN_FUZZ_CHECK(utf8::byteOffsetOfUtf16(text, positions[i].units) == positions[i].offset);
  }
  if (!positions.empty()) {
    const Position& last = positions.back();
    TOVAKIN_FUZZ_CHECK(utf8::utf16OffsetOfByte(text, last.offset) == last.units);
    TOVAKIN_FUZZ_CHECK(utf8::byteOffsetOfUtf16(text, last.units) == last.offset);
  }
  TOVAKIN_FUZZ_CHECK(next == text.size());
  TOVAKIN_FUZZ_CHECK(utf8::utf16Length(text) == units);
  TOVAKIN_FUZZ_CHECK(utf8::byteOffsetOfUtf16(text, units) == text.size());
  TOVAKIN_FUZZ_CHECK((utf8::firstInvalid(text) == std::string_view::npos) == allValid);
  if (mustBeWellFormed) TOVAKIN_FUZZ_CHECK(allValid);
}

}  // namespace

TOVAKIN_FUZZ_TARGET(cp932) {
  const std::string_view bytes = tovakin::fuzz::bytesOf(data, size);

  const std::string text = fromCp932(bytes);
  walk(text, true);
  walk(bytes, false);

  const std::string encoded = toCp932(text);
  const std::string expected = replacementsAsQuestionMarks(text);
  TOVAKIN_FUZZ_CHECK(fromCp932(encoded) == expected);
  TOVAKIN_FUZZ_CHECK(toCp932(expected) == encoded);

  // Cuts: never past n, never through a double-byte character, and what is kept decodes to a
  // prefix of the whole text.
  for (std::size_t n : {std::size_t{0}, std::size_t{1}, size / 2, size, std::size_t{32}, std::size_t{99}}) {
    const std::size_t cut = cp932CutLength(bytes, n);
    TOVAKIN_FUZZ_CHECK(cut <= n && cut <= bytes.size());
    // It stops only at the end, at n, or before a double-byte character that would end past n.
    TOVAKIN_FUZZ_CHECK(cut == bytes.size() || cut == n ||
                       (cut + 1 == n && cut + 1 < bytes.size() &&
                        isCp932LeadByte(static_cast<unsigned char>(bytes[cut]))));

    const std::string kept = toCp932Cut(text, n);
    TOVAKIN_FUZZ_CHECK(kept.size() <= n && encoded.compare(0, kept.size(), kept) == 0);
    const std::string keptText = fromCp932(kept);
    TOVAKIN_FUZZ_CHECK(expected.compare(0, keptText.size(), keptText) == 0);
  }
  return 0;
}
