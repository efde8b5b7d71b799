#include "report/sheet_plan.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

#include "app/design_data.h"
#include "app/reaction_modulus_constants.h"
#include "calc/calc_result.h"
#include "platform/error_box.h"
#include "report/layer.h"

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

// The entry of the e' sheet for a method code, or -1 for a code no method has.
int reactionModulusEntry(std::int32_t code) {
  const std::optional<ReactionModulusMethod> method = reactionModulusMethodOf(code);
  if (!method) return -1;
  switch (*method) {
    case ReactionModulusMethod::Entered:
    case ReactionModulusMethod::SoilCement:
    case ReactionModulusMethod::SmallBore: return k反力係数;
    case ReactionModulusMethod::Formula: return k反力係数2;
    case ReactionModulusMethod::Deflection: return k反力係数3;
  }
  return -1;
}

// The self-weight and water sheet the weight section writes, by the class of the result record.
int weightEntry(const PlanFacts& f) { return f.resultClass == 5 ? k自重水重2 : k自重水重; }
// The deflection-ratio or EI sheet, by the class of the design record.
int deflectionEntry(const PlanFacts& f) { return f.designClass != 5 ? kたわみ率 : kEI値; }

// Fills a plan: sections numbered in report order without gaps, and the delete phase in the
// order its operations run.
class PlanBuilder {
 public:
  explicit PlanBuilder(SheetPlan& plan) : plan_(plan) {}

  void add(Section s, std::vector<int> entries) {
    plan_.sections.push_back(PlannedSection{s, s == Section::Cover ? 0 : ++number_, std::move(entries)});
  }
  void del(std::initializer_list<int> entries) {
    for (int e : entries) plan_.deletePhase.push_back(SheetOp{SheetOp::Kind::Delete, e, -1});
  }
  void ren(int e, int as) { plan_.deletePhase.push_back(SheetOp{SheetOp::Kind::Rename, e, as}); }

 private:
  SheetPlan& plan_;
  int number_ = 0;
};

// Cover, design conditions and flotation: every report has them.
void addOpeningSections(PlanBuilder& b) {
  b.add(Section::Cover, {k表紙});
  b.add(Section::DesignConditions, {k設計条件});
  b.add(Section::Flotation, {k浮上});
}

// He and vertical earth pressure (or the sheet-pile variant), e' and horizontal earth pressure.
void addEarthPressureSections(PlanBuilder& b, const PlanFacts& f) {
  const bool ff = f.freeFlexible();
  const bool rigid = f.rigid();
  const bool above = f.aboveHe();
  if (f.trenchOrProjection()) {
    b.add(Section::He, {rigid ? (above ? kHe剛上 : kHe剛) : (above ? kHe撓上 : kHe撓)});
    b.add(Section::VerticalEarth, {rigid ? k鉛直土圧 : k鉛直土圧2});
  } else {
    b.add(Section::VerticalEarthSheetPile, {rigid ? k鉛直土圧矢板 : k鉛直土圧矢板2});
  }
  const int eEntry = reactionModulusEntry(f.eMethod);
  if (ff && eEntry >= 0) b.add(Section::ReactionModulus, {eEntry});
  b.add(Section::HorizontalEarth, {ff ? k水平土圧2 : k水平土圧});
}

// Live loads, their horizontal loads and the design load.
void addLoadSections(PlanBuilder& b, const PlanFacts& f) {
  const bool ff = f.freeFlexible();
  b.add(Section::LiveLoad, {k活荷重, k施工時荷重});
  if (ff) {
    b.add(Section::LiveLoadHorizontal, {k活荷重水平荷重});
    b.add(Section::WeightWaterHorizontal, {weightEntry(f)});
  }
  b.add(Section::DesignLoad, {ff ? k設計荷重2 : k設計荷重});
}

// Internal pressure, transverse design, allowable pressure and the deflection ratio or EI.
void addCheckSections(PlanBuilder& b, const PlanFacts& f) {
  const bool ff = f.freeFlexible();
  b.add(Section::InternalPressure, {k内水圧});
  b.add(Section::TransverseDesign, {ff ? k横断方向設計2 : k横断方向設計});
  b.add(Section::AllowablePressure, {(f.resultClass == 0 || f.resultClass == 5) ? k許容内圧 : k許容内圧2});
  if (ff) b.add(Section::DeflectionOrEi, {deflectionEntry(f)});
}

// Delete phase A, the support group. A variant that takes a base name always finds that name
// freed just before.
void deleteSupportGroup(PlanBuilder& b, const PlanFacts& f) {
  if (f.freeFlexible()) {
    b.del({k水平土圧});
    b.ren(k水平土圧2, k水平土圧);
    // The variant kept is the one the weight section wrote, and the deflection / EI sheet
    // not written goes, so the phase follows the writers even if the two records' classes differ.
    if (weightEntry(f) == k自重水重2) {
      b.del({k自重水重});
      b.ren(k自重水重2, k自重水重);
    } else {
      b.del({k自重水重2});
    }
    b.del({deflectionEntry(f) == kEI値 ? kたわみ率 : kEI値});
    b.del({k設計荷重});
    b.ren(k設計荷重2, k設計荷重);
    b.del({k横断方向設計});
    b.ren(k横断方向設計2, k横断方向設計);
    switch (reactionModulusEntry(f.eMethod)) {
      case k反力係数: b.del({k反力係数2, k反力係数3}); break;
      case k反力係数2:
        b.del({k反力係数, k反力係数3});
        b.ren(k反力係数2, k反力係数);
        break;
      case k反力係数3:
        b.del({k反力係数, k反力係数2});
        b.ren(k反力係数3, k反力係数);
        break;
      default: b.del({k反力係数, k反力係数2, k反力係数3}); break;  // no e' section written
    }
  } else {
    b.del({k水平土圧2, k自重水重, k自重水重2, k設計荷重2, k横断方向設計2, k反力係数, k反力係数2, k反力係数3,
           k活荷重水平荷重, kたわみ率, kEI値});
  }
}

// Delete phase B, the pipe-class group.
void deletePipeClassGroup(PlanBuilder& b, const PlanFacts& f) {
  const bool above = f.aboveHe();
  if (f.rigid()) {
    b.del({kHe撓, kHe撓上, k鉛直土圧2, k鉛直土圧矢板2, k許容内圧2});
    if (f.trenchOrProjection()) {
      b.del({k鉛直土圧矢板});
      if (above) {
        b.del({kHe剛});
        b.ren(kHe剛上, kHe剛);
      } else {
        b.del({kHe剛上});
      }
    } else {
      b.del({kHe剛, kHe剛上, k鉛直土圧});
    }
  } else {
    b.del({kHe剛, kHe剛上, k鉛直土圧, k鉛直土圧矢板});
    if (f.trenchOrProjection()) {
      b.del({k鉛直土圧矢板2});
      b.ren(k鉛直土圧2, k鉛直土圧);
      if (above) {
        b.del({kHe撓});
        b.ren(kHe撓上, kHe剛);
      } else {
        b.del({kHe撓上});
        b.ren(kHe撓, kHe剛);
      }
    } else {
      b.del({k鉛直土圧2, kHe撓, kHe撓上});
      b.ren(k鉛直土圧矢板2, k鉛直土圧矢板);
    }
    if (f.resultClass == 5) {
      b.del({k許容内圧2});
    } else {
      b.del({k許容内圧});
      b.ren(k許容内圧2, k許容内圧);
    }
  }
}

// The finished report: the template's sheets after the phase, in template order.
std::vector<KeptSheet> finishedSheets(const std::vector<SheetOp>& deletePhase) {
  std::vector<KeptSheet> sheets;
  for (int e = 0; e < kTemplateSheetCount; ++e) sheets.push_back(KeptSheet{e, sheetName(e)});
  for (const SheetOp& op : deletePhase) {
    auto it = std::find_if(sheets.begin(), sheets.end(), [&](const KeptSheet& k) { return k.entry == op.entry; });
    if (it == sheets.end()) continue;
    if (op.kind == SheetOp::Kind::Delete)
      sheets.erase(it);
    else
      it->name = sheetName(op.asEntry);
  }
  return sheets;
}

}  // namespace

SheetPlan computeSheetPlan(const PlanFacts& f) {
  SheetPlan plan;
  plan.facts = f;
  PlanBuilder b(plan);
  addOpeningSections(b);
  addEarthPressureSections(b, f);
  addLoadSections(b, f);
  addCheckSections(b, f);
  deleteSupportGroup(b, f);
  deletePipeClassGroup(b, f);
  plan.result = finishedSheets(plan.deletePhase);
  return plan;
}

}  // namespace tovakin::report
