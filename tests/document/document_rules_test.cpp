#include "document/document_rules.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <optional>
#include <string>

namespace tovakin::gui {
namespace {

// ---- The fixed lists ----

TEST(FixedLists, HoldTheirEntriesInOrderAndStartAtTheFirst) {
  const auto texts = [](FixedList list) {
    std::vector<std::string> out;
    for (const ListItem& item : fixedListItems(list)) out.push_back(item.text);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(texts(FixedList::Maisetu), (V{"溝型", "突出型", "矢板施工"}));
  EXPECT_EQ(texts(FixedList::Kiso), (V{"自由支承", "固定支承"}));
  EXPECT_EQ(texts(FixedList::KajuJoken), (V{"T-25", "T-20", "T-14", "T-10", "なし"}));
  EXPECT_EQ(texts(FixedList::BuruJoken), (V{"3ton級", "6ton級", "8ton級", "11ton級", "15ton級", "なし"}));
  EXPECT_EQ(texts(FixedList::DoroJoken), (V{"未舗装道路", "舗装道路"}));
  EXPECT_EQ(fixedListDefault(FixedList::Maisetu), 0);
  EXPECT_EQ(fixedListDefault(FixedList::Kiso), 0);
  EXPECT_EQ(fixedListDefault(FixedList::KajuJoken), 25);
  EXPECT_EQ(fixedListDefault(FixedList::BuruJoken), 3);
  EXPECT_EQ(fixedListDefault(FixedList::DoroJoken), 0);
}

struct CodeCase {
  FixedList list;
  double code;
  const char* shown;
  std::optional<double> storedBack;  // what the shown text stores
};

class CodeToText : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodeToText, ShowsTheEntryAndStoresItBack) {
  const CodeCase& c = GetParam();
  EXPECT_EQ(fixedListText(c.list, c.code), c.shown);
  EXPECT_EQ(fixedListCode(c.list, c.shown), c.storedBack);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CodeToText,
    ::testing::Values(CodeCase{FixedList::Maisetu, 0, "溝型", 0}, CodeCase{FixedList::Maisetu, 1, "突出型", 1},
                      CodeCase{FixedList::Maisetu, 2, "矢板施工", 2},
                      // An unknown burial code shows the sheet piles and comes back as 2.
                      CodeCase{FixedList::Maisetu, 7, "矢板施工", 2}, CodeCase{FixedList::Maisetu, -1, "矢板施工", 2},
                      CodeCase{FixedList::Kiso, 0, "自由支承", 0}, CodeCase{FixedList::Kiso, 1, "固定支承", 1},
                      CodeCase{FixedList::Kiso, 0.5, "固定支承", 1}, CodeCase{FixedList::KajuJoken, 25, "T-25", 25},
                      CodeCase{FixedList::KajuJoken, 20, "T-20", 20}, CodeCase{FixedList::KajuJoken, 14, "T-14", 14},
                      CodeCase{FixedList::KajuJoken, 10, "T-10", 10}, CodeCase{FixedList::KajuJoken, 0, "なし", 0},
                      // An unknown truck code shows なし and comes back as 0.
                      CodeCase{FixedList::KajuJoken, 12, "なし", 0}, CodeCase{FixedList::BuruJoken, 3, "3ton級", 3},
                      CodeCase{FixedList::BuruJoken, 6, "6ton級", 6}, CodeCase{FixedList::BuruJoken, 8, "8ton級", 8},
                      CodeCase{FixedList::BuruJoken, 11, "11ton級", 11},
                      CodeCase{FixedList::BuruJoken, 15, "15ton級", 15}, CodeCase{FixedList::BuruJoken, 0, "なし", 0},
                      CodeCase{FixedList::BuruJoken, 4, "なし", 0}, CodeCase{FixedList::DoroJoken, 0, "未舗装道路", 0},
                      CodeCase{FixedList::DoroJoken, 1, "舗装道路", 1},
                      CodeCase{FixedList::DoroJoken, 3, "舗装道路", 1}));

TEST(FixedLists, ATextThatIsNoEntryKeepsTheCodeButTheBulldozerFallsToNone) {
  for (FixedList list : {FixedList::Maisetu, FixedList::Kiso, FixedList::KajuJoken, FixedList::DoroJoken}) {
    EXPECT_EQ(fixedListCode(list, "x"), std::nullopt);
    EXPECT_EQ(fixedListCode(list, ""), std::nullopt);
  }
  EXPECT_EQ(fixedListCode(FixedList::KajuJoken, "t-25"), std::nullopt);   // exact: case
  EXPECT_EQ(fixedListCode(FixedList::KajuJoken, "T-25 "), std::nullopt);  // exact: no trimming
  EXPECT_EQ(fixedListCode(FixedList::KajuJoken, "Ｔ-25"), std::nullopt);  // exact: width
  EXPECT_EQ(fixedListCode(FixedList::BuruJoken, "x"), 0.0);
  EXPECT_EQ(fixedListCode(FixedList::BuruJoken, ""), 0.0);
}

// ---- The rigid / flexible switch and the trench ----

struct SwitchCase {
  std::int32_t kubun;
  const char* kiso;
  bool button, panel;
  const char* caption;
};

class RigidFlexible : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(RigidFlexible, FollowsTheClassAndTheSupport) {
  const SwitchCase& c = GetParam();
  const KanshuSwitch s = kanshuSwitchFor(c.kubun, c.kiso);
  EXPECT_EQ(s.naigaiatuButton, c.button);
  EXPECT_EQ(s.touseiPanel, c.panel);
  EXPECT_STREQ(s.caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(Classes, RigidFlexible,
                         ::testing::Values(SwitchCase{0, "自由支承", true, false, "不とう性管"},
                                           SwitchCase{0, "固定支承", true, false, "不とう性管"},
                                           SwitchCase{5, "自由支承", true, true, "とう性管"},
                                           SwitchCase{5, "固定支承", true, false, "とう性管"},
                                           SwitchCase{1, "自由支承", false, true, "とう性管"},
                                           SwitchCase{2, "固定支承", false, false, "とう性管"},
                                           SwitchCase{-1, "自由支承", false, true, "とう性管"},
                                           SwitchCase{-1, "", false, false, "とう性管"},
                                           // the support is compared exactly
                                           SwitchCase{5, "自由支承 ", true, false, "とう性管"}));

TEST(TrenchControls, FollowTheBurialCode) {
  EXPECT_STREQ(trenchControlsFor(0).caption, "管頂部溝幅");
  EXPECT_TRUE(trenchControlsFor(0).enabled);
  EXPECT_STREQ(trenchControlsFor(1).caption, "管頂部溝幅");
  EXPECT_FALSE(trenchControlsFor(1).enabled);
  EXPECT_STREQ(trenchControlsFor(2).caption, "矢板中心溝幅");
  EXPECT_TRUE(trenchControlsFor(2).enabled);
  EXPECT_STREQ(trenchControlsFor(9).caption, "矢板中心溝幅");
}

// ---- The design wall thickness and the pipe boxes ----

struct ThicknessCase {
  std::int32_t kubun;
  double kanatu, gaikei;
  const char* box2;  // as shown, "0.00"
};

class DesignThickness : public ::testing::TestWithParam<ThicknessCase> {};

TEST_P(DesignThickness, FollowsTheClassRules) {
  const ThicknessCase& c = GetParam();
  EXPECT_EQ(showNumber(designWallThickness(c.kubun, c.kanatu, c.gaikei), "0.00"), c.box2);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeValues, DesignThickness,
    ::testing::Values(ThicknessCase{1, 9.00, 818.00, "8.18"},   // D = 800 exactly: 管厚 / 1.1
                      ThicknessCase{1, 8.99, 817.90, "6.99"},   // D just below 800, 管厚 < 9: 管厚 - 2
                      ThicknessCase{1, 8.99, 818.00, "7.99"},   // D = 800.02, 管厚 < 9: 管厚 - 1
                      ThicknessCase{1, 10.0, 818.00, "8.09"},   // D = 798: 管厚 / 1.1 - 1 though 外径 - 2T > 800
                      ThicknessCase{1, 12.0, 1000.0, "10.91"},  // D = 976: 管厚 / 1.1
                      ThicknessCase{2, 10.0, 820.00, "10.00"},  // D = 800 exactly: unchanged
                      ThicknessCase{2, 10.0, 819.00, "8.00"},   // D below 800: 2 mm less
                      ThicknessCase{0, 10.0, 300.00, "10.00"}, ThicknessCase{5, 10.0, 300.00, "10.00"},
                      ThicknessCase{-1, 10.0, 300.00, "10.00"}, ThicknessCase{3, 10.0, 300.00, "10.00"}));

TEST(PipeBoxes, TheRadiusUsesTheDesignThickness) {
  const calc::PipeDimensions row{818.0, 9.0, 400.0, 800.0};
  const PipeBoxes b = pipeBoxesFor(row, 1, 71.0);
  EXPECT_EQ(showNumber(b.gaikei, "0.00"), "818.00");
  EXPECT_EQ(showNumber(b.kanatu, "0.00"), "9.00");
  EXPECT_EQ(showNumber(b.sekkeiKanatu, "0.00"), "8.18");
  EXPECT_EQ(showNumber(b.chushinHankei, "0.00"), "404.91");
  EXPECT_EQ(b.unitWeight, 71.0);
}

TEST(PipeBoxes, NoRowOrAMissingDimensionIsNoPipe) {
  const auto zero = [](const PipeBoxes& b) {
    return b.gaikei == 0 && b.kanatu == 0 && b.sekkeiKanatu == 0 && b.chushinHankei == 0 && b.unitWeight == 0;
  };
  EXPECT_TRUE(zero(pipeBoxesFor(std::nullopt, 0, 24.5)));
  EXPECT_TRUE(zero(pipeBoxesFor(calc::PipeDimensions{std::nullopt, 10.0, 1.0, 1.0}, 0, 24.5)));
  EXPECT_TRUE(zero(pipeBoxesFor(calc::PipeDimensions{300.0, std::nullopt, 1.0, 1.0}, 0, 24.5)));
  // The other two columns are not read.
  EXPECT_FALSE(zero(pipeBoxesFor(calc::PipeDimensions{300.0, 10.0, std::nullopt, std::nullopt}, 0, 24.5)));
}

TEST(NominalSize, IsReadAsTheTableComparesIt) {
  EXPECT_EQ(nominalSizeValue(""), 0.0);
  EXPECT_EQ(nominalSizeValue("62.5"), 62.5);
  EXPECT_EQ(nominalSizeValue(" 100 "), 100.0);
  EXPECT_EQ(nominalSizeValue("100以下"), std::nullopt);
  EXPECT_EQ(nominalSizeValue("1e999"), std::nullopt);
}

// ---- Boxes and the record ----

TEST(BoxPatterns, EachBoxHasItsPatternAndReadOnlyState) {
  const char* patterns[] = {"",     "0.00", "0.00", "0.00", "0.00", "0.000", "0",     "0.000",
                            "0.00", "0.0",  "0.00", "0.00", "0",    "",      "0.00",  "0",
                            "0.0",  "0.000", "0.000", "0.00", "0.0", "0.00", "0.0",   "0.0"};
  for (int i = 0; i < kTextBoxCount; ++i) {
    EXPECT_EQ(boxPattern(i), patterns[i]) << "box " << i;
    EXPECT_EQ(isTextBox(i), i == 0 || i == 13) << "box " << i;
    EXPECT_EQ(isReadOnlyBox(i), i == 1 || i == 2 || i == 3 || i == 4 || i == 19 || i == 21) << "box " << i;
  }
  EXPECT_EQ(boxPattern(24), "");
  EXPECT_EQ(boxPattern(-1), "");
}

struct ReadCase {
  const char* text;
  const char* pattern;
  double value;
};

class ReadBox : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBox, ReadsLenientlyAsDisplayed) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(readNumberBox(c.text, c.pattern), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadBox,
    ::testing::Values(ReadCase{"", "0.00", 0.0}, ReadCase{"   ", "0.00", 0.0}, ReadCase{"12.5", "0.00", 12.5},
                      ReadCase{"１２．５", "0.00", 12.5},      // full-width digits and point
                      ReadCase{"－３", "0.0", -3.0},            // full-width sign
                      ReadCase{"12abc", "0.00", 12.0},         // the leading number
                      ReadCase{"abc", "0.00", 0.0},            // no number at all
                      ReadCase{"1,234.5", "0.00", 1.0},        // no thousands separator
                      ReadCase{"0.6005", "0.000", 0.601},      // rounded as displayed, halves away from zero
                      ReadCase{"-0.0004", "0.000", 0.0}, ReadCase{"2.5", "0", 3.0},
                      ReadCase{"1e3", "0.00", 1000.0},
                      ReadCase{"1e999", "0.00", DBL_MAX},      // beyond a double: no failure
                      ReadCase{"-1e999", "0.00", -DBL_MAX}, ReadCase{"1e-999", "0.00", 0.0}));

TEST(ReadBox, IgnoresTheLocaleDecimalComma) {
  // Whatever the user's locale, "." is the point and "," ends the number.
  EXPECT_EQ(readNumberBox("12,5", "0.00"), 12.0);
  EXPECT_EQ(readNumberBox("12.5", "0.00"), 12.5);
}

TEST(CaterpillarCount, RoundsHalfToEvenAndStaysWithin32Bits) {
  EXPECT_EQ(caterpillarCount(2.5), 2);
  EXPECT_EQ(caterpillarCount(3.5), 4);
  EXPECT_EQ(caterpillarCount(-2.5), -2);
  EXPECT_EQ(caterpillarCount(2.0), 2);
  EXPECT_EQ(caterpillarCount(2147483647.0), INT32_MAX);
  EXPECT_EQ(caterpillarCount(99999999999.0), INT32_MAX);
  EXPECT_EQ(caterpillarCount(-99999999999.0), INT32_MIN);
  EXPECT_EQ(caterpillarCount(DBL_MAX), INT32_MAX);
}

TEST(ShowNumber, NeverShowsANonFiniteValue) {
  EXPECT_EQ(showNumber(0.6, "0.000"), "0.600");
  EXPECT_EQ(showNumber(90, "0"), "90");
  EXPECT_EQ(showNumber(-0.1, "0.0"), "-0.1");
  EXPECT_EQ(showNumber(std::numeric_limits<double>::quiet_NaN(), "0.00"), "0.00");
  EXPECT_EQ(showNumber(std::numeric_limits<double>::infinity(), "0.0"), "0.0");
}

TEST(Surcharge, IsKeptAsAShortNumberTextAndShownWithTwoDecimals) {
  EXPECT_EQ(surchargeToRecord(""), "0");
  EXPECT_EQ(surchargeToRecord("12.50"), "12.5");
  EXPECT_EQ(surchargeToRecord("10.00"), "10");
  EXPECT_EQ(surchargeToRecord("１０"), "10");
  EXPECT_EQ(surchargeToRecord("abc"), "0");
  EXPECT_EQ(surchargeToBox("0"), "0.00");
  EXPECT_EQ(surchargeToBox("12.5                            "), "12.50");
  EXPECT_EQ(surchargeToBox("abc"), "abc");
  EXPECT_EQ(surchargeToBox(""), "");
}

TEST(RecordText, FitsInTheBytesOfCodePage932) {
  EXPECT_TRUE(fitsRecordText("", kTitleBytes));
  EXPECT_TRUE(fitsRecordText(std::string(128, 'a'), kTitleBytes));
  EXPECT_FALSE(fitsRecordText(std::string(129, 'a'), kTitleBytes));
  std::string kanji;
  for (int i = 0; i < 16; ++i) kanji += "管";
  EXPECT_TRUE(fitsRecordText(kanji, kSurchargeNameBytes));  // 16 characters, 32 bytes
  EXPECT_FALSE(fitsRecordText(kanji + "a", kSurchargeNameBytes));
  EXPECT_TRUE(fitsRecordText("ｱｲｳ", 3));  // half-width katakana take one byte each
  EXPECT_FALSE(fitsRecordText("😀", kTitleBytes));
  EXPECT_FALSE(fitsRecordText("Ω≠ä", kTitleBytes));  // ä is not in the code page
  EXPECT_TRUE(fitsRecordText("①㈱", kTitleBytes));
}

// ---- Window size ----

TEST(WindowSize, TheInsideIsThePanelAndTheButtonsSitInItsCorner) {
  const TwipsSize panel{9495, 7455};
  EXPECT_EQ(documentOuterSize(panel), (TwipsSize{9495, 7855}));
  EXPECT_EQ(documentClientSize(documentOuterSize(panel)), panel);
  EXPECT_EQ(commandPanelCorner(panel, {3975, 735}), (TwipsPoint{5520, 6720}));
}

}  // namespace
}  // namespace tovakin::gui
