// The cells of the earth sections, sheet by sheet in the order their writers fill them; the
// section titles in C1 are in the common slot table.
#include "report/layer.h"
#include "report/sheets_earth.h"

namespace tovakin::report {

namespace {

using namespace entry;
using K = SlotKind;
using S = Section;

std::vector<Slot> buildEarthSlots() {
  std::vector<Slot> slots = {
      // 浮上に対する検討
      {k浮上, "G10", K::Formula, S::Flotation},
      {k浮上, "O10", K::Formula, S::Flotation},
      {k浮上, "O11", K::Formula, S::Flotation},
      {k浮上, "G12", K::Value, S::Flotation},
      {k浮上, "V12", K::Value, S::Flotation},  // the design cover, beside the required one
      {k浮上, "H23", K::Text, S::Flotation},
  };

  // The four He variants share their cells; the H > He variants add the incomplete term.
  for (int e : {kHe剛, kHe剛上, kHe撓, kHe撓上}) {
    if (e == kHe剛上 || e == kHe撓上) {
      slots.push_back({e, "W31", K::Value, S::He});
      slots.push_back({e, "AA31", K::Value, S::He});
      slots.push_back({e, "W32", K::Value, S::He});
      slots.push_back({e, "AA32", K::Value, S::He});
      slots.push_back({e, "G33", K::Formula, S::He});
    }
    slots.push_back({e, "G31", K::Formula, S::He});
    slots.push_back({e, "G32", K::Formula, S::He});
    slots.push_back({e, "D8", K::Heading, S::He});
    slots.push_back({e, "D18", K::Heading, S::He});
    slots.push_back({e, "G25", K::Value, S::He});
    slots.push_back({e, "G16", K::Value, S::He});
    slots.push_back({e, "G26", K::Value, S::He});
    slots.push_back({e, "G34", K::Value, S::He});
  }

  const Slot vertical[] = {
      // 鉛直土圧 (rigid)
      {k鉛直土圧, "D8", K::Heading, S::VerticalEarth},
      {k鉛直土圧, "D18", K::Heading, S::VerticalEarth},
      {k鉛直土圧, "D25", K::Heading, S::VerticalEarth},
      {k鉛直土圧, "G11", K::Formula, S::VerticalEarth},
      {k鉛直土圧, "G12", K::Formula, S::VerticalEarth},
      {k鉛直土圧, "G13", K::Value, S::VerticalEarth},
      {k鉛直土圧, "G15", K::Formula, S::VerticalEarth},
      {k鉛直土圧, "G16", K::Value, S::VerticalEarth},
      {k鉛直土圧, "E17", K::Text, S::VerticalEarth},  // in place of G11 to G16 for a projecting burial
      {k鉛直土圧, "G19", K::Value, S::VerticalEarth},
      {k鉛直土圧, "G21", K::Formula, S::VerticalEarth},
      {k鉛直土圧, "G22", K::Value, S::VerticalEarth},
      {k鉛直土圧, "G27", K::Value, S::VerticalEarth},
      {k鉛直土圧, "E26", K::Text, S::VerticalEarth},
      // 鉛直土圧2 (flexible)
      {k鉛直土圧2, "D11", K::Heading, S::VerticalEarth},
      {k鉛直土圧2, "D21", K::Heading, S::VerticalEarth},
      {k鉛直土圧2, "D27", K::Heading, S::VerticalEarth},
      {k鉛直土圧2, "D32", K::Heading, S::VerticalEarth},
      {k鉛直土圧2, "G14", K::Formula, S::VerticalEarth},
      {k鉛直土圧2, "G15", K::Formula, S::VerticalEarth},
      {k鉛直土圧2, "G16", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "G18", K::Formula, S::VerticalEarth},
      {k鉛直土圧2, "G19", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "E20", K::Text, S::VerticalEarth},  // in place of G14 to G19 for a projecting burial
      {k鉛直土圧2, "G22", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "G24", K::Formula, S::VerticalEarth},
      {k鉛直土圧2, "G25", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "G34", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "G29", K::Formula, S::VerticalEarth},
      {k鉛直土圧2, "G30", K::Value, S::VerticalEarth},
      {k鉛直土圧2, "E26", K::Text, S::VerticalEarth},  // projection sentences
      {k鉛直土圧2, "E33", K::Text, S::VerticalEarth},  // trench and shallow-cover sentences
      // 鉛直土圧矢板施工, 鉛直土圧矢板施工2
      {k鉛直土圧矢板, "G6", K::Formula, S::VerticalEarthSheetPile},
      {k鉛直土圧矢板, "G7", K::Value, S::VerticalEarthSheetPile},
      {k鉛直土圧矢板2, "G6", K::Formula, S::VerticalEarthSheetPile},
      {k鉛直土圧矢板2, "G7", K::Value, S::VerticalEarthSheetPile},
      // 基礎材の反力係数 (methods 0, 2, 3)
      {k反力係数, "G8", K::Value, S::ReactionModulus},
      {k反力係数, "D6", K::Text, S::ReactionModulus},
      // 基礎材の反力係数2 (standard formula)
      {k反力係数2, "D8", K::Heading, S::ReactionModulus},
      {k反力係数2, "D15", K::Heading, S::ReactionModulus},
      {k反力係数2, "D22", K::Heading, S::ReactionModulus},
      {k反力係数2, "D27", K::Heading, S::ReactionModulus},
      {k反力係数2, "D33", K::Heading, S::ReactionModulus},
      {k反力係数2, "G10", K::Value, S::ReactionModulus},
      {k反力係数2, "G19", K::Formula, S::ReactionModulus},
      {k反力係数2, "G20", K::Value, S::ReactionModulus},
      {k反力係数2, "G25", K::Value, S::ReactionModulus},
      {k反力係数2, "G28", K::Value, S::ReactionModulus},
      {k反力係数2, "G30", K::Formula, S::ReactionModulus},
      {k反力係数2, "G31", K::Value, S::ReactionModulus},
      {k反力係数2, "G36", K::Formula, S::ReactionModulus},
      {k反力係数2, "G37", K::Value, S::ReactionModulus},
      // 基礎材の反力係数3 (back-calculation)
      {k反力係数3, "G9", K::Formula, S::ReactionModulus},
      {k反力係数3, "G10", K::Formula, S::ReactionModulus},
      {k反力係数3, "G11", K::Value, S::ReactionModulus},
  };
  slots.insert(slots.end(), std::begin(vertical), std::end(vertical));
  return slots;
}

}  // namespace

const std::vector<Slot>& earthSlots() {
  static const std::vector<Slot> slots = buildEarthSlots();
  return slots;
}

}  // namespace tovakin::report
