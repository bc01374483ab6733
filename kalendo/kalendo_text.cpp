// The date text of Kalendo: Text, valore, DataText, DelData, the validity check run
// when the field is left, and the two buffer routines of the overwrite editor.
//
// The field text is the only date state. It may hold any text (a stored non-standard
// text is restored as it was), so every conversion here is defined for any text.
#include "frame/automation/date_serial.h"
#include "frame/automation/date_text.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

namespace {
constexpr std::u16string_view kPattern = u"dd/mm/yyyy";
}  // namespace

String Kalendo::Text() const {
  // The empty date reads as the empty string, anything else as stored.
  if (Text1.Text() == kDataVuota) return String();
  return Text1.Text();
}

void Kalendo::SetText(const String& s) {
  if (ze::IsDate(s)) {
    // A date is rewritten in the field's own form, and the host is told.
    Text1.SetText(ze::Format(ze::CDate(s), kPattern));
    PropertyChanged(u"Text");
  } else {
    // Anything else empties the field, silently.
    Text1.SetText(String(kDataVuota));
  }
}

Date Kalendo::valore() const {
  try {
    // The empty date and texts that are no date read as 0.
    const String t = Text1.Text();
    if (t == kDataVuota || !ze::IsDate(t)) return Date(0);
    // The parts are read by position, not through the recogniser, so a text that
    // the recogniser could read with day and month swapped is not taken swapped.
    const std::int16_t year = ze::CInt(ze::Val(ze::Right(t, 4)));
    const std::int16_t month = ze::CInt(ze::Val(ze::Mid(t, 4, 2)));
    const std::int16_t day = ze::CInt(ze::Val(ze::Left(t, 2)));
    // Only the years and months the field accepts.
    if (year < 1900 || year > 3000) return Date(0);
    if (month > 12) return Date(0);
    return ze::DateSerial(year, month, day);
  } catch (const ze::AutomationError&) {
    // Any failure gives "no date"; nothing reaches the caller.
    return Date(0);
  }
}

void Kalendo::SetValore(Date d) {
  // No special case for 0: it shows 30/12/1899. The time of day is dropped.
  Text1.SetText(ze::Format(d, kPattern));
  PropertyChanged(u"Text");
}

Date Kalendo::DataText() const { return valore(); }

void Kalendo::SetDataText(Date d) {
  // A bound source may refuse the change; then nothing happens.
  if (!CanPropertyChange(u"DataText")) return;
  if (d.serial == 0) {
    // Empties the field without a "Text" notice.
    SetText(String());
  } else {
    // Through the locale's short date text, so "Text" is notified.
    SetText(ze::CStr(d));
  }
}

void Kalendo::DelData() {
  // No notice of its own: the field's change sends "DataText".
  Text1.SetText(String(kDataVuota));
}

void Kalendo::ControllaData() {
  const String t = Text1.Text();
  // Not a date at all.
  if (t != kDataVuota && !ze::IsDate(t)) {
    RaiseEvent(u"DataNonValida");
    return;
  }
  // The empty date is valid.
  if (t == kDataVuota) return;
  // The conversions may fail on a number too large for 16 bits: no valid month or
  // year, reported rather than let the conversion error escape from a focus change.
  // The event is raised outside the guard so that a host handler's error still
  // reaches the caller, and the event comes once.
  bool valid = false;
  try {
    // The month by position: a text the recogniser read swapped fails here.
    const std::int16_t month = ze::CInt(ze::Val(ze::Mid(t, 4, 2)));
    if (month < 13) {
      // The year by position too, from the seventh character on.
      const std::int16_t year = ze::CInt(ze::Val(ze::Mid(t, 7)));
      valid = year >= 1900 && year <= 3000;
    }
  } catch (const ze::AutomationError&) {
  }
  // A month past 12 or a year outside 1900..3000.
  if (!valid) RaiseEvent(u"DataNonValida");
}

void Kalendo::StringaToArray(std::u16string_view s, Buffer& buffer) {
  // A stored text may be longer than the buffer; it grows rather than overrun.
  if (buffer.size() < s.size()) buffer.resize(s.size(), 0);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto code = ze::ToAnsi(s[i]);
    if (!code) ze::Raise(ze::errors::kInvalidProcedureCall);
    buffer[i] = *code;
  }
}

String Kalendo::ArrayToStringa(const Buffer& buffer, std::int32_t n) {
  String s;
  if (n <= 0) return s;
  s.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    const std::uint8_t code = static_cast<std::size_t>(i) < buffer.size() ? buffer[i] : 0;
    s += ze::FromAnsi(code);
  }
  return s;
}

}  // namespace zekalendo
