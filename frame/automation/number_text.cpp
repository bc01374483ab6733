// Reading numbers from text (Val, CDbl, CSng), rounding to integers (CInt, CLng) and
// writing numbers as text (CStr).
//
// The readers gather the digits into an ASCII buffer as "digits e exponent" and let
// std::from_chars do the correctly rounded conversion; the process's C locale never
// enters (a host may have changed it).
#include "frame/automation/number_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "frame/automation/error.h"

namespace ze {

namespace {

// Significant digits kept when reading: more than any double needs to be rounded
// correctly (767), so the result is exact for any input length.
constexpr size_t kMaxDigits = 800;

// A decimal number being read: value = digits x 10^exponent.
class DecimalReader {
 public:
  void AddDigit(char16_t c, bool after_point) {
    if (digits_.empty() && c == u'0') {
      // A leading zero carries no value; after the point it still shifts the scale.
      if (after_point) --exponent_;
      return;
    }
    if (digits_.size() < kMaxDigits) {
      digits_ += static_cast<char>(c);
      if (after_point) --exponent_;
    } else if (!after_point) {
      ++exponent_;  // a dropped integer digit still counts for the magnitude
    }
  }
  void AddExponent(std::int64_t e) { exponent_ += e; }

  // Whether the number is at most 1.79769313486232E+308: the largest Double as CStr
  // writes it, rounded up in its fifteenth digit and so just past the Double range.
  bool IsLargestDoubleAsWritten(std::int64_t magnitude) const {
    if (magnitude != 309) return false;
    std::string_view significant(digits_);
    while (!significant.empty() && significant.back() == '0') significant.remove_suffix(1);
    return significant <= std::string_view("179769313486232");
  }

  // The double of the number read; false when it is beyond the Double range.
  bool Value(bool negative, double& out) const {
    out = 0;
    if (digits_.empty()) return true;
    // Decimal position of the leading digit: the number lies in [10^(m-1), 10^m).
    const std::int64_t magnitude = static_cast<std::int64_t>(digits_.size()) + exponent_;
    if (magnitude > 310) return false;
    if (magnitude < -330) return true;
    char buffer[kMaxDigits + 32];
    size_t n = digits_.copy(buffer, digits_.size());
    buffer[n++] = 'e';
    const auto tail = std::to_chars(buffer + n, buffer + sizeof buffer, exponent_);
    double value = 0;
    const auto result = std::from_chars(buffer, tail.ptr, value);
    if (result.ec == std::errc::result_out_of_range) {
      if (magnitude > 0 && !IsLargestDoubleAsWritten(magnitude)) return false;
      // CStr's text of the largest Double, or an underflow below the smallest one.
      value = magnitude > 0 ? DBL_MAX : 0;
    } else if (result.ec != std::errc() || !std::isfinite(value)) {
      return false;
    }
    // No negative zero: an automation number has one zero.
    out = negative && value != 0 ? -value : value;
    return true;
  }

 private:
  std::string digits_;
  std::int64_t exponent_ = 0;
};

constexpr bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Reads an exponent's digits from text[i]; saturates far beyond any double.
std::int64_t ReadExponentDigits(std::u16string_view text, size_t& i) {
  std::int64_t e = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (e < 100000) e = e * 10 + (text[i] - u'0');
    ++i;
  }
  return e;
}

// Blanks around a number text for CDbl: spaces, tabs, line ends, no-break spaces.
constexpr bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x00A0 || c == 0x202F;
}

enum class Parsed { kNumber, kNotANumber, kOverflow };

// CDbl's parser.
Parsed ParseLocaleNumber(std::u16string_view text, const Locale& locale, double& out) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);

  const char16_t decimal = locale.DecimalSeparator();
  const char16_t thousands = locale.ThousandsSeparator();
  const bool space_groups = thousands == 0x00A0 || thousands == 0x202F || thousands == u' ';
  auto is_thousands = [&](char16_t c) {
    return c != decimal &&
           (c == thousands || (space_groups && (c == u' ' || c == 0x00A0 || c == 0x202F)));
  };

  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  DecimalReader reader;
  size_t digits = 0;
  // Integer digits, with thousands separators between digits.
  while (i < text.size()) {
    if (IsDigit(text[i])) {
      reader.AddDigit(text[i++], false);
      ++digits;
    } else if (digits > 0 && is_thousands(text[i]) && i + 1 < text.size() && IsDigit(text[i + 1])) {
      ++i;
    } else {
      break;
    }
  }
  // Fraction.
  if (i < text.size() && text[i] == decimal) {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      reader.AddDigit(text[i++], true);
      ++digits;
    }
  }
  if (digits == 0) return Parsed::kNotANumber;
  // Exponent.
  if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool exponent_negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
      exponent_negative = text[i++] == u'-';
    }
    if (i >= text.size() || !IsDigit(text[i])) return Parsed::kNotANumber;
    const std::int64_t e = ReadExponentDigits(text, i);
    reader.AddExponent(exponent_negative ? -e : e);
  }
  if (i != text.size()) return Parsed::kNotANumber;
  return reader.Value(negative, out) ? Parsed::kNumber : Parsed::kOverflow;
}

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value) {
  const double rounded = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0) {
    return rounded - std::copysign(1.0, value);
  }
  return rounded;
}

// to_chars' general form made into the automation's: "1e+15" -> "1E+15", the decimal
// point -> the locale's separator.
String NumberTextFromChars(const char* begin, const char* end) {
  String out;
  out.reserve(static_cast<size_t>(end - begin));
  const char16_t decimal = Locale::Current().DecimalSeparator();
  for (const char* p = begin; p != end; ++p) {
    const char c = *p;
    if (c == '.')
      out += decimal;
    else if (c == 'e')
      out += u'E';
    else
      out += static_cast<char16_t>(c);
  }
  return out;
}

}  // namespace

double Val(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() &&
         (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  DecimalReader reader;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    reader.AddDigit(text[i++], false);
    ++digits;
  }
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      reader.AddDigit(text[i++], true);
      ++digits;
    }
  }
  if (digits == 0) return 0;
  // An exponent continues the number only when digits follow its letter and sign.
  if (i < text.size() &&
      (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
    size_t j = i + 1;
    bool exponent_negative = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
      exponent_negative = text[j++] == u'-';
    }
    if (j < text.size() && IsDigit(text[j])) {
      const std::int64_t e = ReadExponentDigits(text, j);
      reader.AddExponent(exponent_negative ? -e : e);
    }
  }
  double value = 0;
  if (!reader.Value(negative, value)) Raise(errors::kOverflow);
  return value;
}

double CDbl(std::u16string_view text) {
  return CDbl(text, Locale::Current());
}

double CDbl(std::u16string_view text, const Locale& locale) {
  double value = 0;
  switch (ParseLocaleNumber(text, locale, value)) {
    case Parsed::kNumber:
      return value;
    case Parsed::kOverflow:
      Raise(errors::kOverflow);
    case Parsed::kNotANumber:
      break;
  }
  Raise(errors::kTypeMismatch);
}

bool IsNumeric(std::u16string_view text) {
  double value = 0;
  // A number too large for a Double is still a number.
  return ParseLocaleNumber(text, Locale::Current(), value) != Parsed::kNotANumber;
}

float CSng(double value) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) Raise(errors::kOverflow);
  return static_cast<float>(value);
}

float CSng(std::u16string_view text) {
  return CSng(CDbl(text));
}

std::int16_t CInt(double value) {
  const double rounded = RoundHalfEven(value);
  // NaN fails both comparisons.
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) Raise(errors::kOverflow);
  return static_cast<std::int16_t>(rounded);
}

std::int16_t CInt(std::u16string_view text) {
  return CInt(CDbl(text));
}

std::int32_t CLng(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) Raise(errors::kOverflow);
  return static_cast<std::int32_t>(rounded);
}

std::int32_t CLng(std::u16string_view text) {
  return CLng(CDbl(text));
}

String CStr(double value) {
  if (!std::isfinite(value)) Raise(errors::kOverflow);
  if (value == 0) return String(1, u'0');  // one zero: no "-0"
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return NumberTextFromChars(buffer, result.ptr);
}

String CStr(float value) {
  if (!std::isfinite(value)) Raise(errors::kOverflow);
  if (value == 0) return String(1, u'0');
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
  return NumberTextFromChars(buffer, result.ptr);
}

String CStr(std::int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return String(buffer, result.ptr);
}

}  // namespace ze
