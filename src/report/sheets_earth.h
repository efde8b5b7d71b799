#pragma once
// The earth sections of the report: flotation, the plane of equal settlement He, the vertical
// earth pressure (trench / projection and sheet pile) and the foundation-material reaction
// modulus e'. Each writer fills the sheet its planned section names.
#include <vector>

#include "report/layer.h"
#include "report/report_slots.h"
#include "report/section_writer.h"

namespace tovakin::report {

void writeFlotationSheet(SectionContext& ctx);                // 浮上に対する検討
void writeHeSheet(SectionContext& ctx);                       // Heの計算 … Heの計算4
void writeVerticalEarthSheet(SectionContext& ctx);            // 鉛直土圧, 鉛直土圧2
void writeVerticalEarthSheetPileSheet(SectionContext& ctx);   // 鉛直土圧矢板施工, 鉛直土圧矢板施工2
void writeReactionModulusSheet(SectionContext& ctx);          // 基礎材の反力係数 … 基礎材の反力係数3

// What the e' sheets show in place of a formula that the numbers beside it do not satisfy: the
// value there was entered (or computed for conditions that have changed since), not derived.
inline constexpr const char* kEnteredNote = "（入力値による）";

// Every cell these writers fill, sheet by sheet in writing order, besides the C1 titles the
// common slot table lists already.
const std::vector<Slot>& earthSlots();

}  // namespace tovakin::report
