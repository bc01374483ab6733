// Taking an automation Date apart into calendar and clock fields, and putting one
// together from a day number and a time of day.
//
// Representation (see date_value.h): the integer part of the serial is the day, the
// fraction the time of day. For days before day 0 the fraction is still the time of day
// but the serial is day - time, so -1.25 is 29 December 1899 06:00 and both -0.5 and
// 0.5 are 30 December 1899 12:00.
//
// The time of day is rounded to the nearest second, so that a value built by adding
// hours, minutes and seconds as fractions of a day shows the clock time it was built
// from; 23:59:59.5 and later round on to midnight of the next day (except on the last
// valid day, which stays at 23:59:59).
//
// Range: serials whose day lies in the years 100 to 9999. Anything else (NaN,
// infinities, huge values) is not a Date: taking it apart fails with error 6, as
// converting such a number to a Date does.
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/automation/civil_date.h"
#include "frame/automation/date_value.h"

namespace ze {

inline constexpr std::int32_t kSecondsPerDay = 86400;

struct DateParts {
  std::int32_t day_number = 0;  // days from 30 December 1899
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t weekday = 0;  // 1 = Sunday .. 7 = Saturday

  // Seconds since midnight, 0..86399.
  constexpr std::int32_t SecondsOfDay() const { return (hour * 60 + minute) * 60 + second; }
};

// Whether a double is a serial of the automation range (years 100 to 9999).
inline bool IsValidSerial(double serial) noexcept {
  // The open interval (kFirstDay - 1, kLastDay + 1) as one branch-free distance from its
  // middle; NaN fails the comparison.
  constexpr double kMiddle = (civil::kFirstDay - 1.0 + civil::kLastDay + 1.0) / 2;
  constexpr double kHalfWidth = (civil::kLastDay + 1.0 - (civil::kFirstDay - 1.0)) / 2;
  return std::fabs(serial - kMiddle) < kHalfWidth;
}

namespace detail {
// The out-of-line parts of SplitDate: the failure, and a value with a time of day (or no
// date at all, which fails).
[[noreturn]] void RaiseNotADate();
DateParts SplitDateWithTime(Date d);
}  // namespace detail

// The fields of a Date; error 6 when it is not a valid serial. Inline, so that the common
// case of a whole day costs little more than the civil conversion itself.
inline DateParts SplitDate(Date d) {
  // One test for the two uncommon cases, a value that is no date (which fails) and a
  // time of day (which needs rounding): both go out of line. The integer part, truncated
  // toward zero, is the day on both sides of day 0; it is taken of 0 for a value that is
  // no date, since converting NaN or a huge value to an integer is undefined.
  const bool valid = IsValidSerial(d.serial);
  const double serial = valid ? d.serial : 0.0;
  const auto day_number = static_cast<std::int32_t>(serial);
  DateParts p;
  if (!valid | (serial != day_number)) [[unlikely]] {
    p = detail::SplitDateWithTime(d);
  } else {
    const civil::YearMonthDay ymd = civil::CivilFromDays(day_number);
    p.day_number = day_number;
    p.year = ymd.year;
    p.month = ymd.month;
    p.day = ymd.day;
    p.weekday = civil::WeekdayFromDays(day_number) + 1;
  }
  // What a valid serial gives, told to the optimizer so that a DateSerial of these
  // fields inlined after this drops its own range tests (the civil conversion is tested
  // over every day of the range).
  if (p.year < civil::kFirstYear || p.year > civil::kLastYear || p.month < 1 || p.month > 12 ||
      p.day < 1 || p.day > 31) {
    __builtin_unreachable();
  }
  return p;
}

// The day number of a Date (the time of day ignored, not rounded); error 6 when it is
// not a valid serial.
std::int32_t DayNumber(Date d);

// The time of day of a Date as a fraction of a day in [0, 1), unrounded.
double TimeFraction(Date d);

// The Date of a day number and a time of day given as a fraction in [0, 1). The day
// number is not checked: callers check the range first.
constexpr Date MakeDate(std::int32_t day_number, double time_fraction) noexcept {
  return Date(day_number >= 0 ? day_number + time_fraction : day_number - time_fraction);
}

}  // namespace ze
