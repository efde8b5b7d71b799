#include "calc/reaction_modulus.h"

#include <cmath>

#include "platform/error_box.h"

namespace tovakin::calc {

double standardReactionModulus(double e0, double alphaA, double alphaB, double alphaW, bool rock) {
  if (rock) return checked(e0 * alphaB * alphaW);
  return checked(e0 * alphaA * alphaB * alphaW);
}

double deflectionReactionModulus(const MeasuredDeflection& m) {
  if (m.deltaX == 0.0 || m.r == 0.0) return 0.0;
  const double numerator = std::pow(m.r, 4) * (2.0 * m.f1 * m.k * m.wv) - m.e * m.i * m.deltaX;
  const double denominator = std::pow(m.r, 3) * 0.061 * m.deltaX;
  return vbDiv(checked(numerator), checked(denominator));
}

double trenchWidthFactor(double trenchWidthM, double standardWidthMm) {
  return checked(1.0 + 0.1 * (trenchWidthM * 1000.0 - standardWidthMm) / 1000.0);
}

double groundwaterFactor(double katameDo) { return checked((katameDo - 45.0) / 50.0); }

}  // namespace tovakin::calc
