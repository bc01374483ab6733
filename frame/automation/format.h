// Format: dates with patterns and numbers with pictures, under the user locale.
//
// Date patterns (letters in any case except where noted):
//   d dd          day, without / with a leading zero
//   ddd dddd      abbreviated / full weekday name
//   ddddd         the short date (as CStr writes it)
//   m mm          month, without / with a leading zero; minute when the last date or time
//                 field before it was an hour ("hh:mm")
//   mmm mmmm      abbreviated / full month name of the locale
//   y yy yyyy     day of the year, two-digit year, four-digit year
//   h hh          hour (0..23, or 1..12 with an AM/PM marker in the pattern)
//   n nn          minute; s ss second
//   w ww q        weekday number (Sunday = 1), week of the year (the week holding
//                 1 January is week 1, weeks start on Sunday), quarter
//   AM/PM am/pm A/P a/p   the marker, in the case written; makes the hours 12-hour
//   c             the date and time as CStr writes them
//   /  :          always "/" and ":", whatever the locale: the components' date text is
//                 "dd/mm/yyyy" everywhere
//   \x "text"     x, text literally; any other character is printed as it is
// An empty pattern, or "General Date", gives CStr's text; "Short Date", "Long Date",
// "Medium Date", "Short Time", "Medium Time" and "Long Time" name fixed patterns.
//
// Number pictures:
//   0             a digit, always shown
//   #             a digit, shown only when significant (no leading zeros in the integer
//                 part, no trailing zeros in the fraction)
//   .             the decimal separator of the locale (the first "." only; it is printed
//                 even when no fraction digit follows, as in "#.")
//   ,             anywhere in the integer part: group the integer digits by three with the
//                 locale's thousands separator
//   %             multiply by 100 and print "%"
//   \x "text"     literally; any other character is printed where it stands, among
//                 grouped digits too ("###, ###" on 123456 gives "123, 456")
// Sections (";"), exponents ("E+", "E-", "e+", "e-") and "@" are not printed: such a
// picture fails with error 5, as do the named formats "Scientific", "Currency",
// "True/False", "Yes/No" and "On/Off", rather than print a wrong number.
// The value is rounded to the picture's fraction digits, halves away from zero, from its
// 15-significant-digit decimal form (so 2.675 with two decimals gives 2.68, as written).
// Integer digits beyond the picture's are all shown. A negative value starts with "-";
// a value that rounds to zero shows no sign. An empty picture, or "General Number",
// gives CStr's text; "Fixed", "Standard" and "Percent" name "0.00", "#,##0.00" and
// "0.00%".
//
// A date that is not a date, and a number that is NaN or infinite, fail with error 6.
#pragma once

#include <string_view>

#include "frame/automation/date_value.h"
#include "frame/automation/string.h"

namespace ze {

String Format(Date d, std::u16string_view pattern);
String Format(double value, std::u16string_view pattern);

}  // namespace ze
