#include "report/sheets_earth.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/calc_settings.h"
#include "app/number_format.h"
#include "calc/reaction_modulus.h"
#include "report/sheet_plan.h"
#include "report_fixture.h"
#include "support/design_cases.h"
#include "support/recording_report_book.h"
#include "support/scripted_error_box.h"

namespace tovakin::report {
namespace {

using testing::RecordingReportBook;
using Texts = std::map<std::string, std::string>;

// The numbers of a trench case as the calculation could have left them.
testing::ReportCase earthCase(int pipeClass, double burial) {
  testing::ReportCase c = testing::largestCase();
  DesignData& d = c.design;
  CalcResult& r = c.result;
  d.kanzaiKubun = pipeClass;
  r.kanzaiKubun = pipeClass;
  d.maisetuKeishiki = burial;
  d.gaikei = 0.6;
  d.naikei = 0.5;
  d.dokaburi = 1.2;
  d.mizohaba = 0.9;
  d.tuchiTanniJuryo = 18;
  d.howadoTanniJuryo = 20;
  d.mizuTanniJuryo = 9.8;
  r.kanzaiTanniJuryo = 24.5;
  r.fujoHitsuyoDokaburi = 0.87654;
  r.doatuKeisu = 0.33333;
  r.mu = 0.57735;
  r.muDash = 0.57735;
  r.he = 0.8;
  r.keisuCc = 1.234;
  r.keisuCd = 0.876;
  r.wv1 = 21.1234;
  r.wv2 = 13.3272;
  r.wv = 13.3272;
  return c;
}

class EarthSheets : public ::testing::Test, public testing::SectionFixture {
 protected:
  EarthSheets() {
    case_ = earthCase(0, 0);
    settings_ = CalcSettings{};
    settings_.fujoKentoAnzenritu = 1.2;
  }

  // Every written cell of the current sheet with its text.
  Texts written() const {
    Texts out;
    for (const auto& [sheet, address] : book_.writes)
      if (sheet == sheet_) out[address] = book_.text(sheet, address);
    return out;
  }
  // The cells of the current sheet in writing order (the superscript pass writes its cell again).
  std::vector<std::string> order() const {
    std::vector<std::string> out;
    for (const auto& [sheet, address] : book_.writes)
      if (sheet == sheet_ && (out.empty() || out.back() != address)) out.push_back(address);
    return out;
  }
  std::set<int> raised(const std::string& address) const { return SectionFixture::raised(sheet_, address); }
};

// ---- flotation ----------------------------------------------------------------------------

TEST_F(EarthSheets, FlotationIsWrittenForEveryClassAndBurial) {
  for (int cls : {0, 3, 5, -1})
    for (double burial : {0.0, 1.0, 2.0}) {
      case_ = earthCase(cls, burial);
      ASSERT_TRUE(run(Section::Flotation));
      EXPECT_EQ(sheet_, "浮上に対する検討");
      const Texts expected = {
          {"C1", "２．浮上に対する検討"},
          {"G10", "π×0.6000"},
          {"O10", "1.2×9.80－（1－（0.5000／0.6000）2）×24.50"},
          {"O11", "20.00－9.80"},
          {"G12", "0.877"},
          {"V12", "1.200"},  // the design cover beside the required one
          {"H23", "：安全率（1.2とする）"},
      };
      EXPECT_EQ(written(), expected) << cls << " " << burial;
      EXPECT_EQ(order(), (std::vector<std::string>{"C1", "G10", "O10", "O11", "G12", "V12", "H23"}));
      EXPECT_EQ(raised("O10"), std::set<int>{28});
    }
}

TEST_F(EarthSheets, FlotationShowsTheSafetyFactorWithOneDecimal) {
  settings_.fujoKentoAnzenritu = 1.25;
  ASSERT_TRUE(run(Section::Flotation));
  EXPECT_EQ(book_.text(sheet_, "O10"), "1.3×9.80－（1－（0.5000／0.6000）2）×24.50");
  EXPECT_EQ(book_.text(sheet_, "H23"), "：安全率（1.3とする）");
  // the required cover is the calculation's, not recomputed from the shown numbers
  EXPECT_EQ(book_.text(sheet_, "G12"), "0.877");
}

// ---- He -----------------------------------------------------------------------------------

TEST_F(EarthSheets, HeVariantsAndTheirTexts) {
  struct Row {
    int cls;
    double cover;
    const char* sheet;
    Texts expected;
  };
  const Texts common = {
      {"C1", "３．突出型の場合のＨｅの算定"},
      {"D8", "３－１．Ｈｅの計算"},
      {"D18", "３－２．突出型の場合の土圧係数"},
      {"G16", "0.800"},
      {"G26", "0.800"},
      {"G34", "1.234"},
  };
  const Row rows[] = {
      {0, 0.5, "Heの計算",
       {{"G31", "Exp｛2×0.333×0.577×（0.500／0.6000）｝－1"}, {"G32", "2×0.333×0.577"}, {"G25", "0.500"}}},
      {0, 0.8, "Heの計算",  // equal: not above
       {{"G31", "Exp｛2×0.333×0.577×（0.800／0.6000）｝－1"}, {"G32", "2×0.333×0.577"}, {"G25", "0.800"}}},
      {0, 1.2, "Heの計算2",
       {{"W31", "1.200"},
        {"AA31", "0.800"},
        {"W32", "0.6000"},
        {"AA32", "0.6000"},
        {"G33", "×Exp｛2×0.333×0.577×（0.800／0.6000）｝"},
        {"G31", "Exp｛2×0.333×0.577×（0.800／0.6000）｝－1"},
        {"G32", "2×0.333×0.577"},
        {"G25", "1.200"}}},
      {3, 0.5, "Heの計算3",
       {{"G31", "Exp｛-2×0.333×0.577×（0.500／0.6000）｝－1"}, {"G32", "-2×0.333×0.577"}, {"G25", "0.500"}}},
      {5, 0.8, "Heの計算3",
       {{"G31", "Exp｛-2×0.333×0.577×（0.800／0.6000）｝－1"}, {"G32", "-2×0.333×0.577"}, {"G25", "0.800"}}},
      {-1, 1.2, "Heの計算4",
       {{"W31", "1.200"},
        {"AA31", "0.800"},
        {"W32", "0.6000"},
        {"AA32", "0.6000"},
        {"G33", "×Exp｛-2×0.333×0.577×（0.800／0.6000）｝"},
        {"G31", "Exp｛-2×0.333×0.577×（0.800／0.6000）｝－1"},
        {"G32", "-2×0.333×0.577"},
        {"G25", "1.200"}}},
  };
  for (double burial : {0.0, 1.0})
    for (const Row& row : rows) {
      case_ = earthCase(row.cls, burial);
      case_.design.dokaburi = row.cover;
      ASSERT_TRUE(run(Section::He));
      EXPECT_EQ(sheet_, row.sheet);
      Texts expected = row.expected;
      expected.insert(common.begin(), common.end());
      EXPECT_EQ(written(), expected) << row.sheet << " H=" << row.cover;
    }
}

TEST_F(EarthSheets, HeWritingOrder) {
  case_.design.dokaburi = 1.2;
  ASSERT_TRUE(run(Section::He));
  EXPECT_EQ(order(), (std::vector<std::string>{"W31", "AA31", "W32", "AA32", "G33", "G31", "G32", "C1", "D8", "D18",
                                               "G25", "G16", "G26", "G34"}));
  case_.design.dokaburi = 0.5;
  ASSERT_TRUE(run(Section::He));
  EXPECT_EQ(order(), (std::vector<std::string>{"G31", "G32", "C1", "D8", "D18", "G25", "G16", "G26", "G34"}));
}

TEST_F(EarthSheets, HeZeroMeansAboveAndSheetPileHasNoHe) {
  case_.result.he = 0;
  ASSERT_TRUE(run(Section::He));
  EXPECT_EQ(sheet_, "Heの計算2");
  EXPECT_EQ(book_.text(sheet_, "AA31"), "0.000");
  EXPECT_EQ(book_.text(sheet_, "G31"), "Exp｛2×0.333×0.577×（0.000／0.6000）｝－1");

  case_.design.maisetuKeishiki = 2;
  EXPECT_FALSE(run(Section::He));
  EXPECT_FALSE(run(Section::VerticalEarth));
}

// ---- vertical earth pressure, trench and projection -------------------------------------------

TEST_F(EarthSheets, RigidVerticalEarthPressure) {
  ASSERT_TRUE(run(Section::VerticalEarth));
  EXPECT_EQ(sheet_, "鉛直土圧");
  const Texts expected = {
      {"C1", "４．鉛直土圧計算"},
      {"D8", "４－１．溝型の場合"},
      {"D18", "４－２．突出型の場合"},
      {"D25", "４－３．鉛直土圧"},
      {"G11", "1－Exp｛-2×0.333×0.577×（1.200／0.9000）｝"},
      {"G12", "2×0.333×0.577"},
      {"G13", "0.876"},
      {"G15", "0.876×18.00×0.9002／0.6000"},
      {"G16", "21.123"},
      {"G19", "1.234"},
      {"G21", "1.234×18.00×0.6000"},
      {"G22", "13.327"},
      {"G27", "13.327"},
      {"E26", "本設計は溝型で、Ｗｖ１＞Ｗｖ２より、Ｗｖ２を鉛直土圧とする。"},
  };
  EXPECT_EQ(written(), expected);
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D8", "D18", "D25", "G11", "G12", "G13", "G15", "G16", "G19",
                                               "G21", "G22", "G27", "E26"}));
  EXPECT_EQ(raised("G15"), std::set<int>{18});
}

TEST_F(EarthSheets, RigidClosingSentence) {
  struct Row {
    double burial, wv1, wv2;
    const char* sentence;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Row& r : {Row{0, 10, 12, "本設計は溝型で、Ｗｖ１≦Ｗｖ２より、Ｗｖ１を鉛直土圧とする。"},
                       Row{0, 12, 12, "本設計は溝型で、Ｗｖ１≦Ｗｖ２より、Ｗｖ１を鉛直土圧とする。"},
                       Row{0, 12.001, 12, "本設計は溝型で、Ｗｖ１＞Ｗｖ２より、Ｗｖ２を鉛直土圧とする。"},
                       Row{1, 10, 12, "本設計は突出型設計につき、Ｗｖ２を鉛直土圧とする。"},
                       Row{1, 14, 12, "本設計は突出型設計につき、Ｗｖ２を鉛直土圧とする。"}}) {
    case_ = earthCase(0, r.burial);
    case_.result.wv1 = r.wv1;
    case_.result.wv2 = r.wv2;
    ASSERT_TRUE(run(Section::VerticalEarth));
    EXPECT_EQ(book_.text(sheet_, "E26"), r.sentence) << r.burial << " " << r.wv1;
    // the trench rows only in a trench: earthCase leaves trench numbers in a projecting record
    EXPECT_EQ(book_.written(sheet_, "G11"), r.burial == 0);
    EXPECT_EQ(book_.written(sheet_, "E17"), r.burial != 0);
  }
  // Unordered values count as Wv1 ≦ Wv2; the NaN itself is refused by the error box.
  testing::ScriptedErrorBox ignore(ErrorAnswer::Ignore);
  case_ = earthCase(0, 0);
  case_.result.wv1 = nan;
  ASSERT_TRUE(run(Section::VerticalEarth));
  EXPECT_EQ(book_.text(sheet_, "E26"), "本設計は溝型で、Ｗｖ１≦Ｗｖ２より、Ｗｖ１を鉛直土圧とする。");
  EXPECT_FALSE(book_.written(sheet_, "G16"));
  EXPECT_EQ(ignore.shown.size(), 1u);
}

TEST_F(EarthSheets, FlexibleVerticalEarthPressure) {
  case_ = earthCase(3, 0);
  ASSERT_TRUE(run(Section::VerticalEarth));
  EXPECT_EQ(sheet_, "鉛直土圧2");
  const Texts expected = {
      {"C1", "４．鉛直土圧計算"},
      {"D11", "４－１．溝型の場合"},
      {"D21", "４－２．突出型の場合"},
      {"D27", "４－３．垂直土圧公式による鉛直土圧"},
      {"D32", "４－４．鉛直土圧"},
      {"G14", "1－Exp｛-2×0.333×0.577×（1.200／0.9000）｝"},
      {"G15", "2×0.333×0.577"},
      {"G16", "0.876"},
      {"G18", "0.876×18.00×0.900"},
      {"G19", "21.123"},
      {"G22", "1.234"},
      {"G24", "1.234×18.00×0.6000"},
      {"G25", "13.327"},
      {"G34", "13.327"},
      {"G29", "18.00×1.200"},
      {"G30", "21.600"},
      {"E33", "本設計は埋設深≦2.0(m)より、Ｗｖ３を鉛直土圧とする。"},
  };
  EXPECT_EQ(written(), expected);
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D11", "D21", "D27", "D32", "G14", "G15", "G16", "G18", "G19",
                                               "G22", "G24", "G25", "G34", "G29", "G30", "E33"}));
}

TEST_F(EarthSheets, FlexiblePrismRowsAndClosingSentences) {
  struct Row {
    bool raised;
    double burial, cover, wv1, wv2;
    const char* g29;
    const char* g30;
    const char* cell;  // where the sentence goes; the other one stays unwritten
    const char* sentence;
  };
  const Row rows[] = {
      {true, 0, 1.2, 10, 12, "18.00× 2.000", "13.327",
       "E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。"},
      {true, 0, 3.0, 12, 12, "18.00× 2.000", "13.327",
       "E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。"},
      {true, 0, 1.2, 14, 12, "18.00× 2.000", "13.327",
       "E33", "本設計は溝型で、Ｗｖ１＞Ｗｖ２かつＷｖ１＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。"},
      {true, 1, 1.2, 10, 12, "18.00× 2.000", "13.327",
       "E26", "本設計は突出型でＷｖ２＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。"},
      {false, 0, 2.0, 10, 12, "18.00×2.000", "36.000", "E33", "本設計は埋設深≦2.0(m)より、Ｗｖ３を鉛直土圧とする。"},
      {false, 1, 2.0, 10, 12, "18.00×2.000", "36.000", "E33", "本設計は埋設深≦2.0(m)より、Ｗｖ３を鉛直土圧とする。"},
      {false, 0, 2.5, 10, 12, "18.00×2.500", "45.000",
       "E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１≦Ｗｖ３より、Ｗｖ１を鉛直土圧とする。"},
      {false, 0, 2.5, 12, 12, "18.00×2.500", "45.000",
       "E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１≦Ｗｖ３より、Ｗｖ１を鉛直土圧とする。"},
      {false, 0, 2.5, 14, 12, "18.00×2.500", "45.000",
       "E33", "本設計は溝型で、Ｗｖ１＞Ｗｖ２かつＷｖ２≦Ｗｖ３より、Ｗｖ２を鉛直土圧とする。"},
      {false, 1, 2.5, 14, 12, "18.00×2.500", "45.000",
       "E26", "本設計は突出型設計かつＷｖ２≦Ｗｖ３より、Ｗｖ２を鉛直土圧とする。"},
  };
  for (const Row& r : rows) {
    case_ = earthCase(5, r.burial);
    case_.design.dokaburi = r.cover;
    case_.result.wv2GammaFlg = r.raised ? -1 : 0;
    case_.result.wv1 = r.wv1;
    case_.result.wv2 = r.wv2;
    ASSERT_TRUE(run(Section::VerticalEarth));
    const std::string label = std::string(r.cell) + " H=" + std::to_string(r.cover);
    EXPECT_EQ(book_.text(sheet_, "G29"), r.g29) << label;
    EXPECT_EQ(book_.text(sheet_, "G30"), r.g30) << label;
    EXPECT_EQ(book_.text(sheet_, r.cell), r.sentence) << label;
    EXPECT_FALSE(book_.written(sheet_, std::string(r.cell) == "E33" ? "E26" : "E33")) << label;
    EXPECT_EQ(book_.written(sheet_, "G14"), r.burial == 0) << label;
    EXPECT_EQ(book_.written(sheet_, "E20"), r.burial != 0) << label;
  }
}

// ---- vertical earth pressure, sheet pile ------------------------------------------------------

TEST_F(EarthSheets, SheetPileVariants) {
  for (int cls : {0, 3}) {
    case_ = earthCase(cls, 2);
    case_.result.wv = 32.4;
    ASSERT_TRUE(run(Section::VerticalEarthSheetPile));
    const Texts expected = {
        {"G6", cls == 0 ? "18.00×1.200×0.900／0.6000" : "18.00×1.200"},
        {"C1", "３．鉛直土圧計算"},
        {"G7", "32.400"},
    };
    EXPECT_EQ(sheet_, cls == 0 ? "鉛直土圧矢板施工" : "鉛直土圧矢板施工2");
    EXPECT_EQ(written(), expected);
    EXPECT_EQ(order(), (std::vector<std::string>{"G6", "C1", "G7"}));
  }
}

// ---- reaction modulus e' --------------------------------------------------------------------

class ReactionModulus : public EarthSheets {
 protected:
  void SetUp() override {
    case_ = earthCase(3, 0);
    DesignData& d = case_.design;
    d.hanryokuKeisu = 4680;
    d.kijunHanryokuKeisu = 5000;
    d.kisozaiMizohaba = 1.2;
    d.hyojunMizohaba = 800;
    d.alphaA = 1.04;
    d.alphaB = 0.9;
    d.katameDo = 95;
    d.alphaW = 1.0;
    d.tawamiF1 = 1.5;
    d.tawamiK = 0.11;
    d.tawamiWv = 30.5;
    d.tawamiR = 0.155;
    d.tawamiE = 2.35e6;
    d.tawamiI = 1.2e-6;
    d.tawamiDeltaX = 0.012;
  }
};

TEST_F(ReactionModulus, EnteredSoilCementAndSmallBore) {
  struct Row {
    int method;
    double e;
    const char* d6;
    std::set<int> raised;
  };
  for (const Row& r : {Row{0, 4680, "各設計条件より、以下の値とする", {}},
                       Row{2, 7000, "ソイルセメントを基礎材料に使用するため、7000(kN/m2)とする", {30}},
                       Row{3, 3000, "口径300mm以下の管を使用するため、3000(kN/m2)とする", {29}}}) {
    case_.design.hanryokuKeisuHoho = r.method;
    case_.design.hanryokuKeisu = r.e;
    ASSERT_TRUE(run(Section::ReactionModulus));
    EXPECT_EQ(sheet_, "基礎材の反力係数");
    const Texts expected = {{"C1", "５．基礎材の反力係数"}, {"G8", formatPattern(r.e, "0.00")}, {"D6", r.d6}};
    EXPECT_EQ(written(), expected) << r.method;
    EXPECT_EQ(order(), (std::vector<std::string>{"C1", "G8", "D6"}));
    EXPECT_EQ(raised("D6"), r.raised);
  }
  // no superscript pass on the method-0 text: no cell read back, nothing raised
  case_.design.hanryokuKeisuHoho = 0;
  case_.design.hanryokuKeisu = 4680;
  ASSERT_TRUE(run(Section::ReactionModulus));
  for (const auto& line : book_.log) EXPECT_EQ(line.find("superscript"), std::string::npos) << line;
}

TEST_F(ReactionModulus, StandardFormula) {
  case_.design.hanryokuKeisuHoho = 1;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(sheet_, "基礎材の反力係数2");
  const Texts expected = {
      {"C1", "５．基礎材の反力係数"},
      {"D8", "５－１．基準反力係数"},
      {"D15", "５－２．溝幅による補正係数"},
      {"D22", "５－３．基礎材の縦固め度合いよる補正係数"},
      {"D27", "５－４．地下水位の影響による補正係数"},
      {"D33", "５－５．基礎材の反力係数"},
      {"G10", "5000.00"},
      {"G19", "1＋0.1×（1200.000-800.000）／1000｝"},
      {"G20", "1.04"},
      {"G25", "0.90"},
      {"G28", "95"},
      {"G30", "（95－45）／50"},
      {"G31", "1.00"},
      {"G36", "5000.00×1.04×0.90×1.00"},
      {"G37", "4680.00"},
  };
  EXPECT_EQ(written(), expected);
  EXPECT_EQ(order(), (std::vector<std::string>{"C1", "D8", "D15", "D22", "D27", "D33", "G10", "G19", "G20", "G25",
                                               "G28", "G30", "G31", "G36", "G37"}));

  case_.design.ganbanFlg = -1;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G19"), "（現地盤岩盤のため補正しない）");
  EXPECT_EQ(book_.text(sheet_, "G20"), "1.04");  // αa as stored

  case_.design.ganbanFlg = 0;
  case_.design.kisozaiMizohaba = 0;
  case_.design.hyojunMizohaba = 0;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G19"), kEnteredNote) << "1＋0.1×（0.000-0.000）／1000｝ gives 1.00, not 1.04";
  case_.design.alphaA = 1.0;
  case_.design.hanryokuKeisu = 4500;
  ASSERT_TRUE(run(Section::ReactionModulus));
  // no trench width: αa is entered directly, whatever a width of 0 would give
  EXPECT_EQ(book_.text(sheet_, "G19"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G36"), "5000.00×1.00×0.90×1.00");

  // a typed αw, and an e' its factors do not give
  case_.design.alphaW = 0.8;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G30"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G31"), "0.80");
  EXPECT_EQ(book_.text(sheet_, "G36"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G37"), "4500.00");
}

TEST_F(ReactionModulus, BackCalculation) {
  DesignData& d = case_.design;
  d.hanryokuKeisuHoho = 4;
  d.tawamiE = 3.0e6;
  d.tawamiI = 1e-7;
  // e' as the dialog stores it from these values
  const auto stored = [&] {
    return roundTo(calc::deflectionReactionModulus(
                       {d.tawamiDeltaX, d.tawamiF1, d.tawamiK, d.tawamiWv, d.tawamiR, d.tawamiE, d.tawamiI}),
                   2);
  };
  d.hanryokuKeisu = stored();
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(sheet_, "基礎材の反力係数3");
  const Texts expected = {
      {"C1", "５．基礎材の反力係数"},
      {"G9", "2×1.5×0.110×30.500×0.1554－0.3000×0.012"},
      {"G10", "0.061×0.1553×0.012"},
      {"G11", formatPattern(d.hanryokuKeisu, "0.00")},
  };
  EXPECT_EQ(written(), expected);
  EXPECT_EQ(raised("G9"), std::set<int>{25});
  EXPECT_EQ(raised("G10"), std::set<int>{12});

  // ΔX of 0 adopts 0: a fraction over 0 is no formula for it
  d.tawamiE = 0;
  d.tawamiDeltaX = 0;
  d.hanryokuKeisu = stored();
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(written(), (Texts{{"C1", "５．基礎材の反力係数"}, {"G9", kEnteredNote}, {"G11", "0.00"}}));

  // an e' the measured values do not give
  d.tawamiDeltaX = 0.012;
  d.hanryokuKeisu = 4680;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G9"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G11"), "4680.00");
}

// The sheets evaluate the calculation's formulas, which raise beyond any number: the sheet shows
// the note there and no error.
TEST_F(ReactionModulus, AFormulaBeyondAnyNumberIsNoFormulaAndNoError) {
  DesignData& d = case_.design;
  d.hanryokuKeisuHoho = 1;
  d.kijunHanryokuKeisu = 1e300;
  d.alphaB = 1e10;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G36"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G37"), "4680.00");

  d.hanryokuKeisuHoho = 4;
  d.tawamiR = 1e103;  // R⁴ beyond any number
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "G9"), kEnteredNote);
  EXPECT_EQ(book_.text(sheet_, "G11"), "4680.00");
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(ReactionModulus, OnlyForFlexiblePipesOnFreeSupport) {
  case_.design.hanryokuKeisuHoho = 1;
  case_.design.kanzaiKubun = 0;  // the design record's class decides
  EXPECT_FALSE(run(Section::ReactionModulus));
  case_.design.kanzaiKubun = 3;
  case_.design.kisoKeishiki = 1;
  EXPECT_FALSE(run(Section::ReactionModulus));
  case_.design.kisoKeishiki = 0;
  case_.design.kanzaiKubun = -1;
  case_.result.kanzaiKubun = -1;
  EXPECT_TRUE(run(Section::ReactionModulus));
  // sheet pile: no He section, so e' is one number lower
  case_.design.maisetuKeishiki = 2;
  ASSERT_TRUE(run(Section::ReactionModulus));
  EXPECT_EQ(book_.text(sheet_, "C1"), "４．基礎材の反力係数");
}

// ---- faults ---------------------------------------------------------------------------------

// A value that cannot be shown stops only its own cell, under the report's error box.
TEST_F(EarthSheets, NonFiniteValueStopsOnlyItsCell) {
  testing::ScriptedErrorBox box(ErrorAnswer::Ignore);
  box.answer(ErrorAnswer::Retry);
  case_.result.keisuCc = std::numeric_limits<double>::quiet_NaN();
  case_.result.mu = std::numeric_limits<double>::infinity();
  case_.design.dokaburi = 0.5;
  ASSERT_TRUE(run(Section::He));
  EXPECT_FALSE(book_.written(sheet_, "G34"));
  EXPECT_FALSE(book_.written(sheet_, "G31"));
  EXPECT_FALSE(book_.written(sheet_, "G32"));
  EXPECT_EQ(book_.text(sheet_, "G16"), "0.800");
  EXPECT_EQ(book_.text(sheet_, "C1"), "３．突出型の場合のＨｅの算定");
  ASSERT_EQ(box.shown.size(), 4u);  // G31 twice (Retry), G32, G34
  for (const auto& text : box.shown) EXPECT_NE(text.find(" in subExcelSheetCreate"), std::string::npos) << text;
  for (const auto& line : book_.log) {
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
  }

  case_ = earthCase(3, 0);
  case_.design.tuchiTanniJuryo = 1e200;
  case_.design.dokaburi = 1e200;  // γ·H overflows
  box.shown.clear();
  ASSERT_TRUE(run(Section::VerticalEarth));
  EXPECT_FALSE(book_.written(sheet_, "G30"));
  EXPECT_TRUE(book_.written(sheet_, "E33"));
  EXPECT_EQ(box.shown.size(), 1u);
}

// ---- slots ----------------------------------------------------------------------------------

// Across the matrix every write is a slot of its sheet (the C1 titles are in the common table)
// and every slot is written by some case.
TEST(EarthSlots, WritersTouchOnlyTheirSlotsAndFillThemAll) {
  testing::ScriptedErrorBox errors(ErrorAnswer::Abort);
  const Section earth[] = {Section::Flotation, Section::He, Section::VerticalEarth, Section::VerticalEarthSheetPile,
                           Section::ReactionModulus};
  std::set<std::pair<int, std::string>> slots, touched;
  for (const Slot& s : earthSlots()) {
    EXPECT_TRUE(slots.emplace(s.entry, std::string(s.address)).second) << sheetName(s.entry) << "!" << s.address;
    EXPECT_TRUE(sectionWriter(s.owner)) << s.address;
  }
  for (int cls : {0, 3, 5})
    for (double burial : {0.0, 1.0, 2.0})
      for (double cover : {0.5, 2.5})
        for (int method : {0, 1, 2, 3, 4})
          for (std::int16_t raisedFlag : {0, -1})
            for (double wv1 : {10.0, 14.0}) {
              testing::ReportCase c = earthCase(cls, burial);
              c.design.dokaburi = cover;
              c.design.hanryokuKeisuHoho = method;
              if (wv1 > 12.0) testing::setMeasuredDeflection(c.design);  // the fraction is printed
              c.result.wv2GammaFlg = raisedFlag;
              c.result.wv1 = wv1;
              RecordingReportBook book;
              testing::fillLikeTemplate(book);
              const SheetPlan plan = computeSheetPlan(c.design, c.result);
              for (Section s : earth) {
                const PlannedSection* section = plan.find(s);
                if (!section) continue;
                SectionContext ctx(book, c.design, c.result, g_calcSettings, plan, *section);
                sectionWriter(s)(ctx);
              }
              for (const auto& [sheet, address] : book.writes) {
                int e = 0;
                while (sheetName(e) != sheet) ++e;
                EXPECT_TRUE(slots.count({e, address}) || (address == "C1" && isSlot(e, address)))
                    << sheet << "!" << address;
                touched.emplace(e, address);
              }
            }
  for (const auto& [e, address] : slots) EXPECT_TRUE(touched.count({e, address})) << sheetName(e) << "!" << address;
}

}  // namespace
}  // namespace tovakin::report
