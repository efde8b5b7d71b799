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

#include "calc/layer.h"

namespace tovakin::calc {

// The fixed e' of two of the dialog's methods, as their captions and the report state them.
inline constexpr double kSoilCementReactionModulus = 7000.0;  // soil-cement bedding
inline constexpr double kSmallBoreReactionModulus = 3000.0;   // bores of 300 mm or less

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

// αa = 1 + 0.1 × (B × 1000 − BS) / 1000, the trench width B in metres, the standard width BS in
// millimetres: the formula the report prints as "1＋0.1×（B-BS）／1000".
double trenchWidthFactor(double trenchWidthM, double standardWidthMm);

// αw = (Pr − 45) / 50, Pr the compaction degree in %.
double groundwaterFactor(double katameDo);
// Below this compaction degree αw, and with it e', would be negative.
inline constexpr double kLowestCompactionDegree = 45.0;
// Pr is a degree of compaction in %: above 100 it is a slip of the keyboard, not a measurement.
inline constexpr double kHighestCompactionDegree = 100.0;

// The largest e' any method names (soil-cement bedding). Every slip that enlarges e' turns a
// failing flexible pipe into a passing one, so a larger e' is adopted only once confirmed.
inline constexpr double kLargestNamedReactionModulus = kSoilCementReactionModulus;

// No derivation of the correction factors αa, αb and αw reaches this value (αw is 1.10 at Pr 100):
// a factor above it is a missed decimal point (9.0 for 0.90) until the engineer confirms it.
inline constexpr double kLargestOrdinaryCorrectionFactor = 1.50;

// 埋設形式 突出型: the pipe is laid without a trench.
inline constexpr double kProjectingBurial = 1.0;
// True for a case without a trench, whose αa follows from no trench width and is entered
// directly: a projecting burial, or a trench width of 0 (or none that is a number).
bool withoutTrench(double maisetuKeishiki, double trenchWidthM);

// The e' of 3000 holds for bores up to this nominal size (mm) only.
inline constexpr double kSmallBoreLargestSize = 300.0;
// True when the nominal size text names a bore above that size; a text without a number is not.
bool beyondSmallBore(std::string_view yobikei);

// True when αa, at the two decimals it is shown and stored with, is the factor the trench width
// B (m) and the standard width BS (mm) give: the factor was derived from them and is still
// current. A typed αa, or one computed for another trench width, is not.
bool trenchWidthFactorFollows(double trenchWidthM, double standardWidthMm, double alphaA);

}  // namespace tovakin::calc
