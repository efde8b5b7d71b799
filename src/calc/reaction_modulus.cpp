#include "calc/reaction_modulus.h"

#include <cmath>

#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"

namespace tovakin::calc {

double standardReactionModulus(double e0, double alphaA, double alphaB, double alphaW, bool rock) {
  if (rock) return checked(e0 * alphaB * alphaW);
  return checked(e0 * alphaA * alphaB * alphaW);
}

double deflectionReactionModulus(const MeasuredDeflection& m) {
  if (m.deltaX == 0.0 || m.r == 0.0) return 0.0;
  const DeflectionFraction f = deflectionFraction(m.deltaX, m.f1, m.k, m.wv, m.r, m.e * m.i);
  return vbDiv(checked(f.numerator), checked(f.denominator));
}

DeflectionFraction deflectionFraction(double deltaX, double f1, double k, double wv, double r, double ei) {
  return {std::pow(r, 4) * (2.0 * f1 * k * wv) - ei * deltaX, std::pow(r, 3) * 0.061 * deltaX};
}

double trenchWidthFactor(double trenchWidthM, double standardWidthMm) {
  return checked(1.0 + 0.1 * (trenchWidthM * 1000.0 - standardWidthMm) / 1000.0);
}

double groundwaterFactor(double katameDo) {
  return checked((katameDo - kLowestCompactionDegree) / kGroundwaterFactorDivisor);
}

bool withoutTrench(double maisetuKeishiki, double trenchWidthM) {
  return maisetuKeishiki == kProjectingBurial || !(trenchWidthM > 0.0);
}

bool beyondSmallBore(std::string_view yobikei) {
  const LeadingNumber size = readLeadingNumber(toNarrow(myTrim(yobikei)));
  return !size.overflow && size.value > kSmallBoreLargestSize;
}

bool trenchWidthFactorFollows(double trenchWidthM, double standardWidthMm, double alphaA) {
  if (!std::isfinite(alphaA)) return false;
  try {
    return formatPattern(trenchWidthFactor(trenchWidthM, standardWidthMm), "0.00") == formatPattern(alphaA, "0.00");
  } catch (const RuntimeError&) {
    return false;  // widths beyond any number follow nothing
  }
}

}  // namespace tovakin::calc
