// The user locale: the regional settings the conversions follow.
//
// A Locale holds what the date, number and text services need, read from ICU's locale
// data once when the locale is first used and cached here, so that a conversion never
// calls ICU: the decimal and thousands separators, the digit grouping, the order of
// day, month and year in the short date form with its separator, and the month and
// weekday names.
//
// Which locale: Current() is the one in force. Until a host or a test sets one with
// SetCurrent(), it is the environment's (FromEnvironment()): numbers follow LC_ALL, else
// LC_NUMERIC, else LANG; dates follow LC_ALL, else LC_TIME, else LANG. A name is a POSIX
// locale name ("it_IT.UTF-8", "de_DE@euro"); the encoding and modifier are dropped. With
// none set, or "C" / "POSIX", the library's home locale it_IT is used. A name that ICU
// does not know gets ICU's root data ("." decimals, "," thousands, year-month-day).
//
// Locale objects are immutable and live until the process ends (one per name used), so
// a reference from Current() stays valid after the locale in force changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/automation/string.h"

namespace ze {

// The order of the fields in the locale's short date form.
enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay };

// Sizes of the digit groups left of the decimal separator: primary is the group next to
// it (3 in most locales), secondary each further group (equal to primary when the
// locale has only one size). Both 0 when the locale does not group.
struct DigitGrouping {
  int primary = 3;
  int secondary = 3;
  friend bool operator==(const DigitGrouping&, const DigitGrouping&) = default;
};

class Locale {
 public:
  // The name the home locale goes by when the environment names none.
  static constexpr std::string_view kHomeLocale = "it_IT";

  // The locale in force.
  static const Locale& Current();
  // Puts a locale in force by name (numbers and dates alike), or with numbers from one
  // name and dates from another.
  static void SetCurrent(const std::string& name);
  static void SetCurrent(const std::string& numeric_name, const std::string& time_name);
  // Puts the environment's locale in force again.
  static void ResetToEnvironment();
  // The environment's locale (see the header comment).
  static const Locale& FromEnvironment();
  // The locale of a name, for numbers and dates alike, without putting it in force.
  static const Locale& Get(const std::string& name);
  // The locale with numbers from one name and dates from another.
  static const Locale& Get(const std::string& numeric_name, const std::string& time_name);

  // The ICU names the data came from ("it_IT"); equal unless numbers and dates differ.
  const std::string& NumericName() const { return numeric_name_; }
  const std::string& TimeName() const { return time_name_; }

  char16_t DecimalSeparator() const { return decimal_separator_; }
  char16_t ThousandsSeparator() const { return thousands_separator_; }
  DigitGrouping Grouping() const { return grouping_; }

  DateOrder ShortDateOrder() const { return date_order_; }
  // The separator between the fields of the short date form; "/" when the locale's own
  // is not one of "/", "-" and "." (the separators a date text may use).
  char16_t DateSeparator() const { return date_separator_; }

  // Month names, month 1..12 (error 5 outside).
  const String& AbbreviatedMonthName(int month) const;
  const String& MonthName(int month) const;
  // Weekday names, weekday 1 = Sunday .. 7 = Saturday (error 5 outside).
  const String& AbbreviatedWeekdayName(int weekday) const;
  const String& WeekdayName(int weekday) const;

  // The month (1..12) whose full or abbreviated name is word, ignoring case and a
  // trailing "."; the locale's names first, then the English ones. 0 when none.
  int MonthFromName(std::u16string_view word) const;

  // Reads ICU's data for the two names. Use Get(), which caches, rather than this.
  Locale(const std::string& numeric_name, const std::string& time_name);

 private:
  std::string numeric_name_;
  std::string time_name_;
  char16_t decimal_separator_ = u'.';
  char16_t thousands_separator_ = u',';
  DigitGrouping grouping_;
  DateOrder date_order_ = DateOrder::kDayMonthYear;
  char16_t date_separator_ = u'/';
  std::array<String, 12> month_names_;
  std::array<String, 12> abbreviated_month_names_;
  std::array<String, 7> weekday_names_;
  std::array<String, 7> abbreviated_weekday_names_;
  // Case-folded names without a trailing "." for MonthFromName: the locale's full and
  // abbreviated names, then the English ones.
  std::array<std::array<String, 12>, 4> folded_month_names_;
};

// The ICU name of a POSIX locale name: "it_IT.UTF-8@euro" gives "it_IT"; "", "C" and
// "POSIX" give the home locale.
std::string IcuLocaleName(std::string_view posix_name);

}  // namespace ze
