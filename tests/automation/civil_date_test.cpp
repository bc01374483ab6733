// The civil-date hub and the Date's day numbering: known days, and every day of the
// automation range through both conversions and through the date services.
#include "frame/automation/civil_date.h"

#include <gtest/gtest.h>

#include "automation_fixture.h"
#include "frame/automation/date_serial.h"

namespace ze {
namespace {

using civil::YearMonthDay;

TEST(CivilDate, KnownDays) {
  struct Case {
    const char* name;
    YearMonthDay ymd;
    std::int32_t days;
  } cases[] = {
      {"day 0", {1899, 12, 30}, 0},
      {"day before day 0", {1899, 12, 29}, -1},
      {"1900 is not leap", {1900, 3, 1}, 61},
      {"Christmas 2005", {2005, 12, 25}, 38711},
      {"leap day 2000", {2000, 2, 29}, 36585},
      {"first valid day", {100, 1, 1}, -657434},
      {"last valid day", {9999, 12, 31}, 2958465},
      {"unix epoch", {1970, 1, 1}, 25569},
      {"year 3000 end", {3000, 12, 31}, 402133},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(civil::DaysFromCivil(c.ymd.year, c.ymd.month, c.ymd.day), c.days);
    EXPECT_EQ(civil::CivilFromDays(c.days), c.ymd);
  }
}

TEST(CivilDate, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(civil::IsLeapYear(2000));
  EXPECT_TRUE(civil::IsLeapYear(2004));
  EXPECT_FALSE(civil::IsLeapYear(1900));
  EXPECT_FALSE(civil::IsLeapYear(2005));
  EXPECT_TRUE(civil::IsLeapYear(400));
  EXPECT_FALSE(civil::IsLeapYear(100));
  EXPECT_EQ(civil::DaysInMonth(2000, 2), 29);
  EXPECT_EQ(civil::DaysInMonth(1900, 2), 28);
  const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(civil::DaysInMonth(2005, m), lengths[m - 1]) << m;
}

// Every day from 1 January 100 to 31 December 9999: the two conversions are inverse,
// consecutive days are consecutive dates, and the weekday advances by one.
TEST(CivilDate, EveryDayOfTheRangeRoundTrips) {
  YearMonthDay previous = civil::CivilFromDays(civil::kFirstDay - 1);
  std::int32_t previous_weekday = civil::WeekdayFromDays(civil::kFirstDay - 1);
  for (std::int32_t days = civil::kFirstDay; days <= civil::kLastDay; ++days) {
    const YearMonthDay ymd = civil::CivilFromDays(days);
    ASSERT_EQ(civil::DaysFromCivil(ymd.year, ymd.month, ymd.day), days);
    const bool next_in_month =
        ymd.year == previous.year && ymd.month == previous.month && ymd.day == previous.day + 1;
    const bool first_of_month =
        ymd.day == 1 && previous.day == civil::DaysInMonth(previous.year, previous.month) &&
        (ymd.month == previous.month + 1 ||
         (ymd.month == 1 && previous.month == 12 && ymd.year == previous.year + 1));
    ASSERT_TRUE(next_in_month || first_of_month) << days;
    const std::int32_t weekday = civil::WeekdayFromDays(days);
    ASSERT_EQ(weekday, (previous_weekday + 1) % 7) << days;
    previous = ymd;
    previous_weekday = weekday;
  }
  EXPECT_EQ(previous, (YearMonthDay{9999, 12, 31}));
}

// The fast forms agree with the era-based wide form over the whole range and beyond,
// also for days outside the month.
TEST(CivilDate, FastFormsAgreeWithTheWideForm) {
  for (std::int32_t y = -4799; y <= 12000; ++y) {
    for (std::int32_t m = 1; m <= 12; ++m) {
      for (std::int32_t d : {-400, -1, 0, 1, 28, 29, 31, 32, 366, 40000}) {
        ASSERT_EQ(civil::DaysFromCivil(y, m, d), civil::DaysFromCivilWide(y, m, d))
            << y << "-" << m << "-" << d;
      }
    }
  }
  for (std::int32_t y : {-4799, -1, 0, 99999, 999999, 1000000}) {
    for (std::int32_t m = 1; m <= 12; ++m) {
      const std::int32_t days = civil::DaysFromCivil(y, m, 1);
      ASSERT_EQ(days, civil::DaysFromCivilWide(y, m, 1));
      ASSERT_EQ(civil::CivilFromDays(days), (YearMonthDay{y, m, 1}));
    }
  }
  EXPECT_EQ(civil::DaysFromCivilWide(-100000000, 3, 1) + 36524250000,
            civil::DaysFromCivilWide(0, 3, 1));
}

// The same sweep through the services: serial -> day, month, year -> DateSerial.
TEST(CivilDate, EveryDayThroughTheDateServices) {
  for (std::int32_t days = civil::kFirstDay; days <= civil::kLastDay; ++days) {
    const DateParts p = SplitDate(Date(days));
    ASSERT_EQ(DateSerial(p.year, p.month, p.day).serial, days);
  }
}

}  // namespace
}  // namespace ze
