#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "platform/cp932.h"
#include "support/temp_dir.h"

namespace tovakin::platform {
namespace {

using test::readBytes;
using test::writeBytes;

class PrivateProfile : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string ini = dir.file("TOVAKIN.INI");
  // A file as another program and the user might leave it: a foreign section with bytes that are
  // not CP932, a comment, blank lines, and the program's own section with Japanese keys.
  std::string original = "[Other]\r\nname=\xFF\xFE odd\r\n; comment=1\r\n\r\n[Tovakin]\r\n" + toCp932("土の単位体積重量") +
                         "=18\r\nK0 = 0.110\t\r\nFILE0=C:\\a=b.PIPEDATA\r\n\r\n[Last]\r\nx=1\r\n";
  void SetUp() override { writeBytes(ini, original); }
};

TEST_F(PrivateProfile, ReadsValuesAsTheProgramRelyOnThem) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Tovakin", "土の単位体積重量", "18"},
      {"TOVAKIN", "k0", "0.110"},        // ASCII case ignored, blanks and tabs trimmed
      {"Tovakin", "FILE0", "C:\\a=b.PIPEDATA"},  // after the first "="
      {"Tovakin", "x", ""},              // a key of another section
      {"Tovakin", "FILE1", ""},
      {"Missing", "K0", ""},
      {"Other", "comment", ""},          // comment lines hold no keys
      {"Last", "X", "1"},
  };
  for (const auto& c : cases) EXPECT_EQ(profileRead(ini, c.section, c.key), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(profileRead(dir.file("none.ini"), "Tovakin", "K0"), "");
}

TEST_F(PrivateProfile, JapaneseKeysCompareExactly) {
  // ア is 83 41 and ヂ is 83 61: folding their second bytes as ASCII letters would match them.
  writeBytes(ini, "[S]\r\n" + toCp932("ア") + "=1\r\n");
  EXPECT_EQ(profileRead(ini, "S", "ア"), "1");
  EXPECT_EQ(profileRead(ini, "S", "ヂ"), "");
  ASSERT_TRUE(profileWrite(ini, "S", "ヂ", "2"));
  EXPECT_EQ(profileRead(ini, "S", "ア"), "1");
  EXPECT_EQ(profileRead(ini, "S", "ヂ"), "2");
}

TEST_F(PrivateProfile, ToleratesLfLinesAndNoFinalNewline) {
  writeBytes(ini, "[Tovakin]\nK0=1\nK30=2");
  EXPECT_EQ(profileRead(ini, "Tovakin", "K0"), "1");
  EXPECT_EQ(profileRead(ini, "Tovakin", "K30"), "2");
  ASSERT_TRUE(profileWrite(ini, "Tovakin", "K60", "3"));
  EXPECT_EQ(readBytes(ini), "[Tovakin]\nK0=1\nK30=2\r\nK60=3\r\n");
}

TEST_F(PrivateProfile, ValueIsCutTo99BytesOnACharacterBoundary) {
  std::string ascii(150, 'a');
  ASSERT_TRUE(profileWrite(ini, "Tovakin", "FILE1", ascii));
  EXPECT_EQ(profileRead(ini, "Tovakin", "FILE1"), std::string(99, 'a'));
  EXPECT_EQ(profileRead(ini, "Tovakin", "FILE1", 1000), ascii);

  // "a" and 60 double-byte characters: byte 99 would be the first half of the 50th.
  std::string japanese = "a";
  for (int i = 0; i < 60; ++i) japanese += "管";
  ASSERT_TRUE(profileWrite(ini, "Tovakin", "FILE2", japanese));
  std::string expected = "a";
  for (int i = 0; i < 49; ++i) expected += "管";
  EXPECT_EQ(profileRead(ini, "Tovakin", "FILE2"), expected);
}

TEST_F(PrivateProfile, ReplacingAValueKeepsEveryOtherByte) {
  ASSERT_TRUE(profileWrite(ini, "tovakin", "k0", "0.2"));
  std::string expected = original;
  expected.replace(expected.find("K0 = 0.110\t"), 11, "K0=0.2");  // the key keeps its spelling
  EXPECT_EQ(readBytes(ini), expected);

  ASSERT_TRUE(profileWrite(ini, "Tovakin", "土の単位体積重量", "19.5"));
  EXPECT_EQ(profileRead(ini, "Tovakin", "土の単位体積重量"), "19.5");
  EXPECT_EQ(profileRead(ini, "Other", "name"), fromCp932("\xFF\xFE odd"));
  EXPECT_NE(readBytes(ini).find("[Other]\r\nname=\xFF\xFE odd\r\n; comment=1\r\n\r\n"), std::string::npos);
}

TEST_F(PrivateProfile, NewKeyGoesAfterTheLastLineOfItsSection) {
  ASSERT_TRUE(profileWrite(ini, "Tovakin", "FILE1", "/home/u/管.PIPEDATA"));
  std::string expected = original;
  std::string after = "FILE0=C:\\a=b.PIPEDATA\r\n";
  expected.insert(expected.find(after) + after.size(), "FILE1=" + toCp932("/home/u/管.PIPEDATA") + "\r\n");
  EXPECT_EQ(readBytes(ini), expected);
  EXPECT_EQ(profileRead(ini, "Tovakin", "FILE1"), "/home/u/管.PIPEDATA");
}

TEST_F(PrivateProfile, MissingSectionAndMissingFileAreAppendedAndCreated) {
  ASSERT_TRUE(profileWrite(ini, "New", "K", "v"));
  EXPECT_EQ(readBytes(ini), original + "[New]\r\nK=v\r\n");

  std::string fresh = dir.file("fresh.ini");
  ASSERT_TRUE(profileWrite(fresh, "Tovakin", "K0", "0.11"));
  ASSERT_TRUE(profileWrite(fresh, "Tovakin", "K30", "0.108"));
  EXPECT_EQ(readBytes(fresh), "[Tovakin]\r\nK0=0.11\r\nK30=0.108\r\n");

  writeBytes(fresh, "[A]\r\nk=1");  // last line without its line end
  ASSERT_TRUE(profileWrite(fresh, "B", "k", "2"));
  EXPECT_EQ(readBytes(fresh), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
}

TEST_F(PrivateProfile, OnlyTheFirstOccurrenceIsUsed) {
  writeBytes(ini, "[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n");
  EXPECT_EQ(profileRead(ini, "S", "k"), "1");
  ASSERT_TRUE(profileWrite(ini, "s", "K", "9"));
  EXPECT_EQ(readBytes(ini), "[S]\r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n");
}

TEST_F(PrivateProfile, RefusesWhatWouldBreakTheFile) {
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "FILE1", "a\r\n[Evil]\r\nx=1"));
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "a=b", "1"));
  EXPECT_FALSE(profileWrite(ini, "To]vakin", "k", "1"));
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "", "1"));
  // Keys that would read back as a comment or a section line, never as the key.
  EXPECT_FALSE(profileWrite(ini, "Tovakin", ";k", "1"));
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "[k]", "1"));
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "[k", "1"));
  EXPECT_EQ(readBytes(ini), original);
  EXPECT_TRUE(profileWrite(ini, "Tovakin", "k;[", "1"));  // only the first character matters
  EXPECT_EQ(profileRead(ini, "Tovakin", "k;["), "1");
}

TEST_F(PrivateProfile, SeveralKeysGoInOneWriteAndARefusedOneIsLeftOut) {
  const WriteResult written = profileWrite(ini, "Tovakin", {{"K0", "0.2"}, {";x", "1"}, {"K30", "0.3"}, {"k0", "0.25"}});
  EXPECT_EQ(written.error(), EINVAL);
  EXPECT_EQ(profileRead(ini, "Tovakin", "K0"), "0.25");
  EXPECT_EQ(profileRead(ini, "Tovakin", "K30"), "0.3");
  EXPECT_EQ(readBytes(ini).find(";x"), std::string::npos);
}

TEST_F(PrivateProfile, AFileLargerThanAnySettingsFileIsNotRead) {
  const std::string head = "[Tovakin]\r\nK0=1\r\n";
  writeBytes(ini, head + std::string(kProfileMaxBytes - head.size(), '\n'));
  ASSERT_TRUE(profileLoad(ini).has_value());
  EXPECT_EQ(profileLoad(ini)->value("Tovakin", "K0"), "1");
  writeBytes(ini, head + std::string(kProfileMaxBytes - head.size() + 1, '\n'));
  EXPECT_FALSE(profileLoad(ini).has_value());
  EXPECT_EQ(profileRead(ini, "Tovakin", "K0"), "");
}

// The writers read no more of an oversized file than the reader: a sparse file of several
// gigabytes is refused at once and stays as it was.
TEST_F(PrivateProfile, AFileLargerThanAnySettingsFileIsNotWritten) {
  const std::string head = "[Tovakin]\r\nK0=1\r\n";
  writeBytes(ini, head + std::string(kProfileMaxBytes - head.size(), '\n'));
  EXPECT_TRUE(profileWrite(ini, "Tovakin", "K30", "2"));  // at the bound it is a settings file
  writeBytes(ini, head);
  std::filesystem::resize_file(ini, std::uintmax_t{4} << 30);
  const WriteResult one = profileWrite(ini, "Tovakin", "K0", "2");
  const WriteResult several = profileWrite(ini, "Tovakin", {{"K0", "2"}, {"K30", "3"}});
  EXPECT_EQ(one.error(), kProfileTooLarge);
  EXPECT_EQ(several.error(), kProfileTooLarge);
  EXPECT_EQ(std::filesystem::file_size(ini), std::uintmax_t{4} << 30);
  EXPECT_EQ(readFileBytes(ini, head.size()), head);
}

TEST_F(PrivateProfile, ReadOnlyFileOrFolderGivesFalseAndKeepsTheFile) {
  ::chmod(ini.c_str(), 0444);
  EXPECT_FALSE(profileWrite(ini, "Tovakin", "K0", "1"));
  EXPECT_EQ(readBytes(ini), original);
  ::chmod(ini.c_str(), 0644);

  test::TempDir ro;
  std::string roIni = ro.file("TOVAKIN.INI");
  writeBytes(roIni, "[Tovakin]\r\nK0=1\r\n");
  ::chmod(ro.path().c_str(), 0555);
  EXPECT_TRUE(test::runUnprivileged([&] {
    return !profileWrite(roIni, "Tovakin", "K0", "2") && !profileWrite(ro.file("new.ini"), "Tovakin", "K0", "2") &&
           profileRead(roIni, "Tovakin", "K0") == "1";
  }));
  EXPECT_EQ(readBytes(roIni), "[Tovakin]\r\nK0=1\r\n");
  EXPECT_FALSE(profileWrite(dir.path(), "Tovakin", "K0", "1"));  // a folder is not a file
}

}  // namespace
}  // namespace tovakin::platform
