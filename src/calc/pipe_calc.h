#pragma once
// The transverse structural calculation of one buried pipe: pipe and material data,
// flotation, earth pressures, live loads, design loads, deflections and side reactions,
// bending moments, allowable internal pressure, and the deflection ratio or the required EI.
#include "app/calc_settings.h"
#include "app/design_data.h"
#include "calc/calc_result.h"
#include "calc/layer.h"

namespace tovakin::calc {

// Fills `result` from `design`, `settings` and the pipe-material lookups; no other
// calculation constants are read. Only the members of the branches the case takes are
// written; the others keep their earlier values. Of the design record it rounds the two wall
// thicknesses (kanatu, kanatuKeisan) to five decimals in place. A failing statement shows the
// error box labelled "funcPipeCalc": Retry repeats it, Ignore leaves its member as it was and
// goes on. Returns true when every statement completed (a statement that succeeded on Retry
// counts as completed), false when any was passed by Ignore or a pipe-material lookup failed:
// the result then mixes this case with whatever the record held before, and must not be
// reported. With a pipe database that cannot answer at all (pipeDataUnavailable) nothing is
// calculated: one box says why, and the result is false.
bool funcPipeCalc(DesignData& design, CalcResult& result, const CalcSettings& settings);

// The same with g_calcSettings, the working copy the program calculates with.
bool funcPipeCalc(DesignData& design, CalcResult& result);

}  // namespace tovakin::calc
