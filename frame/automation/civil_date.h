// Closed-form civil-date arithmetic: the hub every date service converts through.
//
// A day is a plain signed count, day 0 being 30 December 1899 (the automation Date's
// day 0); a civil date is year, month (1..12) and day (1..31) of the proleptic
// Gregorian calendar. Counting years from 1 March puts the leap day at the end of the
// counted year, so each conversion is a handful of integer operations with no tables
// and no loops.
//
// Two forms:
// - DaysFromCivil / CivilFromDays, the fast ones every service uses: unsigned 32-bit
//   arithmetic on a count shifted to start at 1 March of year -4800, where a division
//   by 1461 or by 153/5 becomes a multiplication and a shift (the Euclidean-affine
//   technique). Exact for years -4799 to 1 000 000; the tests compare them with the
//   wide form over the whole automation range.
// - DaysFromCivilWide, by 400-year eras in 64 bits: exact for any year within +-10^12,
//   for carrying arguments far outside the range before the range check.
// All functions are constexpr and header-only so the date services inline them.
#pragma once

#include <cstdint>

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

// The fast forms count days from 1 March of year -kYearShift (a whole number of 400-year
// eras before year 0, so the shifted year keeps the leap-year rule).
inline constexpr std::int32_t kYearShift = 4800;
// Days from -4800-03-01 to 1899-12-30 (day 0): 12 eras of 146097 days to 0000-03-01,
// then 693899 days to 1899-12-30.
inline constexpr std::int32_t kDay0FromShiftStart = 12 * 146097 + 693899;

constexpr bool IsLeapYear(std::int32_t y) noexcept {
  return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

// Days of month m (1..12) of year y.
constexpr std::int32_t DaysInMonth(std::int32_t y, std::int32_t m) noexcept {
  // 30 or 31 alternate from March; February is the exception.
  if (m == 2) return IsLeapYear(y) ? 29 : 28;
  return (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31;
}

// The day number (day 0 = 1899-12-30) of a civil date. m in 1..12; d may lie outside
// the month (d = 0 is the day before day 1, d = 32 runs on into the next month) as long
// as the result fits in 32 bits. Years -4799 to 1 000 000.
constexpr std::int32_t DaysFromCivil(std::int32_t y, std::int32_t m, std::int32_t d) noexcept {
  const bool jan_feb = m < 3;  // January and February end the counted year
  const std::uint32_t year = static_cast<std::uint32_t>(y + kYearShift) - jan_feb;  // < 1.01e6
  const std::uint32_t month = jan_feb ? m + 12 : m;                                 // 3..14
  const std::uint32_t century = year / 100;
  // Days before 1 March of the counted year: 365.25 a year less the skipped leap days.
  const std::uint32_t year_days = 1461 * year / 4 - century + century / 4;  // < 1.5e9
  // Days from 1 March to the first of the month: 30.6 a month, floor((979 m - 2919) / 32).
  const std::uint32_t month_days = (979 * month - 2919) / 32;  // 0..337
  // Modular arithmetic: a negative d - 1 wraps and unwraps in the conversion back.
  const std::uint32_t n = year_days + month_days + static_cast<std::uint32_t>(d - 1);
  return static_cast<std::int32_t>(n - static_cast<std::uint32_t>(kDay0FromShiftStart));
}

// The civil date of a day number (day 0 = 1899-12-30), years -4799 to 1 000 000.
constexpr YearMonthDay CivilFromDays(std::int32_t days) noexcept {
  const std::uint32_t n = static_cast<std::uint32_t>(days + kDay0FromShiftStart);  // >= 0
  // Century and day of the century: 36524.25 days a century.
  const std::uint32_t n1 = 4 * n + 3;
  const std::uint32_t century = n1 / 146097;
  const std::uint32_t day_of_century = n1 % 146097 / 4;  // 0..36524
  // Year of the century and day of the year: 365.25 days a year, the division by 1461
  // done as a multiplication by 2^32 / 1461 (rounded up) and a shift.
  const std::uint32_t n2 = 4 * day_of_century + 3;
  const std::uint64_t p2 = std::uint64_t{2939745} * n2;
  const std::uint32_t year_of_century = static_cast<std::uint32_t>(p2 >> 32);      // 0..99
  const std::uint32_t day_of_year = static_cast<std::uint32_t>(p2) / 2939745 / 4;  // 0..365
  // Month (3..14, March first) and day: 153 days every 5 months, scaled by 2^16.
  const std::uint32_t n3 = 2141 * day_of_year + 197913;
  const std::uint32_t month = n3 >> 16;
  const std::uint32_t day = (n3 & 0xFFFF) / 2141;  // 0-based
  const bool jan_feb = day_of_year >= 306;         // past 31 December of the counted year
  const auto year = static_cast<std::int32_t>(100 * century + year_of_century);
  return {year - kYearShift + jan_feb, static_cast<std::int32_t>(jan_feb ? month - 12 : month),
          static_cast<std::int32_t>(day + 1)};
}

// The day number of a civil date for any year within +-10^12, by 400-year eras of
// 146097 days in 64 bits; d may lie outside the month as in DaysFromCivil.
constexpr std::int64_t DaysFromCivilWide(std::int64_t y, std::int32_t m, std::int64_t d) noexcept {
  y -= m <= 2;                                            // years start in March
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;  // floor(y / 400)
  const std::int64_t yoe = y - era * 400;                 // [0, 399]
  const std::int64_t mp = m > 2 ? m - 3 : m + 9;          // [0, 11], March = 0
  const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;    // day of the counted year
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  // Era 0 starts on 0000-03-01, 693899 days before day 0.
  return era * 146097 + doe - 693899;
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
static_assert(DaysFromCivilWide(2005, 12, 25) == 38711);
static_assert(DaysFromCivilWide(100, 1, 1) == kFirstDay);
static_assert(CivilFromDays(DaysFromCivil(-4799, 1, 1)) == YearMonthDay{-4799, 1, 1});
static_assert(CivilFromDays(DaysFromCivil(1000000, 12, 31)) == YearMonthDay{1000000, 12, 31});
static_assert(DaysFromCivil(1000000, 12, 31) == DaysFromCivilWide(1000000, 12, 31));
static_assert(DaysFromCivil(2005, 1, 0) == DaysFromCivil(2004, 12, 31));
static_assert(DaysFromCivil(2005, 1, -100000) == DaysFromCivilWide(2005, 1, -100000));

}  // namespace ze::civil
