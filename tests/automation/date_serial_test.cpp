// DateSerial, TimeSerial, DateAdd, the parts of a date, Today and Now.
#include "frame/automation/date_serial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "automation_fixture.h"
#include "frame/automation/civil_date.h"

namespace ze {
namespace {

using testing::AutomationTest;
using testing::ErrorOf;

using DateSerialTest = AutomationTest;

double Serial(int y, int m, int d) {
  return civil::DaysFromCivil(y, m, d);
}

TEST_F(DateSerialTest, CarriesInBothDirections) {
  struct Case {
    const char* name;
    int y, m, d;
    double expected;
  } cases[] = {
      {"plain", 2005, 12, 25, Serial(2005, 12, 25)},
      {"month 0 is December before", 2005, 0, 1, Serial(2004, 12, 1)},
      {"month 13 is January after", 2005, 13, 1, Serial(2006, 1, 1)},
      {"month -1 is November before", 2005, -1, 15, Serial(2004, 11, 15)},
      {"month 25 is two years on", 2005, 25, 1, Serial(2007, 1, 1)},
      {"month -12 is a year back", 2005, -12, 1, Serial(2003, 12, 1)},
      {"day 0 is the last of the month before", 2005, 3, 0, Serial(2005, 2, 28)},
      {"day 0 of a leap March", 2004, 3, 0, Serial(2004, 2, 29)},
      {"day 32 of January", 2005, 1, 32, Serial(2005, 2, 1)},
      {"day -1", 2005, 1, -1, Serial(2004, 12, 30)},
      {"31 February runs into March", 2005, 2, 31, Serial(2005, 3, 3)},
      {"day 366 of a year", 2005, 1, 366, Serial(2006, 1, 1)},
      {"both carry", 2005, 14, 0, Serial(2006, 1, 31)},
      {"largest 16-bit day", 2005, 1, 32767, Serial(2005, 1, 1) + 32766},
      {"smallest 16-bit month", 9999, -32768, 1, Serial(9999 - 2731, 4, 1)},
      {"day 0 of the epoch month", 1899, 12, 30, 0},
      {"first valid day", 100, 1, 1, civil::kFirstDay},
      {"last valid day", 9999, 12, 31, civil::kLastDay},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DateSerial(c.y, c.m, c.d).serial, c.expected);
  }
}

TEST_F(DateSerialTest, CompletesTwoDigitYears) {
  EXPECT_EQ(DateSerial(5, 1, 1).serial, Serial(2005, 1, 1));
  EXPECT_EQ(DateSerial(0, 1, 1).serial, Serial(2000, 1, 1));
  EXPECT_EQ(DateSerial(29, 12, 31).serial, Serial(2029, 12, 31));
  EXPECT_EQ(DateSerial(30, 1, 1).serial, Serial(1930, 1, 1));
  EXPECT_EQ(DateSerial(99, 13, 1).serial, Serial(2000, 1, 1));
  EXPECT_EQ(DateSerial(0, 0, 1).serial, Serial(1999, 12, 1));
}

TEST_F(DateSerialTest, FailsWithErrorFiveOutsideTheRange) {
  EXPECT_EQ(ErrorOf([] { DateSerial(100, 0, 1); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(100, 1, 0); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(9999, 12, 32); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(10000, 1, 1); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(-1, 1, 1); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(32767, 32767, 32767); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(-32768, -32768, -32768); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(2147483647, 2147483647, 2147483647); }), 5);
  EXPECT_EQ(ErrorOf([] { DateSerial(-2147483647 - 1, -2147483647 - 1, -2147483647 - 1); }), 5);
  Err().Clear();
  EXPECT_EQ(ErrorOf([] { DateSerial(9999, 13, 1); }), 5);
  EXPECT_EQ(Err().Number, 5);
  EXPECT_EQ(Err().Description, u"Invalid procedure call or argument");
}

TEST_F(DateSerialTest, TimeSerialCarries) {
  EXPECT_DOUBLE_EQ(TimeSerial(6, 0, 0).serial, 0.25);
  EXPECT_DOUBLE_EQ(TimeSerial(0, 0, 3600).serial, 1.0 / 24);
  EXPECT_DOUBLE_EQ(TimeSerial(0, 90, 0).serial, 1.5 / 24);
  EXPECT_DOUBLE_EQ(TimeSerial(0, 0, 86400).serial, 1.0);
  EXPECT_DOUBLE_EQ(TimeSerial(25, 1, 1).serial, 1 + (3600 + 61) / 86400.0);
  // Before day 0 the time of day is still added as a positive amount.
  EXPECT_DOUBLE_EQ(TimeSerial(-1, 0, 0).serial, -1 - 23.0 / 24);
  EXPECT_DOUBLE_EQ(TimeSerial(-18, 0, 0).serial, -1.25);
  EXPECT_DOUBLE_EQ(TimeSerial(0, 0, -86400).serial, -1.0);
  EXPECT_EQ(Hour(TimeSerial(-1, 0, 0)), 23);
  EXPECT_EQ(Day(TimeSerial(-1, 0, 0)), 29);
  EXPECT_EQ(ErrorOf([] { TimeSerial(2147483647, 2147483647, 2147483647); }), 5);
}

TEST_F(DateSerialTest, NegativeSerialsFollowTheAutomationConvention) {
  const Date d(-1.25);
  EXPECT_EQ(Year(d), 1899);
  EXPECT_EQ(Month(d), 12);
  EXPECT_EQ(Day(d), 29);
  EXPECT_EQ(Hour(d), 6);
  // -0.5 and 0.5 are the same moment: day 0 at noon.
  EXPECT_EQ(Day(Date(-0.5)), 30);
  EXPECT_EQ(Hour(Date(-0.5)), 12);
  EXPECT_EQ(MakeDate(-1, 0.25).serial, -1.25);
  EXPECT_EQ(MakeDate(2, 0.25).serial, 2.25);
}

TEST_F(DateSerialTest, PartsOfADate) {
  const Date d(Serial(2005, 12, 25) + (13 * 3600 + 14 * 60 + 15) / 86400.0);
  EXPECT_EQ(Day(d), 25);
  EXPECT_EQ(Month(d), 12);
  EXPECT_EQ(Year(d), 2005);
  EXPECT_EQ(Hour(d), 13);
  EXPECT_EQ(Minute(d), 14);
  EXPECT_EQ(Second(d), 15);
  EXPECT_EQ(Weekday(d), 1);                         // a Sunday
  EXPECT_EQ(Weekday(Date(0)), 7);                   // 30 December 1899 was a Saturday
  EXPECT_EQ(Weekday(Date(Serial(2024, 3, 4))), 2);  // a Monday
  EXPECT_EQ(Weekday(d, 2), 7);                      // Sunday is the last day of a Monday week
  EXPECT_EQ(Weekday(Date(Serial(2024, 3, 4)), 2), 1);
  EXPECT_EQ(ErrorOf([&] { Weekday(d, 0); }), 5);
  EXPECT_EQ(ErrorOf([&] { Weekday(d, 8); }), 5);
}

TEST_F(DateSerialTest, TimeRoundsToTheNearestSecond) {
  // 10:30 built from fractions of a day comes back as 10:30:00, not 10:29:59.
  const Date d(Serial(2005, 1, 1) + 10.0 / 24 + 30.0 / 1440);
  EXPECT_EQ(Hour(d), 10);
  EXPECT_EQ(Minute(d), 30);
  EXPECT_EQ(Second(d), 0);
  // Half a second before midnight rounds on to the next day.
  const Date late(Serial(2005, 12, 31) + 86399.6 / 86400);
  EXPECT_EQ(Day(late), 1);
  EXPECT_EQ(Year(late), 2006);
  EXPECT_EQ(Hour(late), 0);
  // ... but never past the last valid day.
  const Date last(civil::kLastDay + 0.9999999);
  EXPECT_EQ(Year(last), 9999);
  EXPECT_EQ(Second(last), 59);
  // The same before day 0: 29 December 23:59:59.7 is midnight of day 0.
  EXPECT_EQ(Day(Date(-1 - 86399.7 / 86400)), 30);
}

TEST_F(DateSerialTest, ValuesThatAreNoDateFailWithOverflow) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        1e300,
                        -1e300,
                        civil::kLastDay + 1.0,
                        civil::kFirstDay - 1.0};
  for (double v : bad) {
    SCOPED_TRACE(v);
    EXPECT_EQ(ErrorOf([&] { Day(Date(v)); }), 6);
    EXPECT_EQ(ErrorOf([&] { Weekday(Date(v)); }), 6);
    EXPECT_EQ(ErrorOf([&] { Hour(Date(v)); }), 6);
    EXPECT_EQ(ErrorOf([&] { DateAdd(u"d", 1, Date(v)); }), 6);
  }
  EXPECT_EQ(Day(Date(civil::kFirstDay - 0.5)), 1);  // 1 January 100 at noon is valid
}

// Values whose integer part does not fit in 32 bits, or would wrap onto a valid day if
// it were cut to 32 bits, are no date either; the edges of the open range are dates.
// Both ways of taking a date apart (all fields at once, one field at a time) agree.
TEST_F(DateSerialTest, TheRangeTestHoldsAtTheIntegerEdges) {
  const double bad[] = {2147483647.0, -2147483648.0, 2147483648.0, -2147483649.0, 4294967296.0 + 38711,
                        -4294967296.0 + 38711, std::numeric_limits<double>::max(),
                        -std::numeric_limits<double>::denorm_min() + civil::kFirstDay - 1};
  for (double v : bad) {
    SCOPED_TRACE(v);
    EXPECT_EQ(ErrorOf([&] { SplitDate(Date(v)); }), 6);
    EXPECT_EQ(ErrorOf([&] { Year(Date(v)); }), 6);
  }
  const double good[] = {civil::kLastDay + 1 - 1e-9, civil::kFirstDay - 1 + 1e-9, -0.0,
                         std::numeric_limits<double>::denorm_min(), 38711.5, -38711.25,
                         civil::kLastDay + 0.9999999, -1 - 86399.7 / 86400};
  for (double v : good) {
    SCOPED_TRACE(v);
    const DateParts all = SplitDate(Date(v));
    EXPECT_EQ(Year(Date(v)), all.year);
    EXPECT_EQ(Month(Date(v)), all.month);
    EXPECT_EQ(Day(Date(v)), all.day);
    EXPECT_EQ(Hour(Date(v)) * 3600 + Minute(Date(v)) * 60 + Second(Date(v)), all.SecondsOfDay());
  }
}

TEST_F(DateSerialTest, DateAddMonthsClampsToTheMonthEnd) {
  struct Case {
    const char* name;
    const char16_t* interval;
    double n;
    double from;
    double expected;
  } cases[] = {
      {"31 March back to leap February", u"m", -1, Serial(2024, 3, 31), Serial(2024, 2, 29)},
      {"31 January on to February", u"m", 1, Serial(2023, 1, 31), Serial(2023, 2, 28)},
      {"31 January on to leap February", u"m", 1, Serial(2024, 1, 31), Serial(2024, 2, 29)},
      {"day kept", u"m", 1, Serial(2005, 1, 15), Serial(2005, 2, 15)},
      {"zero months", u"m", 0, Serial(2005, 1, 31), Serial(2005, 1, 31)},
      {"across the year", u"m", 13, Serial(2005, 12, 31), Serial(2007, 1, 31)},
      {"back across the year", u"M", -13, Serial(2005, 1, 31), Serial(2003, 12, 31)},
      {"29 February plus a year", u"yyyy", 1, Serial(2004, 2, 29), Serial(2005, 2, 28)},
      {"quarter", u"q", 1, Serial(2005, 11, 30), Serial(2006, 2, 28)},
      {"days", u"d", 10, Serial(2005, 12, 25), Serial(2006, 1, 4)},
      {"days back over day 0", u"d", -2, 1.0, -1.0},
      {"day of year interval", u"y", 1, Serial(2005, 12, 31), Serial(2006, 1, 1)},
      {"weekday interval", u"w", 1, Serial(2005, 12, 31), Serial(2006, 1, 1)},
      {"weeks", u"ww", 2, Serial(2005, 12, 25), Serial(2006, 1, 8)},
      {"hours", u"h", 36, Serial(2005, 12, 25), Serial(2005, 12, 26) + 0.5},
      {"minutes", u"n", 90, 0, 1.5 / 24},
      {"seconds back before day 0", u"s", -3600, 0, -1 - 23.0 / 24},
      {"halves to even", u"d", 2.5, Serial(2005, 1, 1), Serial(2005, 1, 3)},
      {"halves to even up", u"d", 3.5, Serial(2005, 1, 1), Serial(2005, 1, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(DateAdd(c.interval, c.n, Date(c.from)).serial, c.expected, 1e-9);
  }
}

TEST_F(DateSerialTest, DateAddKeepsTheTimeOfDay) {
  const Date d(Serial(2005, 1, 31) + 0.75);
  const Date moved = DateAdd(u"m", 1, d);
  EXPECT_EQ(Day(moved), 28);
  EXPECT_EQ(Hour(moved), 18);
  const Date back = DateAdd(u"d", -40000, d);  // before day 0
  EXPECT_EQ(Hour(back), 18);
  EXPECT_LT(back.serial, 0);
}

TEST_F(DateSerialTest, DateAddFailures) {
  const Date d(Serial(2005, 1, 1));
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"x", 1, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"", 1, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"mm", 1, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(std::u16string_view(u"m\0", 2), 1, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"yyyy", 8000, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"m", -2147483647.0, d); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"s", 2147483647.0, Date(civil::kLastDay)); }), 5);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"d", 1e12, d); }), 6);
  EXPECT_EQ(ErrorOf([&] { DateAdd(u"d", std::nan(""), d); }), 6);
}

TEST_F(DateSerialTest, TodayAndNowComeFromTheClock) {
  clock_.now = Date(Serial(2005, 12, 25) + 0.75);
  EXPECT_EQ(Now().serial, clock_.now.serial);
  EXPECT_EQ(Today().serial, Serial(2005, 12, 25));
  clock_.now = Date(-1.25);
  EXPECT_EQ(Today().serial, -1);
}

}  // namespace
}  // namespace ze
