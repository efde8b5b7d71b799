#pragma once
// The load and moment sections of the report: horizontal loads from the pipe's own weight and
// the water in it, the design loads, the design internal pressure and the transverse design
// (bending moments), with the cells and defined names they fill.
#include <vector>

#include "report/layer.h"
#include "report/report_slots.h"
#include "report/section_writer.h"

namespace tovakin::report {

void writeWeightWaterHorizontalSheet(SectionContext& ctx);  // 自重水重水平荷重 / 自重水重水平荷重2
void writeDesignLoadSheet(SectionContext& ctx);             // 設計荷重 / 設計荷重2
void writeInternalPressureSheet(SectionContext& ctx);       // 内水圧
void writeTransverseDesignSheet(SectionContext& ctx);       // 横断方向設計 / 横断方向設計2

// Every (sheet, address) those writers fill, in the order they fill them, sheet by sheet,
// besides the titles in C1 and 設計水圧, which the base table lists.
const std::vector<Slot>& designSlots();

}  // namespace tovakin::report
