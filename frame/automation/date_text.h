// Dates and their texts under the user locale: IsDate, CDate, CStr of a Date.
//
// What reads as a date (blanks around the text are ignored):
// - three numbers separated twice by the same one of "/", "-" or "." (blanks may stand
//   around the separator): "25/12/2005", "25-12-05", "25.12.2005". A first number of
//   three or four digits is the year, and the text reads year-month-day whatever the
//   locale ("2005/12/25"). A last number of three or four digits is the year, with day
//   and month in the locale's order (day first in a year-first locale), so "dd/mm/yyyy"
//   is a date everywhere. Fields of one or two digits only follow the locale's short
//   date order. When the text is no real date in that order but is one with day and
//   month swapped, it reads swapped: "12/13/2005" is 13 December 2005 in a
//   day-month-year locale.
// - a day, a month name and a year, in any order that the numbers allow, separated by
//   blanks, "/", "-", "." or "," : "25 dic 2005", "25-Dec-2005", "dicembre 25, 2005".
//   Month names are the locale's full and abbreviated ones, then the English ones, in
//   any case and with or without a final ".".
// - Years of one or two digits are completed in the window 1930..2029 (05 is 2005, 30 is
//   1930); three or four digits are taken as written; years must lie in 100..9999. Day
//   and month have one or two digits. A day-and-month text without a year is not a date.
// - Optionally a time after the date and a blank, or a time alone: hours, minutes and
//   optionally seconds separated by ":" ("10:30", "23:59:59"), 0..23 hours, or 1..12
//   followed by AM/PM, A/P (any case). A time alone is a time on day 0.
// Everything else (other characters, NULs, surrogates, impossible dates such as
// 31/02/2005) is not a date.
//
// CStr of a Date is the locale's short date form with two-digit day and month and a
// four-digit year, in the locale's order and with its separator ("25/12/2005" in it_IT,
// "12/25/2005" in en_US, "25.12.2005" in de_DE), followed by " hh:nn:ss" when the value
// has a time of day; a value of day 0 with a time is the time alone. IsDate accepts
// every text that CStr writes, so a date survives CStr and CDate in any locale.
#pragma once

#include <string_view>

#include "frame/automation/date_value.h"
#include "frame/automation/locale.h"
#include "frame/automation/string.h"

namespace ze {

// The date a text reads as under a locale; false when it reads as none.
bool ParseDate(std::u16string_view text, const Locale& locale, Date& out);

// Whether a text reads as a date under the current locale.
bool IsDate(std::u16string_view text);

// The date of a text: a date text as above, or else a number under the locale's rules
// taken as a serial (error 6 outside the years 100 to 9999); anything else fails with
// error 13.
Date CDate(std::u16string_view text);
inline Date CDate(const String& text) {
  return CDate(std::u16string_view(text));
}
inline Date CDate(const char16_t* text) {
  return CDate(std::u16string_view(text));
}

// A date in the locale's short date form, with the time when there is one; error 6 for a
// value that is not a date.
String CStr(Date d);

}  // namespace ze
