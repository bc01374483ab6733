// Conversions of Variants with the automation rules, and the error record they fill.
#include "frame/automation/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "automation_fixture.h"
#include "frame/automation/civil_date.h"

namespace ze {
namespace {

using testing::AutomationTest;
using testing::ErrorOf;
using testing::ScopedLocale;

using ConvertTest = AutomationTest;

class Thing : public Object {
 public:
  String TypeName() const override { return u"Font"; }
};

const double kChristmas = civil::DaysFromCivil(2005, 12, 25);

TEST_F(ConvertTest, CStr) {
  struct Case {
    const char* name;
    Variant v;
    const char16_t* expected;
  } cases[] = {
      {"Empty", Variant(), u""},
      {"Integer", Variant(std::int16_t{-5}), u"-5"},
      {"Long", Variant(std::int32_t{123456}), u"123456"},
      {"Single", Variant(1.1f), u"1,1"},
      {"Double", Variant(12.5), u"12,5"},
      {"Date", Variant(Date(kChristmas)), u"25/12/2005"},
      {"Date with time", Variant(Date(kChristmas + 0.5)), u"25/12/2005 12:00:00"},
      {"String", Variant(u"testo"), u"testo"},
      {"True", Variant(true), u"True"},
      {"False", Variant(false), u"False"},
      {"Error", Variant(ErrorValue{2042}), u"Error 2042"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CStr(c.v), c.expected);
  }
  EXPECT_EQ(CStr(true), u"True");
  EXPECT_EQ(CStr(u"literal"), u"literal");
  EXPECT_EQ(ErrorOf([] { CStr(Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([] { CStr(Variant(ObjectRef(std::make_shared<Thing>()))); }), 13);
  EXPECT_EQ(ErrorOf([] { CStr(Variant(std::nan(""))); }), 6);
}

TEST_F(ConvertTest, Numbers) {
  struct Case {
    const char* name;
    Variant v;
    double dbl;
    int lng;
  } cases[] = {
      {"Empty", Variant(), 0, 0},
      {"Integer", Variant(std::int16_t{-5}), -5, -5},
      {"Long", Variant(std::int32_t{70000}), 70000, 70000},
      {"Single", Variant(2.5f), 2.5, 2},
      {"Double", Variant(3.5), 3.5, 4},
      {"Date", Variant(Date(kChristmas + 0.75)), kChristmas + 0.75, 38712},
      {"True", Variant(true), -1, -1},
      {"False", Variant(false), 0, 0},
      {"String", Variant(u"1.234,5"), 1234.5, 1234},
      {"String with blanks", Variant(u" 7 "), 7, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CDbl(c.v), c.dbl);
    EXPECT_EQ(CLng(c.v), c.lng);
    EXPECT_EQ(CSng(c.v), static_cast<float>(c.dbl));
  }
  EXPECT_EQ(CInt(Variant(std::int16_t{-5})), -5);
  EXPECT_EQ(CInt(Variant(u"12")), 12);
  EXPECT_EQ(CInt(Variant(true)), -1);
}

TEST_F(ConvertTest, NumberFailures) {
  struct Case {
    const char* name;
    Variant v;
    int dbl, lng, integer;
  } cases[] = {
      {"Null", Variant::Null(), 94, 94, 94},
      {"Object", Variant(ObjectRef(std::make_shared<Thing>())), 13, 13, 13},
      {"Nothing", Variant::Nothing(), 13, 13, 13},
      {"Error", Variant(ErrorValue{5}), 13, 13, 13},
      {"not a number", Variant(u"abc"), 13, 13, 13},
      {"empty string", Variant(u""), 13, 13, 13},
      {"Long beyond Integer", Variant(std::int32_t{70000}), 0, 0, 6},
      {"Double beyond Long", Variant(3e9), 0, 6, 6},
      {"NaN", Variant(std::nan("")), 0, 6, 6},
      {"huge text", Variant(u"1e400"), 6, 6, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf([&] { CDbl(c.v); }), c.dbl);
    EXPECT_EQ(ErrorOf([&] { CLng(c.v); }), c.lng);
    EXPECT_EQ(ErrorOf([&] { CInt(c.v); }), c.integer);
  }
  EXPECT_EQ(ErrorOf([] { CSng(Variant(1e300)); }), 6);
}

TEST_F(ConvertTest, CBool) {
  EXPECT_FALSE(CBool(Variant()));
  EXPECT_TRUE(CBool(Variant(true)));
  EXPECT_TRUE(CBool(Variant(std::int16_t{-1})));
  EXPECT_TRUE(CBool(Variant(0.001)));
  EXPECT_FALSE(CBool(Variant(std::int32_t{0})));
  EXPECT_TRUE(CBool(Variant(u"True")));
  EXPECT_TRUE(CBool(Variant(u" TRUE ")));
  EXPECT_FALSE(CBool(Variant(u"false")));
  EXPECT_TRUE(CBool(Variant(u"-1")));
  EXPECT_FALSE(CBool(Variant(u"0,0")));
  EXPECT_TRUE(CBool(Variant(Date(1))));
  EXPECT_EQ(ErrorOf([] { CBool(Variant(u"Vero?")); }), 13);
  EXPECT_EQ(ErrorOf([] { CBool(Variant(u"")); }), 13);
  EXPECT_EQ(ErrorOf([] { CBool(Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([] { CBool(Variant::Nothing()); }), 13);
  EXPECT_EQ(ErrorOf([] { CBool(Variant(std::nan(""))); }), 6);
}

TEST_F(ConvertTest, CDate) {
  EXPECT_EQ(CDate(Variant()).serial, 0);
  EXPECT_EQ(CDate(Variant(Date(kChristmas))).serial, kChristmas);
  EXPECT_EQ(CDate(Variant(kChristmas + 0.5)).serial, kChristmas + 0.5);
  EXPECT_EQ(CDate(Variant(std::int32_t{38711})).serial, kChristmas);
  EXPECT_EQ(CDate(Variant(true)).serial, -1);
  EXPECT_EQ(CDate(Variant(u"25/12/2005")).serial, kChristmas);
  EXPECT_EQ(CDate(Variant(u"38711")).serial, kChristmas);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(u"31/02/2005")); }), 13);
  EXPECT_EQ(ErrorOf([] { CDate(Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(1e10)); }), 6);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(Date(std::nan("")))); }), 6);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(ErrorValue{1})); }), 13);
}

TEST_F(ConvertTest, DisplayTextNeverFails) {
  EXPECT_EQ(DisplayText(Variant::Null()), u"Null");
  EXPECT_EQ(DisplayText(Variant::Nothing()), u"Nothing");
  EXPECT_EQ(DisplayText(Variant(ObjectRef(std::make_shared<Thing>()))), u"Font");
  EXPECT_EQ(DisplayText(Variant(ErrorValue{7})), u"Error 7");
  EXPECT_EQ(DisplayText(Variant(std::nan(""))), u"NaN");
  EXPECT_EQ(DisplayText(Variant(-std::numeric_limits<double>::infinity())), u"-Infinity");
  EXPECT_EQ(DisplayText(Variant(Date(1e10))), u"10000000000");
  EXPECT_EQ(DisplayText(Variant(Date(kChristmas))), u"25/12/2005");
  EXPECT_EQ(DisplayText(Variant(std::int16_t{3})), u"3");
}

TEST_F(ConvertTest, FormatOfAVariant) {
  EXPECT_EQ(Format(Variant(u"25/12/2005"), u"dd/mm/yyyy"), u"25/12/2005");
  EXPECT_EQ(Format(Variant(u"12/13/2005"), u"dd/mm/yyyy"), u"13/12/2005");
  EXPECT_EQ(Format(Variant(u"1234,5"), u"#,##0.00"), u"1.234,50");
  EXPECT_EQ(Format(Variant(u"abc"), u"dd/mm/yyyy"), u"abc");
  EXPECT_EQ(Format(Variant(), u"0"), u"");
  EXPECT_EQ(Format(Variant::Null(), u"0"), u"");
  EXPECT_EQ(Format(Variant(std::int16_t{7}), u"000"), u"007");
  EXPECT_EQ(Format(Variant(Date(kChristmas)), u"yyyy"), u"2005");
  EXPECT_EQ(ErrorOf([] { Format(Variant::Nothing(), u"0"); }), 13);
}

TEST_F(ConvertTest, FailuresFillTheErrorRecord) {
  Err().Clear();
  EXPECT_EQ(ErrorOf([] { CLng(Variant::Null()); }), 94);
  EXPECT_EQ(Err().Number, 94);
  EXPECT_EQ(Err().Description, u"Invalid use of Null");
  EXPECT_EQ(ErrorOf([] { CDbl(Variant(u"x")); }), 13);
  EXPECT_EQ(Err().Description, u"Type mismatch");
  Err().Clear();
  EXPECT_EQ(Err().Number, 0);
  EXPECT_TRUE(Err().Description.empty());
}

}  // namespace
}  // namespace ze
