// Building dates and taking them apart: DateSerial, TimeSerial, DateAdd, the parts of a
// date (Day, Month, Year, Weekday, Hour, Minute, Second) and the current date (Today,
// Now) from the clock service.
//
// Building carries out-of-range fields into their neighbours in both directions (month
// 0 is December of the year before, day 0 the last day of the month before, 90 seconds
// are a minute and a half). A result outside the years 100 to 9999 fails with error 5.
// Taking apart a value that is not a date (NaN, infinities, serials outside the range)
// fails with error 6.
//
// Two-digit years: DateSerial completes a year argument from 0 to 99 within the window
// 1930..2029 (0..29 are 2000..2029, 30..99 are 1930..1999) before any carry, so
// DateSerial(5, 1, 1) is 1 January 2005 and DateSerial(99, 13, 1) is 1 January 2000.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/automation/date_parts.h"
#include "frame/automation/date_value.h"

namespace ze {

// The year of a two-digit year (0..99) in the window 1930..2029; other years unchanged.
constexpr std::int32_t CompleteTwoDigitYear(std::int32_t year) noexcept {
  if (year < 0 || year > 99) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

namespace detail {
// DateSerial's general case: any month, any day, and the range check that fails.
Date DateSerialCarrying(std::int32_t year, std::int32_t month, std::int32_t day);
}  // namespace detail

// The date of year, month and day, carrying months into years and days into months.
// The arguments are the automation's 16-bit integers; wider ones are accepted too.
// Inline for the common case, a real month and a day of 1..31 in the years 100 to 9999,
// whose result always lies in the range (31 November runs on to 1 December, and the
// last day reachable is 31 December 9999); two-digit years, carries and the range
// check go out of line.
inline Date DateSerial(std::int32_t year, std::int32_t month, std::int32_t day) {
  // The three tests as one branch, each a range test in unsigned arithmetic (which
  // wraps instead of overflowing for the extreme arguments).
  constexpr auto kFirstYear = static_cast<std::uint32_t>(civil::kFirstYear);
  constexpr auto kYears = static_cast<std::uint32_t>(civil::kLastYear - civil::kFirstYear);
  const bool common = (static_cast<std::uint32_t>(year) - kFirstYear <= kYears) &
                      (static_cast<std::uint32_t>(month) - 1u < 12u) &
                      (static_cast<std::uint32_t>(day) - 1u < 31u);
  if (common) [[likely]] {
    return Date(civil::DaysFromCivil(year, month, day));
  }
  return detail::DateSerialCarrying(year, month, day);
}

// The time of hours, minutes and seconds, carrying into days: TimeSerial(0, 0, 86400)
// is day 1 (31 December 1899 00:00) and TimeSerial(-1, 0, 0) is 29 December 1899 23:00,
// one hour before day 0 in the Date's own representation.
Date TimeSerial(std::int32_t hour, std::int32_t minute, std::int32_t second);

// Adds number intervals to d: "yyyy" years, "q" quarters, "m" months, "y", "d" and "w"
// days, "ww" weeks, "h" hours, "n" minutes, "s" seconds (case-insensitive). A number
// with a fraction is rounded to a whole count, halves to even. Years, quarters and
// months keep the day of the month or take the target month's last day when the day
// does not exist there; every interval keeps the time of day. An unknown interval or a
// result outside the range fails with error 5; a count outside 32 bits with error 6.
Date DateAdd(std::u16string_view interval, double number, Date d);

inline int Day(Date d) {
  return SplitDateOneField(d).day;
}
inline int Month(Date d) {
  return SplitDateOneField(d).month;
}
inline int Year(Date d) {
  return SplitDateOneField(d).year;
}
// 1..7, counted from first_day_of_week (1 = Sunday .. 7 = Saturday; anything else fails
// with error 5): with the default, Sunday is 1 and Saturday 7.
int Weekday(Date d, int first_day_of_week = 1);
inline int Hour(Date d) {
  return SplitDateOneField(d).hour;
}
inline int Minute(Date d) {
  return SplitDateOneField(d).minute;
}
inline int Second(Date d) {
  return SplitDateOneField(d).second;
}

// The current date and time from the installed clock (CurrentClock()).
Date Now();
// The current date without the time of day.
Date Today();

}  // namespace ze
