#pragma once
// Constants of the working calculation settings chosen by a design value. Both read
// g_calcSettings at the moment of the call, so an edit in the options dialog applies to the
// next calculation.
namespace tovakin {

// Support-angle coefficient: row 0 K, 1 Ko, 2 Kp for the design support angle (degrees,
// exactly 0, 30, 60, 90, 120, 180 or 360; any other angle gives 0). A row outside 0 to 2 is
// taken as row 0 and the caller's variable is set to 0.
double func設計支持角係数(double shijikaku, int& row);
// The same for a row given as a value.
double func設計支持角係数(double shijikaku, int&& row);

// Rear-wheel load P (kN) of a truck class (exactly 25, 20, 14 or 10); any other class, the
// "none" class 0 included, gives 0.
double func後輪荷重(double kajuJoken);

}  // namespace tovakin
