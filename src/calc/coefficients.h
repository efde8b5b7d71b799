#pragma once
// Constants of the calculation settings chosen by a design value. Each lookup takes the
// settings it reads; the forms without them read g_calcSettings at the moment of the call, so
// an edit in the options dialog applies to the next calculation.
#include "app/calc_settings.h"
#include "calc/layer.h"

namespace tovakin::calc {

// Support-angle coefficient: row 0 K, 1 Ko, 2 Kp for the design support angle (degrees,
// exactly 0, 30, 60, 90, 120, 180 or 360; any other angle gives 0). A row outside 0 to 2 is
// taken as row 0 and the caller's variable is set to 0. Runs under the error box labelled
// "func設計支持角係数".
double func設計支持角係数(const CalcSettings& settings, double shijikaku, int& row);
// The same for a row given as a value.
double func設計支持角係数(const CalcSettings& settings, double shijikaku, int&& row);
// The same with g_calcSettings.
double func設計支持角係数(double shijikaku, int& row);
double func設計支持角係数(double shijikaku, int&& row);

// Rear-wheel load P (kN) of a truck class of app::truckClasses(); the "none" class gives 0 (the
// T-0 entry is never returned) and a class the table lacks raises (9). A plain lookup without
// the error box.
double rearWheelLoad(const CalcSettings& settings, double truckClass);

// The same under the error box labelled "func後輪荷重".
double func後輪荷重(const CalcSettings& settings, double kajuJoken);
// The same with g_calcSettings.
double func後輪荷重(double kajuJoken);

}  // namespace tovakin::calc
