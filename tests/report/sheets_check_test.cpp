#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "report/sheet_plan.h"
#include "report/sheets_check.h"
#include "report_fixture.h"
#include "support/scripted_error_box.h"

namespace tovakin::report {
namespace {

using Texts = std::map<std::string, std::string>;

// The largest case with values for the closing checks; the pipe class and support vary.
testing::ReportCase checkCase(double cls, double support) {
  testing::ReportCase c = testing::largestCase();
  DesignData& d = c.design;
  CalcResult& r = c.result;
  d.kanzaiKubun = cls;
  r.kanzaiKubun = static_cast<int>(cls);
  d.kisoKeishiki = support;
  d.chushinHankei = 0.1551;
  d.kanatu = 0.0123;
  d.naikei = 0.2956;
  d.naigaiatuAnzenritu = 2.5;
  d.naigaiatuKeisuN = 1.4;
  r.keisuK = 0.0958;
  r.keisuKo = 0.107;
  r.keisuKp = 0.215;
  r.wv = 21.6;
  r.kantaiJiju = 0.2862;
  r.katsuKaju = 45.2371;
  r.sekojiKaju = 30.0049;
  r.ei = 1234.5678;
  r.eiChi = 2000;
  r.hitsuyoEi = {1500.25, 2000.0004};  // the second shows as 2000.000 yet lies above
  r.tawamiritu = {2.3456, 5.0};        // the second equals δa = 5
  r.sekkeiSuiatu = 0.75;
  r.mageMomentGokei = {0.4567, -0.1234};
  r.naiatuKento[0] = PressureRow{9.2601, 60.0, 1500.0, 750.0, 0.75};
  r.naiatuKento[1] = PressureRow{-2.502, 60.0, 1500.0, 0.0, 0.0};
  r.hippariOryoku = 1.25;
  r.kyoyoHippariOryokudo = 20.5;
  return c;
}

class CheckSheets : public ::testing::Test, public testing::SectionFixture {
 protected:
  CheckSheets() { case_ = checkCase(3, 0); }

  void expectTexts(const std::string& sheet, const Texts& expected) const {
    for (const auto& [address, text] : expected) EXPECT_EQ(book_.text(sheet, address), text) << sheet << "!" << address;
  }
  // The addresses written, in order; the superscript pass's rewrite of a cell is not repeated.
  std::vector<std::string> order() const {
    std::vector<std::string> out;
    for (const auto& [sheet, address] : book_.writes)
      if (out.empty() || out.back() != address) out.push_back(address);
    return out;
  }
};

TEST_F(CheckSheets, CaseMatrixChoosesSheetsNumbersAndRemarks) {
  struct Row {
    double cls, support;
    const char* pressureSheet;
    const char* pressureTitle;
    const char* lastSheet;  // nullptr: no last section
    const char* lastTitle;
    const char* remark;     // D41 of 許容内圧2
  };
  const char* ductile = "ダクタイル管の場合、腐食代を見込んで管厚を検討する。";
  const char* steel = "鋼管の場合、腐食代を見込んで管厚を検討する。";
  const Row rows[] = {
      {0, 0, "許容内圧", "１０．許容内圧検討", nullptr, nullptr, nullptr},
      {0, 1, "許容内圧", "１０．許容内圧検討", nullptr, nullptr, nullptr},
      {1, 0, "許容内圧2", "１３．許容内圧検討", "たわみ率計算", "１４．たわみ率計算", ductile},
      {1, 1, "許容内圧2", "１０．許容内圧検討", nullptr, nullptr, ductile},
      {2, 0, "許容内圧2", "１３．許容内圧検討", "たわみ率計算", "１４．たわみ率計算", steel},
      {2, 1, "許容内圧2", "１０．許容内圧検討", nullptr, nullptr, steel},
      {3, 0, "許容内圧2", "１３．許容内圧検討", "たわみ率計算", "１４．たわみ率計算", ""},
      {3, 1, "許容内圧2", "１０．許容内圧検討", nullptr, nullptr, ""},
      {5, 0, "許容内圧", "１３．許容内圧検討", "EI値検討", "１４．たわみ率から求めるEI値検討", nullptr},
      {5, 1, "許容内圧", "１０．許容内圧検討", nullptr, nullptr, nullptr},
      {-1, 0, "許容内圧2", "１３．許容内圧検討", "たわみ率計算", "１４．たわみ率計算", ""},
      {-1, 1, "許容内圧2", "１０．許容内圧検討", nullptr, nullptr, ""},
  };
  std::set<std::pair<std::string, std::string>> touched;
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "class " << row.cls << " support " << row.support);
    case_ = checkCase(row.cls, row.support);
    ASSERT_TRUE(run(Section::AllowablePressure));
    EXPECT_EQ(book_.text(row.pressureSheet, "C1"), row.pressureTitle);
    const std::string number = std::string(row.pressureTitle).substr(0, 6);
    const bool combination = std::string(row.pressureSheet) == "許容内圧";
    EXPECT_EQ(book_.text(row.pressureSheet, combination ? "D21" : "D14"), number + "－１．常時");
    EXPECT_EQ(book_.text(row.pressureSheet, combination ? "D32" : "D22"), number + "－２．施工時");
    if (row.remark) {
      EXPECT_EQ(book_.text(row.pressureSheet, "D41"), row.remark);
    }
    for (const auto& w : book_.writes) {
      EXPECT_EQ(w.first, row.pressureSheet);
      touched.insert(w);
    }

    EXPECT_EQ(run(Section::DeflectionOrEi), row.lastSheet != nullptr);
    if (row.lastSheet) {
      EXPECT_EQ(book_.text(row.lastSheet, "C1"), row.lastTitle);
      for (const auto& w : book_.writes) {
        EXPECT_EQ(w.first, row.lastSheet);
        touched.insert(w);
      }
    }
  }
  // The writers touch their slots and the titles, and every slot is filled by some case.
  std::set<std::pair<std::string, std::string>> slots;
  for (const Slot& s : checkSlots())
    EXPECT_TRUE(slots.emplace(sheetName(s.entry), std::string(s.address)).second) << s.address;
  for (const char* sheet : {"許容内圧", "許容内圧2", "たわみ率計算", "EI値検討"}) slots.emplace(sheet, "C1");
  EXPECT_EQ(touched, slots);
}

TEST_F(CheckSheets, CombinationVariantTexts) {
  case_ = checkCase(0, 0);
  ASSERT_TRUE(run(Section::AllowablePressure));
  expectTexts("許容内圧", {
      {"G24", "0.457"}, {"G25", "0.318×0.15510"}, {"G26", "9.260"},
      {"G28", "｛1－（9.260×2.50／60.000）＾（1.40）｝×（1500.000／2.50）"},  // S and n with their digits
      {"G29", "750.0"}, {"G30", "0.750"}, {"P30", "≧"}, {"AA30", "…ＯＫ"},  // equal to Pd passes
      {"G35", "-0.123"}, {"G36", "0.318×0.15510"}, {"G37", "-2.502"},
      {"G39", "(曲げモーメントがマイナス値のため、考慮しません)"},
      {"G40", "0.0"}, {"G41", "0.000"}, {"P41", "＜"}, {"AA41", "…やり直し"},
  });
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D21", "D32", "G24", "G25", "G26", "P30", "AA30", "G28", "G29",
                                               "G30", "G35", "G36", "G37", "P41", "AA41", "G39", "AA41", "G40",
                                               "G41"}));
  EXPECT_TRUE(raised("許容内圧", "G28").empty());

  // The worked example of the formula; a moment of exactly 0 shows the formula too.
  case_.result.naiatuKento[1] = PressureRow{12.3456, 60, 1.5, 0, 0};
  case_.result.mageMomentGokei[1] = 0;
  case_.design.naigaiatuAnzenritu = 2;
  case_.design.naigaiatuKeisuN = 2;
  ASSERT_TRUE(run(Section::AllowablePressure));
  EXPECT_EQ(book_.text("許容内圧", "G39"), "｛1－（12.346×2.00／60.000）＾（2.00）｝×（1.500／2.00）");
  EXPECT_EQ(book_.text("許容内圧", "P41"), "＜");
  EXPECT_EQ(book_.text("許容内圧", "AA41"), "…やり直し");
}

TEST_F(CheckSheets, NegativeMomentIsRedoWhateverTheComparison) {
  case_ = checkCase(5, 0);
  case_.result.sekkeiSuiatu = 0;  // no internal pressure: 0 ≧ 0
  ASSERT_TRUE(run(Section::AllowablePressure));
  expectTexts("許容内圧", {{"P30", "≧"}, {"AA30", "…ＯＫ"}, {"P41", "≧"}, {"AA41", "…やり直し"},
                          {"G39", "(曲げモーメントがマイナス値のため、考慮しません)"}});
  EXPECT_FALSE(book_.written("許容内圧", "D41"));  // class 5 never gets the corrosion remarks

  // On the stress variant a negative moment simply enters the formula.
  case_ = checkCase(1, 0);
  ASSERT_TRUE(run(Section::AllowablePressure));
  EXPECT_EQ(book_.text("許容内圧2", "G25"), "20.50×0.012302－6×1.25×-0.123");
}

TEST_F(CheckSheets, StressVariantTextsAndCorrosionBlock) {
  case_ = checkCase(3, 1);
  case_.result.mageMomentGokei = {0.456, 0.1};
  case_.result.naiatuKento[0] = PressureRow{0, 0, 0, 812.46, 0.81246};
  case_.result.naiatuKento[1] = PressureRow{0, 0, 0, 749.9996, 0.7499996};  // shows 0.750, lies below
  ASSERT_TRUE(run(Section::AllowablePressure));
  expectTexts("許容内圧2", {
      {"G17", "20.50×0.012302－6×1.25×0.456"}, {"R20", "0.750"}, {"R28", "0.750"},
      {"G18", "0.5×0.2956×0.01230"}, {"G19", "812.5"}, {"G20", "0.812"}, {"P20", "≧"}, {"AA20", "…ＯＫ"},
      {"G25", "20.50×0.012302－6×1.25×0.100"}, {"G26", "0.5×0.2956×0.01230"}, {"G27", "750.0"},
      {"G28", "0.750"}, {"P28", "＜"}, {"AA28", "…やり直し"},
  });
  EXPECT_EQ(raised("許容内圧2", "G17"), std::set<int>{14});
  EXPECT_EQ(raised("許容内圧2", "G25"), std::set<int>{14});
  const std::vector<std::string> block = {"D41", "E42", "E44", "L42", "L43", "L44", "L45", "R42", "R43", "R44", "R45"};
  std::vector<std::string> expected = {"C1", "D14", "D22", "G17", "R20", "R28", "G18", "G19", "G20", "P20",
                                       "AA20", "G25", "G26", "G27", "G28", "P28", "AA28"};
  expected.insert(expected.end(), block.begin(), block.end());
  EXPECT_EQ(order(), expected);
  for (const auto& a : block) {
    EXPECT_TRUE(book_.written("許容内圧2", a)) << a;  // cleared, not left as the template has it
    EXPECT_EQ(book_.text("許容内圧2", a), "") << a;
  }

  case_.design.kanzaiKubun = 1;
  ASSERT_TRUE(run(Section::AllowablePressure));
  expectTexts("許容内圧2", {
      {"D41", "ダクタイル管の場合、腐食代を見込んで管厚を検討する。"}, {"E42", "ｔ＋１≧10mmの場合"},
      {"E44", "ｔ＋１＜10mmの場合"}, {"L42", "管径φ800以上"}, {"L43", "管径φ700以下"}, {"L44", "管径φ800以上"},
      {"L45", "管径φ700以下"}, {"R42", "Ｔ＝1.1ｔ"}, {"R43", "Ｔ＝1.1・（ｔ＋１）"}, {"R44", "Ｔ＝ｔ＋1"},
      {"R45", "Ｔ＝ｔ＋2"},
  });
  case_.design.kanzaiKubun = 2;
  ASSERT_TRUE(run(Section::AllowablePressure));
  expectTexts("許容内圧2", {
      {"D41", "鋼管の場合、腐食代を見込んで管厚を検討する。"}, {"E42", ""}, {"E44", ""},
      {"L42", "管径φ800以上"}, {"L43", "管径φ700以下"}, {"L44", ""}, {"L45", ""}, {"R42", "Ｔ＝ｔ"},
      {"R43", "Ｔ＝ｔ＋2"}, {"R44", ""}, {"R45", ""},
  });
  case_.design.kanzaiKubun = 2.0000001;  // the class is compared exactly
  ASSERT_TRUE(run(Section::AllowablePressure));
  EXPECT_EQ(book_.text("許容内圧2", "D41"), "");
}

TEST_F(CheckSheets, DeflectionRatioTexts) {
  ASSERT_TRUE(run(Section::DeflectionOrEi));
  expectTexts("たわみ率計算", {
      {"C1", "１４．たわみ率計算"}, {"D3", "１４－１．常時"}, {"D11", "１４－２．施工時"},
      {"K9", "5.000"}, {"K17", "5.000"},
      {"E7", "1.5×（0.096×21.600＋0.107×9.800×0.15510＋0.215×0.286）＋1.0×0.096×45.237"},
      {"E8", "1234.568／0.155103＋0.061×5000.00"}, {"E9", "2.346"},
      {"E15", "1.5×（0.096×21.600＋0.215×0.286）＋1.0×0.096×30.005"},
      {"E16", "1234.568／0.155103＋0.061×5000.00"}, {"E17", "5.000"},
      {"I9", "≦"}, {"V9", "…ＯＫ"}, {"I17", "≦"}, {"V17", "…ＯＫ"},  // equal to δa passes
  });
  EXPECT_EQ(raised("たわみ率計算", "E8"), std::set<int>{17});
  EXPECT_EQ(raised("たわみ率計算", "E16"), std::set<int>{17});
  EXPECT_TRUE(raised("たわみ率計算", "E7").empty());
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D3", "D11", "K9", "K17", "E7", "E8", "E9", "E15", "E16",
                                               "E17", "I9", "V9", "I17", "V17"}));
}

TEST_F(CheckSheets, EiCheckTexts) {
  case_ = checkCase(5, 0);
  // The worked example of the load text.
  case_.design.henkeiOkureF1 = 1;
  case_.result.keisuK = 0.11;
  case_.result.wv = 36;
  case_.design.mizuTanniJuryo = 9.8;
  case_.design.chushinHankei = 0.25;
  case_.result.kantaiJiju = 0.1;
  case_.design.henkeiOkureF2 = 1.5;
  case_.result.katsuKaju = 40.25;
  case_.design.sekkeiTawamiritu = 3;
  case_.design.hanryokuKeisu = 3000;
  ASSERT_TRUE(run(Section::DeflectionOrEi));
  expectTexts("EI値検討", {
      {"C1", "１４．たわみ率から求めるEI値検討"}, {"D9", "１４－１．常時"}, {"D20", "１４－２．施工時"},
      {"M18", "2000.000"}, {"M29", "2000.000"}, {"G13", "0.250003×"},
      {"G15", "1.0×（0.110×36.000＋0.107×9.800×0.25000＋0.215×0.100）＋1.5×0.110×40.250"},
      {"G16", "0.030"}, {"F17", "－0.061×3000.00｝"}, {"G18", "1500.250"}, {"K18", "≦"}, {"X18", "…ＯＫ"},
      {"G24", "0.250003×"}, {"G26", "1.0×（0.110×36.000＋0.215×0.100）＋1.5×0.110×30.005"},
      {"G27", "0.030"}, {"F28", "－0.061×3000.00｝"},
      {"G29", "2000.000"}, {"K29", "＞"}, {"X29", "…やり直し"},  // shows the limit, lies above it
  });
  EXPECT_EQ(raised("EI値検討", "G13"), std::set<int>{8});
  EXPECT_EQ(raised("EI値検討", "G24"), std::set<int>{8});
  EXPECT_TRUE(book_.cell("EI値検討", "F17")->quotePrefix);
  EXPECT_TRUE(book_.cell("EI値検討", "F28")->quotePrefix);
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D9", "D20", "M18", "M29", "G13", "G15", "G16", "F17", "G18",
                                               "K18", "X18", "G24", "G26", "G27", "F28", "G29", "K29", "X29"}));
  // A required EI equal to the pipe's passes.
  case_.result.hitsuyoEi[1] = 2000;
  ASSERT_TRUE(run(Section::DeflectionOrEi));
  expectTexts("EI値検討", {{"K29", "≦"}, {"X29", "…ＯＫ"}});
}

TEST_F(CheckSheets, DeflectionVerdictsAreOnTheStoredValues) {
  struct Row {
    double service, construction, limit;
    const char *e9, *e17, *i9, *v9, *i17, *v17;
  };
  // Each case has its own verdict; a ratio shown like the limit but lying above it fails.
  for (const Row& r : {Row{3.0004, 3.0, 3.0, "3.000", "3.000", "＞", "…やり直し", "≦", "…ＯＫ"},
                       Row{2.9996, 3.0001, 3.0, "3.000", "3.000", "≦", "…ＯＫ", "＞", "…やり直し"},
                       Row{-0.5, 0.0, 0.0, "-0.500", "0.000", "≦", "…ＯＫ", "≦", "…ＯＫ"}}) {
    case_.result.tawamiritu = {r.service, r.construction};
    case_.design.sekkeiTawamiritu = r.limit;
    ASSERT_TRUE(run(Section::DeflectionOrEi));
    expectTexts("たわみ率計算",
                {{"E9", r.e9}, {"E17", r.e17}, {"I9", r.i9}, {"V9", r.v9}, {"I17", r.i17}, {"V17", r.v17}});
  }
}

TEST_F(CheckSheets, AValueThatCannotBeShownCostsOnlyItsCell) {
  testing::ScriptedErrorBox errors(ErrorAnswer::Ignore);
  case_.result.tawamiritu[0] = std::numeric_limits<double>::quiet_NaN();
  ASSERT_TRUE(run(Section::DeflectionOrEi));
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_NE(errors.shown[0].find(" in subExcelSheetCreate"), std::string::npos);
  EXPECT_FALSE(book_.written("たわみ率計算", "E9"));
  expectTexts("たわみ率計算", {{"I9", "＞"}, {"V9", "…やり直し"}, {"E15", "1.5×（0.096×21.600＋0.215×0.286）＋1.0×0.096×30.005"},
                               {"V17", "…ＯＫ"}});
}

}  // namespace
}  // namespace tovakin::report
