// zeUtilita's days in a month and locale separators, called directly and by dispatch.
#include <gtest/gtest.h>

#include <string>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/automation/string_array.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_client.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using namespace ze::com;
using ze::String;
using ze::Variant;

class UtilitaTest : public ::testing::Test {
 protected:
  void TearDown() override { ze::Locale::SetCurrent("it_IT"); }

  std::int16_t MaxGiorni(std::int16_t m, std::int16_t a) { return utilita_.MaxGiorni(m, a); }

  zeUtilita utilita_;
};

struct MonthCase {
  std::int16_t month;
  std::int16_t year;
  std::int16_t days;
};

TEST_F(UtilitaTest, MaxGiorniCountsTheMonthsDays) {
  const MonthCase cases[] = {
      {1, 2005, 31},
      {4, 2005, 30},
      {2, 2005, 28},
      // The Gregorian leap rule: by 4, not by 100, again by 400.
      {2, 2004, 29},
      {2, 1900, 28},
      {2, 2000, 29},
      {2, 2100, 28},
      // Months carry into neighbouring years.
      {13, 2005, 31},
      {14, 2005, 28},
      {0, 2005, 31},
      {-1, 2005, 30},
      {26, 2002, 29},
      // The ends of the date range.
      {1, 100, 31},
      {12, 9999, 31},
      {2, 9996, 29},
      // Two-digit years are completed as DateSerial completes them.
      {2, 0, 29},
      {2, 99, 28},
  };
  for (const MonthCase& c : cases) {
    EXPECT_EQ(MaxGiorni(c.month, c.year), c.days) << "month " << c.month << " of " << c.year;
  }
}

TEST_F(UtilitaTest, MaxGiorniAgreesWithTheLeapRuleOverTheWholeRange) {
  const std::int16_t lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int year = 100; year <= 9999; ++year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int month = 1; month <= 12; ++month) {
      const std::int16_t expected = month == 2 && leap ? 29 : lengths[month - 1];
      ASSERT_EQ(MaxGiorni(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year)),
                expected)
          << month << "/" << year;
    }
  }
}

TEST_F(UtilitaTest, MaxGiorniOutsideTheDateRangeFailsWithError5) {
  for (const auto& [month, year] : {std::pair<std::int16_t, std::int16_t>{1, 10000},
                                    {13, 9999},
                                    {0, 100},
                                    {1, -1},
                                    {-32768, 2000}}) {
    try {
      MaxGiorni(month, year);
      ADD_FAILURE() << "month " << month << " of " << year << " gave no error";
    } catch (const ze::AutomationError& e) {
      EXPECT_EQ(e.number(), ze::errors::kInvalidProcedureCall) << month << "/" << year;
    }
  }
}

struct SeparatorCase {
  const char* locale;
  std::uint8_t decimal;
  std::uint8_t thousands;
};

TEST_F(UtilitaTest, SeparatorsAreCommaPointOrNone) {
  const SeparatorCase cases[] = {
      {"it_IT", 44, 46},
      {"de_DE", 44, 46},
      {"en_US", 46, 44},
      {"en_GB", 46, 44},
      // Thousands grouped with an apostrophe or a narrow space: neither "," nor ".".
      {"de_CH", 46, 0},
      {"fr_FR", 44, 0},
      // Digits and separators of another script.
      {"ar_EG", 0, 0},
      // A locale that writes 1000 without grouping.
      {"en_US_POSIX", 46, 0},
  };
  for (const SeparatorCase& c : cases) {
    ze::Locale::SetCurrent(c.locale);
    EXPECT_EQ(utilita_.GetSeparatoreDecimale(), c.decimal) << c.locale;
    EXPECT_EQ(utilita_.GetSeparatoreMigliaia(), c.thousands) << c.locale;
  }
}

TEST_F(UtilitaTest, SeparatorsFollowTheLocaleInForceAtEachCall) {
  ze::Locale::SetCurrent("it_IT");
  EXPECT_EQ(utilita_.GetSeparatoreDecimale(), 44);
  ze::Locale::SetCurrent("en_US");
  EXPECT_EQ(utilita_.GetSeparatoreDecimale(), 46);
  // Numbers and dates from different locales: the numbers' one counts.
  ze::Locale::SetCurrent("de_DE", "en_US");
  EXPECT_EQ(utilita_.GetSeparatoreDecimale(), 44);
}

class UtilitaDispatchTest : public UtilitaTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(UtilitaObject::Create(module_, IID_IDispatch, object_.PutVoid()), S_OK);
  }
  void TearDown() override {
    object_ = nullptr;
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);
    UtilitaTest::TearDown();
  }
  HRESULT Call(std::u16string_view name, std::vector<Variant>& args, Variant* result) {
    return TryInvokeByName(object_.Get(), name, DISPATCH_METHOD, args, result, &info_);
  }

  ServerModule module_;
  ComPtr<IDispatch> object_;
  EXCEPINFO info_;
};

TEST_F(UtilitaDispatchTest, RoutinesAnswerByName) {
  ze::Locale::SetCurrent("it_IT");
  std::vector<Variant> none;
  Variant result;
  ASSERT_EQ(Call(u"GetSeparatoreDecimale", none, &result), S_OK);
  EXPECT_EQ(ze::CInt(result), 44);
  ASSERT_EQ(Call(u"getseparatoremigliaia", none, &result), S_OK);
  EXPECT_EQ(ze::CInt(result), 46);

  // Arguments of other types are converted to the declared Integers and given back
  // as such, unchanged.
  std::vector<Variant> args{Variant(String(u"2")), Variant(2000.0)};
  ASSERT_EQ(Call(u"MaxGiorni", args, &result), S_OK);
  EXPECT_EQ(result, Variant(std::int16_t{29}));
  EXPECT_EQ(args[0], Variant(std::int16_t{2}));
  EXPECT_EQ(args[1], Variant(std::int16_t{2000}));
}

TEST_F(UtilitaDispatchTest, AFailingRoutineReportsItsErrorToTheCaller) {
  std::vector<Variant> args{Variant(std::int16_t{1}), Variant(std::int16_t{10000})};
  Variant result;
  EXPECT_EQ(Call(u"MaxGiorni", args, &result), DISP_E_EXCEPTION);
  EXPECT_EQ(info_.scode, MAKE_HRESULT(1, FACILITY_CONTROL, ze::errors::kInvalidProcedureCall));
  // A month beyond an Integer never reaches the routine.
  std::vector<Variant> wide{Variant(std::int32_t{40000}), Variant(std::int16_t{2000})};
  EXPECT_EQ(Call(u"MaxGiorni", wide, &result), DISP_E_OVERFLOW);
}

TEST_F(UtilitaDispatchTest, TheDualInterfaceGivesAByte) {
  ze::Locale::SetCurrent("en_US");
  ComPtr<IzeUtilita> dual;
  ASSERT_EQ(object_->QueryInterface(ids::kIidUtilita, dual.PutVoid()), S_OK);
  std::uint8_t code = 0;
  ASSERT_EQ(dual->GetSeparatoreDecimale(&code), S_OK);
  EXPECT_EQ(code, 46);
  short m = 2, a = 2100, days = 0;
  ASSERT_EQ(dual->MaxGiorni(&m, &a, &days), S_OK);
  EXPECT_EQ(days, 28);
  EXPECT_EQ(dual->MaxGiorni(nullptr, &a, &days), E_POINTER);
}

}  // namespace
}  // namespace zekalendo

namespace zekalendo {
namespace {

TEST_F(UtilitaDispatchTest, ByReferenceArgumentsComeBackRewritten) {
  Variant result;
  std::vector<Variant> testo{Variant(String(u"4-9-2005"))};
  ASSERT_EQ(Call(u"GetDataDaString", testo, &result), S_OK);
  EXPECT_EQ(result, Variant(ze::DateSerial(2005, 9, 4)));
  EXPECT_EQ(testo[0], Variant(String(u"4/9/2005")));

  std::vector<Variant> split{Variant(), Variant(String(u"a,,b")), Variant(String(u","))};
  ASSERT_EQ(Call(u"zeSplit", split, &result), S_OK);
  EXPECT_EQ(result, Variant(true));
  const ze::StringArray* array = ze::StringArray::Of(split[0]);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->items(), (std::vector<String>{u"a", u"", u"b"}));
}

TEST_F(UtilitaDispatchTest, ScriviLogsOptionalArgumentsMayBeLeftOut) {
  // A Null file name is a failure reported by the result, never an error.
  std::vector<Variant> args{Variant(String(u"x")), Variant::Null()};
  Variant result;
  ASSERT_EQ(Call(u"ScriviLog", args, &result), S_OK);
  EXPECT_EQ(result, Variant(false));
}

TEST_F(UtilitaDispatchTest, EvidenziaIgnoresWhatIsNoControl) {
  std::vector<Variant> args{Variant::Nothing()};
  Variant result;
  EXPECT_EQ(Call(u"Evidenzia", args, &result), S_OK);
  EXPECT_EQ(ze::Err().Number, 0);
  // What is not an object at all is the caller's type mismatch.
  std::vector<Variant> number{Variant(std::int16_t{5})};
  EXPECT_EQ(Call(u"Evidenzia", number, &result), DISP_E_TYPEMISMATCH);
}

}  // namespace
}  // namespace zekalendo
