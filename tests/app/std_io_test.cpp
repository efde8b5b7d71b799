#include "app/std_io.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/scripted_error_box.h"
#include "support/row_name.h"

namespace tovakin::app {
namespace {

using namespace std::string_literals;

const std::string kFw = "\xE3\x80\x80";  // full-width blank

struct TextCase {
  std::string in;
  std::string out;
};

class MyTrimTest : public ::testing::TestWithParam<TextCase> {};
TEST_P(MyTrimTest, DropsBlanksAtBothEndsAndStopsAtNul) { EXPECT_EQ(myTrim(GetParam().in), GetParam().out); }
INSTANTIATE_TEST_SUITE_P(
    Cases, MyTrimTest,
    ::testing::Values(TextCase{kFw + " abc  def " + kFw, "abc  def"}, TextCase{"abc\0xyz"s, "abc"},
                      TextCase{"\0abc"s, ""}, TextCase{"   ", ""}, TextCase{kFw + kFw, ""}, TextCase{"", ""},
                      TextCase{"\tabc\t", "\tabc\t"},                  // tabs are not blanks
                      TextCase{"a" + kFw + "b", "a" + kFw + "b"},      // inner blanks stay
                      TextCase{"  管種 " + kFw, "管種"},
                      TextCase{"x  \0  y"s, "x"}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.out); });                   // trailing blanks before the NUL go too

TEST(MyTrimNull, NullAndNumbers) {
  EXPECT_EQ(myTrim(std::optional<std::string>()), std::nullopt);
  EXPECT_EQ(myTrim(std::optional<std::string>(" a ")), std::optional<std::string>("a"));
  EXPECT_EQ(myTrim(12.5), "12.5");
  FixedText<8> field("  ab");
  EXPECT_EQ(myTrim(field), "ab");
}

struct NumberCase {
  std::string in;
  double out;
};
class MyCDblTest : public ::testing::TestWithParam<NumberCase> {};
TEST_P(MyCDblTest, ReadsTheLeadingNumber) {
  testing::ScriptedErrorBox box(ErrorAnswer::Abort);
  EXPECT_DOUBLE_EQ(myCDbl(GetParam().in), GetParam().out) << GetParam().in;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MyCDblTest,
    ::testing::Values(NumberCase{"1 000", 1000}, NumberCase{"3.5kN", 3.5}, NumberCase{"", 0},
                      NumberCase{"abc", 0}, NumberCase{" -2.5", -2.5}, NumberCase{"+7", 7},
                      NumberCase{"1.2.3", 1.2}, NumberCase{".5", 0.5}, NumberCase{"-.5", -0.5},
                      NumberCase{"1,234", 1}, NumberCase{"1E3", 1000}, NumberCase{"2.5d-1", 0.25},
                      NumberCase{"1e", 1}, NumberCase{"1E+", 1}, NumberCase{"\t1\n2", 12},
                      NumberCase{"&H1F", 31}, NumberCase{"&o17", 15}, NumberCase{"&Hxyz", 0},
                      NumberCase{"--5", 0}, NumberCase{"-", 0}, NumberCase{"1e-400", 0}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.in); });

TEST(MyCDblOverflow, HugeNumberRaisesOverflowUnderItsLabel) {
  testing::ScriptedErrorBox box(ErrorAnswer::Ignore);
  EXPECT_EQ(myCDbl("1E400"), 0.0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], "オーバーフローしました。(6)\n in myCDbl");
}

TEST(MyCDblOverflow, TheQuietReadingAnswersNothingForAHugeNumber) {
  testing::ScriptedErrorBox box(ErrorAnswer::Abort);
  for (const std::string& huge : {std::string("1E400"), "-" + std::string(320, '9')}) {
    const LeadingNumber read = readLeadingNumber(huge);
    EXPECT_TRUE(read.overflow) << huge;
    EXPECT_EQ(read.value, 0.0) << huge;
  }
  // A text without a number is 0 and no overflow, as myCDbl reads it.
  for (const auto& [text, value] : {std::pair<const char*, double>{" 3.5kN", 3.5}, {"kN", 0.0}, {"", 0.0}}) {
    const LeadingNumber read = readLeadingNumber(text);
    EXPECT_FALSE(read.overflow) << text;
    EXPECT_EQ(read.value, value) << text;
  }
  EXPECT_TRUE(box.shown.empty());
}

struct StyleCase {
  std::string in, format, out;
};
class MyNumberStyleTest : public ::testing::TestWithParam<StyleCase> {};
TEST_P(MyNumberStyleTest, Reformats) {
  testing::ScriptedErrorBox box(ErrorAnswer::Abort);
  EXPECT_EQ(myNumberStyle(GetParam().in, GetParam().format), GetParam().out) << GetParam().in;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MyNumberStyleTest,
    ::testing::Values(StyleCase{"", "0.00", "0.00"}, StyleCase{kFw, "0.00", "0.00"},
                      StyleCase{"１２．３４", "0.00", "12.34"}, StyleCase{"abc", "0", "0"},
                      StyleCase{"-2.5", "0", "-3"}, StyleCase{"12.5ｍ", "0.00", "12.50"},
                      StyleCase{"1,234", "0.00", "1.00"}, StyleCase{"－１．５", "0.0", "-1.5"},
                      StyleCase{"0.0005", "0.000", "0.001"}, StyleCase{"-0.0004", "0.000", "0.000"},
                      StyleCase{"＋３", "0.00000", "3.00000"}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.in + " " + info.param.format); });

// What a number box reads: one number and blanks, or nothing at all; never a leading number cut
// from a longer text.
TEST(ReadTypedNumber, OneNumberAsTypedInAnyWidthOrNothing) {
  using K = TypedNumber;
  struct Row {
    const char* text;
    K::Kind kind;
    double value;
  };
  const Row rows[] = {
      {"1.5", K::Number, 1.5},        {"１．５０", K::Number, 1.5},    {"１。５", K::Number, 1.5},
      {"2。5", K::Number, 2.5},       {"2｡5", K::Number, 2.5},        {" 1.5　", K::Number, 1.5},
      {"－３", K::Number, -3},         {"+2", K::Number, 2},           {".5", K::Number, 0.5},
      {"1e3", K::Number, 1000},       {"１５", K::Number, 15},         {"&H10", K::Number, 16},
      {"", K::Blank, 0},              {"　 ", K::Blank, 0},           {"2,5", K::Unreadable, 0},
      {"7,000", K::Unreadable, 0},    {"1.5m", K::Unreadable, 0},     {"1.5 m", K::Unreadable, 0},
      {"abc", K::Unreadable, 0},      {"1.2.3", K::Unreadable, 0},    {"1e", K::Unreadable, 0},
      {"-", K::Unreadable, 0},        {"。", K::Unreadable, 0},       {"1e999", K::Overflow, 0},
      {"1 5", K::Unreadable, 0},      {"１　５", K::Unreadable, 0},    {"- 1", K::Unreadable, 0},
      {"1e999abc", K::Unreadable, 0}, {"1e999 5", K::Unreadable, 0},  {" -1e999\t", K::Overflow, 0},
      {"1e-999", K::Number, 0},
  };
  for (const Row& row : rows) {
    const TypedNumber read = readTypedNumber(row.text);
    EXPECT_EQ(read.kind, row.kind) << row.text;
    EXPECT_EQ(read.value, row.value) << row.text;
  }
}

TEST(UserMaxTest, NullAndTies) {
  EXPECT_EQ(UserMax(3.0, 5.0), 5.0);
  EXPECT_EQ(UserMax(5.0, 3.0), 5.0);
  EXPECT_EQ(UserMax(5.0, 5.0), 5.0);
  EXPECT_EQ(UserMax(std::nullopt, 5.0), std::nullopt);
  EXPECT_EQ(UserMax(5.0, std::nullopt), std::nullopt);
}

struct PathCase {
  std::string path, dir, name, noExt;
};
class PathSplitTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(PathSplitTest, SplitsAtTheLastSlash) {
  const PathCase& c = GetParam();
  EXPECT_EQ(myFilenameDir(c.path), c.dir) << c.path;
  EXPECT_EQ(myFilenameFilename(c.path), c.name) << c.path;
  EXPECT_EQ(myFilenameNoExt(c.path), c.noExt) << c.path;
  EXPECT_EQ(myFilenameDir(c.path) + myFilenameFilename(c.path), c.path);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathSplitTest,
    ::testing::Values(PathCase{"/data/case1.PIPEDATA", "/data/", "case1.PIPEDATA", "/data/case1"},
                      PathCase{"/data/sub/", "/data/", "sub/", "/data/sub/"},
                      PathCase{"/data/a.b.c", "/data/", "a.b.c", "/data/a.b"},
                      PathCase{"/data/README", "/data/", "README", "/data/README"},
                      PathCase{"/data/.XLS", "/data/", ".XLS", "/data/"},
                      PathCase{"case.PIPEDATA", "", "case.PIPEDATA", "case"},
                      PathCase{"/x.PIPEDATA", "/", "x.PIPEDATA", "/x"},
                      PathCase{"abc/", "", "abc/", "abc/"},            // only slash is the last character
                      PathCase{"/data/name.", "/data/", "name.", "/data/name."},
                      PathCase{"/d.x/file", "/d.x/", "file", "/d.x/file"},  // a dot in a folder is no extension
                      PathCase{"", "", "", ""}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.path); });

TEST(MyPathEditTest, AddsOneTrailingSlash) {
  EXPECT_EQ(myPathEdit("/app"), "/app/");
  EXPECT_EQ(myPathEdit("/app/"), "/app/");
  EXPECT_EQ(myPathEdit(""), "");
}

struct TrimCase {
  std::string path;
  int limit;
  std::string out;
};
class MyPathTrimTest : public ::testing::TestWithParam<TrimCase> {};
TEST_P(MyPathTrimTest, ShortestTailLongerThanTheLimit) {
  EXPECT_EQ(myPathTrim(GetParam().path, GetParam().limit), GetParam().out);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MyPathTrimTest,
    ::testing::Values(
        // 46 characters: the shortest ".../" tail longer than 32
        TrimCase{"/home/Work/Project/Documents/Data/case1.PIPEDATA", 32, ".../Documents/Data/case1.PIPEDATA"},
        TrimCase{"/home/user/abcdefghijklmnopqrstu.PIPEDATA", 32, ".../abcdefghijklmnopqrstu.PIPEDATA"},
        TrimCase{std::string("/") + std::string(31, 'a'), 32, std::string("/") + std::string(31, 'a')},  // exactly 32
        TrimCase{"/a/" + std::string(40, 'b'), 32, ".../" + std::string(40, 'b')},  // one component too long
        TrimCase{std::string(40, 'c'), 32, "/" + std::string(40, 'c')},  // no slash at all: whole path after a "/"
        TrimCase{"/データ/設計.PIPEDATA", 20, "/データ/設計.PIPEDATA"},  // 16 characters, 26 bytes
        TrimCase{"/データ/設計/管路/ケース.PIPEDATA", 16, ".../管路/ケース.PIPEDATA"},
        TrimCase{"//server/share/folder/x.PIPEDATA", 15, ".../folder/x.PIPEDATA"}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, std::to_string(info.param.limit) + " " + info.param.path); });

}  // namespace
}  // namespace tovakin::app
