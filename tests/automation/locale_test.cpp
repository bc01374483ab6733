// The locale: names from the environment, ICU's data for a few locales, the cache.
#include "frame/automation/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "automation_fixture.h"

namespace ze {
namespace {

using testing::ErrorOf;

TEST(LocaleName, DropsEncodingAndModifier) {
  struct Case {
    const char* posix;
    const char* icu;
  } cases[] = {
      {"it_IT.UTF-8", "it_IT"},
      {"de_DE@euro", "de_DE"},
      {"en_US.utf8@x", "en_US"},
      {"fr_FR", "fr_FR"},
      {"C", "it_IT"},
      {"POSIX", "it_IT"},
      {"", "it_IT"},
      {"C.UTF-8", "it_IT"},
      {".UTF-8", "it_IT"},
  };
  for (const auto& c : cases) EXPECT_EQ(IcuLocaleName(c.posix), c.icu) << c.posix;
}

TEST(LocaleData, FromIcuForAFewLocales) {
  struct Case {
    const char* name;
    char16_t decimal;
    char16_t thousands;
    DateOrder order;
    char16_t date_separator;
    const char16_t* january;
  } cases[] = {
      {"it_IT", u',', u'.', DateOrder::kDayMonthYear, u'/', u"gen"},
      {"en_US", u'.', u',', DateOrder::kMonthDayYear, u'/', u"Jan"},
      {"de_DE", u',', u'.', DateOrder::kDayMonthYear, u'.', u"Jan."},
      {"fr_FR", u',', 0x202F, DateOrder::kDayMonthYear, u'/', u"janv."},
      {"ja_JP", u'.', u',', DateOrder::kYearMonthDay, u'/', u"1\u6708"},
      {"sv_SE", u',', 0x00A0, DateOrder::kYearMonthDay, u'-', u"jan."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Locale& l = Locale::Get(c.name);
    EXPECT_EQ(l.DecimalSeparator(), c.decimal);
    EXPECT_EQ(l.ThousandsSeparator(), c.thousands);
    EXPECT_EQ(l.ShortDateOrder(), c.order);
    EXPECT_EQ(l.DateSeparator(), c.date_separator);
    EXPECT_EQ(l.AbbreviatedMonthName(1), c.january);
    EXPECT_EQ(l.Grouping(), (DigitGrouping{3, 3}));
  }
  EXPECT_EQ(Locale::Get("hi_IN").Grouping(), (DigitGrouping{3, 2}));
}

TEST(LocaleData, ItalianNames) {
  const Locale& it = Locale::Get("it_IT");
  const char16_t* months[] = {u"gen", u"feb", u"mar", u"apr", u"mag", u"giu",
                              u"lug", u"ago", u"set", u"ott", u"nov", u"dic"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(it.AbbreviatedMonthName(m), months[m - 1]);
  EXPECT_EQ(it.MonthName(12), u"dicembre");
  EXPECT_EQ(it.WeekdayName(1), u"domenica");
  EXPECT_EQ(it.AbbreviatedWeekdayName(2), u"lun");
  EXPECT_EQ(ErrorOf([&] { it.AbbreviatedMonthName(0); }), 5);
  EXPECT_EQ(ErrorOf([&] { it.MonthName(13); }), 5);
  EXPECT_EQ(ErrorOf([&] { it.WeekdayName(8); }), 5);
}

TEST(LocaleData, MonthFromName) {
  const Locale& it = Locale::Get("it_IT");
  EXPECT_EQ(it.MonthFromName(u"dic"), 12);
  EXPECT_EQ(it.MonthFromName(u"DICEMBRE"), 12);
  EXPECT_EQ(it.MonthFromName(u"Dic."), 12);
  EXPECT_EQ(it.MonthFromName(u"Dec"), 12);  // English after the locale's own
  EXPECT_EQ(it.MonthFromName(u"march"), 3);
  EXPECT_EQ(it.MonthFromName(u"de"), 0);
  EXPECT_EQ(it.MonthFromName(u""), 0);
  EXPECT_EQ(it.MonthFromName(u"."), 0);
  EXPECT_EQ(Locale::Get("fr_FR").MonthFromName(u"Ao\u00dbt"), 8);
}

TEST(LocaleData, UnknownNamesGetTheRootData) {
  const Locale& l = Locale::Get("xx_YY");
  EXPECT_EQ(l.DecimalSeparator(), u'.');
  EXPECT_EQ(l.ThousandsSeparator(), u',');
  EXPECT_EQ(l.ShortDateOrder(), DateOrder::kYearMonthDay);
}

TEST(LocaleData, IsReadOncePerName) {
  EXPECT_EQ(&Locale::Get("de_DE"), &Locale::Get("de_DE.UTF-8"));
  EXPECT_NE(&Locale::Get("de_DE"), &Locale::Get("en_US"));
}

// Sets and restores environment variables around a test.
class ScopedEnvironment {
 public:
  void Set(const char* name, const char* value) {
    saved_.emplace_back(name, Saved(name));
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        unsetenv(it->first.c_str());
    }
  }

 private:
  static std::optional<std::string> Saved(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(LocaleEnvironment, PriorityOfTheVariables) {
  struct Case {
    const char* name;
    const char* lc_all;
    const char* lc_numeric;
    const char* lc_time;
    const char* lang;
    const char* numeric;
    const char* time;
  } cases[] = {
      {"nothing set", nullptr, nullptr, nullptr, nullptr, "it_IT", "it_IT"},
      {"C means home", "C", "en_US", nullptr, nullptr, "it_IT", "it_IT"},
      {"LC_ALL wins", "de_DE.UTF-8", "en_US", "fr_FR", "ja_JP", "de_DE", "de_DE"},
      {"categories before LANG", nullptr, "en_US", "fr_FR", "ja_JP", "en_US", "fr_FR"},
      {"LANG alone", nullptr, nullptr, nullptr, "en_GB.UTF-8", "en_GB", "en_GB"},
      {"empty counts as unset", "", "", "de_DE", "en_US", "en_US", "de_DE"},
      {"POSIX LANG", nullptr, nullptr, nullptr, "POSIX", "it_IT", "it_IT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnvironment env;
    env.Set("LC_ALL", c.lc_all);
    env.Set("LC_NUMERIC", c.lc_numeric);
    env.Set("LC_TIME", c.lc_time);
    env.Set("LANG", c.lang);
    const Locale& l = Locale::FromEnvironment();
    EXPECT_EQ(l.NumericName(), c.numeric);
    EXPECT_EQ(l.TimeName(), c.time);
  }
}

TEST(LocaleCurrent, SetAndReset) {
  ScopedEnvironment env;
  env.Set("LC_ALL", "C");
  Locale::SetCurrent("en_US");
  const Locale& us = Locale::Current();
  EXPECT_EQ(us.DecimalSeparator(), u'.');
  Locale::SetCurrent("en_US", "de_DE");
  EXPECT_EQ(Locale::Current().DecimalSeparator(), u'.');
  EXPECT_EQ(Locale::Current().DateSeparator(), u'.');
  Locale::ResetToEnvironment();
  EXPECT_EQ(Locale::Current().NumericName(), "it_IT");
  // A reference taken earlier stays valid.
  EXPECT_EQ(us.NumericName(), "en_US");
}

}  // namespace
}  // namespace ze
