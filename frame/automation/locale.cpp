// Reading the locale data from ICU, the cache of Locale objects and the one in force.
#include "frame/automation/locale.h"

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "frame/automation/error.h"

namespace ze {

namespace {

constexpr std::array<std::u16string_view, 12> kEnglishMonths = {
    u"january", u"february", u"march",     u"april",   u"may",      u"june",
    u"july",    u"august",   u"september", u"october", u"november", u"december"};

String ToString(const icu::UnicodeString& s) {
  return String(s.getBuffer(), s.length());
}

// The case-folded form of a name, without a trailing "." (abbreviations often end in
// one: "janv.", "Jan.").
String FoldName(std::u16string_view name) {
  icu::UnicodeString s(name.data(), static_cast<int32_t>(name.size()));
  s.foldCase();
  String out = ToString(s);
  while (!out.empty() && out.back() == u'.') out.pop_back();
  return out;
}

// The first UTF-16 unit of an ICU symbol, or a fallback when it is empty.
char16_t FirstUnit(const icu::UnicodeString& s, char16_t fallback) {
  return s.length() > 0 ? s.charAt(0) : fallback;
}

// The field order and separator of a short date pattern such as "dd/MM/yy" or
// "M/d/yy": the order in which d, M (or L) and y first appear outside quotes, and the
// first character that follows the first field.
void ReadDatePattern(const icu::UnicodeString& pattern, DateOrder& order, char16_t& separator) {
  int day = -1, month = -1, year = -1;
  char16_t sep = 0;
  bool quoted = false;
  bool after_first_field = false;
  for (int32_t i = 0; i < pattern.length(); ++i) {
    const char16_t c = pattern.charAt(i);
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    const bool field = (c == u'd' || c == u'M' || c == u'L' || c == u'y');
    if (field) {
      if (c == u'd' && day < 0) day = i;
      if ((c == u'M' || c == u'L') && month < 0) month = i;
      if (c == u'y' && year < 0) year = i;
      after_first_field = true;
    } else if (after_first_field && sep == 0 && c != u' ') {
      sep = c;
    }
  }
  if (year >= 0 && (day < 0 || year < day) && (month < 0 || year < month)) {
    order = DateOrder::kYearMonthDay;
  } else if (month >= 0 && day >= 0 && month < day) {
    order = DateOrder::kMonthDayYear;
  } else {
    order = DateOrder::kDayMonthYear;
  }
  separator = (sep == u'/' || sep == u'-' || sep == u'.') ? sep : u'/';
}

void ReadNames(const icu::DateFormatSymbols& symbols, std::array<String, 12>& months,
               std::array<String, 12>& abbreviated_months, std::array<String, 7>& weekdays,
               std::array<String, 7>& abbreviated_weekdays) {
  int32_t count = 0;
  const icu::UnicodeString* names =
      symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 0; i < 12 && i < count; ++i) months[i] = ToString(names[i]);
  names =
      symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 0; i < 12 && i < count; ++i) abbreviated_months[i] = ToString(names[i]);
  // ICU's weekday arrays start at index 1 (Sunday).
  names = symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  for (int32_t i = 1; i <= 7 && i < count; ++i) weekdays[i - 1] = ToString(names[i]);
  names = symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT,
                              icu::DateFormatSymbols::ABBREVIATED);
  for (int32_t i = 1; i <= 7 && i < count; ++i) abbreviated_weekdays[i - 1] = ToString(names[i]);
}

// Every Locale made so far, by "numeric|time" name; never freed, so references stay
// valid for the life of the process.
struct Cache {
  std::mutex mutex;
  std::map<std::string, std::unique_ptr<const Locale>> locales;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

std::atomic<const Locale*> g_current{nullptr};

// The first non-empty variable among names, or "".
std::string FirstSet(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// The name itself when ICU has data for its language, else "" (ICU's root locale). ICU
// would otherwise fall back to its default locale, which depends on the process's
// environment and so would make an unknown name mean different things on different
// machines.
std::string KnownOrRoot(const std::string& name) {
  const icu::Locale wanted(name.c_str());
  if (wanted.isBogus()) return {};
  const char* language = wanted.getLanguage();
  if (language == nullptr || *language == '\0') return {};
  int32_t count = 0;
  const icu::Locale* available = icu::Locale::getAvailableLocales(count);
  for (int32_t i = 0; i < count; ++i) {
    if (std::strcmp(available[i].getLanguage(), language) == 0) return name;
  }
  return {};
}

}  // namespace

std::string IcuLocaleName(std::string_view posix_name) {
  const size_t cut = posix_name.find_first_of(".@");
  std::string_view base = posix_name.substr(0, cut);
  if (base.empty() || base == "C" || base == "POSIX") return std::string(Locale::kHomeLocale);
  return std::string(base);
}

Locale::Locale(const std::string& numeric_name, const std::string& time_name)
    : numeric_name_(numeric_name), time_name_(time_name) {
  // Numbers: separators and grouping.
  const icu::Locale numeric_locale(KnownOrRoot(numeric_name).c_str());
  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(numeric_locale, status);
  if (U_SUCCESS(status)) {
    decimal_separator_ =
        FirstUnit(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol), u'.');
    thousands_separator_ =
        FirstUnit(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol), u',');
  }
  status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> number_format(
      icu::NumberFormat::createInstance(numeric_locale, status));
  if (U_SUCCESS(status)) {
    if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(number_format.get())) {
      if (decimal->isGroupingUsed() && decimal->getGroupingSize() > 0) {
        grouping_.primary = decimal->getGroupingSize();
        const int secondary = decimal->getSecondaryGroupingSize();
        grouping_.secondary = secondary > 0 ? secondary : grouping_.primary;
      } else {
        grouping_ = {0, 0};
      }
    }
  }

  // Dates: the short date form and the names.
  const icu::Locale time_locale(KnownOrRoot(time_name).c_str());
  std::unique_ptr<icu::DateFormat> date_format(
      icu::DateFormat::createDateInstance(icu::DateFormat::kShort, time_locale));
  if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(date_format.get())) {
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    ReadDatePattern(pattern, date_order_, date_separator_);
  }
  status = U_ZERO_ERROR;
  icu::DateFormatSymbols date_symbols(time_locale, status);
  if (U_SUCCESS(status)) {
    ReadNames(date_symbols, month_names_, abbreviated_month_names_, weekday_names_,
              abbreviated_weekday_names_);
  }
  for (int i = 0; i < 12; ++i) {
    folded_month_names_[0][i] = FoldName(month_names_[i]);
    folded_month_names_[1][i] = FoldName(abbreviated_month_names_[i]);
    folded_month_names_[2][i] = String(kEnglishMonths[i]);
    folded_month_names_[3][i] = String(kEnglishMonths[i].substr(0, 3));
  }
}

const String& Locale::AbbreviatedMonthName(int month) const {
  if (month < 1 || month > 12) Raise(errors::kInvalidProcedureCall);
  return abbreviated_month_names_[month - 1];
}

const String& Locale::MonthName(int month) const {
  if (month < 1 || month > 12) Raise(errors::kInvalidProcedureCall);
  return month_names_[month - 1];
}

const String& Locale::AbbreviatedWeekdayName(int weekday) const {
  if (weekday < 1 || weekday > 7) Raise(errors::kInvalidProcedureCall);
  return abbreviated_weekday_names_[weekday - 1];
}

const String& Locale::WeekdayName(int weekday) const {
  if (weekday < 1 || weekday > 7) Raise(errors::kInvalidProcedureCall);
  return weekday_names_[weekday - 1];
}

int Locale::MonthFromName(std::u16string_view word) const {
  if (word.empty() || word.size() > 32) return 0;
  const String folded = FoldName(word);
  if (folded.empty()) return 0;
  for (const auto& names : folded_month_names_) {
    for (int i = 0; i < 12; ++i) {
      if (!names[i].empty() && names[i] == folded) return i + 1;
    }
  }
  return 0;
}

const Locale& Locale::Get(const std::string& name) {
  return Get(name, name);
}

const Locale& Locale::Get(const std::string& numeric_name, const std::string& time_name) {
  const std::string numeric = IcuLocaleName(numeric_name);
  const std::string time = IcuLocaleName(time_name);
  const std::string key = numeric + "|" + time;
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto it = cache.locales.find(key);
  if (it == cache.locales.end()) {
    it = cache.locales.emplace(key, std::make_unique<const Locale>(numeric, time)).first;
  }
  return *it->second;
}

const Locale& Locale::FromEnvironment() {
  const std::string numeric = FirstSet({"LC_ALL", "LC_NUMERIC", "LANG"});
  const std::string time = FirstSet({"LC_ALL", "LC_TIME", "LANG"});
  return Get(numeric, time);
}

const Locale& Locale::Current() {
  const Locale* current = g_current.load(std::memory_order_acquire);
  if (current != nullptr) return *current;
  const Locale* from_environment = &FromEnvironment();
  // Another thread may have set a locale meanwhile; theirs wins.
  g_current.compare_exchange_strong(current, from_environment, std::memory_order_acq_rel);
  return *g_current.load(std::memory_order_acquire);
}

void Locale::SetCurrent(const std::string& name) {
  g_current.store(&Get(name), std::memory_order_release);
}

void Locale::SetCurrent(const std::string& numeric_name, const std::string& time_name) {
  g_current.store(&Get(numeric_name, time_name), std::memory_order_release);
}

void Locale::ResetToEnvironment() {
  g_current.store(&FromEnvironment(), std::memory_order_release);
}

}  // namespace ze
