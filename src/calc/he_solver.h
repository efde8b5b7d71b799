#pragma once
// Height He of the plane of equal settlement above the pipe top (Marston theory).
//
// In u = He/D, r = H/D, s = δ/3 and g = +2Kμ for a rigid pipe (class 0), −2Kμ for every
// other class, the plane of equal settlement solves F(u) = δ·r with
//
//   F(u) = (e^(g·u) − 1)/g · (1/g + (r − u) + s) + u²/2 + s·(r − u)·e^(g·u) − u/g − r·u.
//
// F(0) = s·r and F′(u) = (r − u)·((1 + s·g)·e^(g·u) − 1), so F − δ·r is monotone between
// u = r (He = H) and u = −ln(1 + s·g)/g. The equation often has a second root above the cover
// depth that means nothing physically; He is the smallest positive root (see solveHe).
#include <cstdint>

#include "app/design_data.h"
#include "calc/calc_result.h"
#include "calc/layer.h"

namespace tovakin::calc {

// The exponent g of the equation: +2Kμ for class 0, −2Kμ otherwise. Raises overflow (6) for a
// value that is not finite.
double heExponent(double K, double mu, std::int32_t kanzaiKubun);

// F(u) − δ·r at u = He/D, evaluated in a form free of the cancellation of the formula above
// (it stays exact as g → 0, where F → s·r), and the size of the terms it is made of, against
// which its rounding error is to be judged.
struct HeGap {
  double value = 0.0;
  double scale = 0.0;
};
HeGap heEquationGap(double u, double r, double delta, double g);

// He (m, never negative) for cover depth H, outer diameter D, settlement ratio δ, earth-pressure
// coefficient K, μ = tan φ and the pipe class:
//  - D·u* for the smallest positive root u* of F(u) = δ·r with |g·u*| ≤ 709, to full double
//    precision; a root where F − δ·r only touches zero (a double root) counts as a root;
//  - H when the equation has no such root: the plane of equal settlement would lie above the
//    surface (the complete condition; at the limit the smaller root reaches H and the two
//    projection formulas agree there). This includes μ = 0 or K = 0, where F − δ·r ≡ −2δr/3;
//  - 0 when δ·r = 0: u = 0 itself solves the equation (no settlement difference).
// Raises division by zero (11) or overflow (6) for D = 0 and for inputs that are not finite.
double solveHe(double H, double D, double delta, double K, double mu, std::int32_t kanzaiKubun);

// The check of one candidate: both sides of the equation evaluated term by term (the flexible
// form with G = 2Kμ, both sides negated), each rounded to 5 decimals; the absolute difference.
// 0 when the candidate satisfies the equation to five decimals. Raises 11 or 6 for G = 0, D = 0
// or an exponent beyond the range of a double.
double heResidual(double he, double H, double D, double delta, double K, double mu, std::int32_t kanzaiKubun);

// The solver for one design case: reads dokaburi, gaikei, chinkahi and the result's doatuKeisu,
// mu and kanzaiKubun. A run-time error shows the error box labelled "funcHe"; Ignore gives 0.
double funcHe(const DesignData& d, const CalcResult& r);

// The residual of a candidate He for one design case, through `residual`. A run-time error
// shows the error box labelled "funcHeKenzan"; Ignore leaves `residual` as it was.
void funcHeKenzan(double& he, const DesignData& d, const CalcResult& r, double& residual);

}  // namespace tovakin::calc
