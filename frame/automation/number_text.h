// Numbers and their texts: Val, CDbl, CSng, CInt, CLng, CStr of a number, and the
// one-character numeric test.
//
// Val reads the leading number of any text and never fails on text: blanks (space, tab,
// CR, LF) before the number are skipped; then an optional sign, digits, an optional "."
// and digits (the decimal point is always "." here, whatever the locale), and an optional
// exponent (E or D, a sign, digits); reading stops at the first character that cannot
// continue the number. "", "abc" and "-" give 0.
//
// CDbl and CSng read a whole text with the locale's rules: blanks around it are ignored;
// an optional leading "+" or "-"; integer digits among which the locale's thousands
// separator may stand (between two digits); the locale's decimal separator and digits;
// an optional exponent (E, a sign, digits). Anything else fails with error 13. A
// thousands separator that is a space-like character also accepts a plain space.
// A number beyond the Double range fails with error 6, except CStr's own text of the
// largest Double ("1,79769313486232E+308", rounded up in its fifteenth digit), which
// reads as the largest Double, so that whatever CStr writes reads back.
//
// CInt and CLng round halves to the even neighbour (2.5 -> 2, 3.5 -> 4) and fail with
// error 6 outside 16 or 32 bits. Every numeric service treats NaN and infinities as
// overflow (error 6): they cannot arise from automation arithmetic, which fails first.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/automation/locale.h"
#include "frame/automation/string.h"

namespace ze {

double Val(std::u16string_view text);

double CDbl(std::u16string_view text);
double CDbl(std::u16string_view text, const Locale& locale);
float CSng(std::u16string_view text);
float CSng(double value);
std::int16_t CInt(double value);
std::int16_t CInt(std::u16string_view text);
std::int32_t CLng(double value);
std::int32_t CLng(std::u16string_view text);

// The text overloads for strings and literals, so that a call with a String does not
// have to choose between the text and the Variant conversions.
inline double CDbl(const String& text) {
  return CDbl(std::u16string_view(text));
}
inline double CDbl(const char16_t* text) {
  return CDbl(std::u16string_view(text));
}
inline float CSng(const String& text) {
  return CSng(std::u16string_view(text));
}
inline float CSng(const char16_t* text) {
  return CSng(std::u16string_view(text));
}
inline std::int16_t CInt(const String& text) {
  return CInt(std::u16string_view(text));
}
inline std::int16_t CInt(const char16_t* text) {
  return CInt(std::u16string_view(text));
}
inline std::int32_t CLng(const String& text) {
  return CLng(std::u16string_view(text));
}
inline std::int32_t CLng(const char16_t* text) {
  return CLng(std::u16string_view(text));
}

// Whether a whole text reads as a number under the locale rules of CDbl.
bool IsNumeric(std::u16string_view text);

// Whether one character, taken as a text, is a number: the digits "0" to "9" only.
constexpr bool IsNumericChar(char16_t c) noexcept {
  return c >= u'0' && c <= u'9';
}

// A number as a user sees it: up to 15 significant digits (7 for a Single), the
// locale's decimal separator, no thousands separators, and the exponent form "1E+15",
// "1,5E-05" when the exponent is below -4 or reaches the digit count. Error 6 for NaN
// and infinities.
String CStr(double value);
String CStr(float value);
String CStr(std::int32_t value);

}  // namespace ze
