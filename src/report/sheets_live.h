#pragma once
// The report sections on the side pressures and live loads: the horizontal earth pressure
// (水平土圧, or 水平土圧2 for a flexible pipe on free support), the live loads of the service and
// construction cases (活荷重 and its second page 施工時荷重), and the horizontal loads the live
// loads cause on a flexible pipe on free support (活荷重水平荷重).
#include <vector>

#include "report/layer.h"
#include "report/report_slots.h"
#include "report/section_writer.h"

namespace tovakin::report {

void writeHorizontalEarthSheet(SectionContext& ctx);    // 水平土圧 / 水平土圧2
void writeLiveLoadSheet(SectionContext& ctx);           // 活荷重 and 施工時荷重
void writeLiveLoadHorizontalSheet(SectionContext& ctx);  // 活荷重水平荷重

// The cells these writers fill, besides the C1 titles the common slot table lists already.
const std::vector<Slot>& liveSlots();

}  // namespace tovakin::report
