#pragma once
// The foundation-material reaction modulus e' (kN/m²) and its correction factors: the standard
// formula, the back-calculation from a measured deflection, the trench-width factor αa and the
// groundwater factor αw. The reaction-modulus dialog computes with these, and the report prints
// the same formulas as text beside the stored values, so both must stay one formula each.
//
// Every product is formed left to right as written. A result that is not finite raises
// overflow (6).
#include <optional>
#include <string_view>

#include "app/reaction_modulus_constants.h"
#include "calc/layer.h"

namespace tovakin::calc {

// The methods, the fixed values and the limits of e' are the application's
// (app/reaction_modulus_constants.h); these are its formulas.

// e' = e'0 × αa × αb × αw; on rock ground the trench width corrects nothing: e'0 × αb × αw.
double standardReactionModulus(double e0, double alphaA, double alphaB, double alphaW, bool rock);

// What the back-calculation reads: the measured increase of deflection ΔX (m), the deformation
// lag factor F1, the support-angle coefficient K, the vertical load Wv (kN/m²), the radius to
// the wall centre R (m), Young's modulus E (kN/m²) and the moment of inertia I (m⁴/m).
struct MeasuredDeflection {
  double deltaX = 0.0;
  double f1 = 0.0;
  double k = 0.0;
  double wv = 0.0;
  double r = 0.0;
  double e = 0.0;
  double i = 0.0;
};
// e' = (R⁴ × (2 × F1 × K × Wv) − E × I × ΔX) / (R³ × 0.061 × ΔX); 0 when ΔX or R is 0.
double deflectionReactionModulus(const MeasuredDeflection& m);

// The numerator and the denominator of that fraction, from the product E × I, as they are:
// nothing raises. The report evaluates the fraction it prints with these (E·I is printed as one
// number) and prints it only where it gives the adopted e'.
struct DeflectionFraction {
  double numerator = 0.0;
  double denominator = 0.0;
};
DeflectionFraction deflectionFraction(double deltaX, double f1, double k, double wv, double r, double ei);

// αa = 1 + 0.1 × (B × 1000 − BS) / 1000, the trench width B in metres, the standard width BS in
// millimetres: the formula the report prints as "1＋0.1×（B-BS）／1000".
double trenchWidthFactor(double trenchWidthM, double standardWidthMm);

// αw = (Pr − kLowestCompactionDegree) / kGroundwaterFactorDivisor, Pr the compaction degree in %.
double groundwaterFactor(double katameDo);

// 埋設形式 突出型: the pipe is laid without a trench.
inline constexpr double kProjectingBurial = 1.0;
// True for a case without a trench, whose αa follows from no trench width and is entered
// directly: a projecting burial, or a trench width of 0 (or none that is a number).
bool withoutTrench(double maisetuKeishiki, double trenchWidthM);

// True when the nominal size text names a bore above kSmallBoreLargestSize, where the small-bore
// e' does not hold; a text without a number is not.
bool beyondSmallBore(std::string_view yobikei);

// True when αa, at the two decimals it is shown and stored with, is the factor the trench width
// B (m) and the standard width BS (mm) give: the factor was derived from them and is still
// current. A typed αa, or one computed for another trench width, is not.
bool trenchWidthFactorFollows(double trenchWidthM, double standardWidthMm, double alphaA);

}  // namespace tovakin::calc
