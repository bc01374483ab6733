// Conversions of a Variant, with the automation rules that the container and the dispatch
// layer rely on.
//
// - Empty converts to 0, "", False or day 0.
// - Null fails with error 94 ("Invalid use of Null"), except in DisplayText and Format.
// - Strings go through the locale rules of number_text.h and date_text.h (error 13 when
//   the text is not a number, or not a date for CDate).
// - Boolean True is -1, False 0; numbers are True when not 0. CStr of a Boolean is
//   "True" or "False", and CBool of a string accepts those words in any case besides
//   number texts.
// - A Date converts to its serial and back.
// - Objects and error values fail with error 13 (the objects here have no default
//   member); a value out of the target's range fails with error 6.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/automation/date_text.h"
#include "frame/automation/date_value.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze {

String CStr(const Variant& v);
double CDbl(const Variant& v);
float CSng(const Variant& v);
std::int32_t CLng(const Variant& v);
std::int16_t CInt(const Variant& v);
bool CBool(const Variant& v);
Date CDate(const Variant& v);

// So that CStr(true) is "True" rather than the integer, and a literal or a String is not
// taken for a Boolean or passed through a Variant.
inline String CStr(bool v) {
  return v ? u"True" : u"False";
}
inline String CStr(const String& v) {
  return v;
}
inline String CStr(const char16_t* v) {
  return String(v);
}

// What a user sees for a value, never failing: like CStr, with "Null" for Null, the
// object's type name (or "Nothing") for an object, "Error n" for an error value, and the
// plain number for a Date or Double that CStr refuses.
String DisplayText(const Variant& v);

// Format of any value: a Date, or a String that reads as a date, with a date pattern; a
// number, Boolean or number text with a number picture; any other String as it is;
// Empty and Null give "". Objects and error values fail with error 13.
String Format(const Variant& v, std::u16string_view pattern);

}  // namespace ze
