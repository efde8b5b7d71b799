#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <thread>

namespace tovakin::platform {
namespace {

TEST(Cp932, EncodesAndDecodesJapaneseAsciiAndBackslash) {
  struct Case {
    const char* utf8;
    const char* cp932;
  } cases[] = {
      {"C:\\DATA\\a.PIPEDATA", "C:\\DATA\\a.PIPEDATA"},  // 0x5C stays the backslash
      {"~", "~"},
      {"ﾕｰｻﾞｰﾃﾞｰﾀ", "\xD5\xB0\xBB\xDE\xB0\xC3\xDE\xB0\xC0"},  // half-width katakana are single bytes
      {"土の単位体積重量", "\x93\x79\x82\xCC\x92\x50\x88\xCA\x91\xCC\x90\xCF\x8F\x64\x97\xCA"},
      {"ソ", "\x83\x5C"},  // a trail byte that looks like a backslash
      {"～", "\x81\x60"},
      {"　", "\x81\x40"},
      {"①", "\x87\x40"},  // NEC special characters of the Windows code page
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toCp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(fromCp932(c.cp932), c.utf8) << c.utf8;
  }
}

// The JIS-style characters of Linux input methods are written as the CP932 characters that
// stand for them and read back in their full-width form; those are held, others are named.
TEST(Cp932, JisStyleCharactersAreWrittenAsTheirCp932Counterparts) {
  const struct {
    const char* typed;
    const char* bytes;
    const char* readBack;
  } cases[] = {
      {"〜", "\x81\x60", "～"}, {"−", "\x81\x7C", "－"}, {"‖", "\x81\x61", "∥"},
      {"¢", "\x81\x91", "￠"}, {"£", "\x81\x92", "￡"}, {"¬", "\x81\xCA", "￢"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toCp932(c.typed), c.bytes) << c.typed;
    EXPECT_EQ(fromCp932(c.bytes), c.readBack) << c.typed;
    EXPECT_EQ(firstCharNotInCp932(std::string("区間") + c.typed + c.readBack), std::nullopt) << c.typed;
  }
  EXPECT_EQ(firstCharNotInCp932("caf\xC3\xA9 1〜3"), std::optional<char32_t>(0xE9));
  EXPECT_EQ(firstCharNotInCp932("a\xFF" "b"), std::optional<char32_t>(0xFFFD));  // invalid UTF-8
  EXPECT_EQ(firstCharNotInCp932("¥"), std::optional<char32_t>(0xA5));         // would read back as "\\"
  EXPECT_EQ(describeChar(0xE9), "\xC3\xA9 (U+00E9)");
}

TEST(Cp932, UnmappableAndInvalidInputNeverFails) {
  EXPECT_EQ(toCp932("a€b"), "a?b");
  EXPECT_EQ(toCp932("😀"), "?");
  EXPECT_EQ(toCp932("a\xFF" "b"), "a?b");       // not UTF-8
  EXPECT_EQ(toCp932("\xE3\x81"), "?");          // cut short: one ill-formed subsequence
  EXPECT_EQ(toCp932("\xED\xA0\x80"), "???");    // a surrogate
  EXPECT_EQ(toCp932("\xC0\xAF"), "??");         // overlong "/"
  EXPECT_EQ(toCp932(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, InvalidBytesDecodeToReplacementCharacter) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(fromCp932("\x80"), fffd);
  EXPECT_EQ(fromCp932("a\xFF" "b"), "a" + fffd + "b");
  EXPECT_EQ(fromCp932("\x82"), fffd);                 // lead byte at the end
  EXPECT_EQ(fromCp932("\x82\x7F" "A"), fffd + "\x7F" "A");  // broken pair: the second byte is kept
  EXPECT_EQ(fromCp932("\x82\xA0\x82"), "あ" + fffd);
}

TEST(Cp932, CutNeverSplitsADoubleByteCharacter) {
  const std::string s = "a\x82\xA0\xB1\x82\xA2";  // a あ ｱ い
  const std::size_t expected[] = {0, 1, 1, 3, 4, 4, 6, 6, 6};
  for (std::size_t n = 0; n < std::size(expected); ++n) EXPECT_EQ(cp932CutLength(s, n), expected[n]) << n;

  // A trail byte in the ASCII range is not a character start.
  EXPECT_EQ(cp932CutLength("\x83\x5C\x83\x5C", 3), 2u);
  EXPECT_EQ(toCp932Cut("ソソ", 3), "\x83\x5C");
  EXPECT_EQ(toCp932Cut("abc", 10), "abc");
  EXPECT_EQ(toCp932Cut("あいう", 5), "\x82\xA0\x82\xA2");
}

TEST(Cp932, LongTextAndOtherThreads) {
  std::string utf8;
  for (int i = 0; i < 2000; ++i) utf8 += "管設計ｱ\\";
  std::string bytes = toCp932(utf8);
  EXPECT_EQ(bytes.size(), 2000u * 8);
  EXPECT_EQ(fromCp932(bytes), utf8);
  std::string other;
  std::thread([&] { other = fromCp932(toCp932("溝型")); }).join();
  EXPECT_EQ(other, "溝型");
}

}  // namespace
}  // namespace tovakin::platform
