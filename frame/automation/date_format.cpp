// Format of a Date with a pattern: one pass over the pattern, each field written from the
// date's parts taken apart once.
#include <algorithm>
#include <array>

#include "frame/automation/date_parts.h"
#include "frame/automation/date_text.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"

namespace ze {

namespace {

// The pattern a named date format stands for; empty when the text names none.
std::u16string_view NamedPattern(std::u16string_view pattern) {
  if (pattern.size() < 9 || pattern.size() > 12) return {};
  if (EqualsIgnoringAsciiCase(pattern, u"Short Date")) return u"ddddd";
  if (EqualsIgnoringAsciiCase(pattern, u"Long Date")) return u"dddd d mmmm yyyy";
  if (EqualsIgnoringAsciiCase(pattern, u"Medium Date")) return u"dd-mmm-yy";
  if (EqualsIgnoringAsciiCase(pattern, u"Short Time")) return u"hh:nn";
  if (EqualsIgnoringAsciiCase(pattern, u"Medium Time")) return u"hh:nn AM/PM";
  if (EqualsIgnoringAsciiCase(pattern, u"Long Time")) return u"hh:nn:ss";
  return {};
}

void AppendNumber(String& out, std::int32_t v, int min_digits) {
  std::array<char16_t, 12> buffer;
  int n = 0;
  do {
    buffer[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v > 0);
  for (int i = n; i < min_digits; ++i) out += u'0';
  while (n > 0) out += buffer[--n];
}

// The length of the run of letter c (any case) at pattern[i].
size_t RunLength(std::u16string_view pattern, size_t i, char16_t c) {
  size_t n = 0;
  while (i + n < pattern.size() && LowerAscii(pattern[i + n]) == c) ++n;
  return n;
}

// The AM/PM marker at pattern[i] ("AM/PM", "A/P" in any case); 0 when none, else its
// length.
size_t MarkerAt(std::u16string_view pattern, size_t i) {
  const std::u16string_view rest = pattern.substr(i);
  if (rest.size() >= 5 && EqualsIgnoringAsciiCase(rest.substr(0, 5), u"am/pm")) return 5;
  if (rest.size() >= 3 && EqualsIgnoringAsciiCase(rest.substr(0, 3), u"a/p")) return 3;
  return 0;
}

bool HasMarker(std::u16string_view pattern) {
  bool quoted = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'"')
      quoted = !quoted;
    else if (quoted)
      continue;
    else if (c == u'\\')
      ++i;
    else if ((c == u'a' || c == u'A') && MarkerAt(pattern, i) != 0)
      return true;
  }
  return false;
}

// Week of the year, weeks starting on Sunday, the week of 1 January being week 1.
std::int32_t WeekOfYear(const DateParts& p) {
  const std::int32_t jan1 = civil::DaysFromCivil(p.year, 1, 1);
  const std::int32_t jan1_weekday = civil::WeekdayFromDays(jan1);  // 0 = Sunday
  return (p.day_number - jan1 + jan1_weekday) / 7 + 1;
}

void AppendShortDate(String& out, const DateParts& p) {
  // CStr's date part: CStr of the day alone (no time) is exactly that.
  out += CStr(Date(static_cast<double>(p.day_number)));
}

}  // namespace

String Format(Date d, std::u16string_view pattern) {
  const DateParts p = SplitDate(d);
  if (pattern.empty() || EqualsIgnoringAsciiCase(pattern, u"General Date")) return CStr(d);
  if (const std::u16string_view named = NamedPattern(pattern); !named.empty()) pattern = named;

  const Locale& locale = Locale::Current();
  const bool twelve_hour = HasMarker(pattern);
  String out;
  out.reserve(pattern.size() + 8);
  bool after_hour = false;  // the last field written was an hour

  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    const char16_t lc = LowerAscii(c);
    switch (lc) {
      case u'"': {
        const size_t close = pattern.find(u'"', i + 1);
        const size_t stop = close == std::u16string_view::npos ? pattern.size() : close;
        out.append(pattern.substr(i + 1, stop - i - 1));
        i = stop + 1;
        continue;
      }
      case u'\\':
        if (i + 1 < pattern.size()) out += pattern[i + 1];
        i += 2;
        continue;
      case u'd': {
        const size_t n = std::min<size_t>(RunLength(pattern, i, u'd'), 6);
        if (n <= 2)
          AppendNumber(out, p.day, static_cast<int>(n));
        else if (n == 3)
          out += locale.AbbreviatedWeekdayName(p.weekday);
        else if (n == 4)
          out += locale.WeekdayName(p.weekday);
        else if (n == 5)
          AppendShortDate(out, p);
        else {
          out += locale.WeekdayName(p.weekday);
          out += u' ';
          AppendNumber(out, p.day, 1);
          out += u' ';
          out += locale.MonthName(p.month);
          out += u' ';
          AppendNumber(out, p.year, 4);
        }
        i += n;
        after_hour = false;
        continue;
      }
      case u'm': {
        size_t n = RunLength(pattern, i, u'm');
        if (after_hour && n <= 2) {
          AppendNumber(out, p.minute, static_cast<int>(n));
        } else if (n <= 2) {
          AppendNumber(out, p.month, static_cast<int>(n));
        } else if (n == 3) {
          out += locale.AbbreviatedMonthName(p.month);
        } else {
          n = 4;
          out += locale.MonthName(p.month);
        }
        i += n;
        after_hour = false;
        continue;
      }
      case u'y': {
        const size_t run = RunLength(pattern, i, u'y');
        const size_t n = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        if (n == 4)
          AppendNumber(out, p.year, 4);
        else if (n == 2)
          AppendNumber(out, p.year % 100, 2);
        else
          AppendNumber(out, p.day_number - civil::DaysFromCivil(p.year, 1, 1) + 1, 1);
        i += n;
        after_hour = false;
        continue;
      }
      case u'h': {
        const size_t n = std::min<size_t>(RunLength(pattern, i, u'h'), 2);
        std::int32_t hour = p.hour;
        if (twelve_hour) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendNumber(out, hour, static_cast<int>(n));
        i += n;
        after_hour = true;
        continue;
      }
      case u'n':
      case u's': {
        const size_t n = std::min<size_t>(RunLength(pattern, i, lc), 2);
        AppendNumber(out, lc == u'n' ? p.minute : p.second, static_cast<int>(n));
        i += n;
        after_hour = false;
        continue;
      }
      case u'w': {
        const size_t n = std::min<size_t>(RunLength(pattern, i, u'w'), 2);
        AppendNumber(out, n == 1 ? p.weekday : WeekOfYear(p), 1);
        i += n;
        after_hour = false;
        continue;
      }
      case u'q':
        AppendNumber(out, (p.month - 1) / 3 + 1, 1);
        ++i;
        after_hour = false;
        continue;
      case u'c':
        out += CStr(d);
        ++i;
        after_hour = false;
        continue;
      case u'a':
        if (const size_t n = MarkerAt(pattern, i); n != 0) {
          // The marker's first letter in the case the pattern wrote it.
          const bool afternoon = p.hour >= 12;
          const bool upper = c == u'A';
          if (n == 5)
            out += afternoon ? (upper ? u"PM" : u"pm") : (upper ? u"AM" : u"am");
          else
            out += afternoon ? (upper ? u'P' : u'p') : (upper ? u'A' : u'a');
          i += n;
          continue;
        }
        break;
      default:
        break;
    }
    out += c;  // "/", ":" and every other character stand for themselves
    ++i;
  }
  return out;
}

}  // namespace ze
