#include "platform/ole_date.h"

#include <cmath>
#include <ctime>

namespace tovakin::platform {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (month 1-12).
long long daysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// 1899-12-30, the day OLE date 0 falls on, counted from 1970-01-01.
constexpr long long kOleEpoch = -25569;
// The range of dates the format holds: 0100-01-01 to 9999-12-31 23:59:59.
constexpr double kOleMin = -657434.0;
constexpr double kOleMax = 2958465.99998843;

}  // namespace

double toOleDate(const LocalDateTime& t) {
  // Months outside 1-12 carry into the year; days, hours, minutes and seconds carry through
  // the linear day and second counts.
  const long long month0 = t.month - 1;
  const long long year = t.year + floorDiv(month0, 12);
  const long long seconds = t.hour * 3600LL + t.minute * 60LL + t.second;
  const long long days = daysFromCivil(year, month0 - floorDiv(month0, 12) * 12 + 1, 1) + (t.day - 1) - kOleEpoch +
                         floorDiv(seconds, 86400);
  const double fraction = static_cast<double>(seconds - floorDiv(seconds, 86400) * 86400) / 86400.0;
  // Before the epoch the integer part counts back while the time of day still counts forward.
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

LocalDateTime fromOleDate(double oleDate) {
  if (!std::isfinite(oleDate)) oleDate = 0.0;
  if (oleDate < kOleMin) oleDate = kOleMin;
  if (oleDate > kOleMax) oleDate = kOleMax;
  double whole = std::trunc(oleDate);
  double fraction = std::fabs(oleDate - whole);
  long long days = static_cast<long long>(whole);
  long long seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {  // rounded up to the next midnight
    days += 1;
    seconds = 0;
  }
  LocalDateTime t;
  civilFromDays(days + kOleEpoch, t.year, t.month, t.day);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

LocalDateTime localNow() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

double oleDateNow() { return toOleDate(localNow()); }

}  // namespace tovakin::platform
