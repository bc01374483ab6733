// Val, CDbl, CSng, CInt, CLng, IsNumeric, IsNumericChar and CStr of numbers.
#include "frame/automation/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "automation_fixture.h"

namespace ze {
namespace {

using testing::AutomationTest;
using testing::ErrorOf;
using testing::ScopedLocale;

using NumberTextTest = AutomationTest;

TEST_F(NumberTextTest, ValReadsTheLeadingNumber) {
  struct Case {
    const char16_t* text;
    double expected;
  } cases[] = {
      {u"", 0},           {u"abc", 0},    {u"-", 0},           {u".", 0},
      {u"+", 0},          {u"12", 12},    {u"  12", 12},       {u"\t\r\n7", 7},
      {u"2005", 2005},    {u"05", 5},     {u"12/13/2005", 12}, {u"13/2005", 13},
      {u"1.5", 1.5},      {u"1,5", 1},  // the decimal point is "." whatever the locale
      {u"-3.25x", -3.25}, {u"+4", 4},     {u".5", 0.5},        {u"5.", 5},
      {u"1.2.3", 1.2},    {u"1e3", 1000}, {u"1E-2", 0.01},     {u"2d2", 200},
      {u"1e", 1},         {u"1e+", 1},    {u"1ex", 1},         {u"12 34", 12},
      {u"- 5", 0},        {u"0/0", 0},    {u"00/00/0000", 0},  {u"1e-400", 0},
      {u"-0", 0},         {u"\u0661", 0},  // digits of other scripts are no digits here
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(Val(c.text), c.expected);
  }
  EXPECT_FALSE(std::signbit(Val(u"-0")));
  EXPECT_EQ(Val(std::u16string_view(u"12\0"
                                    u"3",
                                    4)),
            12);
  EXPECT_EQ(Val(String(1000, u'0') + u"7"), 7);
  EXPECT_EQ(Val(u"0." + String(400, u'0') + u"1e420"), 1e19);
  EXPECT_EQ(ErrorOf([] { Val(u"1e400"); }), 6);
  EXPECT_EQ(ErrorOf([] { Val(u"1" + String(400, u'0')); }), 6);
  EXPECT_EQ(ErrorOf([] { Val(u"1e99999999999999999999"); }), 6);
}

TEST_F(NumberTextTest, CDblFollowsTheLocale) {
  struct Case {
    const char* locale;
    const char16_t* text;
    double expected;
  } cases[] = {
      {"it_IT", u"12,50", 12.5},
      {"it_IT", u"1.234,5", 1234.5},
      {"it_IT", u"1.234.567", 1234567},
      {"it_IT", u"12.50", 1250},  // "." groups thousands in Italian
      {"it_IT", u" -3 ", -3},
      {"it_IT", u"+7", 7},
      {"it_IT", u",5", 0.5},
      {"it_IT", u"5,", 5},
      {"it_IT", u"1,5E3", 1500},
      {"it_IT", u"1e-3", 0.001},
      {"it_IT", u"0", 0},
      {"it_IT", u"-0", 0},
      {"it_IT", u"1\u00a0", 1},
      {"en_US", u"1,234.5", 1234.5},
      {"en_US", u"12.50", 12.5},
      {"fr_FR", u"1 234,5", 1234.5},
      {"fr_FR", u"1\u202f234,5", 1234.5},
      {"de_CH", u"1\u2019000.5", 1000.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + ToUtf8(c.text));
    ScopedLocale locale(c.locale);
    EXPECT_EQ(CDbl(c.text), c.expected);
  }
  EXPECT_FALSE(std::signbit(CDbl(u"-0")));
}

TEST_F(NumberTextTest, CDblRejectsWhatIsNoNumber) {
  const char16_t* bad[] = {u"",     u" ",    u"-",    u"abc",    u"12a",     u"1,2,3",
                           u".5",   u"1..2", u",",    u"1.,5",   u"1.",      u".1",
                           u"1e",   u"1e+",  u"--1",  u"1-",     u"1 2",     u"(1)",
                           u"&H10", u"0x10", u"1,5,", u"\u0661", u"1\u00a02"};
  for (const char16_t* text : bad) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_EQ(ErrorOf([&] { CDbl(text); }), 13);
    EXPECT_FALSE(IsNumeric(text));
  }
  EXPECT_EQ(ErrorOf([] { CDbl(std::u16string_view(u"1\0", 2)); }), 13);
  EXPECT_EQ(ErrorOf([] { CDbl(String(1, char16_t(0xD800))); }), 13);
  EXPECT_EQ(Val(String(1, char16_t(0xDC00)) + u"5"), 0);
  EXPECT_EQ(ErrorOf([] { CDbl(u"1e400"); }), 6);
  EXPECT_TRUE(IsNumeric(u"1e400"));
  EXPECT_EQ(CDbl(u"1e-400"), 0);
  // The largest Double as CStr writes it reads back; just past it does not.
  EXPECT_EQ(CStr(-DBL_MAX), u"-1,79769313486232E+308");
  EXPECT_EQ(CDbl(CStr(-DBL_MAX)), -DBL_MAX);
  EXPECT_EQ(Val(u"1.79769313486232e308"), DBL_MAX);
  EXPECT_EQ(ErrorOf([] { CDbl(u"1,797693134862321E+308"); }), 6);
  EXPECT_EQ(ErrorOf([] { CDbl(u"1,8E+308"); }), 6);
}

TEST_F(NumberTextTest, CSng) {
  EXPECT_EQ(CSng(u"1,5"), 1.5f);
  EXPECT_EQ(CSng(3.4e38), 3.4e38f);
  EXPECT_EQ(ErrorOf([] { CSng(1e39); }), 6);
  EXPECT_EQ(ErrorOf([] { CSng(u"1e39"); }), 6);
  EXPECT_EQ(ErrorOf([] { CSng(std::nan("")); }), 6);
  EXPECT_EQ(ErrorOf([] { CSng(u"x"); }), 13);
}

TEST_F(NumberTextTest, CIntAndCLngRoundHalvesToEven) {
  struct Case {
    double value;
    int expected;
  } cases[] = {
      {0.5, 0},         {1.5, 2},
      {2.5, 2},         {3.5, 4},
      {-0.5, 0},        {-1.5, -2},
      {-2.5, -2},       {2.4, 2},
      {2.6, 3},         {-2.6, -3},
      {32767.4, 32767}, {-32768.5, -32768},
      {32766.5, 32766}, {0.49999999999999994, 0},
      {1e-300, 0},      {-0.0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(CInt(c.value), c.expected);
    EXPECT_EQ(CLng(c.value), c.expected);
  }
  EXPECT_EQ(CLng(2147483646.5), 2147483646);
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(CInt(u"2,5"), 2);
  EXPECT_EQ(CLng(u"1.000.000"), 1000000);
}

TEST_F(NumberTextTest, CIntAndCLngOverflow) {
  const double too_big_for_int[] = {32767.5,
                                    -32768.6,
                                    40000,
                                    -1e10,
                                    1e300,
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN()};
  for (double v : too_big_for_int) {
    SCOPED_TRACE(v);
    EXPECT_EQ(ErrorOf([&] { CInt(v); }), 6);
  }
  EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), 6);
  EXPECT_EQ(ErrorOf([] { CLng(-2147483649.0); }), 6);
  EXPECT_EQ(ErrorOf([] { CLng(std::nan("")); }), 6);
  EXPECT_EQ(ErrorOf([] { CInt(u"40000"); }), 6);
  EXPECT_EQ(ErrorOf([] { CInt(u"dodici"); }), 13);
  EXPECT_EQ(ErrorOf([] { CLng(u""); }), 13);
}

// Every UTF-16 unit: only the ten ASCII digits are numeric characters.
TEST(IsNumericChar, OnlyTheTenDigits) {
  int count = 0;
  for (int c = 0; c <= 0xFFFF; ++c) {
    const bool numeric = IsNumericChar(static_cast<char16_t>(c));
    EXPECT_EQ(numeric, c >= '0' && c <= '9') << c;
    count += numeric;
  }
  EXPECT_EQ(count, 10);
}

TEST_F(NumberTextTest, CStrOfNumbers) {
  struct Case {
    double value;
    const char16_t* it;
    const char16_t* us;
  } cases[] = {
      {0, u"0", u"0"},
      {-0.0, u"0", u"0"},
      {12.5, u"12,5", u"12.5"},
      {-3, u"-3", u"-3"},
      {1234567, u"1234567", u"1234567"},
      {0.1 + 0.2, u"0,3", u"0.3"},
      {1.0 / 3, u"0,333333333333333", u"0.333333333333333"},
      {123456789012345, u"123456789012345", u"123456789012345"},
      {1e15, u"1E+15", u"1E+15"},
      {1.5e-5, u"1,5E-05", u"1.5E-05"},
      {0.0001, u"0,0001", u"0.0001"},
      {1e300, u"1E+300", u"1E+300"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(CStr(c.value), c.it);
    ScopedLocale us("en_US");
    EXPECT_EQ(CStr(c.value), c.us);
  }
  EXPECT_EQ(CStr(1.1f), u"1,1");
  EXPECT_EQ(CStr(16777216.0f), u"1,677722E+07");
  EXPECT_EQ(CStr(-32768), u"-32768");
  EXPECT_EQ(ErrorOf([] { CStr(std::nan("")); }), 6);
  EXPECT_EQ(ErrorOf([] { CStr(std::numeric_limits<float>::infinity()); }), 6);
}

// What CStr writes, CDbl reads back exactly, in every locale.
TEST_F(NumberTextTest, CStrReadsBackThroughCDbl) {
  const double values[] = {0.1, -2.5, 1e-7, 123456.789, 1e20, -9.87654321e-100, DBL_MAX / 10};
  for (const char* name : {"it_IT", "en_US", "fr_FR", "de_CH"}) {
    ScopedLocale locale(name);
    for (double v : values) {
      const double back = CDbl(CStr(v));
      EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << name << " " << v;
    }
  }
}

}  // namespace
}  // namespace ze
