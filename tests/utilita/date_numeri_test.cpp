// zeUtilita's dates and numbers: the worked examples, the carries, the failures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "tests/utilita/error_of.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using ze::Date;
using ze::String;

class DateNumeriTest : public ::testing::Test {
 protected:
  void SetUp() override { ze::Locale::SetCurrent("it_IT"); }
  void TearDown() override { ze::Locale::SetCurrent("it_IT"); }

  Date GetData(const String& text, String* left = nullptr) {
    String testo = text;
    const Date d = u_.GetDataDaString(testo);
    if (left != nullptr) *left = testo;
    return d;
  }
  Date Stringa(String testo, String sep) { return u_.StringaToDate(testo, sep); }
  String Reale(double v, std::int16_t cifre) { return u_.RealeToString(v, cifre); }

  zeUtilita u_;
};

TEST_F(DateNumeriTest, LongToDateIsTheTimeAfterMidnightWithCarry) {
  struct Case {
    std::int32_t sec;
    double serial;
  } cases[] = {
      {0, 0.0},
      {3599, 3599.0 / 86400},
      {3600, 1.0 / 24},
      {86399, 86399.0 / 86400},
      {86400, 1.0},
      {90061, 1.0 + 3661.0 / 86400},
      {-1, ze::TimeSerial(0, 0, -1).serial},
      {117964799, ze::TimeSerial(32767, 59, 59).serial},
      {-117964800, ze::TimeSerial(-32768, 0, 0).serial},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(u_.LongToDate(c.sec).serial, c.serial, 1e-9) << c.sec;
  }
  EXPECT_EQ(ErrorOf([&] { u_.LongToDate(117964800); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { u_.LongToDate(-117964801); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { u_.LongToDate(std::numeric_limits<std::int32_t>::min()); }),
            ze::errors::kOverflow);
}

TEST_F(DateNumeriTest, GetDataDaStringReadsDayMonthYearAndRewritesDashes) {
  String left;
  EXPECT_EQ(GetData(u"4-9-2005", &left), ze::DateSerial(2005, 9, 4));
  EXPECT_EQ(left, u"4/9/2005");
  EXPECT_EQ(GetData(u"31/02/2005"), ze::DateSerial(2005, 3, 3));
  EXPECT_EQ(GetData(u"32/1/2005"), ze::DateSerial(2005, 2, 1));
  EXPECT_EQ(GetData(u"0/3/2005"), ze::DateSerial(2005, 2, 28));
  EXPECT_EQ(GetData(u"1/13/2005"), ze::DateSerial(2006, 1, 1));
  EXPECT_EQ(GetData(u" 4 / 9 / 2005 "), ze::DateSerial(2005, 9, 4));
  // Halves go to the even neighbour: 2,5 is 2 in the home locale.
  EXPECT_EQ(GetData(u"2,5/9/2005"), ze::DateSerial(2005, 9, 2));
  // A two-digit year is completed as DateSerial completes it.
  EXPECT_EQ(GetData(u"4/9/05"), ze::DateSerial(2005, 9, 4));
  // Everything after the second separator is the year's text.
  EXPECT_EQ(ErrorOf([&] { GetData(u"4/9/2005/1"); }), ze::errors::kTypeMismatch);
}

TEST_F(DateNumeriTest, GetDataDaStringFailuresAndTheTextTheyLeave) {
  String left;
  EXPECT_EQ(ErrorOf([&] { GetData(u"4.9.2005", &left); }), 9912);
  EXPECT_EQ(ze::Err().Description, u"Data non valida.");
  EXPECT_EQ(ErrorOf([&] { GetData(u"4-9"); }), 9912);
  EXPECT_EQ(ErrorOf([&] { GetData(u""); }), 9912);
  EXPECT_EQ(ErrorOf([&] { GetData(u"/9/2005"); }), ze::errors::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { GetData(u"a/9/2005"); }), ze::errors::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { GetData(u"4/9/"); }), ze::errors::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { GetData(u"40000/9/2005"); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { GetData(u"4/9/10000"); }), ze::errors::kInvalidProcedureCall);
  // The rewritten text stays in the caller's variable even when the date fails.
  String testo = u"x-y-z";
  EXPECT_NE(ErrorOf([&] { u_.GetDataDaString(testo); }), 0);
  EXPECT_EQ(testo, u"x/y/z");
}

TEST_F(DateNumeriTest, DataToStringSqlWritesPlainNumbersBetweenBlanks) {
  Date d = ze::DateSerial(2005, 9, 4);
  EXPECT_EQ(u_.DataToStringSql(d), u" DateSerial(2005,9,4) ");
  d = ze::Date(ze::DateSerial(1999, 12, 31).serial + 0.75);
  EXPECT_EQ(u_.DataToStringSql(d), u" DateSerial(1999,12,31) ");
  d = ze::DateSerial(100, 1, 1);
  EXPECT_EQ(u_.DataToStringSql(d), u" DateSerial(100,1,1) ");
  // A date before day 0 with a time still names its own day.
  d = ze::Date(-1.25);
  EXPECT_EQ(u_.DataToStringSql(d), u" DateSerial(1899,12,29) ");
}

TEST_F(DateNumeriTest, RealeToStringGroupsWithTheLocaleAndRoundsHalvesAway) {
  EXPECT_EQ(Reale(1234567.891, 2), u"1.234.567,89");
  EXPECT_EQ(Reale(0.5, 0), u"1");
  EXPECT_EQ(Reale(-0.5, 0), u"-1");
  EXPECT_EQ(Reale(2.5, 0), u"3");
  EXPECT_EQ(Reale(0.125, 2), u"0,13");
  EXPECT_EQ(Reale(0, 3), u"0,000");
  EXPECT_EQ(Reale(-1234.5, 1), u"-1.234,5");
  EXPECT_EQ(Reale(1234.5, -3), u"1.235");
  // Grouping runs over the whole integer part, past the picture's own digits.
  EXPECT_EQ(Reale(123456789012.0, 0), u"123.456.789.012");
  ze::Locale::SetCurrent("en_US");
  EXPECT_EQ(Reale(1234567.891, 2), u"1,234,567.89");
}

TEST_F(DateNumeriTest, RealeToStringOfNoNumberFailsWithOverflow) {
  EXPECT_EQ(ErrorOf([&] { Reale(std::nan(""), 2); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { Reale(std::numeric_limits<double>::infinity(), 0); }),
            ze::errors::kOverflow);
}

TEST_F(DateNumeriTest, StringaToDateReadsAFixedLayoutAndGivesDayZeroOtherwise) {
  EXPECT_EQ(Stringa(u"04/09/2005", u"/"), ze::DateSerial(2005, 9, 4));
  EXPECT_EQ(Stringa(u"04092005", u""), ze::DateSerial(2005, 9, 4));
  EXPECT_EQ(Stringa(u"04 - 09 - 2005", u" - "), ze::DateSerial(2005, 9, 4));
  EXPECT_EQ(Stringa(u"31/02/2005", u"/"), ze::DateSerial(2005, 3, 3));
  const Date zero(0.0);
  EXPECT_EQ(Stringa(u"4/9/2005", u"/"), zero);
  EXPECT_EQ(Stringa(u"", u"/"), zero);
  EXPECT_EQ(Stringa(u"04/09", u"/"), zero);
  EXPECT_EQ(Stringa(u"aa/bb/cccc", u"/"), zero);
  EXPECT_EQ(Stringa(u"04/09/0000", u"/"), ze::DateSerial(2000, 9, 4));
  EXPECT_EQ(ze::Err().Number, 0);
}

}  // namespace
}  // namespace zekalendo
