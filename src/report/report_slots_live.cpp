// The cells of the side-pressure and live-load sheets, in the order their writers fill them.
// The C1 titles of 水平土圧, 水平土圧2, 活荷重 and 活荷重水平荷重 are in the common slot table.
#include <vector>

#include "report/layer.h"
#include "report/report_slots.h"
#include "report/sheet_plan.h"
#include "report/sheets_live.h"

namespace tovakin::report {

const std::vector<Slot>& liveSlots() {
  using namespace entry;
  using K = SlotKind;
  constexpr Section kEarth = Section::HorizontalEarth;
  constexpr Section kLive = Section::LiveLoad;
  constexpr Section kLiveSide = Section::LiveLoadHorizontal;
  static const std::vector<Slot> slots = {
      // 水平土圧
      {k水平土圧, "D5", K::Heading, kEarth},
      {k水平土圧, "D10", K::Heading, kEarth},
      {k水平土圧, "G7", K::Formula, kEarth},
      {k水平土圧, "G8", K::Value, kEarth},
      {k水平土圧, "G12", K::Formula, kEarth},
      {k水平土圧, "G13", K::Value, kEarth},
      // 水平土圧2
      {k水平土圧2, "D8", K::Heading, kEarth},
      {k水平土圧2, "D16", K::Heading, kEarth},
      {k水平土圧2, "G12", K::Value, kEarth},
      {k水平土圧2, "K12", K::Formula, kEarth},
      {k水平土圧2, "K13", K::Formula, kEarth},
      {k水平土圧2, "G14", K::Value, kEarth},
      {k水平土圧2, "K20", K::Value, kEarth},
      {k水平土圧2, "P20", K::Value, kEarth},
      {k水平土圧2, "G21", K::Value, kEarth},
      {k水平土圧2, "K21", K::Value, kEarth},
      {k水平土圧2, "G22", K::Value, kEarth},
      // 活荷重
      {k活荷重, "D3", K::Heading, kLive},
      {k活荷重, "E5", K::Heading, kLive},
      {k活荷重, "E35", K::Heading, kLive},
      {k活荷重, "L14", K::Text, kLive},
      {k活荷重, "L15", K::Value, kLive},
      {k活荷重, "L16", K::Value, kLive},
      {k活荷重, "L17", K::Value, kLive},
      {k活荷重, "L18", K::Value, kLive},
      {k活荷重, "L19", K::Value, kLive},
      // the first factor of the line load, right-aligned so that it joins L24
      {k活荷重, "H24", K::Value, kLive},
      {k活荷重, "H25", K::Formula, kLive},
      {k活荷重, "L24", K::Formula, kLive},
      {k活荷重, "H26", K::Value, kLive},
      {k活荷重, "H31", K::Formula, kLive},
      {k活荷重, "K30", K::Formula, kLive},
      {k活荷重, "H32", K::Formula, kLive},
      {k活荷重, "H33", K::Value, kLive},
      {k活荷重, "K36", K::Text, kLive},
      {k活荷重, "H37", K::Value, kLive},
      // 施工時荷重
      {k施工時荷重, "D1", K::Heading, kLive},
      {k施工時荷重, "R10", K::Value, kLive},
      {k施工時荷重, "R11", K::Value, kLive},
      {k施工時荷重, "R12", K::Value, kLive},
      {k施工時荷重, "R13", K::Value, kLive},
      {k施工時荷重, "R14", K::Value, kLive},
      {k施工時荷重, "R15", K::Value, kLive},
      {k施工時荷重, "G21", K::Formula, kLive},
      {k施工時荷重, "O21", K::Formula, kLive},
      {k施工時荷重, "O22", K::Formula, kLive},
      {k施工時荷重, "G23", K::Value, kLive},
      // 活荷重水平荷重
      {k活荷重水平荷重, "D6", K::Heading, kLiveSide},
      {k活荷重水平荷重, "D21", K::Heading, kLiveSide},
      {k活荷重水平荷重, "H8", K::Formula, kLiveSide},
      {k活荷重水平荷重, "H9", K::Value, kLiveSide},
      {k活荷重水平荷重, "H12", K::Value, kLiveSide},
      {k活荷重水平荷重, "L12", K::Formula, kLiveSide},
      {k活荷重水平荷重, "L13", K::Formula, kLiveSide},
      {k活荷重水平荷重, "H14", K::Value, kLiveSide},
      {k活荷重水平荷重, "L17", K::Value, kLiveSide},
      {k活荷重水平荷重, "Q17", K::Value, kLiveSide},
      {k活荷重水平荷重, "H18", K::Value, kLiveSide},
      {k活荷重水平荷重, "L18", K::Value, kLiveSide},
      {k活荷重水平荷重, "H19", K::Value, kLiveSide},
      {k活荷重水平荷重, "H24", K::Value, kLiveSide},
      {k活荷重水平荷重, "H27", K::Value, kLiveSide},
      {k活荷重水平荷重, "L27", K::Formula, kLiveSide},
      {k活荷重水平荷重, "L28", K::Formula, kLiveSide},
      {k活荷重水平荷重, "H29", K::Value, kLiveSide},
      {k活荷重水平荷重, "L32", K::Value, kLiveSide},
      {k活荷重水平荷重, "Q32", K::Value, kLiveSide},
      {k活荷重水平荷重, "H33", K::Value, kLiveSide},
      {k活荷重水平荷重, "L33", K::Value, kLiveSide},
      {k活荷重水平荷重, "H34", K::Value, kLiveSide},
  };
  return slots;
}

}  // namespace tovakin::report
