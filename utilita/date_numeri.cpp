// zeUtilita: dates and numbers: a time from seconds, dates from day-first texts, a date
// as a database expression, a number grouped by thousands.
//
// Dates are the automation Date (days from 30 December 1899); every date is built with
// the runtime's DateSerial and TimeSerial, which carry months into years and days into
// months and fail with error 5 outside the years 100 to 9999. The parts of a date text
// are read with CInt, the locale's integer rule (blanks allowed, halves to even, error
// 13 for a text that is no number, error 6 outside 16 bits).
#include <cmath>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr std::int32_t kDataNonValida = 9912;

std::int16_t Intero16(double value) {
  if (!(value >= -32768.0 && value <= 32767.0)) ze::Raise(ze::errors::kOverflow);
  return static_cast<std::int16_t>(value);
}

// The number as a plain decimal integer, without the blank CStr puts before it.
ze::String Cifre(int n) {
  return ze::FromUtf8(std::to_string(n));
}
}  // namespace

ze::Date zeUtilita::LongToDate(std::int32_t sec) const {
  const double h = std::floor(static_cast<double>(sec) / 3600.0);
  const double r = static_cast<double>(sec) - h * 3600.0;
  const double mi = std::floor(r / 60.0);
  const double s = r - mi * 60.0;
  return ze::TimeSerial(Intero16(h), Intero16(mi), Intero16(s));
}

ze::Date zeUtilita::GetDataDaString(ze::String& testo) const {
  testo = zeReplace(testo, u"-", u"/");
  const std::size_t p1 = testo.find(u'/');
  if (p1 == ze::String::npos) ze::Raise(kDataNonValida, u"Data non valida.");
  const std::int16_t day = ze::CInt(std::u16string_view(testo).substr(0, p1));
  const std::size_t p2 = testo.find(u'/', p1 + 1);
  if (p2 == ze::String::npos) ze::Raise(kDataNonValida, u"Data non valida.");
  const std::int16_t month = ze::CInt(std::u16string_view(testo).substr(p1 + 1, p2 - p1 - 1));
  const std::int16_t year = ze::CInt(std::u16string_view(testo).substr(p2 + 1));
  return ze::DateSerial(year, month, day);
}

ze::String zeUtilita::DataToStringSql(ze::Date& data) const {
  return u" DateSerial(" + Cifre(ze::Year(data)) + u"," + Cifre(ze::Month(data)) + u"," +
         Cifre(ze::Day(data)) + u") ";
}

ze::String zeUtilita::RealeToString(double& v, std::int16_t& cifre) const {
  ze::String picture = u"###,###,##0";
  if (cifre > 0) picture += u"." + ze::String(static_cast<std::size_t>(cifre), u'0');
  return ze::Format(v, picture);
}

ze::Date zeUtilita::StringaToDate(ze::String& testo, ze::String& sep) const {
  try {
    const std::int16_t day = ze::CInt(ze::Left(testo, 2));
    const std::int16_t year = ze::CInt(ze::Right(testo, 4));
    const std::int16_t month =
        ze::CInt(ze::Mid(testo, static_cast<std::int32_t>(sep.size()) + 3, 2));
    return ze::DateSerial(year, month, day);
  } catch (const ze::AutomationError&) {
    // Callers take day 0 for "no date"; the failure is theirs to ignore.
    ze::Err().Clear();
    return ze::Date(0.0);
  }
}

}  // namespace zekalendo
