// zeUtilita's days in a month and the user locale's separators.
//
// The month's length comes from the runtime's date services (a date built with carry,
// a month added, a day taken away), so it follows the proleptic Gregorian rule of the
// Date type. The separators come from the locale in force (ICU's data, read once by
// the runtime): looking one up is a load and a compare, cheap enough for every key.
#include "frame/automation/civil_date.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/locale.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr std::uint8_t kComma = 44;
constexpr std::uint8_t kPoint = 46;

// Callers only tell "," from "."; any other separator reads as none.
std::uint8_t SeparatorCode(char16_t separator) {
  if (separator == u',') return kComma;
  if (separator == u'.') return kPoint;
  return 0;
}
}  // namespace

std::int16_t zeUtilita::MaxGiorni(std::int16_t& m, std::int16_t& a) const {
  // The first of the month, with carry; out of the date range this fails with error 5.
  const ze::Date first = ze::DateSerial(a, m, 1);
  // December of the last year has no next month to step back from, and its 31 days
  // are not in doubt.
  if (ze::Year(first) == ze::civil::kLastYear && ze::Month(first) == 12) return 31;
  // A month on, then a day back: the last day of the month.
  const ze::Date last = ze::DateAdd(u"d", -1, ze::DateAdd(u"m", 1, first));
  return static_cast<std::int16_t>(ze::Day(last));
}

std::uint8_t zeUtilita::GetSeparatoreDecimale() const {
  return SeparatorCode(ze::Locale::Current().DecimalSeparator());
}

std::uint8_t zeUtilita::GetSeparatoreMigliaia() const {
  const ze::Locale& locale = ze::Locale::Current();
  // A locale that writes 1000 without grouping shows no thousands separator at all.
  if (locale.Grouping().primary == 0) return 0;
  return SeparatorCode(locale.ThousandsSeparator());
}

}  // namespace zekalendo
