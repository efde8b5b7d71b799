#include "report/report_slots.h"

#include "platform/cell_ref.h"
#include "report/sheets_check.h"
#include "report/sheets_design.h"
#include "report/sheets_earth.h"
#include "report/sheets_live.h"

#include <algorithm>
#include "report/layer.h"

namespace tovakin::report {

namespace {

using namespace entry;
using K = SlotKind;
using S = Section;

std::vector<Slot> buildSlots() {
  std::vector<Slot> slots = {
      // 表紙
      {k表紙, "E9", K::Title, S::Cover},
      {k表紙, "H19", K::Text, S::Cover},
      {k表紙, "H21", K::Text, S::Cover},
      // 設計条件: in the order the writer fills them
      {k設計条件, "C1", K::Title, S::DesignConditions},
      {k設計条件, "管種類", K::Text, S::DesignConditions},
      {k設計条件, "呼び径", K::Value, S::DesignConditions},
      {k設計条件, "管外径", K::Value, S::DesignConditions},
      {k設計条件, "管内径", K::Value, S::DesignConditions},
      {k設計条件, "管厚", K::Value, S::DesignConditions},
      {k設計条件, "管厚中心半径", K::Value, S::DesignConditions},
      {k設計条件, "T7", K::Value, S::DesignConditions},
      {k設計条件, "T8", K::Value, S::DesignConditions},
      {k設計条件, "管材単位体積重量", K::Value, S::DesignConditions},
      {k設計条件, "埋設形式", K::Text, S::DesignConditions},
      {k設計条件, "溝幅ラベル", K::Text, S::DesignConditions},
      {k設計条件, "管頂部溝幅", K::Value, S::DesignConditions},
      {k設計条件, "AC17", K::Text, S::DesignConditions},
      {k設計条件, "基礎形式", K::Text, S::DesignConditions},
      {k設計条件, "土かぶり", K::Value, S::DesignConditions},
      {k設計条件, "水の単位体積重量", K::Value, S::DesignConditions},
      {k設計条件, "土の単位体積重量", K::Value, S::DesignConditions},
      {k設計条件, "飽和土単位体積重量", K::Value, S::DesignConditions},
      {k設計条件, "内部摩擦角", K::Value, S::DesignConditions},
      {k設計条件, "設計支持角", K::Value, S::DesignConditions},
      {k設計条件, "沈下比", K::Value, S::DesignConditions},
      {k設計条件, "輪荷重規格", K::Text, S::DesignConditions},
      {k設計条件, "道路の状態", K::Text, S::DesignConditions},
      {k設計条件, "上載荷重条件", K::Text, S::DesignConditions},
      {k設計条件, "上載荷重", K::Value, S::DesignConditions},
      {k設計条件, "ブルドーザー規格", K::Text, S::DesignConditions},
      {k設計条件, "キャタピラ数", K::Value, S::DesignConditions},
      {k設計条件, "施工時衝撃係数", K::Value, S::DesignConditions},
      {k設計条件, "静水圧", K::Value, S::DesignConditions},
      {k設計条件, "水撃圧", K::Value, S::DesignConditions},
  };

  // Every numbered section opens with its title in C1 on each of its sheets; the live-load
  // section's second page (施工時荷重) has none. The writers of these sections add their
  // further slots here.
  const std::pair<int, Section> titled[] = {
      {k浮上, S::Flotation},
      {kHe剛, S::He},
      {kHe剛上, S::He},
      {kHe撓, S::He},
      {kHe撓上, S::He},
      {k鉛直土圧, S::VerticalEarth},
      {k鉛直土圧2, S::VerticalEarth},
      {k鉛直土圧矢板, S::VerticalEarthSheetPile},
      {k鉛直土圧矢板2, S::VerticalEarthSheetPile},
      {k反力係数, S::ReactionModulus},
      {k反力係数2, S::ReactionModulus},
      {k反力係数3, S::ReactionModulus},
      {k水平土圧, S::HorizontalEarth},
      {k水平土圧2, S::HorizontalEarth},
      {k活荷重, S::LiveLoad},
      {k活荷重水平荷重, S::LiveLoadHorizontal},
      {k自重水重, S::WeightWaterHorizontal},
      {k自重水重2, S::WeightWaterHorizontal},
      {k設計荷重, S::DesignLoad},
      {k設計荷重2, S::DesignLoad},
      {k内水圧, S::InternalPressure},
      {k横断方向設計, S::TransverseDesign},
      {k横断方向設計2, S::TransverseDesign},
      {k許容内圧, S::AllowablePressure},
      {k許容内圧2, S::AllowablePressure},
      {kたわみ率, S::DeflectionOrEi},
      {kEI値, S::DeflectionOrEi},
  };
  for (const auto& [e, s] : titled) {
    slots.push_back(Slot{e, "C1", K::Title, s});
    if (e == k内水圧) slots.push_back(Slot{e, "設計水圧", K::Value, s});
  }
  // The calculation sections' own cells, each group in its writers' order; grouped by sheet
  // afterwards, every sheet's title first.
  for (const std::vector<Slot>* group : {&earthSlots(), &liveSlots(), &designSlots(), &checkSlots()}) slots.insert(slots.end(), group->begin(), group->end());
  std::stable_sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) { return a.entry < b.entry; });
  return slots;
}

}  // namespace

const std::vector<Slot>& reportSlots() {
  static const std::vector<Slot> slots = buildSlots();
  return slots;
}

bool isCellReference(std::string_view a) {
  // "$" marks and lower-case letters as the workbook takes them; a row never starts with "0".
  constexpr xlsx::A1Form kSlotAddress{true, true, false};
  xlsx::CellRef ref;
  return xlsx::parseCellRef(a, ref, kSlotAddress);
}

std::vector<std::pair<int, std::string>> requiredDefinedNames() {
  std::vector<std::pair<int, std::string>> out;
  for (const Slot& s : reportSlots())
    if (!isCellReference(s.address)) out.emplace_back(s.entry, std::string(s.address));
  return out;
}

bool isSlot(int e, std::string_view address) {
  for (const Slot& s : reportSlots())
    if (s.entry == e && s.address == address) return true;
  return false;
}

}  // namespace tovakin::report
