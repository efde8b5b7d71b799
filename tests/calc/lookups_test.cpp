#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/coefficients.h"
#include "calc/pipe_lookups.h"
#include "support/calc_fixture.h"

namespace tovakin::testing {
using namespace tovakin::calc;
namespace {

class LookupTest : public CalcTest {};

TEST_F(LookupTest, MaterialLookupsTrimTheKeyAndReturnNotFoundValues) {
  source.materials.push_back({"空欄管", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
  struct Row {
    std::string kanshu;
    double unitWeight, elasticity, sigma, sigmaA;
    std::int32_t kubun;
  };
  const Row rows[] = {
      {"ヒューム管", 24.5, 3.9e7, 0.0, 0.0, 0},
      {"　鋼管  ", 77.0, 2.06e8, 1.0e5, 1.4e5, 5},  // blanks and full-width blanks around the key
      {"未登録管", 0.0, 0.0, 0.0, 0.0, -1},         // no row
      {"空欄管", 0.0, 0.0, 0.0, 0.0, -1},           // a row of Null cells
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kanshu);
    EXPECT_EQ(管材の単位体積重量(row.kanshu), row.unitWeight);
    EXPECT_EQ(管材の弾性係数(row.kanshu), row.elasticity);
    EXPECT_EQ(funcσ(row.kanshu), row.sigma);
    EXPECT_EQ(funcσa(row.kanshu), row.sigmaA);
    EXPECT_EQ(func管材区分(row.kanshu), row.kubun);
  }
  EXPECT_EQ(source.materialKeys[5], "鋼管");
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(LookupTest, FirstRowAndTheSmallestModulus) {
  source.materials = {{"管A", 10.0, 5.0e6, 1.0, 0.0, 0.0}, {"管A", 20.0, 2.0e6, 3.0, 0.0, 0.0}};
  EXPECT_EQ(管材の単位体積重量("管A"), 10.0);
  EXPECT_EQ(func管材区分("管A"), 1);
  EXPECT_EQ(管材の弾性係数("管A"), 2.0e6);
}

TEST_F(LookupTest, ClassIsRoundedHalvesToEven) {
  struct Row {
    double cell;
    std::int32_t kubun;
  };
  for (Row row : {Row{2.5, 2}, Row{3.5, 4}, Row{0.5, 0}, Row{-0.5, 0}, Row{1.4999, 1}, Row{-1.0, -1}}) {
    source.materials = {{"管B", 1.0, 1.0, row.cell, 0.0, 0.0}};
    EXPECT_EQ(func管材区分("管B"), row.kubun) << row.cell;
  }
  source.materials = {{"管B", 1.0, 1.0, 3e9, 0.0, 0.0}};  // beyond a 32-bit integer
  EXPECT_EQ(func管材区分("管B"), 0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], "オーバーフローしました。(6)\n in func管材区分");
}

TEST_F(LookupTest, PipeTableLookups) {
  DesignData d;
  d.kanshu = "ヒューム管  ";
  d.kikaku = "外圧管1種 ";
  d.yobikei = "600     ";  // the size is compared as a number
  EXPECT_EQ(func許容内水圧PC(d), 63.7);
  EXPECT_EQ(func許容内水圧HC(d), 450.0);  // the table value times 1000
  EXPECT_EQ(source.pipeSizes.back(), 600.0);

  d.yobikei = "600.4";  // the exact number finds no row of 600
  EXPECT_EQ(func許容内水圧PC(d), 0.0);
  EXPECT_EQ(source.pipeSizes.back(), 600.4);
  const std::size_t asked = source.pipeSizes.size();
  d.yobikei = "６００";  // not a number: no row, and no query
  EXPECT_EQ(func許容内水圧HC(d), 0.0);
  d.yobikei = "";
  EXPECT_EQ(func許容内水圧PC(d), 0.0);
  EXPECT_EQ(source.pipeSizes.size(), asked);

  EXPECT_EQ(funcEI値("鋼管 ", "STW400", 600.0), 1234.5);
  EXPECT_EQ(funcEI値("鋼管", "STW400", 500.0), 0.0);
  EXPECT_EQ(funcEI値("ヒューム管", "外圧管1種", 600.0), 0.0);  // a Null cell
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(LookupTest, MomentCoefficientKeys) {
  struct Row {
    int loadCase;
    double kiso, angle, kubun;
    FakeMomentQuery key;
  };
  const Row rows[] = {
      {1, 0.0, 90.0, 0.0, {"不とう性管", "鉛直等分布荷重", 90, "自由支承"}},
      {2, 1.0, 120.0, 3.0, {"とう性管", "管内水重", 120, "固定支承"}},
      {3, 2.0, 180.0, -1.0, {"とう性管", "管体自重", 180, "固定支承"}},  // class -1 is flexible
      {4, 0.0, 90.5, 5.0, {"とう性管", "側面水平荷重1", 90, "自由支承"}},  // halves to even
      {5, 0.0, 91.5, 0.0, {"不とう性管", "側面水平荷重2", 92, "自由支承"}},
  };
  for (const Row& row : rows) {
    source.momentQueries.clear();
    func曲げモーメント係数(row.loadCase, row.kiso, row.angle, row.kubun);
    ASSERT_EQ(source.momentQueries.size(), 1u);
    const FakeMomentQuery& q = source.momentQueries[0];
    EXPECT_EQ(q.taishoKan, row.key.taishoKan);
    EXPECT_EQ(q.taishoKaju, row.key.taishoKaju);
    EXPECT_EQ(q.shijikaku, row.key.shijikaku);
    EXPECT_EQ(q.shoJoken, row.key.shoJoken);
  }
  EXPECT_EQ(func曲げモーメント係数(1, 0.0, 90.0, 0.0), 0.3);
  EXPECT_EQ(func曲げモーメント係数(4, 1.0, 180.0, 3.0), -0.0768);
  EXPECT_EQ(func曲げモーメント係数(1, 0.0, 45.0, 0.0), 0.0);
  EXPECT_EQ(func曲げモーメント係数(0, 0.0, 90.0, 0.0), 0.0);
  EXPECT_EQ(func曲げモーメント係数(6, 0.0, 90.0, 0.0), 0.0);
}

TEST_F(LookupTest, StandardTrenchWidthSharesOneRowUpTo100) {
  source.trenches = {{"100以下", 0.5}, {"150", 0.55}};
  struct Row {
    std::string size, key, after;
    double bs;
  };
  const Row rows[] = {
      {"100", "100以下", "100以下", 0.5}, {"80", "100以下", "100以下", 0.5},   {"100.4", "100以下", "100以下", 0.5},
      {"150", "150", "150", 0.55},       {"150  ", "150", "150  ", 0.55}, {"100.5", "100.5", "100.5", 0.0},
  };
  for (const Row& row : rows) {
    std::string size = row.size;
    EXPECT_EQ(func標準溝幅(size), row.bs) << row.size;
    EXPECT_EQ(source.trenchKeys.back(), row.key);
    EXPECT_EQ(size, row.after);
  }
  EXPECT_TRUE(box.shown.empty());
  for (std::string size : {"", "abc"}) {
    box.shown.clear();
    func標準溝幅(size);
    ASSERT_FALSE(box.shown.empty());
    EXPECT_EQ(box.shown[0], "型が一致しません。(13)\n in func標準溝幅");
  }
}

TEST_F(LookupTest, ErrorsShowTheBoxWithTheFunctionName) {
  struct Row {
    const char* label;
    double (*call)();
  };
  const Row rows[] = {
      {"管材の単位体積重量", [] { return 管材の単位体積重量("鋼管"); }},
      {"func管材区分", [] { return static_cast<double>(func管材区分("鋼管")); }},
      {"funcσa", [] { return funcσa("鋼管"); }},
      {"funcEI値", [] { return funcEI値("鋼管", "STW400", 600.0); }},
      {"funcDBモーメント係数", [] { return func曲げモーメント係数(1, 0.0, 90.0, 0.0); }},
  };
  for (const Row& row : rows) {
    box.shown.clear();
    source.failures = 2;  // Retry asks again and fails again; Ignore gives the starting 0
    box.answer(ErrorAnswer::Retry);
    EXPECT_EQ(row.call(), 0.0) << row.label;
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0], std::string("型が一致しません。(13)\n in ") + row.label);
  }
  source.failures = 1;  // Retry succeeds
  box.answer(ErrorAnswer::Retry);
  EXPECT_EQ(管材の単位体積重量("鋼管"), 77.0);
}

TEST_F(LookupTest, NoSourceFindsNothing) {
  Installed<PipeDataSource> none = installPipeDataSource(nullptr);
  DesignData d = makeDesign(rigidCase());
  EXPECT_EQ(func管材区分("鋼管"), -1);
  EXPECT_EQ(管材の単位体積重量("鋼管"), 0.0);
  EXPECT_EQ(func許容内水圧HC(d), 0.0);
  EXPECT_EQ(func曲げモーメント係数(1, 0.0, 90.0, 0.0), 0.0);
  std::string size = "200";
  EXPECT_EQ(func標準溝幅(size), 0.0);
  EXPECT_TRUE(pipeTypeList().empty());
  EXPECT_TRUE(pipeStandardList("鋼管").empty());
  EXPECT_TRUE(pipeSizeList("鋼管", "STW").empty());
  EXPECT_FALSE(pipeDimensionsOf("鋼管", "STW", 400).has_value());
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(LookupTest, SupportAngleCoefficients) {
  struct Row {
    double angle;
    int row;
    double value;
    int rowAfter;
  };
  const Row rows[] = {
      {90, 1, 0.085, 1}, {90, 0, 0.096, 0},  {90, 2, 0.169, 2}, {0, 2, 0.215, 2},   {30, 0, 0.108, 0},
      {180, 1, 0.065, 1}, {45, 0, 0.0, 0},   {45, 2, 0.0, 2},   {360, 0, 0.0, 0},   {120, 3, 0.089, 0},
      {120, -1, 0.089, 0}, {90.0000001, 0, 0.0, 0},
  };
  for (const Row& r : rows) {
    int row = r.row;
    EXPECT_EQ(func設計支持角係数(r.angle, row), r.value) << r.angle << " " << r.row;
    EXPECT_EQ(row, r.rowAfter);
  }
  g_calcSettings.shijikakuKeisu[6][0] = 0.5;  // the 360° column reads the working copy
  EXPECT_EQ(func設計支持角係数(360.0, 0), 0.5);
}

TEST_F(LookupTest, RearWheelLoads) {
  struct Row {
    double truck, load;
  };
  for (Row r : {Row{25, 100}, Row{20, 78}, Row{14, 55}, Row{10, 39}, Row{0, 0}, Row{12, 0}, Row{25.0001, 0}}) {
    EXPECT_EQ(func後輪荷重(r.truck), r.load) << r.truck;
  }
  g_calcSettings.korinKaju[4] = 9.0;  // the T-0 entry is never returned
  EXPECT_EQ(func後輪荷重(0), 0.0);
}

TEST_F(LookupTest, ExplicitSettingsAreReadInsteadOfTheWorkingCopy) {
  CalcSettings other = builtInCalcSettings();
  other.korinKaju = {120, 90, 60, 45, 9, 0};
  other.shijikakuKeisu[3] = {0.5, 0.6, 0.7};
  struct Row {
    double truck;
    double load;
  };
  for (Row r : {Row{25, 120}, Row{20, 90}, Row{14, 60}, Row{10, 45}, Row{0, 0}, Row{-0.0, 0}}) {
    EXPECT_EQ(rearWheelLoad(other, r.truck), r.load) << r.truck;
    EXPECT_EQ(func後輪荷重(other, r.truck), r.load) << r.truck;
  }
  for (int row = 0; row < 3; ++row) EXPECT_EQ(func設計支持角係数(other, 90.0, row), other.shijikakuKeisu[3][row]);
  EXPECT_EQ(func後輪荷重(25), 100.0);  // the working copy is untouched
  EXPECT_EQ(func設計支持角係数(90.0, 0), 0.096);
  EXPECT_TRUE(box.shown.empty());
}

}  // namespace
}  // namespace tovakin::testing
