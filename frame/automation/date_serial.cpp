// DateSerial, TimeSerial, DateAdd and the parts of a date.
#include "frame/automation/date_serial.h"

#include <cmath>

#include "frame/automation/clock.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"

namespace ze {

namespace {

// Floor division and the matching non-negative remainder.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// A month given as a count of months from January of year 0, split into year and month.
struct YearMonth {
  std::int64_t year;
  std::int32_t month;  // 1..12
};

YearMonth SplitMonthIndex(std::int64_t month_index) {
  const std::int64_t year = FloorDiv(month_index, 12);
  return {year, static_cast<std::int32_t>(month_index - year * 12 + 1)};
}

// A day number checked against the automation range (error 5 outside).
std::int32_t CheckedDay(std::int64_t day_number) {
  if (day_number < civil::kFirstDay || day_number > civil::kLastDay) {
    Raise(errors::kInvalidProcedureCall);
  }
  return static_cast<std::int32_t>(day_number);
}

// The Date at a signed count of seconds (whole or not) from day 0 00:00, in the Date's
// representation; error 5 outside the range.
Date DateFromSeconds(double seconds) {
  const double days = std::floor(seconds / kSecondsPerDay);
  if (!(days >= civil::kFirstDay && days <= civil::kLastDay)) {
    Raise(errors::kInvalidProcedureCall);
  }
  double rest = seconds - days * kSecondsPerDay;
  if (rest < 0) rest = 0;
  if (rest >= kSecondsPerDay) rest = kSecondsPerDay - 1;
  return MakeDate(static_cast<std::int32_t>(days), rest / kSecondsPerDay);
}

enum class Interval { kYear, kQuarter, kMonth, kDay, kWeek, kHour, kMinute, kSecond };

bool IntervalFromText(std::u16string_view text, Interval& out) {
  char buf[5] = {};
  if (text.empty() || text.size() > 4) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c < u'a' || c > u'z') return false;
    buf[i] = static_cast<char>(c);
  }
  const std::string_view t(buf, text.size());
  if (t == "yyyy")
    out = Interval::kYear;
  else if (t == "q")
    out = Interval::kQuarter;
  else if (t == "m")
    out = Interval::kMonth;
  else if (t == "y" || t == "d" || t == "w")
    out = Interval::kDay;
  else if (t == "ww")
    out = Interval::kWeek;
  else if (t == "h")
    out = Interval::kHour;
  else if (t == "n")
    out = Interval::kMinute;
  else if (t == "s")
    out = Interval::kSecond;
  else
    return false;
  return true;
}

}  // namespace

namespace detail {

void RaiseNotADate() { Raise(errors::kOverflow); }

DateParts SplitDateOutOfLine(Date d) { return SplitDate(d); }

}  // namespace detail

std::int32_t DayNumber(Date d) {
  if (!IsValidSerial(d.serial)) Raise(errors::kOverflow);
  return static_cast<std::int32_t>(std::trunc(d.serial));
}

double TimeFraction(Date d) {
  if (!IsValidSerial(d.serial)) Raise(errors::kOverflow);
  return std::fabs(d.serial - std::trunc(d.serial));
}

namespace detail {

Date DateSerialCarrying(std::int32_t year, std::int32_t month, std::int32_t day) {
  // 1. Complete a two-digit year.
  const std::int64_t y = CompleteTwoDigitYear(year);
  // 2. Carry the month into the year: count months from year 0, then split again. With
  //    32-bit arguments the year stays within +-2e8, well inside the wide form's range.
  const YearMonth ym = SplitMonthIndex(y * 12 + (static_cast<std::int64_t>(month) - 1));
  // 3. Carry the day into the month by counting days from the month's first day.
  const std::int64_t day_number = civil::DaysFromCivilWide(ym.year, ym.month, day);
  // 4. The result must lie in the years 100 to 9999.
  return Date(CheckedDay(day_number));
}

}  // namespace detail

Date TimeSerial(std::int32_t hour, std::int32_t minute, std::int32_t second) {
  const std::int64_t total =
      static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 + second;
  const std::int64_t days = FloorDiv(total, kSecondsPerDay);
  const std::int64_t rest = total - days * kSecondsPerDay;
  return MakeDate(CheckedDay(days), static_cast<double>(rest) / kSecondsPerDay);
}

Date DateAdd(std::u16string_view interval, double number, Date d) {
  Interval unit;
  if (!IntervalFromText(interval, unit)) Raise(errors::kInvalidProcedureCall);
  const std::int64_t n = CLng(number);
  const std::int32_t day_number = DayNumber(d);
  const double time = TimeFraction(d);

  std::int64_t months = 0;
  switch (unit) {
    case Interval::kYear:
      months = n * 12;
      break;
    case Interval::kQuarter:
      months = n * 3;
      break;
    case Interval::kMonth:
      months = n;
      break;
    case Interval::kDay:
      return MakeDate(CheckedDay(day_number + n), time);
    case Interval::kWeek:
      return MakeDate(CheckedDay(day_number + n * 7), time);
    case Interval::kHour:
    case Interval::kMinute:
    case Interval::kSecond: {
      const double unit_seconds = unit == Interval::kHour     ? 3600.0
                                  : unit == Interval::kMinute ? 60.0
                                                              : 1.0;
      const double seconds = static_cast<double>(day_number) * kSecondsPerDay +
                             time * kSecondsPerDay + static_cast<double>(n) * unit_seconds;
      return DateFromSeconds(seconds);
    }
  }
  // Whole months: move the month, keep the day or clamp it to the month's last day.
  const civil::YearMonthDay ymd = civil::CivilFromDays(day_number);
  const YearMonth target =
      SplitMonthIndex(static_cast<std::int64_t>(ymd.year) * 12 + ymd.month - 1 + months);
  if (target.year < civil::kFirstYear || target.year > civil::kLastYear) {
    Raise(errors::kInvalidProcedureCall);
  }
  const auto year = static_cast<std::int32_t>(target.year);
  const std::int32_t last = civil::DaysInMonth(year, target.month);
  const std::int32_t day = ymd.day < last ? ymd.day : last;
  return MakeDate(civil::DaysFromCivil(year, target.month, day), time);
}

int Weekday(Date d, int first_day_of_week) {
  if (first_day_of_week < 1 || first_day_of_week > 7) Raise(errors::kInvalidProcedureCall);
  const int sunday_based = SplitDate(d).weekday;  // 1 = Sunday
  return (sunday_based - first_day_of_week + 7) % 7 + 1;
}

Date Now() {
  return CurrentClock().Now();
}

Date Today() {
  return Date(static_cast<double>(DayNumber(Now())));
}

}  // namespace ze
