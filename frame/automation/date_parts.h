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
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// The failure of SplitDate, out of line.
[[noreturn]] void RaiseNotADate();
}  // namespace detail

namespace detail {
// The fields of a day of the range and a time of day in whole seconds (0..86399).
inline DateParts FieldsOf(std::int32_t day_number, std::int32_t seconds) {
  const civil::YearMonthDay ymd = civil::CivilFromDays(day_number);
  DateParts p;
  p.day_number = day_number;
  p.year = ymd.year;
  p.month = ymd.month;
  p.day = ymd.day;
  p.hour = seconds / 3600;
  p.minute = seconds / 60 % 60;
  p.second = seconds % 60;
  p.weekday = civil::WeekdayFromDays(day_number) + 1;
  // The civil conversion is tested over every day of the range; this tells the
  // optimizer what it gives.
  if (p.year < civil::kFirstYear || p.year > civil::kLastYear || p.month < 1 || p.month > 12 ||
      p.day < 1 || p.day > 31) {
    __builtin_unreachable();
  }
  return p;
}
}  // namespace detail

// The integer part of a double, truncated toward zero, when it is a day of the range;
// anything else, NaN, infinities and huge values included, gives kNotADay. The
// processor's truncating conversion is total (it gives the "integer indefinite" for a
// value that does not fit), so the whole test is one conversion and one comparison;
// elsewhere the range test comes first and guards the conversion.
inline constexpr std::int32_t kNotADay = civil::kFirstDay - 1;
inline std::int32_t DayOfSerial(double serial) noexcept {
#if defined(__SSE2__)
  const std::int32_t whole = _mm_cvttsd_si32(_mm_set_sd(serial));
#else
  const std::int32_t whole = IsValidSerial(serial) ? static_cast<std::int32_t>(serial) : kNotADay;
#endif
  constexpr auto kDays = static_cast<std::uint32_t>(civil::kLastDay - civil::kFirstDay);
  // In unsigned arithmetic, which wraps where a signed difference would overflow.
  const bool in_range =
      static_cast<std::uint32_t>(whole) - static_cast<std::uint32_t>(civil::kFirstDay) <= kDays;
  return in_range ? whole : kNotADay;
}

// The fields of a Date; error 6 when it is not a valid serial. Inline, so that the
// common case of a whole day costs little more than the civil conversion itself and a
// DateSerial inlined after it folds into it.
inline DateParts SplitDate(Date d) {
  std::int32_t day_number = DayOfSerial(d.serial);
  if (day_number == kNotADay) [[unlikely]] detail::RaiseNotADate();
  std::int32_t seconds = 0;
  if (d.serial != day_number) [[unlikely]] {
    // A time of day, rounded to the second.
    seconds = static_cast<std::int32_t>(std::fabs(d.serial - day_number) * kSecondsPerDay + 0.5);
    if (seconds >= kSecondsPerDay) {
      // Rounded up to midnight: the next day, chronologically (day numbers grow with
      // time on both sides of day 0), unless that would leave the range.
      const bool last_day = day_number == civil::kLastDay;
      day_number += !last_day;
      seconds = last_day ? kSecondsPerDay - 1 : 0;
    }
  }
  // What a valid serial gives, told to the optimizer so that the conversion and a
  // DateSerial after it drop their own range tests.
  if (day_number < civil::kFirstDay || day_number > civil::kLastDay || seconds < 0 ||
      seconds >= kSecondsPerDay) {
    __builtin_unreachable();
  }
  return detail::FieldsOf(day_number, seconds);
}

namespace detail {
// SplitDate, out of line.
DateParts SplitDateOutOfLine(Date d);
}  // namespace detail

// SplitDate for a caller that takes one field at a time (Day, Month, Year): the whole
// day is the only case inline, anything else goes out of line in one test, so the
// inline part of several calls on one value is computed once.
inline DateParts SplitDateOneField(Date d) {
  const std::int32_t day_number = DayOfSerial(d.serial);
  if ((day_number == kNotADay) | (d.serial != day_number)) [[unlikely]] {
    return detail::SplitDateOutOfLine(d);
  }
  return detail::FieldsOf(day_number, 0);
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
