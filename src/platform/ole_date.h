#pragma once
// OLE dates: days since 1899-12-30 00:00 as a double, the fraction being the time of day, in
// local time. For dates before the epoch the integer part counts days backwards while the
// fraction still counts forwards from that day's midnight: -1.25 is 1899-12-29 06:00.
namespace tovakin::platform {

struct LocalDateTime {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

// The present local date and time (whole seconds).
double oleDateNow();

double toOleDate(const LocalDateTime& t);

// Rounded to the nearest second.
LocalDateTime fromOleDate(double oleDate);

// The present local date and time.
LocalDateTime localNow();

}  // namespace tovakin::platform
