#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "report/sheet_plan.h"
#include "report/sheets_live.h"
#include "report_fixture.h"
#include "support/scripted_error_box.h"

namespace tovakin::report {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;  // (address, text) in write order

// The side-pressure and live-load values of a case, as a calculation would have stored them.
testing::ReportCase liveCase() {
  testing::ReportCase c = testing::largestCase();  // flexible, free support, trench, T-25, 11 t
  DesignData& d = c.design;
  d.chushinHankei = 0.1551;
  d.hanryokuKeisu = 5000;
  d.henkeiOkureF1 = 1.5;
  d.henkeiOkureF2 = 1.0;
  CalcResult& r = c.result;
  r.doatuKeisu = 1.0 / 3.0;
  r.h2 = 1.5248;
  r.q1 = 7.2;
  r.q2 = 9.1488;
  r.keisuK = 0.096;
  r.wv = 21.6;
  r.ei = 1.23456;
  r.doatuTawami = 0.000123456;
  r.doatuHanryoku = 2.98765;
  r.kajuKeisan[0] = LoadRow{100, 0.3, 0.9, 94.54545454545456, 32.727272727272734};
  r.kajuKeisan[1] = LoadRow{0, 0, 0, 0, 10};
  r.kajuKeisan[2] = LoadRow{56.8, 0, 0, 0, 23.752727272727274};
  r.buruL = 0.46;
  r.katsuKaju = 42.727272727272734;
  r.sekojiKaju = 23.752727272727274;
  r.jidoshaTawami = 0.00234567;
  r.jidoshaHanryoku = 37.8123;
  r.buruTawami = 0.00130449;
  r.buruHanryoku = 21.02751;
  return c;
}

void makeRigid(testing::ReportCase& c) {
  c.design.kanzaiKubun = 0;
  c.result.kanzaiKubun = 0;
}

class LiveSheets : public ::testing::Test, public testing::SectionFixture {
 protected:
  LiveSheets() {
    case_ = liveCase();
    settings_ = builtInCalcSettings();
  }

  // Runs the writer of one section on a template-like book, as the report would.
  void run(Section s) { ASSERT_TRUE(SectionFixture::run(s)) << sectionLabel(s); }

  // The cells written on a sheet in the order of their first write, with their final texts
  // (the superscript pass writes a cell a second time).
  Cells written(const std::string& sheet) const {
    Cells out;
    std::set<std::string> seen;
    for (const auto& [s, a] : book_.writes)
      if (s == sheet && seen.insert(a).second) out.emplace_back(a, book_.text(s, a));
    return out;
  }
  void expectCells(const std::string& sheet, const Cells& expected) const {
    const Cells got = written(sheet);
    ASSERT_EQ(got.size(), expected.size()) << sheet;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(got[i].first, expected[i].first) << sheet << " write " << i;
      EXPECT_EQ(got[i].second, expected[i].second) << sheet << "!" << expected[i].first;
    }
  }
};

// --- 水平土圧 -------------------------------------------------------------------------------

TEST_F(LiveSheets, SidePressuresOfARigidPipe) {
  makeRigid(case_);
  run(Section::HorizontalEarth);
  expectCells("水平土圧", {
                              {"C1", "５．水平土圧計算"},
                              {"D5", "５－１．管頂部水平荷重"},
                              {"D10", "５－２．管底部水平荷重"},
                              {"G7", "0.333×18.00×1.200"},
                              {"G8", "7.200"},
                              {"G12", "0.333×18.00×1.525"},
                              {"G13", "9.149"},
                          });
  EXPECT_TRUE(written("水平土圧2").empty());

  case_.design.kisoKeishiki = 1;
  run(Section::HorizontalEarth);
  EXPECT_EQ(text("水平土圧", "D10"), "５－２．コンクリート基礎部水平荷重");
}

TEST_F(LiveSheets, SheetChoiceAndNumberFollowThePlan) {
  struct Row {
    double designClass;
    int resultClass;
    double support, burial;
    const char* sheet;
    const char* title;
    const char* d10;  // 水平土圧 only
  };
  const Row rows[] = {
      {0, 0, 0, 2, "水平土圧", "４．水平土圧計算", "４－２．管底部水平荷重"},            // sheet pile: no He
      {3, 3, 1, 0, "水平土圧", "５．水平土圧計算", "５－２．コンクリート基礎部水平荷重"},  // fixed support
      {3, 3, 0, 0, "水平土圧2", "６．水平土圧計算", nullptr},                       // after the e' section
      {-1, -1, 0, 1, "水平土圧2", "６．水平土圧計算", nullptr},                     // pipe type not listed
      {5, 5, 0, 2, "水平土圧2", "５．水平土圧計算", nullptr},
  };
  for (const Row& r : rows) {
    case_ = liveCase();
    case_.design.kanzaiKubun = r.designClass;
    case_.result.kanzaiKubun = r.resultClass;
    case_.design.kisoKeishiki = r.support;
    case_.design.maisetuKeishiki = r.burial;
    run(Section::HorizontalEarth);
    const std::string other = std::string(r.sheet) == "水平土圧" ? "水平土圧2" : "水平土圧";
    EXPECT_EQ(text(r.sheet, "C1"), r.title) << r.designClass << "/" << r.support;
    EXPECT_TRUE(written(other).empty()) << r.sheet;
    if (r.d10) {
      EXPECT_EQ(text(r.sheet, "D10"), r.d10);
    }
  }
}

TEST_F(LiveSheets, EarthDeflectionOfAFlexiblePipeOnFreeSupport) {
  run(Section::HorizontalEarth);
  expectCells("水平土圧2", {
                               {"C1", "６．水平土圧計算"},
                               {"D8", "６－１．土圧による水平たわみ量（ΔＸ１）"},
                               {"D16", "６－２．水平土圧"},
                               {"G12", "1.5"},
                               {"K12", "2×0.096×21.600×0.155104"},
                               {"K13", "1.2346＋0.061×5000.00×0.155103"},
                               {"G14", "0.00012"},
                               {"K20", "5000.00"},
                               {"P20", "0.00012"},
                               {"G21", "1.5"},
                               {"K21", "0.15510"},
                               {"G22", "2.988"},
                           });
  // the exponents are raised, the markers gone
  EXPECT_EQ(raised("水平土圧2", "K12"), std::set<int>{23});
  EXPECT_EQ(raised("水平土圧2", "K13"), std::set<int>{29});
  EXPECT_TRUE(raised("水平土圧2", "G14").empty());
  EXPECT_TRUE(written("水平土圧").empty());
}

// --- 活荷重 / 施工時荷重 --------------------------------------------------------------------

TEST_F(LiveSheets, LiveLoadsOfTheDefaultTruckAndBulldozer) {
  run(Section::LiveLoad);
  expectCells("活荷重", {
                            {"C1", "７．活荷重"},
                            {"D3", "７－１．常時"},
                            {"E5", "７－１－１．自動車荷重"},
                            {"E35", "７－１－２．その他の上載荷重"},
                            {"L14", "舗装道路"},
                            {"L15", "1.200"},
                            {"L16", "100"},
                            {"L17", "2.75"},
                            {"L18", "0.9"},
                            {"L19", "0.3"},
                            {"H24", "2×100"},
                            {"H25", "2.75"},
                            {"L24", "×（1＋0.3）"},
                            {"H26", "94.545"},
                            {"H31", "94.545×0.9"},
                            {"K30", "0.2＋2ｈ"},
                            {"H32", "0.2＋2×1.200"},
                            {"H33", "32.727"},
                            {"K36", "群集荷重"},
                            {"H37", "10.000"},
                        });
  // the second page: no title of its own, the same number
  expectCells("施工時荷重", {
                                {"D1", "７－２．施工時"},
                                {"R10", "1.200"},
                                {"R11", "0.3"},
                                {"R12", "56.80"},
                                {"R13", "0.46"},
                                {"R14", "45"},
                                {"R15", "2"},
                                {"G21", "2×56.80×（1＋0.3）×"},
                                {"O21", "0.46"},
                                {"O22", "0.46＋2×1.200×tan（45）"},
                                {"G23", "23.753"},
                            });
  EXPECT_TRUE(book_.cell("活荷重", "H25")->quotePrefix);
  EXPECT_TRUE(book_.cell("施工時荷重", "O21")->quotePrefix);
  EXPECT_FALSE(book_.cell("活荷重", "H26")->quotePrefix);
  EXPECT_FALSE(book_.cell("施工時荷重", "O22")->quotePrefix);
  for (const auto& line : book_.log) EXPECT_EQ(line.find("superscript"), std::string::npos) << line;

  makeRigid(case_);  // no e' section: one number lower
  run(Section::LiveLoad);
  EXPECT_EQ(text("活荷重", "C1"), "６．活荷重");
  EXPECT_EQ(text("施工時荷重", "D1"), "６－２．施工時");
}

TEST_F(LiveSheets, TruckClassRoadCoverBandAndSpreadAngle) {
  struct Row {
    double truck, road, cover, impact, beta, lineLoad, angle, load;
    std::vector<std::pair<std::string, std::string>> cells;
  };
  const Row rows[] = {
      // no truck on an unpaved road: P is 0, the stored values are shown as they are
      {0, 0, 1.2, 0.4, 1.0, 0, 45, 0,
       {{"L14", "未舗装道路"}, {"L15", "1.200"}, {"L16", "0"}, {"L18", "1.0"}, {"L19", "0.4"}, {"H24", "2×0"},
        {"L24", "×（1＋0.4）"}, {"H26", "0.000"}, {"H31", "0.000×1.0"}, {"K30", "0.2＋2ｈ"},
        {"H32", "0.2＋2×1.200"}, {"H33", "0.000"}}},
      // T-20, paved, 1.5 m (second cover band), θ 30
      {20, 1, 1.5, 0.2, 1.0, 68.07272727272726, 30, 35.23340432148573,
       {{"L14", "舗装道路"}, {"L15", "1.500"}, {"L16", "78"}, {"L19", "0.2"}, {"H24", "2×78"},
        {"L24", "×（1＋0.2）"}, {"H26", "68.073"}, {"H31", "68.073×1.0"}, {"K30", "0.2＋2ｈ・tan（30）"},
        {"H32", "0.2＋2×1.500×tan（30）"}, {"H33", "35.233"}}},
      // T-14, paved, 2.5 m (third band); an angle just off 45 takes the tan form
      {14, 1, 2.5, 0.1, 1.0, 44.0, 44.9999, 8.461566861912281,
       {{"L15", "2.500"}, {"L16", "55"}, {"L19", "0.1"}, {"H24", "2×55"}, {"H26", "44.000"},
        {"K30", "0.2＋2ｈ・tan（45）"}, {"H32", "0.2＋2×2.500×tan（45）"}, {"H33", "8.462"}}},
      // T-10, unpaved, just below 2.5 m (second band, shown rounded), θ 60
      {10, 0, 2.4999, 0.3, 1.0, 36.872727272727275, 60, 4.161750756578779,
       {{"L14", "未舗装道路"}, {"L15", "2.500"}, {"L16", "39"}, {"L19", "0.3"}, {"H24", "2×39"},
        {"H26", "36.873"}, {"K30", "0.2＋2ｈ・tan（60）"}, {"H32", "0.2＋2×2.500×tan（60）"}, {"H33", "4.162"}}},
      // no truck, and any road code other than 0
      {0, 2, 1.2, 0.3, 1.0, 0, 45.0001, 0,
       {{"L14", "舗装道路"}, {"L16", "0"}, {"H24", "2×0"}, {"K30", "0.2＋2ｈ・tan（45）"}}},
  };
  for (const Row& row : rows) {
    case_ = liveCase();
    case_.design.kajuJoken = row.truck;
    case_.design.doroJoken = row.road;
    case_.design.dokaburi = row.cover;
    case_.result.kajuKeisan[0] = LoadRow{0, row.impact, row.beta, row.lineLoad, row.load};
    settings_.kajuBunpukaku = row.angle;
    run(Section::LiveLoad);
    for (const auto& [address, expected] : row.cells)
      EXPECT_EQ(text("活荷重", address), expected) << "T" << row.truck << " " << address;
  }
}

TEST_F(LiveSheets, ConstantsComeFromTheSettingsTheReportIsWrittenWith) {
  settings_.korinKaju[0] = 110;
  settings_.sharyoSenyuHaba = 3;
  settings_.kajuA = 0.25;  // shown with one decimal
  settings_.buruBunpukaku = 30;
  run(Section::LiveLoad);
  EXPECT_EQ(text("活荷重", "L16"), "110");
  EXPECT_EQ(text("活荷重", "H24"), "2×110");
  EXPECT_EQ(text("活荷重", "L17"), "3.00");
  EXPECT_EQ(text("活荷重", "H25"), "3.00");
  EXPECT_EQ(text("活荷重", "K30"), "0.3＋2ｈ");
  EXPECT_EQ(text("活荷重", "H32"), "0.3＋2×1.200");
  EXPECT_EQ(text("施工時荷重", "R14"), "30");
  EXPECT_EQ(text("施工時荷重", "O22"), "0.46＋2×1.200×tan（30）");
}

TEST_F(LiveSheets, BulldozerClasses) {
  // the 3-ton class with one track
  case_.design.buruJoken = 3;
  case_.design.kyatapiraSu = 1;
  case_.result.kajuKeisan[2] = LoadRow{32.3, 0, 0, 0, 4.665555555555555};
  case_.result.buruL = 0.3;
  run(Section::LiveLoad);
  EXPECT_EQ(text("施工時荷重", "G21"), "1×32.30×（1＋0.3）×");
  EXPECT_EQ(text("施工時荷重", "O21"), "0.30");
  EXPECT_EQ(text("施工時荷重", "O22"), "0.30＋2×1.200×tan（45）");
  EXPECT_EQ(text("施工時荷重", "G23"), "4.666");

  // none: the page is written all the same, with the track count as entered
  case_.design.buruJoken = 0;
  case_.design.kyatapiraSu = 2;
  case_.design.sekojiShogekiKeisu = 0.5;
  case_.result.kajuKeisan[2] = LoadRow{};
  case_.result.buruL = 0;
  run(Section::LiveLoad);
  expectCells("施工時荷重", {
                                {"D1", "７－２．施工時"},
                                {"R10", "1.200"},
                                {"R11", "0.5"},
                                {"R12", "0.00"},
                                {"R13", "0.00"},
                                {"R14", "45"},
                                {"R15", "2"},
                                {"G21", "2×0.00×（1＋0.5）×"},
                                {"O21", "0.00"},
                                {"O22", "0.00＋2×1.200×tan（45）"},
                                {"G23", "0.000"},
                            });
}

TEST_F(LiveSheets, SurchargeNameAndValue) {
  struct Row {
    const char* name;
    const char* value;
    const char* nameText;
    const char* valueText;
  };
  for (const Row& r : {Row{"　群集 荷重 ", "0", "群集 荷重", "0.000"}, Row{"", " 12.5 ", "", "12.500"},
                       Row{"123", "１０", "123", "10.000"}, Row{"'A", "3.4567", "'A", "3.457"}}) {
    case_.design.josaiKajuMeisho = r.name;
    case_.design.josaiKaju = r.value;
    run(Section::LiveLoad);
    EXPECT_EQ(text("活荷重", "K36"), r.nameText) << r.name;
    EXPECT_TRUE(book_.cell("活荷重", "K36")->quotePrefix);
    EXPECT_EQ(text("活荷重", "H37"), r.valueText) << r.value;
  }
}

// --- 活荷重水平荷重 -------------------------------------------------------------------------

TEST_F(LiveSheets, HorizontalLoadsFromLiveLoads) {
  run(Section::LiveLoadHorizontal);
  const std::string sheet = "活荷重水平荷重";
  expectCells(sheet, {
                         {"C1", "８．活荷重・上載荷重による水平荷重の計算"},
                         {"D6", "８－１．常時"},
                         {"D21", "８－２．施工時"},
                         {"H8", "32.727＋10.000"},
                         {"H9", "42.727"},
                         {"H12", "1.0"},
                         {"L12", "2×0.096×42.727×0.155104"},
                         {"L13", "1.2346＋0.061×5000.00×0.155103"},
                         {"H14", "0.00235"},
                         {"L17", "5000.00"},
                         {"Q17", "0.00235"},
                         {"H18", "1.0"},
                         {"L18", "0.15510"},
                         {"H19", "37.812"},
                         {"H24", "23.753"},
                         {"H27", "1.0"},
                         {"L27", "2×0.096×23.753×0.155104"},
                         {"L28", "1.2346＋0.061×5000.00×0.155103"},
                         {"H29", "0.00130"},
                         {"L32", "5000.00"},
                         {"Q32", "0.00130"},
                         {"H33", "1.0"},
                         {"L33", "0.15510"},
                         {"H34", "21.028"},
                     });
  for (const char* a : {"L12", "L27"}) EXPECT_EQ(raised(sheet, a), std::set<int>{23}) << a;
  for (const char* a : {"L13", "L28"}) EXPECT_EQ(raised(sheet, a), std::set<int>{29}) << a;
  for (const char* a : {"H8", "H9", "H14", "H24"}) EXPECT_TRUE(raised(sheet, a).empty()) << a;
}

TEST_F(LiveSheets, HorizontalLoadsWithoutTruckOrBulldozer) {
  case_.design.kajuJoken = 0;
  case_.design.buruJoken = 0;
  case_.design.josaiKaju = "0";
  case_.design.kanzaiKubun = -1;  // a pipe type missing from the database counts as flexible
  case_.result.kanzaiKubun = -1;
  case_.result.kajuKeisan[0].bunpuKaju = 0;
  case_.result.kajuKeisan[2] = LoadRow{};
  case_.result.katsuKaju = 0;
  case_.result.sekojiKaju = 0;
  case_.result.jidoshaTawami = case_.result.jidoshaHanryoku = 0;
  case_.result.buruTawami = case_.result.buruHanryoku = 0;
  run(Section::LiveLoadHorizontal);
  const std::string sheet = "活荷重水平荷重";
  EXPECT_EQ(text(sheet, "H8"), "0.000＋0.000");
  EXPECT_EQ(text(sheet, "L12"), "2×0.096×0.000×0.155104");
  EXPECT_EQ(text(sheet, "L27"), "2×0.096×0.000×0.155104");
  for (const char* a : {"H9", "H19", "H24", "H34"}) EXPECT_EQ(text(sheet, a), "0.000") << a;
  for (const char* a : {"H14", "Q17", "H29", "Q32"}) EXPECT_EQ(text(sheet, a), "0.00000") << a;
}

// --- slots and failures ---------------------------------------------------------------------

TEST_F(LiveSheets, WritersTouchOnlyTheirSlotsAndFillThemAll) {
  std::set<std::pair<int, std::string>> slots, touched;
  for (const Slot& s : liveSlots()) {
    EXPECT_TRUE(slots.emplace(s.entry, std::string(s.address)).second) << sheetName(s.entry) << "!" << s.address;
    EXPECT_TRUE(isCellReference(s.address)) << s.address;
  }
  for (int e : {entry::k水平土圧, entry::k水平土圧2, entry::k活荷重, entry::k活荷重水平荷重}) {
    EXPECT_TRUE(isSlot(e, "C1")) << sheetName(e);  // the common table has the titles
    slots.emplace(e, "C1");
  }
  for (double cls : {0.0, 3.0})
    for (double support : {0.0, 1.0}) {
      case_ = liveCase();
      case_.design.kanzaiKubun = cls;
      case_.result.kanzaiKubun = static_cast<int>(cls);
      case_.design.kisoKeishiki = support;
      for (Section s : {Section::HorizontalEarth, Section::LiveLoad, Section::LiveLoadHorizontal}) {
        if (s == Section::LiveLoadHorizontal && !(cls != 0 && support == 0)) continue;
        run(s);
        for (const auto& [sheet, address] : book_.writes) {
          int e = 0;
          while (sheetName(e) != sheet) ++e;
          EXPECT_TRUE(slots.count({e, address})) << sheet << "!" << address;
          touched.emplace(e, address);
          for (const Slot& slot : liveSlots())
            if (slot.entry == e && slot.address == address) {
              EXPECT_EQ(slot.owner, s) << sheet << "!" << address;
            }
        }
      }
    }
  EXPECT_EQ(touched, slots);
}

TEST_F(LiveSheets, AValueThatCannotBeShownStopsOnlyItsCell) {
  testing::ScriptedErrorBox errors(ErrorAnswer::Ignore);
  case_.result.kajuKeisan[0].senKaju = std::numeric_limits<double>::quiet_NaN();
  run(Section::LiveLoad);
  ASSERT_EQ(errors.shown.size(), 2u);  // H26 and H31
  EXPECT_NE(errors.shown[0].find("subExcelSheetCreate"), std::string::npos);
  EXPECT_FALSE(book_.written("活荷重", "H26"));
  EXPECT_FALSE(book_.written("活荷重", "H31"));
  EXPECT_EQ(text("活荷重", "K30"), "0.2＋2ｈ");
  EXPECT_EQ(text("活荷重", "H33"), "32.727");
  EXPECT_EQ(text("施工時荷重", "G23"), "23.753");
  for (const auto& line : book_.log) EXPECT_EQ(line.find("nan"), std::string::npos) << line;
}

}  // namespace
}  // namespace tovakin::report
