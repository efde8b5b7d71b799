#pragma once
// The closing checks of the report: the allowable internal pressure (許容内圧 / 許容内圧2), and
// for a flexible pipe on free support the deflection ratio (たわみ率計算) or, for pipe class 5,
// the required EI (EI値検討).
#include <vector>

#include "report/layer.h"
#include "report/report_slots.h"

namespace tovakin::report {

class SectionContext;

// 許容内圧検討: the variant the plan chose (許容内圧 for result classes 0 and 5, else 許容内圧2).
void writeAllowablePressureSheet(SectionContext& ctx);

// The last section: たわみ率計算 or EI値検討, whichever sheet the plan gave the section.
void writeDeflectionOrEiSheet(SectionContext& ctx);
void writeDeflectionRatioSheet(SectionContext& ctx);  // たわみ率計算
void writeEiCheckSheet(SectionContext& ctx);          // EI値検討

// Every cell these writers fill besides the titles in C1, which the base table lists.
const std::vector<Slot>& checkSlots();

}  // namespace tovakin::report
