// zedemo: a short tour of what is built, printed to the terminal.
#include <cstdio>
#include <string>

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/date_text.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string.h"

namespace {

void Line(const char* what, const ze::String& result) {
  std::printf("  %-38s %s\n", what, ze::ToUtf8(result).c_str());
}

// The result of a call, or the automation error it raised.
template <class F>
ze::String Try(F&& f) {
  try {
    return f();
  } catch (const ze::AutomationError& e) {
    return u"error " + ze::CStr(e.number()) + u": " + e.description();
  }
}

}  // namespace

int main() {
  std::printf("zeKalendo platform runtime\n");
  ze::Locale::SetCurrent(std::string(ze::Locale::kHomeLocale));
  std::printf("dates and numbers (%s)\n", ze::Locale::Current().NumericName().c_str());

  const ze::Date natale = ze::DateSerial(2005, 12, 25);
  Line("DateSerial(2005, 12, 25)", ze::Format(natale, u"dd/mm/yyyy"));
  Line("DateSerial(2005, 13, 0)", ze::CStr(ze::DateSerial(2005, 13, 0)));
  Line("DateAdd(\"m\", -1, 31/03/2024)",
       ze::Format(ze::DateAdd(u"m", -1, ze::CDate(u"31/03/2024")), u"dd/mm/yyyy"));
  Line("Weekday(25/12/2005)", ze::CStr(ze::Weekday(natale)));
  Line("IsDate(\"31/02/2005\")", ze::CStr(ze::IsDate(u"31/02/2005")));
  Line("CDate(\"12/13/2005\")", ze::CStr(ze::CDate(u"12/13/2005")));
  Line("Format(now, \"yyyy-mmm-dd hh:mm:ss\")", ze::Format(ze::Now(), u"yyyy-mmm-dd hh:mm:ss"));
  Line("Format(1234567.891, \"###,###,##0.00\")", ze::Format(1234567.891, u"###,###,##0.00"));
  Line("Format(2.5, \"##########0\")", ze::Format(2.5, u"##########0"));
  Line("Val(\"  12abc\")", ze::CStr(ze::Val(u"  12abc")));
  Line("CInt(2.5), CInt(3.5)", ze::CStr(ze::CInt(2.5)) + u", " + ze::CStr(ze::CInt(3.5)));
  Line("CDbl(\"1.234,5\")", ze::CStr(ze::CDbl(u"1.234,5")));
  Line("CDbl(\"abc\")", Try([] { return ze::CStr(ze::CDbl(u"abc")); }));
  Line("DateSerial(10000, 1, 1)", Try([] { return ze::CStr(ze::DateSerial(10000, 1, 1)); }));
  std::printf("error 6: %s\n", ze::ToUtf8(ze::StandardDescription(6)).c_str());
  return 0;
}
