// Closed-form civil-date arithmetic: the hub every date service converts through.
//
// A day is a plain signed count, day 0 being 30 December 1899 (the automation Date's
// day 0); a civil date is year, month (1..12) and day (1..31) of the proleptic
// Gregorian calendar. The two conversions are the classic era-based algorithms: the
// calendar repeats every 400 years (146097 days), and counting years from 1 March puts
// the leap day at the end of the counted year, so each conversion is a handful of
// integer divisions with no tables and no loops.
//
// Range: the functions are exact for years -5 000 000 to 5 000 000; callers keep to
// the automation range (years 100 to 9999) and check it themselves. All functions are
// constexpr and header-only so the date services inline them.
#pragma once

#include <cstdint>
#include <limits>

namespace ze::civil {

struct YearMonthDay {
  std::int32_t year = 0;
  std::int32_t month = 0;  // 1..12
  std::int32_t day = 0;    // 1..31
  friend constexpr bool operator==(const YearMonthDay&, const YearMonthDay&) = default;
};

// Days from 1970-01-01 (where the era algorithms count from) to 1899-12-30.
inline constexpr std::int32_t kDay0FromUnixEpoch = -25569;

// The automation range of dates, as day numbers: 1 January 100 and 31 December 9999.
inline constexpr std::int32_t kFirstYear = 100;
inline constexpr std::int32_t kLastYear = 9999;

// Days in 400 years, and the shift that makes 0000-03-01 the start of era 0.
inline constexpr std::int32_t kDaysPerEra = 146097;
inline constexpr std::int32_t kDaysFromEraStartToUnixEpoch = 719468;

static_assert(sizeof(std::int32_t) * 8 == 32, "the era arithmetic below is written for 32 bits");

constexpr bool IsLeapYear(std::int32_t y) noexcept {
  return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

// Days of month m (1..12) of year y.
constexpr std::int32_t DaysInMonth(std::int32_t y, std::int32_t m) noexcept {
  // 30 or 31 alternate from March; February is the exception.
  if (m == 2) return IsLeapYear(y) ? 29 : 28;
  return (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31;
}

// The day number (day 0 = 1899-12-30) of a civil date. m in 1..12, d in 1..31 (a d
// past the month's end simply counts on into the next month).
constexpr std::int32_t DaysFromCivil(std::int32_t y, std::int32_t m, std::int32_t d) noexcept {
  y -= m <= 2;                                                     // years start in March
  const std::int32_t era = (y >= 0 ? y : y - 399) / 400;           // floor(y / 400)
  const std::int32_t yoe = y - era * 400;                          // [0, 399]
  const std::int32_t mp = m > 2 ? m - 3 : m + 9;                   // [0, 11], March = 0
  const std::int32_t doy = (153 * mp + 2) / 5 + d - 1;             // [0, 365]
  const std::int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  return era * kDaysPerEra + doe - kDaysFromEraStartToUnixEpoch - kDay0FromUnixEpoch;
}

// The civil date of a day number (day 0 = 1899-12-30).
constexpr YearMonthDay CivilFromDays(std::int32_t days) noexcept {
  const std::int32_t z = days + kDay0FromUnixEpoch + kDaysFromEraStartToUnixEpoch;
  const std::int32_t era = (z >= 0 ? z : z - (kDaysPerEra - 1)) / kDaysPerEra;
  const std::int32_t doe = z - era * kDaysPerEra;                                  // [0, 146096]
  const std::int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const std::int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const std::int32_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  const std::int32_t d = doy - (153 * mp + 2) / 5 + 1;                             // [1, 31]
  const std::int32_t m = mp < 10 ? mp + 3 : mp - 9;                                // [1, 12]
  const std::int32_t y = yoe + era * 400 + (m <= 2);
  return {y, m, d};
}

// Weekday of a day number, 0 = Sunday .. 6 = Saturday. Day 0 was a Saturday.
constexpr std::int32_t WeekdayFromDays(std::int32_t days) noexcept {
  const std::int32_t w = (days + 6) % 7;
  return w < 0 ? w + 7 : w;
}

inline constexpr std::int32_t kFirstDay = DaysFromCivil(kFirstYear, 1, 1);
inline constexpr std::int32_t kLastDay = DaysFromCivil(kLastYear, 12, 31);

static_assert(DaysFromCivil(1899, 12, 30) == 0);
static_assert(DaysFromCivil(1900, 1, 1) == 2);
static_assert(DaysFromCivil(2005, 12, 25) == 38711);
static_assert(kFirstDay == -657434);
static_assert(kLastDay == 2958465);
static_assert(CivilFromDays(-1) == YearMonthDay{1899, 12, 29});
static_assert(WeekdayFromDays(0) == 6);
static_assert(kLastDay + kDay0FromUnixEpoch + kDaysFromEraStartToUnixEpoch <
              std::numeric_limits<std::int32_t>::max() / 8);

}  // namespace ze::civil
