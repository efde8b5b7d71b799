#include "dialogs/options_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/settings.h"

namespace tovakin::gui {
namespace {

// Where a binding's member lives in a record: two bindings of one member give the same offset.
std::ptrdiff_t offsetOf(double& (*member)(CalcSettings&)) {
  static CalcSettings probe;
  return reinterpret_cast<const char*>(&member(probe)) - reinterpret_cast<const char*>(&probe);
}

TEST(OptionsTable, EachBoxShowsTheMemberOfItsIniKeyWithItsBuiltInValue) {
  std::set<std::ptrdiff_t> members;
  for (int i = 0; i < kOptionsBoxCount; ++i) {
    const OptionsBox& box = optionsBoxes()[static_cast<std::size_t>(i)];
    const app::SettingsKey* key = nullptr;
    for (const app::SettingsKey& k : app::settingsKeys())
      if (std::strcmp(k.key, box.iniKey) == 0) key = &k;
    ASSERT_NE(key, nullptr) << "box " << i;
    EXPECT_EQ(offsetOf(box.member), offsetOf(key->member)) << "box " << i << " " << box.iniKey;
    members.insert(offsetOf(box.member));
  }
  EXPECT_EQ(members.size(), static_cast<std::size_t>(kOptionsBoxCount));  // no member shown twice
  const CalcSettings s = app::builtInCalcSettings();
  const std::pair<int, const char*> shown[] = {{0, "18.00"},  {1, "20.00"}, {2, "9.80"}, {3, "45"},    {4, "2.75"},
                                               {5, "100.00"}, {8, "39.00"}, {9, "0.90"}, {10, "1.00"}, {11, "30"},
                                               {12, "1.2"},   {31, "0.4"},  {33, "0.2"}, {36, "0.1"}};
  for (const auto& [box, text] : shown) EXPECT_EQ(optionsBoxText(s, box), text) << "box " << box;
  // Box 13 + i is K at the i-th angle, 19 + i Ko, 25 + i Kp: a transposed grid shows 0.107 in 14.
  const char* grid[3][6] = {{"0.110", "0.108", "0.103", "0.096", "0.089", "0.083"},
                            {"0.107", "0.104", "0.096", "0.085", "0.075", "0.065"},
                            {"0.215", "0.208", "0.191", "0.169", "0.149", "0.131"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 6; ++col) EXPECT_EQ(optionsBoxText(s, 13 + 6 * row + col), grid[row][col]) << row << col;
}

TEST(OptionsTable, ReadingStoresEveryBoxAsShownOrNothingWhenOneHoldsNoNumber) {
  CalcSettings data = app::builtInCalcSettings();
  data.korinKaju[4] = 7;  // members without a box
  data.shijikakuKeisu[6] = {0.5, 0.6, 0.7};
  data.kajuA = 0.25;
  data.shijikakuKeisu[3][1] = 0.1234;  // more decimals than its box shows
  std::array<std::string, kOptionsBoxCount> texts;
  for (int i = 0; i < kOptionsBoxCount; ++i) texts[static_cast<std::size_t>(i)] = optionsBoxText(data, i);
  const CalcSettings before = data;
  for (const char* bad : {" ", "abc", "12,5", "inf", "nan", "1e999"}) {
    auto wrong = texts;
    wrong[1] = bad;
    wrong[2] = "x";  // read before box 1: the one reported
    EXPECT_EQ(optionsForm2Data(wrong, data), 2) << bad;
    wrong[2] = "9.80";
    EXPECT_EQ(optionsForm2Data(wrong, data), 1) << bad;
    EXPECT_EQ(data, before) << bad;
  }
  texts[28] = "0.170";  // Kp at 90°
  texts[33] = "";       // an emptied box stores 0
  ASSERT_EQ(optionsForm2Data(texts, data), std::nullopt);
  CalcSettings expected = before;
  expected.shijikakuKeisu[3][2] = 0.17;
  expected.shogekiKeisu[0].c = 0;
  expected.shijikakuKeisu[3][1] = 0.123;
  EXPECT_EQ(data, expected);
}

TEST(OptionsTable, ConstantsThatMakeAResultMeaninglessAreRefusedByTheirBox) {
  EXPECT_EQ(optionsRefusal(app::builtInCalcSettings()), std::nullopt);
  struct Row {
    const char* what;
    void (*set)(CalcSettings&);
    std::optional<int> box;
    const char* message;
  };
  const Row rows[] = {
      {"soil 0", [](CalcSettings& s) { s.tuchiTanniJuryo = 0; }, 0, "土の単位体積重量を0以下にすることは出来ません。"},
      {"water < 0", [](CalcSettings& s) { s.mizuTanniJuryo = -9.8; }, 2, "水の単位体積重量を0以下にすることは出来ません。"},
      {"saturated NaN", [](CalcSettings& s) { s.howadoTanniJuryo = std::nan(""); }, 1,
       "飽和土単位体積重量を0以下にすることは出来ません。"},
      {"wheel T-25 0", [](CalcSettings& s) { s.korinKaju[0] = 0; }, 5, "後輪荷重(T-25)を0以下にすることは出来ません。"},
      {"wheel T-10 < 0", [](CalcSettings& s) { s.korinKaju[3] = -1; }, 8, "後輪荷重(T-10)を0以下にすることは出来ません。"},
      {"width 0 (divides)", [](CalcSettings& s) { s.sharyoSenyuHaba = 0; }, 4, "車両占有幅を0以下にすることは出来ません。"},
      {"beta 0", [](CalcSettings& s) { s.betaT25 = 0; }, 9, "断面力の低減係数β(T-25)を0以下にすることは出来ません。"},
      {"flotation S 0", [](CalcSettings& s) { s.fujoKentoAnzenritu = 0; }, 12, "浮上検討時の安全率(S)を0以下にすることは出来ません。"},
      {"K at 60° 0", [](CalcSettings& s) { s.shijikakuKeisu[2][0] = 0; }, 15, "設計支持角係数K(60°)を0以下にすることは出来ません。"},
      {"Kp at 180° < 0", [](CalcSettings& s) { s.shijikakuKeisu[5][2] = -0.1; }, 30,
       "設計支持角係数Kp(180°)を0以下にすることは出来ません。"},
      {"impact < 0", [](CalcSettings& s) { s.shogekiKeisu[1].b = -0.1; }, 35,
       "衝撃係数(舗装道路・1.5～2.5未満)を負の値にすることは出来ません。"},
      {"spread angle 0 (divides)", [](CalcSettings& s) { s.kajuBunpukaku = 0; }, 3, "荷重分布角を0以下にすることは出来ません。"},
      {"spread angle 90", [](CalcSettings& s) { s.kajuBunpukaku = 90; }, 3, "荷重分布角を90以上にすることは出来ません。"},
      {"friction angle 95", [](CalcSettings& s) { s.naibuMasatukaku = 95; }, 11, "内部摩擦角の標準値を90以上にすることは出来ません。"},
      {"first in reading order", [](CalcSettings& s) { s.howadoTanniJuryo = 0, s.mizuTanniJuryo = 0; }, 2,
       "水の単位体積重量を0以下にすることは出来ません。"},
      // unusual values stand, and so do the members no box shows
      {"impact 0", [](CalcSettings& s) { s.shogekiKeisu = {}; }, std::nullopt, ""},
      {"heavy soil, steep angle", [](CalcSettings& s) { s.tuchiTanniJuryo = 100, s.kajuBunpukaku = 89.9; },
       std::nullopt, ""},
      {"no box", [](CalcSettings& s) { s.korinKaju[4] = 0, s.shijikakuKeisu[6] = {}, s.buruKaju[0].a = -1; },
       std::nullopt, ""},
  };
  for (const Row& row : rows) {
    CalcSettings s = app::builtInCalcSettings();
    row.set(s);
    const auto refusal = optionsRefusal(s);
    ASSERT_EQ(refusal.has_value(), row.box.has_value()) << row.what;
    if (!refusal) continue;
    EXPECT_EQ(refusal->box, *row.box) << row.what;
    EXPECT_EQ(refusal->message, row.message) << row.what;
  }
}

// Every control of a page, boxes included, inside its frame's designed size and clear of the
// others; each unit caption in its box's row, to the right of it.
TEST(OptionsTable, ThePagesControlsStayInsideTheirFrameAndApart) {
  struct Place {
    std::string what;
    int page, left, top, right, bottom;
  };
  std::vector<Place> places;
  for (int i = 0; i < kOptionsBoxCount; ++i) {
    const OptionsBox& b = optionsBoxes()[static_cast<std::size_t>(i)];
    places.push_back({"box " + std::to_string(i), b.page, b.left, b.top, b.left + kOptionsBoxWidth,
                      b.top + kOptionsBoxHeight});
  }
  int units = 0;
  for (const OptionsControl& c : optionsControls()) {
    if (c.page == kOnCommandBar) {
      EXPECT_LE(c.left + c.width, kOptionsBarWidth) << c.index;
      EXPECT_LE(c.top + c.height, kOptionsBarHeight) << c.index;
      continue;
    }
    places.push_back({std::string(c.name) + " " + std::to_string(c.index), c.page, c.left, c.top, c.left + c.width,
                      c.top + c.height});
    if (c.kind != OptionsKind::Unit) continue;
    const int box = std::array{0, 1, 2, 3, 4, 11}.at(static_cast<std::size_t>(units++));
    const OptionsBox& b = optionsBoxes()[static_cast<std::size_t>(box)];
    EXPECT_EQ(c.index, units - 1);
    EXPECT_EQ(std::make_pair(c.page, c.top), std::make_pair(b.page, b.top)) << "unit of box " << box;
    EXPECT_GT(c.left, b.left + kOptionsBoxWidth) << "unit of box " << box;
    EXPECT_STREQ(c.caption, b.unit) << "unit of box " << box;
  }
  EXPECT_EQ(units, 6);
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Place& a = places[i];
    const OptionsPageDesign& page = optionsPages()[static_cast<std::size_t>(a.page)];
    EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= page.width && a.bottom <= page.height) << a.what;
    for (std::size_t j = i + 1; j < places.size(); ++j) {
      const Place& b = places[j];
      const bool apart = a.page != b.page || a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
                         b.bottom <= a.top;
      EXPECT_TRUE(apart) << a.what << " overlaps " << b.what;
    }
  }
}

TEST(OptionsTable, TheLayoutFollowsTheWidestAndTallestFrame) {
  const OptionsLayout l =
      optionsLayout({{{5640, 1425}, {9120, 1755}, {5640, 3225}, {10800, 2505}, {5640, 3225}}}, 3615);
  EXPECT_EQ(l.frameWidth, 10800);
  EXPECT_EQ(std::make_pair(l.tabWidth, l.tabHeight), std::make_pair(11280, 4225));
  EXPECT_EQ(std::make_pair(l.formWidth, l.formHeight), std::make_pair(11520, 5225));
  EXPECT_EQ(std::make_pair(l.commandLeft, l.commandTop), std::make_pair(7665, 4465));
}

}  // namespace
}  // namespace tovakin::gui
