#include "report/sheet_plan.h"

#include <algorithm>

#include "app/design_data.h"
#include "calc/calc_result.h"
#include "platform/error_box.h"

namespace tovakin::report {

const std::array<std::string_view, kTemplateSheetCount>& sheetNameTable() {
  static const std::array<std::string_view, kTemplateSheetCount> table = {
      "表紙",           "設計条件",         "浮上に対する検討", "Heの計算",         "Heの計算2",
      "Heの計算3",      "Heの計算4",        "鉛直土圧",         "鉛直土圧2",        "鉛直土圧矢板施工",
      "鉛直土圧矢板施工2", "基礎材の反力係数", "基礎材の反力係数2", "基礎材の反力係数3", "水平土圧",
      "水平土圧2",      "活荷重",           "施工時荷重",       "活荷重水平荷重",   "自重水重水平荷重",
      "自重水重水平荷重2", "設計荷重",        "設計荷重2",        "内水圧",           "横断方向設計",
      "横断方向設計2",  "許容内圧",         "許容内圧2",        "たわみ率計算",     "EI値検討",
  };
  return table;
}

std::string sheetName(int entry) {
  if (entry < 0 || entry >= kTemplateSheetCount) raiseError(err::kOutOfRange);
  return std::string(sheetNameTable()[static_cast<std::size_t>(entry)]);
}

std::string_view sectionLabel(Section s) {
  switch (s) {
    case Section::Cover: return "表紙";
    case Section::DesignConditions: return "設計条件";
    case Section::Flotation: return "浮上に対する検討";
    case Section::He: return "Heの計算";
    case Section::VerticalEarth: return "鉛直土圧";
    case Section::VerticalEarthSheetPile: return "鉛直土圧矢板施工";
    case Section::ReactionModulus: return "基礎材の反力係数";
    case Section::HorizontalEarth: return "水平土圧";
    case Section::LiveLoad: return "活荷重";
    case Section::LiveLoadHorizontal: return "活荷重水平荷重";
    case Section::WeightWaterHorizontal: return "自重水重水平荷重";
    case Section::DesignLoad: return "設計荷重";
    case Section::InternalPressure: return "内水圧";
    case Section::TransverseDesign: return "横断方向設計";
    case Section::AllowablePressure: return "許容内圧";
    case Section::DeflectionOrEi: return "たわみ率計算・EI値検討";
  }
  return "";
}

PlanFacts PlanFacts::of(const DesignData& d, const CalcResult& r) {
  PlanFacts f;
  f.designClass = d.kanzaiKubun;
  f.support = d.kisoKeishiki;
  f.burial = d.maisetuKeishiki;
  f.cover = d.dokaburi;
  f.eMethod = d.hanryokuKeisuHoho;
  f.resultClass = r.kanzaiKubun;
  f.he = r.he;
  return f;
}

const PlannedSection* SheetPlan::find(Section s) const {
  for (const auto& p : sections)
    if (p.section == s) return &p;
  return nullptr;
}

std::vector<int> SheetPlan::writtenEntries() const {
  std::vector<int> out;
  for (const auto& p : sections) out.insert(out.end(), p.entries.begin(), p.entries.end());
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> SheetPlan::resultNames() const {
  std::vector<std::string> out;
  for (const auto& k : result) out.push_back(k.name);
  return out;
}

namespace {

using namespace entry;

// The entry of the e' sheet for a method, or -1 for a method that has none.
int reactionModulusEntry(std::int32_t method) {
  switch (method) {
    case 0:
    case 2:
    case 3: return k反力係数;
    case 1: return k反力係数2;
    case 4: return k反力係数3;
    default: return -1;
  }
}

}  // namespace

SheetPlan computeSheetPlan(const PlanFacts& f) {
  SheetPlan plan;
  plan.facts = f;
  const bool ff = f.freeFlexible();
  const bool rigid = f.rigid();
  const bool above = f.aboveHe();

  // Sections, numbered in report order without gaps.
  int number = 0;
  auto add = [&](Section s, std::vector<int> entries) {
    plan.sections.push_back(PlannedSection{s, s == Section::Cover ? 0 : ++number, std::move(entries)});
  };
  add(Section::Cover, {k表紙});
  add(Section::DesignConditions, {k設計条件});
  add(Section::Flotation, {k浮上});
  if (f.trenchOrProjection()) {
    add(Section::He, {rigid ? (above ? kHe剛上 : kHe剛) : (above ? kHe撓上 : kHe撓)});
    add(Section::VerticalEarth, {rigid ? k鉛直土圧 : k鉛直土圧2});
  } else {
    add(Section::VerticalEarthSheetPile, {rigid ? k鉛直土圧矢板 : k鉛直土圧矢板2});
  }
  const int eEntry = reactionModulusEntry(f.eMethod);
  if (ff && eEntry >= 0) add(Section::ReactionModulus, {eEntry});
  add(Section::HorizontalEarth, {ff ? k水平土圧2 : k水平土圧});
  add(Section::LiveLoad, {k活荷重, k施工時荷重});
  const int weightEntry = f.resultClass == 5 ? k自重水重2 : k自重水重;
  const int deflectionEntry = f.designClass != 5 ? kたわみ率 : kEI値;
  if (ff) {
    add(Section::LiveLoadHorizontal, {k活荷重水平荷重});
    add(Section::WeightWaterHorizontal, {weightEntry});
  }
  add(Section::DesignLoad, {ff ? k設計荷重2 : k設計荷重});
  add(Section::InternalPressure, {k内水圧});
  add(Section::TransverseDesign, {ff ? k横断方向設計2 : k横断方向設計});
  add(Section::AllowablePressure, {(f.resultClass == 0 || f.resultClass == 5) ? k許容内圧 : k許容内圧2});
  if (ff) add(Section::DeflectionOrEi, {deflectionEntry});

  // Delete phase. A variant that takes a base name always finds that name freed just before.
  auto del = [&](std::initializer_list<int> entries) {
    for (int e : entries) plan.deletePhase.push_back(SheetOp{SheetOp::Kind::Delete, e, -1});
  };
  auto ren = [&](int e, int as) { plan.deletePhase.push_back(SheetOp{SheetOp::Kind::Rename, e, as}); };

  // A. Support group.
  if (ff) {
    del({k水平土圧});
    ren(k水平土圧2, k水平土圧);
    // The variant kept is the one the weight section wrote, and the deflection / EI sheet
    // not written goes, so the phase follows the writers even if the two records' classes differ.
    if (weightEntry == k自重水重2) {
      del({k自重水重});
      ren(k自重水重2, k自重水重);
    } else {
      del({k自重水重2});
    }
    del({deflectionEntry == kEI値 ? kたわみ率 : kEI値});
    del({k設計荷重});
    ren(k設計荷重2, k設計荷重);
    del({k横断方向設計});
    ren(k横断方向設計2, k横断方向設計);
    switch (eEntry) {
      case k反力係数: del({k反力係数2, k反力係数3}); break;
      case k反力係数2:
        del({k反力係数, k反力係数3});
        ren(k反力係数2, k反力係数);
        break;
      case k反力係数3:
        del({k反力係数, k反力係数2});
        ren(k反力係数3, k反力係数);
        break;
      default: del({k反力係数, k反力係数2, k反力係数3}); break;  // no e' section written
    }
  } else {
    del({k水平土圧2, k自重水重, k自重水重2, k設計荷重2, k横断方向設計2, k反力係数, k反力係数2, k反力係数3,
         k活荷重水平荷重, kたわみ率, kEI値});
  }

  // B. Pipe-class group.
  if (rigid) {
    del({kHe撓, kHe撓上, k鉛直土圧2, k鉛直土圧矢板2, k許容内圧2});
    if (f.trenchOrProjection()) {
      del({k鉛直土圧矢板});
      if (above) {
        del({kHe剛});
        ren(kHe剛上, kHe剛);
      } else {
        del({kHe剛上});
      }
    } else {
      del({kHe剛, kHe剛上, k鉛直土圧});
    }
  } else {
    del({kHe剛, kHe剛上, k鉛直土圧, k鉛直土圧矢板});
    if (f.trenchOrProjection()) {
      del({k鉛直土圧矢板2});
      ren(k鉛直土圧2, k鉛直土圧);
      if (above) {
        del({kHe撓});
        ren(kHe撓上, kHe剛);
      } else {
        del({kHe撓上});
        ren(kHe撓, kHe剛);
      }
    } else {
      del({k鉛直土圧2, kHe撓, kHe撓上});
      ren(k鉛直土圧矢板2, k鉛直土圧矢板);
    }
    if (f.resultClass == 5) {
      del({k許容内圧2});
    } else {
      del({k許容内圧});
      ren(k許容内圧2, k許容内圧);
    }
  }

  // The finished report: the template's sheets after the phase, in template order.
  std::vector<KeptSheet> sheets;
  for (int e = 0; e < kTemplateSheetCount; ++e) sheets.push_back(KeptSheet{e, sheetName(e)});
  for (const SheetOp& op : plan.deletePhase) {
    auto it = std::find_if(sheets.begin(), sheets.end(), [&](const KeptSheet& k) { return k.entry == op.entry; });
    if (it == sheets.end()) continue;
    if (op.kind == SheetOp::Kind::Delete)
      sheets.erase(it);
    else
      it->name = sheetName(op.asEntry);
  }
  plan.result = std::move(sheets);
  return plan;
}

}  // namespace tovakin::report
