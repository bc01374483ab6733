// Fuzz target over the automation's text conversions.
//
// Input layout: byte 0 picks the locale and which date pattern to try; bytes 1..8, when
// present, are a double (any bit pattern: NaN, infinities, subnormals); the rest is
// UTF-16 text (two bytes a unit, little-endian, so unpaired surrogates and NULs occur).
// Every service must end in a result or an AutomationError; any other exception
// escapes and aborts, and the sanitizers catch the rest. A few properties that must
// hold between the services are checked too and trap when broken.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/date_text.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/number_text.h"
#include "fuzz/fuzz_check.h"

namespace {

using fuzz::Check;

using ze::AutomationError;
using ze::Date;
using ze::String;

// Runs f; an automation error is an allowed outcome.
template <class F>
void Try(F&& f) {
  try {
    f();
  } catch (const AutomationError&) {
  }
}

void TextServices(const String& text) {
  // Val never fails on text, except a number beyond the Double range (6).
  Try([&] { Check(std::isfinite(ze::Val(text))); });

  // IsNumeric agrees with CDbl: it fails with 13 exactly when the text is no number.
  const bool numeric = ze::IsNumeric(text);
  try {
    Check(std::isfinite(ze::CDbl(text)));
    Check(numeric);
  } catch (const AutomationError& e) {
    Check(e.number() == 6 || e.number() == 13);
    Check(numeric == (e.number() == 6));
  }
  Try([&] { ze::CSng(text); });
  Try([&] { ze::CInt(text); });
  Try([&] { ze::CLng(text); });

  // A text IsDate accepts converts, and its CStr reads back to the same second.
  const bool is_date = ze::IsDate(text);
  try {
    const Date d = ze::CDate(text);
    const String shown = ze::CStr(d);
    Check(ze::IsDate(shown));
    // The same moment (-0.5 and 0.5 are both day 0 at noon), to the second.
    const ze::DateParts a = ze::SplitDate(d);
    const ze::DateParts b = ze::SplitDate(ze::CDate(shown));
    Check(a.day_number == b.day_number && a.SecondsOfDay() == b.SecondsOfDay());
    ze::Format(d, u"dd/mm/yyyy");
  } catch (const AutomationError& e) {
    Check(!is_date);
    Check(e.number() == 6 || e.number() == 13);
  }

  const ze::Variant v(text);
  Try([&] { ze::CBool(v); });
  Try([&] { ze::CDate(v); });
  Try([&] { ze::Format(v, u"dd/mm/yyyy hh:nn:ss"); });
  Try([&] { ze::Format(v, u"#,##0.00"); });
  ze::DisplayText(v);
}

void PatternServices(const String& pattern, double number) {
  Try([&] { ze::Format(number, pattern); });
  Try([&] { ze::Format(Date(number), pattern); });
  Try([&] { ze::Format(Date(38711.25), pattern); });
  Try([&] { ze::Format(1234.5, pattern); });
  Try([&] { ze::DateAdd(pattern, number, Date(38711.25)); });
}

void NumberServices(double number) {
  Try([&] { ze::CStr(number); });
  Try([&] { ze::CInt(number); });
  Try([&] { ze::CLng(number); });
  Try([&] { ze::CSng(number); });
  Try([&] { ze::CStr(Date(number)); });
  Try([&] { ze::Weekday(Date(number)); });
  Try([&] { ze::DateAdd(u"m", 1, Date(number)); });
  Try([&] { ze::Format(number, u"##########0.00"); });
  // Whatever CStr writes, CDbl reads back, to CStr's 15 digits.
  try {
    const String text = ze::CStr(number);
    Check(std::fabs(ze::CDbl(text) - number) <= std::fabs(number) * 1e-14);
  } catch (const AutomationError& e) {
    Check(e.number() == 6 && !std::isfinite(number));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kLocales[] = {"it_IT", "en_US", "de_DE", "fr_FR",
                                         "ja_JP", "sv_SE", "hu_HU", "xx_YY"};
  ze::Locale::SetCurrent(kLocales[data[0] % 8]);

  double number = 0;
  size_t at = 1;
  if (size >= 9) {
    std::memcpy(&number, data + 1, sizeof number);
    at = 9;
  }
  String text;
  for (size_t i = at; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }

  TextServices(text);
  PatternServices(text, number);
  NumberServices(number);
  return 0;
}
