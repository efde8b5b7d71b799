#include "calc/reaction_modulus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/number_format.h"
#include "platform/error_box.h"

namespace tovakin::calc {
namespace {

TEST(ReactionModulus, StandardFormulaLeavesOutTheTrenchWidthOnRock) {
  EXPECT_EQ(formatPattern(standardReactionModulus(5000, 1.06, 0.90, 1.00, false), "0.00"), "4770.00");
  // on rock the trench width corrects nothing, whatever αa holds
  for (double alphaA : {1.06, 0.0, 7.5})
    EXPECT_EQ(formatPattern(standardReactionModulus(5000, alphaA, 0.90, 1.00, true), "0.00"), "4500.00") << alphaA;
}

TEST(ReactionModulus, BackCalculationFromAMeasuredDeflection) {
  struct Row {
    MeasuredDeflection m;
    const char* expected;
  };
  for (const Row& row : {Row{{0.010, 1.0, 0.096, 30.0, 0.300, 0.0, 0.0}, "2832.79"},
                         Row{{0.010, 1.0, 0.096, 30.0, 0.300, 1000.0, 0.002}, "1618.46"},
                         // a 10 mm PVC wall, I = t³/12 per metre: the E·I term takes off 40 %
                         Row{{0.005, 1.0, 0.096, 30.0, 0.155, 3.33e6, 1e-6 / 12}, "1705.59"},
                         Row{{0.0, 1.0, 0.096, 30.0, 0.300, 0.0, 0.0}, "0.00"},
                         Row{{0.010, 1.0, 0.096, 30.0, 0.0, 0.0, 0.0}, "0.00"}})
    EXPECT_EQ(formatPattern(deflectionReactionModulus(row.m), "0.00"), row.expected) << row.expected;
}

TEST(ReactionModulus, TrenchWidthAndGroundwaterFactors) {
  // B 1.2 m against BS 800 mm: 1 + 0.1 × 400 / 1000, not 1 + 400 / 1000
  EXPECT_EQ(formatPattern(trenchWidthFactor(1.2, 800), "0.00"), "1.04");
  EXPECT_EQ(formatPattern(trenchWidthFactor(0.6, 800), "0.00"), "0.98");
  EXPECT_EQ(formatPattern(groundwaterFactor(90), "0.00"), "0.90");
  EXPECT_NEAR(groundwaterFactor(kLowestCompactionDegree), 0.0, 1e-12);
}

TEST(ReactionModulus, AnAlphaAFollowsOnlyFromTheTrenchWidthItWasComputedFor) {
  struct Row {
    double b, bs, alphaA;
    bool follows;
  };
  for (const Row& row : {Row{1.2, 800, 1.04, true},      // the button's value
                         Row{1.2, 800, 1.0449, true},    // the same at two decimals
                         Row{0.9, 0, 1.05, false},       // typed: the formula gives 1.09
                         Row{1.5, 800, 1.02, false},     // computed for B 1.0, the trench widened since
                         Row{0.8, 800, 1.02, false},     // … or narrowed: a too-large αa
                         Row{0.0, 0.0, 1.00, true},
                         Row{1e306, 0, 1.0, false}})     // B × 1000 beyond any number
    EXPECT_EQ(trenchWidthFactorFollows(row.b, row.bs, row.alphaA), row.follows) << row.b << " " << row.alphaA;
}

TEST(ReactionModulus, TheSmallBoreValueHoldsUpTo300) {
  for (const char* size : {"300", "75", " 250 ", "", "100以下", "ＶＵ"}) EXPECT_FALSE(beyondSmallBore(size)) << size;
  for (const char* size : {"350", "400", "４００", "1000"}) EXPECT_TRUE(beyondSmallBore(size)) << size;
}

TEST(ReactionModulus, ANonFiniteResultRaisesOverflow) {
  const double huge = std::numeric_limits<double>::max();
  try {
    standardReactionModulus(huge, huge, 1, 1, false);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::kOverflow);
  }
  EXPECT_THROW(deflectionReactionModulus({1e-300, 1, 1, 1, 1e200, 0, 0}), RuntimeError);
}

// The report evaluates the printed back-calculation with the fraction: where the calculation
// raises, the fraction is merely no number, and the report says the value was entered.
TEST(ReactionModulus, TheFractionOfTheBackCalculationNeverRaises) {
  struct Row {
    MeasuredDeflection m;
    bool finite;
  };
  for (const Row& row : {Row{{0.010, 1.0, 0.096, 30.0, 0.300, 1000.0, 0.002}, true},
                         Row{{1e-300, 1, 1, 1, 1e200, 0, 0}, false},  // R⁴ beyond any number
                         Row{{1e300, 1, 1, 1, 1e10, 1e10, 1}, false}}) {
    DeflectionFraction f;
    EXPECT_NO_THROW(f = deflectionFraction(row.m.deltaX, row.m.f1, row.m.k, row.m.wv, row.m.r, row.m.e * row.m.i));
    const bool finite = std::isfinite(f.numerator) && std::isfinite(f.denominator);
    EXPECT_EQ(finite, row.finite) << row.m.r;
    if (finite) {
      EXPECT_EQ(deflectionReactionModulus(row.m), f.numerator / f.denominator);
    } else {
      EXPECT_THROW(deflectionReactionModulus(row.m), RuntimeError) << row.m.r;
    }
  }
}

// The limits that guard the dialog must let every derived value through: αw of the highest
// compaction degree is no slip, nor is choosing a fixed method.
TEST(ReactionModulus, TheGuardsLetEveryDerivedValueThrough) {
  EXPECT_EQ(groundwaterFactor(kLowestCompactionDegree), 0.0);
  EXPECT_LE(groundwaterFactor(kHighestCompactionDegree), kLargestOrdinaryCorrectionFactor);
  EXPECT_GT(groundwaterFactor(kHighestCompactionDegree), 1.0);
  EXPECT_GE(kLargestNamedReactionModulus, kSoilCementReactionModulus);
  EXPECT_GE(kLargestNamedReactionModulus, kSmallBoreReactionModulus);
}

}  // namespace
}  // namespace tovakin::calc
