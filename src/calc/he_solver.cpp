#include "calc/he_solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <limits>

#include "app/number_format.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {

// The equation is evaluated in extended precision: e^709 times powers of u stays in range
// (no inf − inf), and the root comes out correct to the last bit of a double.
using Real = long double;

// The largest |g·u| the solver looks at, as the original solver did (e^709 is near the top
// of the double range).
constexpr double kMaxExponent = 709.0;

// φ1 = (e^x − 1)/x, φ2 = (e^x − 1 − x)/x², φ3 = (e^x − 1 − x − x²/2)/x³, accurate also
// near x = 0 where the quotients cancel.
struct Phi {
  Real p1, p2, p3, em1;  // em1 = e^x − 1
};

// 1/(j+3)!, j = 0 … 21: the series of φ3; 22 terms leave less than 1e-22 for |x| < 1.
constexpr std::array<Real, 22> kPhi3Series = [] {
  std::array<Real, 22> c{};
  Real factorial = 6.0L;
  for (std::size_t j = 0; j < c.size(); ++j) {
    c[j] = 1.0L / factorial;
    factorial *= static_cast<Real>(j + 4);
  }
  return c;
}();

Phi phis(Real x) {
  Phi f{};
  if (std::fabs(x) < 1.0L) {
    Real sum = 0.0L;
    for (std::size_t j = kPhi3Series.size(); j-- > 0;) sum = sum * x + kPhi3Series[j];
    f.p3 = sum;
    f.p2 = 0.5L + x * f.p3;
    f.p1 = 1.0L + x * f.p2;
    f.em1 = x * f.p1;
  } else {
    f.em1 = std::expm1(x);
    f.p1 = f.em1 / x;
    f.p2 = (f.em1 - x) / (x * x);
    f.p3 = (f.em1 - x - x * x / 2.0L) / (x * x * x);
  }
  return f;
}

// h(u) = F(u) − δ·r = −2·s·r + g·u·[u·((r − u)·φ2 + u·φ3) + s·((r − u)·φ1 + u·φ2)] at x = g·u
// (s = δ/3), its derivative (r − u)·((1 + s·g)·e^x − 1) and the size of its terms.
struct Gap {
  Real h, dh, scale;
};

Gap gapAt(Real u, Real r, Real s, Real g) {
  const Real gu = g * u;
  const Phi f = phis(gu);
  const Real t1 = u * (r - u) * f.p2;
  const Real t2 = u * u * f.p3;
  const Real t3 = s * (r - u) * f.p1;
  const Real t4 = s * u * f.p2;
  Gap out{};
  out.h = -2.0L * s * r + gu * (t1 + t2 + t3 + t4);
  out.scale = std::fabs(2.0L * s * r) +
              std::fabs(gu) * (std::fabs(t1) + std::fabs(t2) + std::fabs(t3) + std::fabs(t4));
  out.dh = (r - u) * (f.em1 + s * g * (1.0L + f.em1));
  return out;
}

int signOf(Real v) { return (v > 0) - (v < 0); }

// A value within this of zero at a turning point of h is a zero that h touches without
// crossing: the equation's data are not known better than this.
bool touchesZero(const Gap& e) { return std::fabs(e.h) <= 8.0L * DBL_EPSILON * e.scale; }

// Splits of a bracket of non-negative doubles: halfway, and halfway in the binary
// representation (a geometric split, for brackets that span many binades, e.g. from 0).
double halfway(double lo, double hi) { return lo + (hi - lo) / 2.0; }
double halfwayInBinary(double lo, double hi) {
  const auto a = std::bit_cast<std::uint64_t>(lo);
  const auto b = std::bit_cast<std::uint64_t>(hi);
  return std::bit_cast<double>(a + (b - a) / 2);
}

// The root of h in (lo, hi), where h is monotone, h(lo) has the sign signLo and h(hi) the
// other one: Newton steps while they stay inside the bracket and at least halve the step
// before last, else a split, until h is 0 or the bracket is two neighbouring doubles. Two
// Newton steps in a row that shrink by less than a factor 4 (Newton creeping towards a root
// many binades away) also give way to a split; splits alternate between the two kinds, so
// the bracket closes within a few hundred passes whatever Newton does.
double refine(double lo, Real hLo, double hi, Real hHi, int signLo, Real r, Real s, Real g) {
  double x = halfway(lo, hi);
  double step = hi - lo;
  double stepBefore = step;
  int splits = 0;
  int slowSteps = 0;
  for (int pass = 0; pass < 1000; ++pass) {
    const Gap e = gapAt(x, r, s, g);
    if (e.h == 0) return x;
    if (signOf(e.h) == signLo) {
      lo = x;
      hLo = e.h;
    } else {
      hi = x;
      hHi = e.h;
    }
    if (std::nextafter(lo, hi) >= hi) break;

    double next = std::numeric_limits<double>::quiet_NaN();
    if (e.dh != 0) next = static_cast<double>(static_cast<Real>(x) - e.h / e.dh);
    if (next == x) next = std::nextafter(x, x == lo ? hi : lo);  // below one ulp: try the neighbour
    bool newtonOk = std::isfinite(next) && next > lo && next < hi && std::fabs(next - x) <= 0.5 * std::fabs(stepBefore);
    if (newtonOk) {
      slowSteps = std::fabs(next - x) > 0.25 * std::fabs(step) ? slowSteps + 1 : 0;
      newtonOk = slowSteps < 2;
    }
    if (!newtonOk) {
      next = (splits++ % 2 == 0) ? halfwayInBinary(lo, hi) : halfway(lo, hi);
      slowSteps = 0;
    }
    stepBefore = step;
    step = next - x;
    x = next;
  }
  return std::fabs(hHi) < std::fabs(hLo) ? hi : lo;
}

}  // namespace

double heExponent(double K, double mu, std::int32_t kanzaiKubun) {
  const double g = checked(2.0 * K * mu);
  return kanzaiKubun == 0 ? g : -g;
}

HeGap heEquationGap(double u, double r, double delta, double g) {
  const Gap e = gapAt(u, r, static_cast<Real>(delta) / 3.0L, g);
  return HeGap{static_cast<double>(e.h), static_cast<double>(e.scale)};
}

double solveHe(double H, double D, double delta, double K, double mu, std::int32_t kanzaiKubun) {
  const double r = vbDiv(H, D);
  checked(delta);  // a settlement ratio that is not a number raises overflow
  const Real s = static_cast<Real>(delta) / 3.0L;
  const double g = heExponent(K, mu, kanzaiKubun);

  const Gap atZero = gapAt(0.0L, r, s, g);  // exactly −2·s·r
  if (atZero.h == 0) return 0.0;
  const int sign0 = signOf(atZero.h);
  const double noRoot = H > 0.0 ? H : 0.0;
  if (g == 0.0) return noRoot;  // F ≡ s·r: the equation has no root at all

  // Turning points of h in (0, uMax), then uMax: h is monotone between neighbours.
  const double uMax = std::min(kMaxExponent / std::fabs(g), DBL_MAX);
  std::array<double, 3> ends{};
  std::size_t n = 0;
  if (r > 0.0 && r < uMax) ends[n++] = r;
  const Real sg = s * g;
  if (sg > -1.0L) {
    const double uTurn = static_cast<double>(-std::log1p(sg) / g);
    if (uTurn > 0.0 && uTurn < uMax && uTurn != r) ends[n++] = uTurn;
  }
  std::sort(ends.begin(), ends.begin() + static_cast<std::ptrdiff_t>(n));
  ends[n++] = uMax;

  double a = 0.0;
  Real hA = atZero.h;
  double u = -1.0;
  for (std::size_t i = 0; i < n && u < 0.0; ++i) {
    const double b = ends[i];
    const Gap e = gapAt(b, r, s, g);
    if (e.h == 0 || touchesZero(e)) {
      u = b;  // reached, or touched at a turning point (a double root)
    } else if (signOf(e.h) != sign0) {
      u = refine(a, hA, b, e.h, sign0, r, s, g);
    }
    a = b;
    hA = e.h;
  }
  if (u < 0.0) return noRoot;
  if (u == r) return H > 0.0 ? H : 0.0;  // the root is the cover depth itself
  const double he = checked(D * u);
  return he > 0.0 ? he : 0.0;
}

double heResidual(double he, double H, double D, double delta, double K, double mu, std::int32_t kanzaiKubun) {
  const double G = checked(2.0 * K * mu);
  const double u = vbDiv(he, D);
  const double r = vbDiv(H, D);
  const double s = checked(delta / 3.0);
  double left = 0.0;
  double right = 0.0;
  if (kanzaiKubun == 0) {
    const double e = checked(std::exp(G * u));
    left = vbDiv(e - 1.0, G) * (vbDiv(1.0, G) + (r - u) + s) + u * u / 2.0 + s * (r - u) * e - vbDiv(u, G) - r * u;
    right = delta * r;
  } else {
    const double e = checked(std::exp(-G * u));
    left = vbDiv(e - 1.0, -G) * (vbDiv(1.0, G) - (r - u) - s) - u * u / 2.0 - s * (r - u) * e - vbDiv(u, G) + r * u;
    right = -delta * r;
  }
  return std::fabs(roundTo(checked(left), 5) - roundTo(checked(right), 5));
}

double funcHe(const DesignData& d, const CalcResult& r) {
  double he = 0.0;
  guardStep("funcHe", [&] { he = solveHe(d.dokaburi, d.gaikei, d.chinkahi, r.doatuKeisu, r.mu, r.kanzaiKubun); });
  return he;
}

void funcHeKenzan(double& he, const DesignData& d, const CalcResult& r, double& residual) {
  guardStep("funcHeKenzan", [&] {
    residual = heResidual(he, d.dokaburi, d.gaikei, d.chinkahi, r.doatuKeisu, r.mu, r.kanzaiKubun);
  });
}

}  // namespace tovakin::calc
