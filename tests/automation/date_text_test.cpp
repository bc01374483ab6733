// IsDate, CDate and CStr of dates under several locales.
#include "frame/automation/date_text.h"

#include <gtest/gtest.h>

#include "automation_fixture.h"
#include "frame/automation/civil_date.h"
#include "frame/automation/date_serial.h"

namespace ze {
namespace {

using testing::AutomationTest;
using testing::ErrorOf;
using testing::ScopedLocale;

using DateTextTest = AutomationTest;

double Serial(int y, int m, int d) {
  return civil::DaysFromCivil(y, m, d);
}
double Time(int h, int n, int s) {
  return (h * 3600 + n * 60 + s) / 86400.0;
}

struct ReadCase {
  const char* name;
  const char16_t* text;
  double expected;
};

void ExpectReads(const ReadCase& c) {
  SCOPED_TRACE(std::string(c.name) + ": " + ToUtf8(c.text));
  EXPECT_TRUE(IsDate(c.text));
  EXPECT_DOUBLE_EQ(CDate(c.text).serial, c.expected);
}

TEST_F(DateTextTest, ReadsDatesInTheItalianLocale) {
  const ReadCase cases[] = {
      {"the control's form", u"25/12/2005", Serial(2005, 12, 25)},
      {"first of the range", u"01/01/0100", Serial(100, 1, 1)},
      {"last of the range", u"31/12/9999", Serial(9999, 12, 31)},
      {"leap day", u"29/02/2000", Serial(2000, 2, 29)},
      {"one-digit fields", u"4/9/2005", Serial(2005, 9, 4)},
      {"dashes", u"25-12-2005", Serial(2005, 12, 25)},
      {"dots", u"25.12.2005", Serial(2005, 12, 25)},
      {"blanks around", u"  25/12/2005\t", Serial(2005, 12, 25)},
      {"blanks around separators", u"25 / 12 / 2005", Serial(2005, 12, 25)},
      {"swapped when only that is real", u"12/13/2005", Serial(2005, 12, 13)},
      {"swapped, single digits", u"6/25/2005", Serial(2005, 6, 25)},
      {"two-digit year, this century", u"25/12/05", Serial(2005, 12, 25)},
      {"two-digit year, window end", u"1/1/29", Serial(2029, 1, 1)},
      {"two-digit year, last century", u"1/1/30", Serial(1930, 1, 1)},
      {"one-digit year", u"1/1/5", Serial(2005, 1, 1)},
      {"three-digit year as written", u"1/1/205", Serial(205, 1, 1)},
      {"leading year", u"2005/12/25", Serial(2005, 12, 25)},
      {"leading year, dashes", u"2005-12-25", Serial(2005, 12, 25)},
      {"leading year, swapped", u"2005/25/12", Serial(2005, 12, 25)},
      {"day 0 of the Date", u"30/12/1899", 0},
      {"before day 0", u"29/12/1899", -1},
      {"month name", u"25 dic 2005", Serial(2005, 12, 25)},
      {"full month name", u"25 dicembre 2005", Serial(2005, 12, 25)},
      {"month name with dashes", u"25-Dic-2005", Serial(2005, 12, 25)},
      {"month name first", u"dicembre 25, 2005", Serial(2005, 12, 25)},
      {"English month name", u"25 Dec 2005", Serial(2005, 12, 25)},
      {"month name with a dot", u"25 dic. 2005", Serial(2005, 12, 25)},
      {"month name, year first", u"2005 dic 25", Serial(2005, 12, 25)},
      {"month name, two-digit year", u"5 mag 05", Serial(2005, 5, 5)},
      {"date and time", u"25/12/2005 10:30", Serial(2005, 12, 25) + Time(10, 30, 0)},
      {"date and time with seconds", u"25/12/2005 23:59:59",
       Serial(2005, 12, 25) + Time(23, 59, 59)},
      {"time before day 0", u"29/12/1899 06:00", -1.25},
      {"time alone", u"10:30", Time(10, 30, 0)},
      {"time with PM", u"1:15 PM", Time(13, 15, 0)},
      {"time with pm, no blank", u"1:15pm", Time(13, 15, 0)},
      {"midnight with AM", u"12:00 AM", 0},
      {"noon with P", u"12:00:01 p", Time(12, 0, 1)},
      {"date, time and AM", u"25/12/2005 11:00:00 AM", Serial(2005, 12, 25) + Time(11, 0, 0)},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST_F(DateTextTest, RejectsWhatIsNoDate) {
  const char16_t* bad[] = {
      u"",
      u"   ",
      u"abc",
      u"31/02/2005",  // impossible either way round
      u"29/02/2005",
      u"02/31/2005",
      u"32/12/2005",
      u"13/13/2005",
      u"00/00/0000",
      u"00/12/2005",
      u"25/00/2005",
      u"25/12/0099",  // four digits are taken as written: year 99 is out of range
      u"25/12/10000",
      u"01/01/0000",
      u"31/12/99999",
      u"25/12",  // no year
      u"25",
      u"2005",
      u"38711",
      u"25/12/2005/1",
      u"25/12-2005",  // mixed separators
      u"25 12 2005",  // blanks only between numbers
      u"25,12,2005",
      u"25/12/2005x",
      u"x25/12/2005",
      u"25/12/ 2005 10",
      u"25/12/2005 25:00",
      u"25/12/2005 10:60",
      u"25/12/2005 10:30:60",
      u"25/12/2005 13:00 PM",
      u"25/12/2005 0:30 AM",
      u"25/12/2005 10:30 XM",
      u"25/12/2005 10:30 AMX",
      u"25/12/200510:30",
      u"10:30 25/12/2005",
      u"10:",
      u":30",
      u"10:30:",
      u"1:2:3:4",
      u"100:30",
      u"25 dic dic 2005",
      u"dic 2005",
      u"25 foo 2005",
      u"dic, 25 2005",
      u"25 dic 205 2005",
      u"2005 dic 1999",
      u"001/01/2005",
      u"25/012/2005",
      u"12/2005/25",
      u"1/1/1/1",
      u"\uff12\uff15/12/2005",  // full-width digits
      u"25\u200b/12/2005",
      u"-25/12/2005",
      u"+25/12/2005",
      u"1e3",
  };
  for (const char16_t* text : bad) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_FALSE(IsDate(text));
  }
  EXPECT_FALSE(IsDate(std::u16string_view(u"25/12/2005\0", 11)));
  EXPECT_FALSE(IsDate(std::u16string_view(u"\0", 1)));
  EXPECT_FALSE(IsDate(u"25/12/2005" + String(1, char16_t(0xD800))));
  EXPECT_FALSE(IsDate(u"25 " + String(1, char16_t(0xDC00)) + u" 2005"));
  EXPECT_FALSE(IsDate(String(100000, u'1')));
  EXPECT_FALSE(IsDate(String(1000, u'/')));
  EXPECT_FALSE(IsDate(String(1000, u' ') + u"x"));
}

// Every real calendar date written "dd/mm/yyyy" is a date in every locale, and in a
// day-month-year locale it is the date written.
TEST_F(DateTextTest, EveryRealDateInTheControlsFormIsADate) {
  const char* locales[] = {"it_IT", "en_US", "de_DE", "ja_JP", "xx_YY"};
  for (const char* name : locales) {
    ScopedLocale locale(name);
    for (int y : {1900, 1999, 2000, 2004, 2005, 3000}) {
      for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= civil::DaysInMonth(y, m); ++d) {
          char16_t text[11] = {char16_t(u'0' + d / 10),
                               char16_t(u'0' + d % 10),
                               u'/',
                               char16_t(u'0' + m / 10),
                               char16_t(u'0' + m % 10),
                               u'/',
                               char16_t(u'0' + y / 1000),
                               char16_t(u'0' + y / 100 % 10),
                               char16_t(u'0' + y / 10 % 10),
                               char16_t(u'0' + y % 10),
                               0};
          ASSERT_TRUE(IsDate(text)) << name << " " << ToUtf8(text);
          if (std::string(name) == "it_IT" || std::string(name) == "de_DE") {
            ASSERT_EQ(CDate(text).serial, Serial(y, m, d)) << name << " " << ToUtf8(text);
          }
        }
      }
    }
  }
}

TEST_F(DateTextTest, OtherLocalesReadInTheirOrder) {
  {
    ScopedLocale locale("en_US");
    ExpectReads({"month first", u"12/25/2005", Serial(2005, 12, 25)});
    ExpectReads({"month first, ambiguous", u"05/06/2005", Serial(2005, 5, 6)});
    ExpectReads({"swapped when only that is real", u"25/12/2005", Serial(2005, 12, 25)});
    ExpectReads({"English name", u"Dec 25, 2005", Serial(2005, 12, 25)});
  }
  {
    ScopedLocale locale("de_DE");
    ExpectReads({"dots", u"25.12.2005", Serial(2005, 12, 25)});
    ExpectReads({"German name", u"25. Dezember 2005", Serial(2005, 12, 25)});
    ExpectReads({"German abbreviation with dot", u"1 Jan. 2005", Serial(2005, 1, 1)});
  }
  {
    ScopedLocale locale("ja_JP");
    ExpectReads({"year first", u"05/12/25", Serial(2005, 12, 25)});
    ExpectReads({"four-digit year first", u"2005/12/25", Serial(2005, 12, 25)});
  }
}

TEST_F(DateTextTest, CDateOfANumberTextIsASerial) {
  EXPECT_EQ(CDate(u"38711").serial, 38711);
  EXPECT_EQ(CDate(u"38711,5").serial, 38711.5);
  EXPECT_EQ(CDate(u"-1,25").serial, -1.25);
  EXPECT_EQ(ErrorOf([] { CDate(u"3000000"); }), 6);
  EXPECT_EQ(ErrorOf([] { CDate(u"1e400"); }), 6);
  EXPECT_EQ(ErrorOf([] { CDate(u"31/02/2005"); }), 13);
  EXPECT_EQ(ErrorOf([] { CDate(u""); }), 13);
  EXPECT_EQ(ErrorOf([] { CDate(u"abc"); }), 13);
}

TEST_F(DateTextTest, CStrWritesTheShortDateForm) {
  struct Case {
    const char* locale;
    double serial;
    const char16_t* expected;
  } cases[] = {
      {"it_IT", Serial(2005, 12, 25), u"25/12/2005"},
      {"it_IT", Serial(2005, 1, 4), u"04/01/2005"},
      {"it_IT", 0, u"30/12/1899"},
      {"it_IT", Serial(2005, 12, 25) + Time(10, 30, 0), u"25/12/2005 10:30:00"},
      {"it_IT", Time(6, 0, 0), u"06:00:00"},
      {"it_IT", -1.25, u"29/12/1899 06:00:00"},
      {"it_IT", Serial(205, 3, 1), u"01/03/0205"},
      {"it_IT", Serial(2005, 12, 25) + Time(23, 59, 59) + 0.6 / 86400, u"26/12/2005"},
      {"en_US", Serial(2005, 12, 25), u"12/25/2005"},
      {"de_DE", Serial(2005, 12, 25) + 0.5, u"25.12.2005 12:00:00"},
      {"ja_JP", Serial(2005, 12, 25), u"2005/12/25"},
      {"sv_SE", Serial(2005, 12, 25), u"2005-12-25"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + std::to_string(c.serial));
    ScopedLocale locale(c.locale);
    EXPECT_EQ(CStr(Date(c.serial)), c.expected);
  }
  EXPECT_EQ(ErrorOf([] { CStr(Date(1e10)); }), 6);
}

// CStr and CDate are inverse to the second in every locale, for dates spread over the
// whole range, with and without a time.
TEST_F(DateTextTest, CStrReadsBackThroughCDate) {
  const char* locales[] = {"it_IT", "en_US", "de_DE", "fr_FR", "ja_JP", "sv_SE", "hu_HU", "xx_YY"};
  for (const char* name : locales) {
    ScopedLocale locale(name);
    for (std::int32_t day = civil::kFirstDay; day <= civil::kLastDay; day += 9973) {
      for (double time : {0.0, Time(0, 0, 1), Time(13, 45, 30), Time(23, 59, 59)}) {
        const Date d = MakeDate(day, time);
        const String text = CStr(d);
        ASSERT_TRUE(IsDate(text)) << name << " " << ToUtf8(text);
        ASSERT_NEAR(CDate(text).serial, d.serial, 1e-9) << name << " " << ToUtf8(text);
      }
    }
  }
}

}  // namespace
}  // namespace ze
