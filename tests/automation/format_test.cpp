// Format of dates with patterns and of numbers with pictures.
#include "frame/automation/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "automation_fixture.h"
#include "frame/automation/civil_date.h"

namespace ze {
namespace {

using testing::AutomationTest;
using testing::ErrorOf;
using testing::ScopedLocale;

using FormatTest = AutomationTest;

double Serial(int y, int m, int d) {
  return civil::DaysFromCivil(y, m, d);
}
double Time(int h, int n, int s) {
  return (h * 3600 + n * 60 + s) / 86400.0;
}

TEST_F(FormatTest, DatePatterns) {
  // Sunday 4 September 2005, 07:08:09.
  const Date d(Serial(2005, 9, 4) + Time(7, 8, 9));
  const Date afternoon(Serial(2005, 12, 25) + Time(13, 5, 0));
  struct Case {
    Date date;
    const char16_t* pattern;
    const char16_t* expected;
  } cases[] = {
      {d, u"dd/mm/yyyy", u"04/09/2005"},
      {d, u"d/m/yy", u"4/9/05"},
      {d, u"DD/MM/YYYY", u"04/09/2005"},
      {d, u"yyyy-mmm-dd hh:mm:ss", u"2005-set-04 07:08:09"},
      {d, u"hh:nn:ss", u"07:08:09"},
      {d, u"h:n:s", u"7:8:9"},
      {d, u"hh.mm", u"07.08"},  // minutes after an hour, whatever lies between
      {d, u"mm hh", u"09 07"},  // months before one
      {d, u"mmmm", u"settembre"},
      {d, u"ddd dddd", u"dom domenica"},
      {d, u"w ww q y", u"1 37 3 247"},
      {d, u"ddddd", u"04/09/2005"},
      {d, u"dddddd", u"domenica 4 settembre 2005"},
      {d, u"c", u"04/09/2005 07:08:09"},
      {d, u"", u"04/09/2005 07:08:09"},
      {d, u"General Date", u"04/09/2005 07:08:09"},
      {d, u"Short Date", u"04/09/2005"},
      {d, u"long time", u"07:08:09"},
      {d, u"Short Time", u"07:08"},
      {d, u"Medium Date", u"04-set-05"},
      {afternoon, u"h:nn AM/PM", u"1:05 PM"},
      {afternoon, u"hh:nn am/pm", u"01:05 pm"},
      {afternoon, u"h A/P", u"1 P"},
      {d, u"h a/p", u"7 a"},
      {Date(Serial(2005, 1, 1)), u"h AM/PM", u"12 AM"},
      {d, u"\"giorno\" d", u"giorno 4"},
      {d, u"\\d\\m d", u"dm 4"},
      {d, u"dd/mm/yyyy x", u"04/09/2005 x"},
      {d, u"\"unterminated", u"unterminated"},
      {d, u"\\", u""},
      {Date(0), u"dd/mm/yyyy", u"30/12/1899"},
      {Date(-1.25), u"dd/mm/yyyy hh:nn", u"29/12/1899 06:00"},
      {Date(Serial(205, 3, 1)), u"dd/mm/yyyy", u"01/03/0205"},
      {Date(Serial(9999, 12, 31) + 0.99999), u"dd/mm/yyyy hh:nn:ss", u"31/12/9999 23:59:59"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.pattern));
    EXPECT_EQ(Format(c.date, c.pattern), c.expected);
  }
}

TEST_F(FormatTest, SlashIsAlwaysASlash) {
  ScopedLocale locale("de_DE");
  const Date d(Serial(2005, 12, 25));
  EXPECT_EQ(Format(d, u"dd/mm/yyyy"), u"25/12/2005");
  EXPECT_EQ(Format(d, u"mmm"), u"Dez.");
  EXPECT_EQ(Format(d, u"ddddd"), u"25.12.2005");
}

TEST_F(FormatTest, DatesThatAreNoDatesOverflow) {
  EXPECT_EQ(ErrorOf([] { Format(Date(std::nan("")), u"dd"); }), 6);
  EXPECT_EQ(ErrorOf([] { Format(Date(1e300), u"dd"); }), 6);
  EXPECT_EQ(ErrorOf([] { Format(Date(-1e300), u""); }), 6);
}

TEST_F(FormatTest, NumberPictures) {
  struct Case {
    double value;
    const char16_t* picture;
    const char16_t* expected;
  } cases[] = {
      // The numeric field's pictures.
      {1234.5, u"##########0.00", u"1234,50"},
      {2.999, u"##########0.00", u"3,00"},
      {-3, u"##########0.00", u"-3,00"},
      {0, u"##########0.00", u"0,00"},
      {1.236, u"##########0.00", u"1,24"},
      {1900, u"##########0", u"1900"},
      {2.5, u"##########0", u"3"},
      {-2.5, u"##########0", u"-3"},
      {0.5, u"##########0", u"1"},
      {0.4, u"##########0", u"0"},
      {123456789012345.0, u"##########0", u"123456789012345"},
      {-0.001, u"##########0.00", u"0,00"},
      // Thousands grouping.
      {1234567.891, u"###,###,##0.00", u"1.234.567,89"},
      {0.5, u"###,###,##0", u"1"},
      {999.995, u"###,###,##0.00", u"1.000,00"},
      {-1234567, u"#,##0", u"-1.234.567"},
      {12345678901234.0, u"#,##0", u"12.345.678.901.234"},
      {100, u"#,##0", u"100"},
      {1000, u"#,0", u"1.000"},
      // Rounding from the written decimal form: halves away from zero.
      {2.675, u"0.00", u"2,68"},
      {1.005, u"0.00", u"1,01"},
      {-2.675, u"0.00", u"-2,68"},
      {0.125, u"0.00", u"0,13"},
      {9.995, u"0.00", u"10,00"},
      {0.0049, u"0.00", u"0,00"},
      {0.005, u"0.00", u"0,01"},
      {1e-300, u"0.00", u"0,00"},
      // "#" and "0" places.
      {5, u"000", u"005"},
      {5, u"#", u"5"},
      {0, u"#", u""},
      {0, u"#.##", u","},
      {5, u"#.##", u"5,"},
      {5.1, u"0.0#", u"5,1"},
      {5.123, u"0.0#", u"5,12"},
      {0.5, u"#.00", u",50"},
      {0.5, u".00", u",50"},
      {12345, u"00", u"12345"},
      {5, u"0#0", u"005"},  // every place from the first "0" on
      // Literals, percent, escapes.
      {5, u"$0", u"$5"},
      {-5, u"$0", u"-$5"},
      {0.256, u"0.0%", u"25,6%"},
      {12, u"0 \"pz\"", u"12 pz"},
      {12, u"\\#0", u"#12"},
      {5551234, u"###-####", u"555-1234"},
      {5, u"abc", u"abc5"},
      {5, u"0,", u"5"},
      {1.5, u"0.0.0", u"1,5.0"},  // only the first "." is the point
      // Named pictures.
      {1234.5, u"", u"1234,5"},
      {1234.5, u"General Number", u"1234,5"},
      {1234.5, u"Fixed", u"1234,50"},
      {1234.5, u"standard", u"1.234,50"},
      {0.5, u"Percent", u"50,00%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " " + ToUtf8(c.picture));
    EXPECT_EQ(Format(c.value, c.picture), c.expected);
  }
}

// Literals among grouped integer places print where they stand; the separators follow
// the digits as in the grouped text.
TEST_F(FormatTest, LiteralsAmongGroupedDigits) {
  ScopedLocale locale("en_US");
  EXPECT_EQ(Format(123456789, u"###, ###, ###"), u"123, 456, 789");
  EXPECT_EQ(Format(1234567, u"$#,##0.00"), u"$1,234,567.00");
  EXPECT_EQ(Format(1234567, u"#,##0 \"pz\""), u"1,234,567 pz");
  EXPECT_EQ(Format(-98765, u"#,##0 EUR"), u"-98,765 EUR");
}

// What the runtime does not print fails with error 5, never with a plausible number.
TEST_F(FormatTest, PicturePartsNotPrintedFail) {
  for (const char16_t* picture :
       {u"#;-#", u"0.00;(0.00)", u"0;0;\"zero\"", u"0.0000E+000", u"0.0e-0", u"@@@", u"0@",
        u"Scientific", u"currency", u"True/False", u"Yes/No", u"On/Off"}) {
    SCOPED_TRACE(ToUtf8(picture));
    EXPECT_EQ(ErrorOf([&] { Format(-1.7325, picture); }), 5);
  }
  // Quoted or escaped, they are literals as before.
  EXPECT_EQ(Format(5, u"0\";\""), u"5;");
  EXPECT_EQ(Format(5, u"0\\@"), u"5@");
  EXPECT_EQ(Format(5, u"0 \"E+\""), u"5 E+");
  EXPECT_EQ(Format(5, u"0 EUR"), u"5 EUR");
}

TEST_F(FormatTest, NumberPicturesInOtherLocales) {
  {
    ScopedLocale locale("en_US");
    EXPECT_EQ(Format(1234567.891, u"###,###,##0.00"), u"1,234,567.89");
    EXPECT_EQ(Format(1234.5, u"##########0.00"), u"1234.50");
  }
  {
    ScopedLocale locale("fr_FR");
    EXPECT_EQ(Format(1234567.891, u"#,##0.00"), u"1\u202f234\u202f567,89");
  }
}

TEST_F(FormatTest, HugeAndNonFiniteNumbers) {
  const String huge = Format(1e300, u"0.00");
  EXPECT_EQ(huge.size(), 301u + 3u);
  EXPECT_EQ(huge.substr(0, 15), u"100000000000000");
  EXPECT_EQ(Format(std::numeric_limits<double>::max(), u"0").size(), 309u);
  EXPECT_EQ(Format(std::numeric_limits<double>::denorm_min(), u"0.00"), u"0,00");
  EXPECT_EQ(ErrorOf([] { Format(std::nan(""), u"0"); }), 6);
  EXPECT_EQ(ErrorOf([] { Format(std::numeric_limits<double>::infinity(), u"0"); }), 6);
  EXPECT_EQ(ErrorOf([] { Format(1e308, u"0%%%"); }), 6);
  // Many fraction places: digits past the 15 significant ones are zeros.
  EXPECT_EQ(Format(0.1, u"0." + String(20, u'0')), u"0,10000000000000000000");
}

// Every value of 0.00 .. 99.99 in steps of 0.005 (the halves included) formats with two
// decimals to the value rounded half away from zero.
TEST_F(FormatTest, TwoDecimalSweep) {
  ScopedLocale locale("en_US");
  for (int k = 0; k <= 20000; ++k) {
    const double v = k * 0.005;
    const long long cents = (k + 1) / 2;  // halves away from zero
    char expected[32];
    std::snprintf(expected, sizeof expected, "%lld.%02lld", cents / 100, cents % 100);
    ASSERT_EQ(ToUtf8(Format(v, u"##########0.00")), expected) << k;
    ASSERT_EQ(ToUtf8(Format(-v, u"##########0.00")), (k == 0 ? "" : "-") + std::string(expected))
        << k;
  }
}

// The text of |v| rounded to `decimals` places from its 15-significant-digit form, halves
// away from zero: the reference the pictures must match, built with printf's digits.
std::string ReferenceFixed(double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(v));
  std::string digits;
  const char* p = buffer;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits += *p;
  }
  const int exponent = std::atoi(p + 1);
  // Digits as an integer count of 10^-decimals units, rounded at the first digit dropped.
  const int keep = exponent + 1 + decimals;
  std::string units;
  if (keep > 0) {
    units = digits.substr(0, std::min<size_t>(keep, digits.size()));
    while (static_cast<int>(units.size()) < keep) units += '0';
  }
  const bool up = keep >= 0 && keep < static_cast<int>(digits.size()) && digits[keep] >= '5';
  if (up) {
    int i = static_cast<int>(units.size()) - 1;
    for (; i >= 0 && units[i] == '9'; --i) units[i] = '0';
    if (i >= 0)
      ++units[i];
    else
      units.insert(units.begin(), '1');
  }
  while (static_cast<int>(units.size()) <= decimals) units.insert(units.begin(), '0');
  std::string out = units.substr(0, units.size() - decimals);
  out.erase(0, std::min(out.find_first_not_of('0'), out.size() - 1));
  if (decimals > 0) out += "." + units.substr(units.size() - decimals);
  return out;
}

// Random values of every magnitude, and values near halves, against the reference.
TEST_F(FormatTest, RoundingMatchesTheDecimalReference) {
  ScopedLocale locale("en_US");
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> power(-12, 16);
  std::uniform_int_distribution<int> decimals(0, 12);
  for (int k = 0; k < 30000; ++k) {
    double v = mantissa(random) * std::pow(10.0, power(random));
    const int f = decimals(random);
    if (k % 3 == 0) v = std::round(v * std::pow(10.0, f) * 2) / 2 / std::pow(10.0, f);  // a half
    const String picture = u"0" + String(f > 0 ? 1 : 0, u'.') + String(f, u'0');
    ASSERT_EQ(ToUtf8(Format(v, picture)), ReferenceFixed(v, f)) << v << " " << f;
  }
}

}  // namespace
}  // namespace ze
