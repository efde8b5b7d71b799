#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovakin::platform::utf8 {
namespace {

struct WalkCase {
  const char* label;
  std::string bytes;
  std::vector<char32_t> codePoints;  // kReplacement for each ill-formed subsequence
  std::vector<std::size_t> lengths;
};
class Utf8Walk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(Utf8Walk, OneReplacementPerIllFormedSubsequence) {
  std::vector<char32_t> codePoints;
  std::vector<std::size_t> lengths;
  for (const Char& c : chars(GetParam().bytes)) {
    codePoints.push_back(c.codePoint);
    lengths.push_back(c.length);
  }
  EXPECT_EQ(codePoints, GetParam().codePoints);
  EXPECT_EQ(lengths, GetParam().lengths);
}

constexpr char32_t R = kReplacement;
INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Walk,
    ::testing::Values(WalkCase{"Empty", "", {}, {}},
                      WalkCase{"OneToFourBytes", "A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", {'A', 0xE9, 0x3042, 0x1F600}, {1, 2, 3, 4}},
                      WalkCase{"Truncated", "\xE3\x41\x42", {R, 'A', 'B'}, {1, 1, 1}},
                      WalkCase{"TruncatedAfterTwo", "\xE3\x81" "A", {R, 'A'}, {2, 1}},
                      WalkCase{"CutAtTheEnd", "\xF0\x9F\x98", {R}, {3}},
                      WalkCase{"LoneContinuations", "\x80\xBF" "A", {R, R, 'A'}, {1, 1, 1}},
                      WalkCase{"Overlong", "\xC0\x80", {R, R}, {1, 1}},
                      WalkCase{"Surrogate", "\xED\xA0\x80", {R, R, R}, {1, 1, 1}},
                      WalkCase{"AboveMax", "\xF4\x90\x80\x80", {R, R, R, R}, {1, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Utf8, OffsetsInUtf16UnitsAndBytes) {
  const std::string s = "a\xF0\x9F\x98\x80\xE3\x41";  // a, U+1F600 (two units), U+FFFD, A
  EXPECT_EQ(utf16Length(s), 5u);
  EXPECT_EQ(byteOffsetOfUtf16(s, 2), 1u);  // never half a surrogate pair
  EXPECT_EQ(byteOffsetOfUtf16(s, 4), 6u);
  EXPECT_EQ(byteOffsetOfUtf16(s, 99), s.size());
  EXPECT_EQ(utf16OffsetOfByte(s, 6), 4u);
  EXPECT_EQ(firstInvalid(s), 5u);
  EXPECT_EQ(firstInvalid("\xE3\x81\x82\xEF\xBF\xBD"), std::string_view::npos);  // a real U+FFFD is valid
}

}  // namespace
}  // namespace tovakin::platform::utf8
