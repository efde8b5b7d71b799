#include "report/cell_conventions.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "support/recording_report_book.h"
#include "support/scripted_error_box.h"
#include "support/row_name.h"

namespace tovakin::report {
namespace {

using testing::RecordingReportBook;

struct MarkerCase {
  const char* written;
  const char* shown;
  std::set<int> raised;
};

class SuperscriptPass : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(SuperscriptPass, RemovesMarkersAndRaisesFollowers) {
  const MarkerCase& c = GetParam();
  RecordingReportBook book({"鉛直土圧"});
  book.writeCell("鉛直土圧", "G15", c.written);
  JyoCharEdit(book, "鉛直土圧", "G15");
  EXPECT_EQ(book.text("鉛直土圧", "G15"), c.shown);
  EXPECT_EQ(book.cell("鉛直土圧", "G15")->raised, c.raised);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SuperscriptPass,
    ::testing::Values(MarkerCase{"ＷＲ^2＋0.061×e'×R^3", "ＷＲ2＋0.061×e'×R3", {3, 15}},  // two markers
                      MarkerCase{"（1－（0.5／0.6）^2）", "（1－（0.5／0.6）2）", {13}},
                      MarkerCase{"R^", "R", {}},                  // marker last: nothing raised
                      MarkerCase{"m^2^", "m2", {2}},
                      MarkerCase{"a^^b", "ab", {2}},              // as removing one marker at a time
                      MarkerCase{"無し", "無し", {}},             // no marker: untouched
                      MarkerCase{"x^𝑎y", "x𝑎y", {2, 3}},         // a raised pair of UTF-16 units
                      MarkerCase{"）＾（", "）＾（", {}}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.written); });       // the visible power sign is no marker

TEST(SuperscriptPass, TextWithoutMarkerIsNotWrittenAgain) {
  RecordingReportBook book({"S"});
  book.writeCell("S", "A1", "12.50");
  book.log.clear();
  JyoCharEdit(book, "S", "A1");
  EXPECT_TRUE(book.log.empty());
}

TEST(SuperscriptPass, FailuresGoToItsOwnBox) {
  testing::ScriptedErrorBox box(ErrorAnswer::Ignore);
  RecordingReportBook book({"S"});
  JyoCharEdit(book, "S", "未定義の名前");
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].find(" in JyoCharEdit"), std::string::npos);
}

TEST(StripMarkers, PositionsCountUtf16Units) {
  const RaisedText r = stripSuperscriptMarkers("𝑥^2");
  EXPECT_EQ(r.text, "𝑥2");
  ASSERT_EQ(r.runs.size(), 1u);
  EXPECT_EQ(r.runs[0], (RaisedText::Run{3, 1}));
}

TEST(SignMark, ZeroIsPlusAnyNegativeIsMinus) {
  EXPECT_EQ(funcSignMark(0), "＋");
  EXPECT_EQ(funcSignMark(-0.0), "＋");
  EXPECT_EQ(funcSignMark(2.5), "＋");
  EXPECT_EQ(funcSignMark(-0.001), "－");
  EXPECT_EQ(signedTerm(-1.2345, "0.000"), "－1.235");
  EXPECT_EQ(signedTerm(0.5, "0.00"), "＋0.50");
}

TEST(SectionNumber, EveryDigitFullWidth) {
  EXPECT_EQ(fullWidthNumber(1), "１");
  EXPECT_EQ(fullWidthNumber(10), "１０");
  EXPECT_EQ(fullWidthNumber(14), "１４");
  EXPECT_EQ(sectionHeading(12, "．横断方向設計"), "１２．横断方向設計");
  EXPECT_EQ(sectionHeading(3, "－１．Ｈｅの計算"), "３－１．Ｈｅの計算");
}

TEST(Verdicts, EqualityPassesAndFullValuesDecide) {
  // capacity at least demand
  EXPECT_EQ(capacityVerdict(0.75, 0.75).comparator, "≧");
  EXPECT_EQ(capacityVerdict(0.75, 0.75).verdict, "…ＯＫ");
  EXPECT_EQ(capacityVerdict(0.7499, 0.75).comparator, "＜");
  EXPECT_EQ(capacityVerdict(0.7499, 0.75).verdict, "…やり直し");
  // value within limit
  EXPECT_EQ(limitVerdict(5.0, 5.0).comparator, "≦");
  EXPECT_EQ(limitVerdict(5.0, 5.0).verdict, "…ＯＫ");
  // shows as 5.00 beside a limit of 5.00, yet lies above it
  EXPECT_EQ(num(5.0004, "0.00"), num(5.0, "0.00"));
  EXPECT_EQ(limitVerdict(5.0004, 5.0).comparator, "＞");
  EXPECT_EQ(limitVerdict(5.0004, 5.0).verdict, "…やり直し");
  // a value that cannot be compared never passes
  EXPECT_FALSE(limitVerdict(std::numeric_limits<double>::quiet_NaN(), 5.0).passes);
  EXPECT_FALSE(capacityVerdict(std::numeric_limits<double>::quiet_NaN(), 5.0).passes);
}

TEST(NumberTexts, NumbersHeldAsText) {
  EXPECT_EQ(numText("300", "0"), "300");
  EXPECT_EQ(numText(" ３００ ", "0"), "300");
  EXPECT_EQ(numText("0", "0.00"), "0.00");
  EXPECT_EQ(numText("", "0.00"), "");
  EXPECT_EQ(numText("約10", "0.00"), "約10");
  EXPECT_EQ(asText("abc"), "'abc");
}

}  // namespace
}  // namespace tovakin::report
