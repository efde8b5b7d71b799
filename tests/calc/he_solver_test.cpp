#include "calc/he_solver.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/error_box.h"
#include "support/scripted_error_box.h"

namespace tovakin::calc {
namespace {

constexpr double kPi = 3.14159265358979;

struct Soil {
  double K, mu;
};
// K and μ as the calculation derives them from φ in degrees.
Soil soil(double phiDeg) {
  const double p = phiDeg * kPi / 180.0;
  return {(1.0 - std::sin(p)) / (1.0 + std::sin(p)), std::tan(p)};
}

constexpr double kNoRoot = -1.0;

// Smallest positive roots computed independently to 40 digits for the same double inputs,
// then rounded to double. kNoRoot: the equation has no root, He is the cover depth.
struct Reference {
  double H, D, delta, phi;
  std::int32_t kubun;
  double he;
};
const Reference kReferences[] = {
    {2.0, 0.7, 0.7, 30.0, 0, 1.0452690666534155},   {1.2, 1.0, 0.7, 30.0, 0, kNoRoot},
    {5.0, 0.5, 0.7, 30.0, 0, 0.6303015940070427},   {10.0, 1.0, 1.0, 20.0, 0, 1.519943835198033},
    {3.0, 0.8, -0.1, 30.0, 1, 0.5516816314955261},  {2.0, 1.0, -0.1, 30.0, 1, 0.7455654866639362},
    {6.0, 0.3, -0.3, 40.0, 2, 0.3744181166862126},  {1.5, 1.0, -0.05, 15.0, 5, 0.5639761479139206},
    {20.0, 0.2, 2.0, 45.0, 0, 0.3736246327445298},  {0.6, 1.2, 0.7, 10.0, 0, kNoRoot},
    {100.0, 0.25, -1.0, 10.0, 1, 0.7294136147787732}, {3.5, 1.65, 0.5, 35.0, 0, 2.3849044227407035},
};

TEST(HeSolver, MatchesHighPrecisionRootsToTheLastBits) {
  for (const auto& c : kReferences) {
    const Soil so = soil(c.phi);
    const double he = solveHe(c.H, c.D, c.delta, so.K, so.mu, c.kubun);
    SCOPED_TRACE(::testing::Message() << "H=" << c.H << " D=" << c.D << " delta=" << c.delta << " phi=" << c.phi
                                    << " class=" << c.kubun);
    if (c.he == kNoRoot) {
      EXPECT_EQ(he, c.H);
    } else {
      EXPECT_NEAR(he, c.he, 4.0 * DBL_EPSILON * c.he);
    }
  }
}

DesignData design(double H, double D, double delta) {
  DesignData d;
  d.dokaburi = H;
  d.gaikei = D;
  d.chinkahi = delta;
  return d;
}

CalcResult result(double phiDeg, std::int32_t kubun) {
  CalcResult r;
  const Soil so = soil(phiDeg);
  r.kanzaiKubun = kubun;
  r.mu = so.mu;
  r.muDash = so.mu;
  r.doatuKeisu = so.K;
  return r;
}

// Rigid pipe, H = 2.0, D = 0.7, φ = 30°, δ = 0.7: both 1.0453 and 2.6217 satisfy the equation
// to five decimals; the plane of equal settlement is the lower one, below the surface.
TEST(HeSolver, TakesThePlaneBelowTheSurfaceNotTheRootAboveIt) {
  testing::ScriptedErrorBox box;
  const DesignData d = design(2.0, 0.7, 0.7);
  const CalcResult r = result(30.0, 0);
  const double he = funcHe(d, r);
  EXPECT_NEAR(he, 1.0453, 5e-5);
  EXPECT_LT(he, d.dokaburi);

  double residual = -1.0;
  double lower = he;
  funcHeKenzan(lower, d, r, residual);
  EXPECT_EQ(residual, 0.0);
  double upper = 2.6216977785651054;
  residual = -1.0;
  funcHeKenzan(upper, d, r, residual);
  EXPECT_EQ(residual, 0.0);
  EXPECT_TRUE(box.shown.empty());
}

// |F − δ·r| for the literal formula, and the size of its terms (its rounding scale).
struct Literal {
  double gap, scale;
};
Literal literal(double u, double r, double delta, double g) {
  const double s = delta / 3.0;
  const double e = std::exp(g * u);
  const double t[] = {(e - 1.0) / g * (1.0 / g + (r - u) + s), u * u / 2.0, s * (r - u) * e, -u / g, -r * u, -delta * r};
  Literal out{0.0, 0.0};
  for (double v : t) {
    out.gap += v;
    out.scale += std::fabs(v);
  }
  return out;
}

// The grid of the design range. For every case an independent dense scan of F − δ·r over
// (0, 709/|g|] must agree: He is a root that nothing below it precedes, or the scan finds no
// root at all and He is the cover depth.
TEST(HeSolver, GridOfCoverRatiosFrictionAnglesSettlementRatiosAndPipeKinds) {
  const double ratios[] = {0.3, 0.5, 1.0, 2.0, 3.0, 5.0, 10.0, 20.0, 50.0, 100.0};
  const double phis[] = {10.0, 15.0, 20.0, 25.0, 30.0, 35.0, 40.0, 45.0};
  const double deltas[] = {-1.0, -0.5, -0.1, -0.01, 0.01, 0.1, 0.3, 0.5, 0.7, 1.0, 1.5, 2.0};
  const std::int32_t kinds[] = {0, 1};
  const double D = 0.8;
  constexpr int kSamples = 3000;

  int roots = 0, rootless = 0, secondRootAboveH = 0;
  double worstGap = 0.0;
  for (double ratio : ratios)
    for (double phi : phis)
      for (double delta : deltas)
        for (std::int32_t kind : kinds) {
          const Soil so = soil(phi);
          const double H = ratio * D;
          const double r = H / D;
          const double g = heExponent(so.K, so.mu, kind);
          const double uMax = 709.0 / std::fabs(g);
          const double he = solveHe(H, D, delta, so.K, so.mu, kind);
          SCOPED_TRACE(::testing::Message() << "H/D=" << ratio << " phi=" << phi << " delta=" << delta
                                          << " class=" << kind << " He=" << he);
          const int sign0 = delta > 0.0 ? -1 : 1;  // F(0) − δ·r = −2δr/3

          // The first two sign changes the scan sees (the sample just past each).
          std::vector<double> crossings;
          for (int k = 1; k <= kSamples && crossings.size() < 2; ++k) {
            const double t = static_cast<double>(k) / kSamples;
            const double u = uMax * t * t * t;
            const int sg = heEquationGap(u, r, delta, g).value > 0.0 ? 1 : -1;
            const int want = crossings.size() % 2 == 0 ? sign0 : -sign0;
            if (sg != want) crossings.push_back(u);
          }

          const double u = he / D;
          const HeGap at = heEquationGap(u, r, delta, g);
          // What moving u by one rounding changes: near roots far above the pipe the slope
          // is so steep that no double satisfies the equation better than this.
          const double slope = (r - u) * (std::expm1(g * u) + delta / 3.0 * g * std::exp(g * u));
          const double ulpEffect = 2.0 * DBL_EPSILON * u * std::fabs(slope);
          const bool isRoot = std::fabs(at.value) <= 16.0 * DBL_EPSILON * at.scale + ulpEffect;
          if (!isRoot) {
            ++rootless;
            EXPECT_EQ(he, H);
            EXPECT_TRUE(crossings.empty()) << "missed a root below " << crossings.front() * D;
            continue;
          }
          ++roots;
          worstGap = std::max(worstGap, std::fabs(at.value) / (at.scale + ulpEffect / DBL_EPSILON));
          if (!crossings.empty()) {
            EXPECT_LE(u, crossings.front());
          }
          if (crossings.size() == 2 && crossings[1] > r) ++secondRootAboveH;

          // The check of the result: zero to five decimals, up to the rounding of the literal
          // formula and of u.
          const Literal lit = literal(u, r, delta, g);
          const double literalNoise = 64.0 * DBL_EPSILON * lit.scale + ulpEffect;
          const double residual = heResidual(he, H, D, delta, so.K, so.mu, kind);
          EXPECT_LE(residual, 1.0000001e-5 + literalNoise);
          EXPECT_LE(std::fabs(lit.gap), literalNoise + 1e-12);

          // One sign on (0, He), sampled densely, geometrically near 0.
          for (int k = 1; k < 400; ++k) {
            const double v = u * k / 400.0;
            const HeGap e = heEquationGap(v, r, delta, g);
            ASSERT_TRUE(e.value * sign0 > 0.0 || std::fabs(e.value) <= 64.0 * DBL_EPSILON * e.scale) << "u=" << v;
          }
          for (int j = 1; j <= 40; ++j) {
            const double v = std::ldexp(u, -j);
            ASSERT_GT(heEquationGap(v, r, delta, g).value * sign0, 0.0) << "u=" << v;
          }
          // Above the cover depth only when nothing solves the equation below it.
          if (he >= H) {
            EXPECT_GT(heEquationGap(r, r, delta, g).value * sign0, 0.0);
          }
        }
  EXPECT_LT(worstGap, 4.0 * DBL_EPSILON);
  // The grid exercises every branch: roots, no roots, and the spurious second root above H.
  EXPECT_GT(roots, 500);
  EXPECT_GT(rootless, 100);
  EXPECT_GT(secondRootAboveH, 100);
}

// As the settlement ratio of a rigid pipe rises to its critical value the plane of equal
// settlement rises to the surface (a double root at He = H); above it the equation has no
// root and He stays at H, so the projection formulas meet without a jump.
TEST(HeSolver, RisesToTheSurfaceAtTheCriticalSettlementRatioAndStaysThere) {
  const Soil so = soil(30.0);
  const double H = 1.4, D = 0.7;
  const double critical = 0.6318958467092793;
  double before = 0.0;
  for (double f : {0.5, 0.9, 0.99, 0.9999, 0.999999}) {
    const double he = solveHe(H, D, critical * f, so.K, so.mu, 0);
    EXPECT_GT(he, before) << f;
    EXPECT_LT(he, H) << f;
    before = he;
  }
  EXPECT_GT(before, H * 0.995);
  EXPECT_EQ(solveHe(H, D, critical, so.K, so.mu, 0), H);
  EXPECT_EQ(solveHe(H, D, critical * 1.001, so.K, so.mu, 0), H);
  EXPECT_EQ(solveHe(H, D, 0.7, so.K, so.mu, 0), H);

  // Projection coefficient on both sides of the critical ratio.
  const double a = 2.0 * so.K * so.mu;
  const double he = solveHe(H, D, critical * (1.0 - 1e-9), so.K, so.mu, 0);
  const double incomplete = (std::exp(a * he / D) - 1.0) / a + ((H - he) / D) * std::exp(a * he / D);
  const double complete = (std::exp(a * H / D) - 1.0) / a;
  EXPECT_NEAR(incomplete, complete, 1e-5);
}

struct Degenerate {
  const char* what;
  double H, D, delta, K, mu;
  std::int32_t kubun;
  double he;
};

TEST(HeSolver, DegenerateInputs) {
  const Soil so = soil(30.0);
  const Degenerate cases[] = {
      {"no settlement difference: u = 0 solves it", 2.0, 0.7, 0.0, so.K, so.mu, 0, 0.0},
      {"no settlement difference, flexible", 2.0, 0.7, 0.0, so.K, so.mu, 1, 0.0},
      {"no cover", 0.0, 0.7, 0.7, so.K, so.mu, 0, 0.0},
      {"no friction: F - dr = -2dr/3 everywhere", 2.0, 0.7, 0.7, so.K, 0.0, 0, 2.0},
      {"no earth pressure coefficient", 2.0, 0.7, -0.1, 0.0, so.mu, 1, 2.0},
      {"friction so small the root would lie beyond e^709", 2.0, 0.7, 0.7, so.K, 1e-300, 0, 2.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(solveHe(c.H, c.D, c.delta, c.K, c.mu, c.kubun), c.he) << c.what;
  }
  // A tiny settlement ratio gives a tiny plane, continuous with 0 at δ = 0.
  const double tiny = solveHe(2.0, 0.7, 1e-12, so.K, so.mu, 0);
  EXPECT_GT(tiny, 0.0);
  EXPECT_LT(tiny, 1e-5);
  EXPECT_LT(std::fabs(heEquationGap(tiny / 0.7, 2.0 / 0.7, 1e-12, heExponent(so.K, so.mu, 0)).value), 1e-25);
}

TEST(HeSolver, FaultsRaiseTheRuntimeErrors) {
  const Soil so = soil(30.0);
  auto number = [](auto&& f) {
    try {
      f();
    } catch (const RuntimeError& e) {
      return e.number();
    }
    return 0;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(number([&] { solveHe(2.0, 0.0, 0.7, so.K, so.mu, 0); }), err::kDivisionByZero);
  EXPECT_EQ(number([&] { solveHe(0.0, 0.0, 0.7, so.K, so.mu, 0); }), err::kOverflow);
  EXPECT_EQ(number([&] { solveHe(2.0, 0.7, nan, so.K, so.mu, 0); }), err::kOverflow);
  EXPECT_EQ(number([&] { solveHe(2.0, 0.7, 0.7, nan, so.mu, 1); }), err::kOverflow);
  EXPECT_EQ(number([&] { heResidual(1.0, 2.0, 0.7, 0.7, so.K, 0.0, 0); }), err::kOverflow);  // (e^0 − 1)/0
  EXPECT_EQ(number([&] { heResidual(1.0, 2.0, 0.0, 0.7, so.K, so.mu, 1); }), err::kDivisionByZero);
  EXPECT_EQ(number([&] { heResidual(5000.0, 2.0, 0.7, 0.7, so.K, so.mu, 0); }), err::kOverflow);  // e^2749
}

TEST(HeSolver, ProcedureErrorsGoThroughTheErrorBox) {
  testing::ScriptedErrorBox box;
  box.answer(ErrorAnswer::Retry);
  box.answer(ErrorAnswer::Ignore);
  EXPECT_EQ(funcHe(design(2.0, 0.0, 0.7), result(30.0, 0)), 0.0);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0], box.shown[1]);
  EXPECT_NE(box.shown[0].find("(11)"), std::string::npos);
  EXPECT_NE(box.shown[0].find(" in funcHe"), std::string::npos);

  box.shown.clear();
  CalcResult noFriction = result(30.0, 0);
  noFriction.mu = 0.0;
  double he = 1.0;
  double residual = 42.0;
  funcHeKenzan(he, design(2.0, 0.7, 0.7), noFriction, residual);
  EXPECT_EQ(residual, 42.0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].find(" in funcHeKenzan"), std::string::npos);
}

// The check rounds each side to five decimals before comparing: at He = 0 the left side is
// s·r (0.466666… → 0.46667) in both forms, against δ·r = 1.4.
TEST(HeSolver, ResidualComparesBothSidesRoundedToFiveDecimals) {
  testing::ScriptedErrorBox box;
  for (std::int32_t kubun : {0, 1, 5, -1}) {
    double he = 0.0;
    double residual = -1.0;
    funcHeKenzan(he, design(2.0, 1.0, 0.7), result(30.0, kubun), residual);
    EXPECT_NEAR(residual, 1.4 - 0.46667, 1e-12) << kubun;
  }
  EXPECT_TRUE(box.shown.empty());
}

}  // namespace
}  // namespace tovakin::calc
