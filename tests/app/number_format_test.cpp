#include "app/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/error_box.h"
#include "support/row_name.h"

namespace tovakin::app {
namespace {

struct FixedCase {
  double value;
  int decimals;
  const char* expected;
};

class FormatFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTest, RoundsHalfAwayFromZeroOnFifteenDigits) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FormatFixedTest,
    ::testing::Values(
        // halves on the 15-digit decimal form, not on the binary value
        FixedCase{1.0005, 3, "1.001"}, FixedCase{-1.0005, 3, "-1.001"}, FixedCase{2.675, 2, "2.68"},
        FixedCase{1.005, 2, "1.01"}, FixedCase{0.125, 2, "0.13"}, FixedCase{0.5, 0, "1"},
        FixedCase{1.5, 0, "2"}, FixedCase{2.5, 0, "3"}, FixedCase{-2.5, 0, "-3"},
        FixedCase{0.1 + 0.2, 15, "0.300000000000000"},
        // just below a half stays down
        FixedCase{1.00049999, 3, "1.000"}, FixedCase{0.0049999, 2, "0.00"},
        // carries across digits and the point
        FixedCase{9.9995, 3, "10.000"}, FixedCase{99.95, 1, "100.0"}, FixedCase{0.95, 0, "1"},
        // zero, tiny values and no negative zero
        FixedCase{0.0, 2, "0.00"}, FixedCase{-0.0, 0, "0"}, FixedCase{-0.004, 2, "0.00"},
        FixedCase{1e-20, 3, "0.000"}, FixedCase{0.0005, 3, "0.001"},
        // patterns without decimals, large values beyond 15 digits
        FixedCase{123456.789, 0, "123457"}, FixedCase{1e20, 0, "100000000000000000000"},
        FixedCase{-3.0, 1, "-3.0"}, FixedCase{12.5, 2, "12.50"}, FixedCase{9.8, 5, "9.80000"}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, std::to_string(info.param.decimals) + " " + info.param.expected); });

TEST(FormatPattern, DecimalsFollowThePattern) {
  EXPECT_EQ(formatPattern(3.14159, "0"), "3");
  EXPECT_EQ(formatPattern(3.14159, "0.0"), "3.1");
  EXPECT_EQ(formatPattern(3.14159, "0.00"), "3.14");
  EXPECT_EQ(formatPattern(3.14159, "0.000"), "3.142");
  EXPECT_EQ(formatPattern(3.14159, "0.0000"), "3.1416");
  EXPECT_EQ(formatPattern(3.14159, "0.00000"), "3.14159");
}

TEST(RoundTo, GivesTheNumberOfTheText) {
  EXPECT_DOUBLE_EQ(roundTo(1.0005, 3), 1.001);
  EXPECT_DOUBLE_EQ(roundTo(-0.123456, 5), -0.12346);
  EXPECT_EQ(roundTo(0.7 * 3, 5), 2.1);
  EXPECT_EQ(std::signbit(roundTo(-0.000001, 3)), false);
}

TEST(FormatFixed, NonFiniteRaisesOverflow) {
  for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    try {
      formatFixed(v, 2);
      FAIL() << "no error for " << v;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::kOverflow);
    }
  }
}

TEST(FormatGeneral, ShortestFormWithFifteenDigits) {
  EXPECT_EQ(formatGeneral(18), "18");
  EXPECT_EQ(formatGeneral(9.8), "9.8");
  EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(formatGeneral(-2.75), "-2.75");
  EXPECT_EQ(formatGeneral(0.0001), "0.0001");
  EXPECT_EQ(formatGeneral(0.00001), "1E-05");
  EXPECT_EQ(formatGeneral(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatGeneral(1e15), "1E+15");
  EXPECT_EQ(formatGeneral(0.0), "0");
  double back = 0;
  ASSERT_TRUE(parseDecimal(formatGeneral(1.0 / 3.0), back));
  EXPECT_EQ(formatGeneral(back), formatGeneral(1.0 / 3.0));
}

TEST(ParseDecimal, PointWhateverTheLocaleAndWholeTextOnly) {
  double v = 0;
  EXPECT_TRUE(parseDecimal("12.5", v));
  EXPECT_EQ(v, 12.5);
  EXPECT_TRUE(parseDecimal("+3", v));
  EXPECT_EQ(v, 3);
  EXPECT_FALSE(parseDecimal("12,5", v));
  EXPECT_FALSE(parseDecimal("", v));
  EXPECT_FALSE(parseDecimal("abc", v));
}

}  // namespace
}  // namespace tovakin::app
