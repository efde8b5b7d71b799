#include "platform/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tovakin::platform {
namespace {

TEST(OleDate, KnownValues) {
  struct Case {
    LocalDateTime t;
    double ole;
  } cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 31, 0, 0, 0}, 1.0},
      {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{1900, 3, 1, 0, 0, 0}, 61.0},
      {{2000, 1, 1, 12, 0, 0}, 36526.5},
      {{2009, 3, 31, 18, 0, 0}, 39903.75},
      {{1899, 12, 29, 6, 0, 0}, -1.25},  // the fraction counts forward from that day's midnight
      {{1899, 12, 28, 18, 0, 0}, -2.75},
      {{1800, 1, 1, 0, 0, 0}, -36522.0},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
      {{100, 1, 1, 0, 0, 0}, -657434.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(toOleDate(c.t), c.ole) << c.ole;
    EXPECT_EQ(fromOleDate(c.ole), c.t) << c.ole;
  }
}

TEST(OleDate, RoundTripsEverySecondPattern) {
  for (int year : {1601, 1899, 1900, 1970, 2000, 2024, 2100}) {
    for (int month : {1, 2, 12}) {
      for (int sec : {0, 1, 59 * 60 + 59, 12 * 3600 + 34 * 60 + 56, 23 * 3600 + 59 * 60 + 59}) {
        LocalDateTime t{year, month, month == 2 ? 28 : 31, sec / 3600, sec / 60 % 60, sec % 60};
        EXPECT_EQ(fromOleDate(toOleDate(t)), t) << year << "-" << month << " " << sec;
      }
    }
  }
}

TEST(OleDate, RoundingAndOutOfRangeValues) {
  EXPECT_EQ(fromOleDate(0.99999999), (LocalDateTime{1899, 12, 31, 0, 0, 0}));  // rounds to the next midnight
  EXPECT_EQ(fromOleDate(-1.99999999), (LocalDateTime{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(fromOleDate(-0.25), (LocalDateTime{1899, 12, 30, 6, 0, 0}));
  EXPECT_EQ(fromOleDate(NAN), (LocalDateTime{1899, 12, 30, 0, 0, 0}));  // garbage in a file never crashes
  EXPECT_EQ(fromOleDate(1e300).year, 9999);
  EXPECT_EQ(fromOleDate(-1e300).year, 100);
  EXPECT_DOUBLE_EQ(toOleDate({2000, 13, 1, 0, 0, 0}), toOleDate({2001, 1, 1, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(toOleDate({2000, 1, 1, 24, 0, 0}), toOleDate({2000, 1, 2, 0, 0, 0}));
}

TEST(OleDate, NowIsNow) {
  double now = oleDateNow();
  EXPECT_GT(now, 45000.0);  // after 2023
  LocalDateTime t = fromOleDate(now);
  LocalDateTime l = localNow();
  EXPECT_EQ(t.year, l.year);
  EXPECT_NEAR(std::fmod(now, 1.0) * 24.0, l.hour + l.minute / 60.0, 0.1);
}

}  // namespace
}  // namespace tovakin::platform
