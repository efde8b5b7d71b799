#include "report/sheet_plan.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/error_box.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tovakin::report {
namespace {

using namespace entry;

struct Case {
  const char* label;
  double designClass, support, burial, cover, he;
  int eMethod;
  int resultClass;
  std::vector<std::string> sheets;           // finished report, in order
  std::map<Section, int> numbers;            // section numbers to check (0: not written)
  std::map<Section, std::vector<int>> entries;  // sheets written by a section
};

PlanFacts factsOf(const Case& c) {
  PlanFacts f;
  f.designClass = c.designClass;
  f.support = c.support;
  f.burial = c.burial;
  f.cover = c.cover;
  f.he = c.he;
  f.eMethod = c.eMethod;
  f.resultClass = c.resultClass;
  return f;
}

const std::vector<Case>& cases() {
  static const std::vector<Case> all = {
      {"rigid trench, cover below He", 0, 0, 0, 1.0, 2.0, 0, 0,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "水平土圧", "活荷重", "施工時荷重", "設計荷重",
        "内水圧", "横断方向設計", "許容内圧"},
       {{Section::DesignConditions, 1}, {Section::Flotation, 2}, {Section::He, 3}, {Section::VerticalEarth, 4},
        {Section::HorizontalEarth, 5}, {Section::LiveLoad, 6}, {Section::DesignLoad, 7},
        {Section::InternalPressure, 8}, {Section::TransverseDesign, 9}, {Section::AllowablePressure, 10},
        {Section::ReactionModulus, 0}, {Section::DeflectionOrEi, 0}},
       {{Section::He, {kHe剛}}, {Section::LiveLoad, {k活荷重, k施工時荷重}}}},
      {"rigid trench, cover equal to He", 0, 0, 0, 1.5, 1.5, 0, 0,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "水平土圧", "活荷重", "施工時荷重", "設計荷重",
        "内水圧", "横断方向設計", "許容内圧"},
       {{Section::He, 3}},
       {{Section::He, {kHe剛}}}},
      {"rigid projection, cover above He", 0, 1, 1, 2.0, 0.8, 0, 0,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "水平土圧", "活荷重", "施工時荷重", "設計荷重",
        "内水圧", "横断方向設計", "許容内圧"},
       {{Section::He, 3}, {Section::AllowablePressure, 10}},
       {{Section::He, {kHe剛上}}, {Section::VerticalEarth, {k鉛直土圧}}}},
      {"flexible on fixed support", 3, 1, 0, 1.0, 2.0, 1, 3,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "水平土圧", "活荷重", "施工時荷重", "設計荷重",
        "内水圧", "横断方向設計", "許容内圧"},
       {{Section::ReactionModulus, 0}, {Section::LiveLoadHorizontal, 0}, {Section::WeightWaterHorizontal, 0},
        {Section::DeflectionOrEi, 0}, {Section::AllowablePressure, 10}},
       {{Section::He, {kHe撓}}, {Section::VerticalEarth, {k鉛直土圧2}}, {Section::HorizontalEarth, {k水平土圧}},
        {Section::DesignLoad, {k設計荷重}}, {Section::TransverseDesign, {k横断方向設計}},
        {Section::AllowablePressure, {k許容内圧2}}}},
      {"rigid sheet pile", 0, 0, 2, 1.0, 2.0, 0, 0,
       {"表紙", "設計条件", "浮上に対する検討", "鉛直土圧矢板施工", "水平土圧", "活荷重", "施工時荷重", "設計荷重", "内水圧",
        "横断方向設計", "許容内圧"},
       {{Section::He, 0}, {Section::VerticalEarth, 0}, {Section::VerticalEarthSheetPile, 3},
        {Section::HorizontalEarth, 4}, {Section::LiveLoad, 5}, {Section::DesignLoad, 6},
        {Section::InternalPressure, 7}, {Section::TransverseDesign, 8}, {Section::AllowablePressure, 9}},
       {{Section::VerticalEarthSheetPile, {k鉛直土圧矢板}}}},
      {"free flexible trench above He (largest)", 3, 0, 0, 2.0, 0.8, 0, 3,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "基礎材の反力係数", "水平土圧", "活荷重",
        "施工時荷重", "活荷重水平荷重", "自重水重水平荷重", "設計荷重", "内水圧", "横断方向設計", "許容内圧",
        "たわみ率計算"},
       {{Section::He, 3}, {Section::VerticalEarth, 4}, {Section::ReactionModulus, 5}, {Section::HorizontalEarth, 6},
        {Section::LiveLoad, 7}, {Section::LiveLoadHorizontal, 8}, {Section::WeightWaterHorizontal, 9},
        {Section::DesignLoad, 10}, {Section::InternalPressure, 11}, {Section::TransverseDesign, 12},
        {Section::AllowablePressure, 13}, {Section::DeflectionOrEi, 14}},
       {{Section::He, {kHe撓上}}, {Section::ReactionModulus, {k反力係数}}, {Section::HorizontalEarth, {k水平土圧2}},
        {Section::WeightWaterHorizontal, {k自重水重}}, {Section::DesignLoad, {k設計荷重2}},
        {Section::TransverseDesign, {k横断方向設計2}}, {Section::AllowablePressure, {k許容内圧2}},
        {Section::DeflectionOrEi, {kたわみ率}}}},
      {"free flexible class 5, e' method 1", 5, 0, 0, 1.0, 2.0, 1, 5,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "基礎材の反力係数", "水平土圧", "活荷重",
        "施工時荷重", "活荷重水平荷重", "自重水重水平荷重", "設計荷重", "内水圧", "横断方向設計", "許容内圧",
        "EI値検討"},
       {{Section::DeflectionOrEi, 14}},
       {{Section::He, {kHe撓}}, {Section::ReactionModulus, {k反力係数2}},
        {Section::WeightWaterHorizontal, {k自重水重2}}, {Section::AllowablePressure, {k許容内圧}},
        {Section::DeflectionOrEi, {kEI値}}}},
      {"free flexible, e' method 4, sheet pile", 1, 0, 2, 1.0, 2.0, 4, 1,
       {"表紙", "設計条件", "浮上に対する検討", "鉛直土圧矢板施工", "基礎材の反力係数", "水平土圧", "活荷重", "施工時荷重",
        "活荷重水平荷重", "自重水重水平荷重", "設計荷重", "内水圧", "横断方向設計", "許容内圧", "たわみ率計算"},
       {{Section::VerticalEarthSheetPile, 3}, {Section::ReactionModulus, 4}, {Section::DeflectionOrEi, 13}},
       {{Section::VerticalEarthSheetPile, {k鉛直土圧矢板2}}, {Section::ReactionModulus, {k反力係数3}}}},
      {"free flexible, e' method 7: no e' section", 3, 0, 0, 1.0, 2.0, 7, 3,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "水平土圧", "活荷重", "施工時荷重",
        "活荷重水平荷重", "自重水重水平荷重", "設計荷重", "内水圧", "横断方向設計", "許容内圧", "たわみ率計算"},
       {{Section::ReactionModulus, 0}, {Section::HorizontalEarth, 5}, {Section::DeflectionOrEi, 13}},
       {}},
      {"pipe type missing from the table (class -1) on free support", -1, 0, 0, 1.0, 2.0, 2, -1,
       {"表紙", "設計条件", "浮上に対する検討", "Heの計算", "鉛直土圧", "基礎材の反力係数", "水平土圧", "活荷重",
        "施工時荷重", "活荷重水平荷重", "自重水重水平荷重", "設計荷重", "内水圧", "横断方向設計", "許容内圧",
        "たわみ率計算"},
       {{Section::ReactionModulus, 5}},
       {{Section::He, {kHe撓}}, {Section::ReactionModulus, {k反力係数}}, {Section::AllowablePressure, {k許容内圧2}}}},
  };
  return all;
}

class SheetPlanCase : public ::testing::TestWithParam<Case> {};

TEST_P(SheetPlanCase, ResultNumbersAndSheets) {
  const Case& c = GetParam();
  const SheetPlan plan = computeSheetPlan(factsOf(c));
  EXPECT_EQ(plan.resultNames(), c.sheets);
  for (const auto& [section, number] : c.numbers) {
    const PlannedSection* p = plan.find(section);
    if (number == 0) {
      EXPECT_EQ(p, nullptr) << sectionLabel(section);
    } else {
      ASSERT_NE(p, nullptr) << sectionLabel(section);
      EXPECT_EQ(p->number, number) << sectionLabel(section);
    }
  }
  for (const auto& [section, entries] : c.entries) {
    const PlannedSection* p = plan.find(section);
    ASSERT_NE(p, nullptr) << sectionLabel(section);
    EXPECT_EQ(p->entries, entries) << sectionLabel(section);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SheetPlanCase, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& i) { return "case" + std::to_string(i.index); });

// Properties every plan must have, over every combination the records can hold.
void expectSound(const PlanFacts& f, const std::string& what) {
  const SheetPlan plan = computeSheetPlan(f);
  SCOPED_TRACE(what);

  // Numbers run 1, 2, ... without gaps; the cover has none; never above 14.
  int expected = 0;
  for (const auto& s : plan.sections) {
    if (s.section == Section::Cover) {
      EXPECT_EQ(s.number, 0);
      continue;
    }
    EXPECT_EQ(s.number, ++expected);
  }
  EXPECT_LE(expected, 14);

  // Running the phase: each operation finds its sheet, a rename never meets its target name
  // on another sheet, and what stays is exactly what was written.
  std::vector<std::pair<int, std::string>> sheets;
  for (int e = 0; e < kTemplateSheetCount; ++e) sheets.emplace_back(e, sheetName(e));
  for (const SheetOp& op : plan.deletePhase) {
    auto it = std::find_if(sheets.begin(), sheets.end(), [&](auto& s) { return s.first == op.entry; });
    ASSERT_NE(it, sheets.end()) << "entry " << op.entry;
    EXPECT_EQ(it->second, sheetName(op.entry));
    if (op.kind == SheetOp::Kind::Delete) {
      sheets.erase(it);
    } else {
      for (const auto& s : sheets) EXPECT_NE(s.second, op.to()) << "rename onto a name in use";
      it->second = op.to();
    }
  }
  std::vector<int> kept;
  for (const auto& s : sheets) kept.push_back(s.first);
  EXPECT_EQ(kept, plan.writtenEntries());

  std::set<std::string> names;
  for (const auto& k : plan.result) EXPECT_TRUE(names.insert(k.name).second) << k.name;
  const std::set<std::string> allowed = {"表紙",     "設計条件", "浮上に対する検討", "活荷重",  "施工時荷重",
                                         "内水圧",   "Heの計算", "鉛直土圧",       "鉛直土圧矢板施工",
                                         "基礎材の反力係数", "水平土圧", "活荷重水平荷重", "自重水重水平荷重",
                                         "設計荷重", "横断方向設計", "許容内圧", "たわみ率計算", "EI値検討"};
  for (const auto& n : names) EXPECT_TRUE(allowed.count(n)) << n;
}

TEST(SheetPlan, EveryCombinationIsSound) {
  for (double cls : {0.0, 1.0, 2.0, 3.0, 5.0, -1.0})
    for (double support : {0.0, 1.0})
      for (double burial : {0.0, 1.0, 2.0, 3.0})
        for (double cover : {0.5, 1.0, 1.5})
          for (int method : {-1, 0, 1, 2, 3, 4, 5, 7})
            for (int resultClass : {static_cast<int>(cls), 0, 5}) {
              PlanFacts f;
              f.designClass = cls;
              f.support = support;
              f.burial = burial;
              f.cover = cover;
              f.he = 1.0;
              f.eMethod = method;
              f.resultClass = resultClass;
              expectSound(f, "class " + std::to_string(cls) + " support " + std::to_string(support) + " burial " +
                                 std::to_string(burial) + " cover " + std::to_string(cover) + " e' " +
                                 std::to_string(method) + " result class " + std::to_string(resultClass));
            }
}

TEST(SheetPlan, DeletePhaseOrderOfTheSimplestCase) {
  PlanFacts f;  // rigid, free support, trench, cover 0, He 0: not above
  const SheetPlan plan = computeSheetPlan(f);
  std::vector<int> deleted;
  for (const auto& op : plan.deletePhase) {
    EXPECT_EQ(op.kind, SheetOp::Kind::Delete);
    deleted.push_back(op.entry);
  }
  EXPECT_EQ(deleted, (std::vector<int>{15, 19, 20, 22, 25, 11, 12, 13, 18, 28, 29, 5, 6, 8, 10, 27, 9, 4}));
}

TEST(SheetPlan, VariantIsRenamedOnlyAfterItsBaseIsDeleted) {
  PlanFacts f;
  f.designClass = 5;
  f.resultClass = 5;
  f.cover = 2;
  f.he = 1;
  f.eMethod = 4;
  const SheetPlan plan = computeSheetPlan(f);
  using K = SheetOp::Kind;
  const std::vector<SheetOp> expected = {
      {K::Delete, 14, -1}, {K::Rename, 15, 14}, {K::Delete, 19, -1}, {K::Rename, 20, 19}, {K::Delete, 28, -1},
      {K::Delete, 21, -1}, {K::Rename, 22, 21}, {K::Delete, 24, -1}, {K::Rename, 25, 24}, {K::Delete, 11, -1},
      {K::Delete, 12, -1}, {K::Rename, 13, 11}, {K::Delete, 3, -1},  {K::Delete, 4, -1},  {K::Delete, 7, -1},
      {K::Delete, 9, -1},  {K::Delete, 10, -1}, {K::Rename, 8, 7},   {K::Delete, 5, -1},  {K::Rename, 6, 3},
      {K::Delete, 27, -1},
  };
  EXPECT_EQ(plan.deletePhase, expected);
}

TEST(SheetPlan, UnorderedCoverCountsAsNotAboveHe) {
  PlanFacts f;
  f.cover = 1.0;
  f.he = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(computeSheetPlan(f).find(Section::He)->entries, std::vector<int>{kHe剛});
}

TEST(SheetNameTable, OutOfRangeEntriesRaise) {
  EXPECT_THROW(sheetName(30), RuntimeError);
  EXPECT_THROW(sheetName(-1), RuntimeError);
}

}  // namespace
}  // namespace tovakin::report
