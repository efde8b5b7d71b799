// The cells of the weight-and-water, design-load and transverse-design sheets, in the order
// their writers fill them. The titles in C1 and 内水圧's defined name 設計水圧 are in the base
// table, which lists them for every sheet.
#include "report/layer.h"
#include "report/sheets_design.h"

namespace tovakin::report {

namespace {

using namespace entry;
using K = SlotKind;
using S = Section;

std::vector<Slot> buildDesignSlots() {
  std::vector<Slot> slots;
  auto add = [&](int e, Section s, std::initializer_list<std::pair<std::string_view, SlotKind>> cells) {
    for (const auto& [address, kind] : cells) slots.push_back(Slot{e, address, kind, s});
  };

  // 自重水重水平荷重: the self-weight block first, then (after the title) the water block.
  const std::initializer_list<std::pair<std::string_view, SlotKind>> selfWeight = {
      {"H5", K::Value},    {"H7", K::Formula}, {"H8", K::Value},  {"H11", K::Value},
      {"L11", K::Formula}, {"L12", K::Formula}, {"H13", K::Value}, {"L16", K::Value},
      {"Q16", K::Value},   {"H17", K::Value},  {"L17", K::Value}, {"H18", K::Value},
  };
  const std::initializer_list<std::pair<std::string_view, SlotKind>> water = {
      {"D4", K::Heading},  {"D20", K::Heading}, {"H21", K::Value},  {"H22", K::Value},
      {"H25", K::Value},   {"L25", K::Formula}, {"L26", K::Formula}, {"H27", K::Value},
      {"L30", K::Value},   {"Q30", K::Value},   {"H31", K::Value},   {"L31", K::Value},
      {"H32", K::Value},
  };
  add(k自重水重, S::WeightWaterHorizontal, selfWeight);
  add(k自重水重, S::WeightWaterHorizontal, water);
  add(k自重水重2, S::WeightWaterHorizontal, water);

  add(k設計荷重, S::DesignLoad,
      {{"E5", K::Heading}, {"E10", K::Heading}, {"G7", K::Formula}, {"G8", K::Value}, {"G12", K::Formula},
       {"G13", K::Value}});
  add(k設計荷重2, S::DesignLoad,
      {{"E5", K::Heading}, {"E15", K::Heading}, {"G7", K::Formula}, {"G8", K::Value}, {"G17", K::Formula},
       {"G18", K::Value}, {"G10", K::Formula}, {"G11", K::Value}, {"G20", K::Formula}, {"G21", K::Value}});

  const std::initializer_list<std::pair<std::string_view, SlotKind>> transverse = {
      {"D14", K::Heading}, {"D28", K::Heading}, {"P4", K::Text},     {"P5", K::Value},     {"P6", K::Value},
      {"P7", K::Value},    {"P8", K::Value},    {"P9", K::Value},    {"P12", K::Value},    {"P10", K::Value},
      {"P11", K::Value},   {"F16", K::Formula}, {"P16", K::Formula}, {"F18", K::Formula},  {"P18", K::Formula},
      {"F20", K::Formula}, {"P20", K::Formula}, {"F22", K::Formula}, {"P22", K::Formula},  {"H25", K::Formula},
      {"H26", K::Value},   {"F30", K::Formula}, {"P30", K::Formula}, {"F34", K::Formula},  {"P34", K::Formula},
      {"F36", K::Formula}, {"P36", K::Formula}, {"H39", K::Formula}, {"H40", K::Value},
  };
  add(k横断方向設計, S::TransverseDesign, transverse);
  add(k横断方向設計2, S::TransverseDesign, transverse);
  return slots;
}

}  // namespace

const std::vector<Slot>& designSlots() {
  static const std::vector<Slot> slots = buildDesignSlots();
  return slots;
}

}  // namespace tovakin::report
