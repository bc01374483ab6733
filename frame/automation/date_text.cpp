// Reading dates from text and writing them in the locale's short date form.
//
// The reader splits the text into a few tokens (numbers, words, separators, blanks), cuts
// it into a date part and a time part where a number is followed by ":", and then reads
// each part by the rules in date_text.h. A date written in digits costs no allocation
// and no ICU call; ICU only classifies characters beyond ASCII and case-folds a word to
// compare it with the month names.
#include "frame/automation/date_text.h"

#include <unicode/uchar.h>

#include <array>

#include "frame/automation/civil_date.h"
#include "frame/automation/date_parts.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"

namespace ze {

namespace {

enum class Kind { kNumber, kWord, kSeparator, kBlank };

struct Token {
  Kind kind = Kind::kBlank;
  std::int32_t value = 0;   // a number's value
  std::int32_t digits = 0;  // a number's digit count
  char16_t separator = 0;
  std::u16string_view word;
};

// More tokens than the longest text we read ("dicembre 25 , 2005 10 : 30 : 00 PM" with
// blanks between everything); a longer text is not a date.
constexpr size_t kMaxTokens = 24;
// A number of more digits than any field has.
constexpr std::int32_t kMaxDigits = 4;

constexpr bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
constexpr bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == 0x00A0;
}

bool IsLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) return true;
  if (c < 0x80 || (c >= 0xD800 && c <= 0xDFFF)) return false;
  return u_isalpha(c) != 0;
}

class Tokens {
 public:
  // False when the text holds a character no date has, or too many tokens.
  bool Split(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size()) {
      if (count_ == kMaxTokens) return false;
      Token& t = tokens_[count_++];
      const char16_t c = text[i];
      if (IsDigit(c)) {
        t.kind = Kind::kNumber;
        t.value = 0;
        t.digits = 0;
        while (i < text.size() && IsDigit(text[i])) {
          if (++t.digits > kMaxDigits) return false;
          t.value = t.value * 10 + (text[i++] - u'0');
        }
      } else if (IsBlank(c)) {
        t.kind = Kind::kBlank;
        while (i < text.size() && IsBlank(text[i])) ++i;
      } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u':') {
        t.kind = Kind::kSeparator;
        t.separator = c;
        ++i;
      } else if (IsLetter(c)) {
        const size_t start = i;
        while (i < text.size() && IsLetter(text[i])) ++i;
        t.kind = Kind::kWord;
        t.word = text.substr(start, i - start);
      } else {
        return false;
      }
    }
    return true;
  }

  size_t size() const { return count_; }
  const Token& operator[](size_t i) const { return tokens_[i]; }

 private:
  std::array<Token, kMaxTokens> tokens_;
  size_t count_ = 0;
};

bool IsNumberToken(const Token& t) {
  return t.kind == Kind::kNumber;
}
bool IsSeparator(const Token& t, char16_t c) {
  return t.kind == Kind::kSeparator && t.separator == c;
}

// A civil date checked against the calendar and the automation range.
bool IsRealDate(std::int32_t y, std::int32_t m, std::int32_t d) {
  return y >= civil::kFirstYear && y <= civil::kLastYear && m >= 1 && m <= 12 && d >= 1 &&
         d <= civil::DaysInMonth(y, m);
}

// A year field: one or two digits completed in the 1930..2029 window, three or four
// taken as written.
std::int32_t YearOf(const Token& t) {
  return t.digits <= 2 ? CompleteTwoDigitYear(t.value) : t.value;
}

// Day and month read in the given order, or swapped when only that is a real date.
bool SettleDayMonth(std::int32_t y, std::int32_t day, std::int32_t month,
                    civil::YearMonthDay& out) {
  if (IsRealDate(y, month, day)) {
    out = {y, month, day};
    return true;
  }
  if (IsRealDate(y, day, month)) {
    out = {y, day, month};
    return true;
  }
  return false;
}

struct Item {
  const Token* token = nullptr;
  int month_name = 0;  // 1..12 for a month name
};

// The date part: exactly three items (numbers or one month name) and two separator
// groups between them. tokens [begin, end) holds no leading or trailing blank.
bool ReadDatePart(const Tokens& tokens, size_t begin, size_t end, const Locale& locale,
                  civil::YearMonthDay& out) {
  std::array<Item, 3> items;
  std::array<char16_t, 2> separators = {0, 0};  // 0 = blanks only
  size_t item_count = 0;
  size_t i = begin;
  while (i < end) {
    const Token& t = tokens[i];
    if (item_count == 3) return false;
    if (t.kind == Kind::kNumber) {
      if (t.digits > kMaxDigits) return false;
      items[item_count].token = &t;
    } else if (t.kind == Kind::kWord) {
      const int month = locale.MonthFromName(t.word);
      if (month == 0) return false;
      items[item_count].token = &t;
      items[item_count].month_name = month;
    } else {
      return false;
    }
    ++i;
    // The separator group after an item: blanks and at most one separator.
    if (item_count < 2) {
      char16_t sep = 0;
      bool any = false;
      while (i < end && (tokens[i].kind == Kind::kBlank || tokens[i].kind == Kind::kSeparator)) {
        if (tokens[i].kind == Kind::kSeparator) {
          if (sep != 0 || tokens[i].separator == u':') return false;
          sep = tokens[i].separator;
        }
        any = true;
        ++i;
      }
      if (!any) return false;
      separators[item_count] = sep;
    }
    ++item_count;
  }
  if (item_count != 3) return false;

  int names = 0, name_at = -1;
  for (int k = 0; k < 3; ++k) {
    if (items[k].month_name != 0) ++names, name_at = k;
  }
  if (names > 1) return false;

  if (names == 0) {
    // All numbers: the same "/", "-" or "." twice.
    if (separators[0] != separators[1]) return false;
    if (separators[0] != u'/' && separators[0] != u'-' && separators[0] != u'.') return false;
    const Token& a = *items[0].token;
    const Token& b = *items[1].token;
    const Token& c = *items[2].token;
    if (b.digits > 2) return false;
    if (a.digits >= 3) {
      // A leading year reads year-month-day whatever the locale.
      if (c.digits > 2) return false;
      return SettleDayMonth(a.value, c.value, b.value, out);
    }
    if (c.digits >= 3 || locale.ShortDateOrder() != DateOrder::kYearMonthDay) {
      // A trailing year: day and month in the locale's order, day first when the
      // locale itself puts the year first.
      if (locale.ShortDateOrder() == DateOrder::kMonthDayYear) {
        return SettleDayMonth(YearOf(c), b.value, a.value, out);
      }
      return SettleDayMonth(YearOf(c), a.value, b.value, out);
    }
    // Two-digit fields in a year-first locale.
    return SettleDayMonth(YearOf(a), c.value, b.value, out);
  }

  // A month name: a "," may only follow a number (as in "dicembre 25, 2005").
  for (int k = 0; k < 2; ++k) {
    if (separators[k] == u',' && items[k].month_name != 0) return false;
  }
  const Token* p = nullptr;  // the other two items, in order
  const Token* q = nullptr;
  for (int k = 0; k < 3; ++k) {
    if (k == name_at) continue;
    (p == nullptr ? p : q) = items[k].token;
  }
  const Token* year = nullptr;
  const Token* day = nullptr;
  if (p->digits >= 3 && q->digits >= 3) return false;
  if (p->digits >= 3) {
    year = p, day = q;
  } else if (q->digits >= 3) {
    year = q, day = p;
  } else if (locale.ShortDateOrder() == DateOrder::kYearMonthDay && name_at != 0) {
    year = p, day = q;
  } else {
    year = q, day = p;
  }
  if (day->digits > 2) return false;
  const std::int32_t y = YearOf(*year);
  const std::int32_t m = items[name_at].month_name;
  if (!IsRealDate(y, m, day->value)) return false;
  out = {y, m, day->value};
  return true;
}

// Whether a word is a morning or afternoon marker; sets afternoon.
bool ReadMarker(std::u16string_view word, bool& afternoon) {
  if (word.size() > 2) return false;
  const char16_t first = word[0] | 0x20;  // ASCII lower case
  if (first != u'a' && first != u'p') return false;
  if (word.size() == 2 && (word[1] | 0x20) != u'm') return false;
  afternoon = first == u'p';
  return true;
}

// The time part: h:mm or h:mm:ss with an optional marker; seconds since midnight.
bool ReadTimePart(const Tokens& tokens, size_t begin, size_t end, std::int32_t& seconds) {
  std::array<std::int32_t, 3> fields = {0, 0, 0};
  size_t count = 0;
  size_t i = begin;
  while (true) {
    if (i >= end || !IsNumberToken(tokens[i]) || tokens[i].digits > 2) return false;
    fields[count++] = tokens[i++].value;
    if (count < 3 && i + 1 < end && IsSeparator(tokens[i], u':')) {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2) return false;
  while (i < end && tokens[i].kind == Kind::kBlank) ++i;
  std::int32_t hour = fields[0];
  if (i < end) {
    bool afternoon = false;
    if (tokens[i].kind != Kind::kWord || !ReadMarker(tokens[i].word, afternoon)) return false;
    ++i;
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (afternoon ? 12 : 0);
  }
  if (i != end) return false;
  if (hour > 23 || fields[1] > 59 || fields[2] > 59) return false;
  seconds = (hour * 60 + fields[1]) * 60 + fields[2];
  return true;
}

// Two-digit text of 0..99 into out.
void AppendTwoDigits(String& out, std::int32_t v) {
  out += static_cast<char16_t>(u'0' + v / 10);
  out += static_cast<char16_t>(u'0' + v % 10);
}

void AppendFourDigits(String& out, std::int32_t v) {
  AppendTwoDigits(out, v / 100);
  AppendTwoDigits(out, v % 100);
}

}  // namespace

bool ParseDate(std::u16string_view text, const Locale& locale, Date& out) {
  Tokens tokens;
  if (!tokens.Split(text)) return false;
  size_t begin = 0, end = tokens.size();
  while (begin < end && tokens[begin].kind == Kind::kBlank) ++begin;
  while (end > begin && tokens[end - 1].kind == Kind::kBlank) --end;
  if (begin == end) return false;

  // The time part starts at the first number followed by ":".
  size_t time_at = end;
  for (size_t i = begin; i + 1 < end; ++i) {
    if (IsNumberToken(tokens[i]) && IsSeparator(tokens[i + 1], u':')) {
      time_at = i;
      break;
    }
  }
  std::int32_t seconds = 0;
  if (time_at != end && !ReadTimePart(tokens, time_at, end, seconds)) return false;

  std::int32_t day_number = 0;
  if (time_at != begin) {
    // A date, separated from a time by blanks.
    size_t date_end = time_at;
    if (time_at != end) {
      if (tokens[time_at - 1].kind != Kind::kBlank) return false;
      while (date_end > begin && tokens[date_end - 1].kind == Kind::kBlank) --date_end;
    }
    civil::YearMonthDay ymd;
    if (!ReadDatePart(tokens, begin, date_end, locale, ymd)) return false;
    day_number = civil::DaysFromCivil(ymd.year, ymd.month, ymd.day);
  }
  out = MakeDate(day_number, static_cast<double>(seconds) / kSecondsPerDay);
  return true;
}

bool IsDate(std::u16string_view text) {
  Date ignored;
  return ParseDate(text, Locale::Current(), ignored);
}

Date CDate(std::u16string_view text) {
  const Locale& locale = Locale::Current();
  Date d;
  if (ParseDate(text, locale, d)) return d;
  // Not a date text: a number text is a serial.
  const double serial = CDbl(text, locale);
  if (!IsValidSerial(serial)) Raise(errors::kOverflow);
  return Date(serial);
}

String CStr(Date d) {
  const DateParts p = SplitDate(d);
  const bool has_time = p.SecondsOfDay() != 0;
  String out;
  out.reserve(19);
  if (p.day_number != 0 || !has_time) {
    const Locale& locale = Locale::Current();
    const char16_t sep = locale.DateSeparator();
    switch (locale.ShortDateOrder()) {
      case DateOrder::kDayMonthYear:
        AppendTwoDigits(out, p.day), out += sep, AppendTwoDigits(out, p.month), out += sep;
        AppendFourDigits(out, p.year);
        break;
      case DateOrder::kMonthDayYear:
        AppendTwoDigits(out, p.month), out += sep, AppendTwoDigits(out, p.day), out += sep;
        AppendFourDigits(out, p.year);
        break;
      case DateOrder::kYearMonthDay:
        AppendFourDigits(out, p.year), out += sep, AppendTwoDigits(out, p.month), out += sep;
        AppendTwoDigits(out, p.day);
        break;
    }
    if (has_time) out += u' ';
  }
  if (has_time) {
    AppendTwoDigits(out, p.hour), out += u':', AppendTwoDigits(out, p.minute), out += u':';
    AppendTwoDigits(out, p.second);
  }
  return out;
}

}  // namespace ze
