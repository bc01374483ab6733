// Format of a number with a picture.
//
// Two passes over the picture: the first counts the digit places (integer places, where
// the first "0" stands, fraction places, the last "0" among them) and notes grouping and
// percent signs; the number is then rounded in decimal to the fraction places; the
// second pass writes the picture with the digits in their places.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/number_text.h"

namespace ze {

namespace {

constexpr char16_t Lower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// What the first pass learns about a picture.
struct PictureShape {
  size_t integer_places = 0;
  size_t first_zero = std::u16string_view::npos;  // index among the integer places
  size_t fraction_places = 0;
  size_t last_zero = std::u16string_view::npos;  // index among the fraction places
  bool has_point = false;
  bool grouping = false;
  int percents = 0;
};

PictureShape Measure(std::u16string_view picture) {
  PictureShape shape;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char16_t c = picture[i];
    if (c == u'"') {
      const size_t close = picture.find(u'"', i + 1);
      i = close == std::u16string_view::npos ? picture.size() : close;
    } else if (c == u'\\') {
      ++i;
    } else if (c == u'0' || c == u'#') {
      if (shape.has_point) {
        if (c == u'0') shape.last_zero = shape.fraction_places;
        ++shape.fraction_places;
      } else {
        if (c == u'0' && shape.first_zero == std::u16string_view::npos) {
          shape.first_zero = shape.integer_places;
        }
        ++shape.integer_places;
      }
    } else if (c == u'.' && !shape.has_point) {
      shape.has_point = true;
    } else if (c == u',' && !shape.has_point) {
      shape.grouping = true;
    } else if (c == u'%') {
      ++shape.percents;
    }
  }
  return shape;
}

// A non-negative number rounded to a count of decimals, halves away from zero, from its
// 15-significant-digit form: the integer digits (no leading zeros, "" for zero) and
// exactly `decimals` fraction digits.
struct Rounded {
  std::string integer;
  std::string fraction;
  bool is_zero = true;
};

Rounded RoundToDecimals(double value, size_t decimals) {
  // "d.dddddddddddddde+XX": 15 significant digits, the first at 10^exponent.
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string digits;
  digits.reserve(16);
  const char* p = buffer;
  for (; p != result.ptr && *p != 'e'; ++p) {
    if (*p != '.') digits += *p;
  }
  int exponent = 0;
  if (p != result.ptr) std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);

  // Keep the digits down to 10^-decimals; round at the first one dropped.
  const long long keep = static_cast<long long>(exponent) + 1 + static_cast<long long>(decimals);
  if (value == 0 || keep < 0) {
    digits.clear();
  } else if (keep < static_cast<long long>(digits.size())) {
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      long long i = keep - 1;
      for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i)
        digits[static_cast<size_t>(i)] = '0';
      if (i >= 0) {
        ++digits[static_cast<size_t>(i)];
      } else {
        digits.insert(digits.begin(), '1');
        ++exponent;
      }
    }
  }

  // The digit at 10^power.
  auto digit_at = [&](long long power) -> char {
    const long long index = exponent - power;
    return (index >= 0 && index < static_cast<long long>(digits.size()))
               ? digits[static_cast<size_t>(index)]
               : '0';
  };
  Rounded r;
  r.is_zero = digits.find_first_not_of('0') == std::string::npos;
  if (!r.is_zero) {
    for (long long power = exponent; power >= 0; --power) r.integer += digit_at(power);
    const size_t nonzero = r.integer.find_first_not_of('0');
    r.integer.erase(0, nonzero == std::string::npos ? r.integer.size() : nonzero);
  }
  r.fraction.reserve(decimals);
  for (size_t k = 1; k <= decimals; ++k) {
    r.fraction += r.is_zero ? '0' : digit_at(-static_cast<long long>(k));
  }
  return r;
}

// The integer digits as written: padded with zeros to the places from the first "0" on,
// grouped by three when asked.
String IntegerText(const std::string& digits, const PictureShape& shape, char16_t separator) {
  size_t min_digits = 0;
  if (shape.first_zero != std::u16string_view::npos) {
    min_digits = shape.integer_places - shape.first_zero;
  }
  const size_t length = std::max(digits.size(), min_digits);
  String out;
  out.reserve(length + length / 3);
  for (size_t k = 0; k < length; ++k) {
    const size_t from_right = length - k;  // digits still to write, this one included
    const size_t pad = length - digits.size();
    out += k < pad ? u'0' : static_cast<char16_t>(digits[k - pad]);
    if (shape.grouping && from_right > 1 && (from_right - 1) % 3 == 0) out += separator;
  }
  return out;
}

std::u16string_view NamedPicture(std::u16string_view picture) {
  if (EqualsIgnoringCase(picture, u"Fixed")) return u"0.00";
  if (EqualsIgnoringCase(picture, u"Standard")) return u"#,##0.00";
  if (EqualsIgnoringCase(picture, u"Percent")) return u"0.00%";
  return {};
}

}  // namespace

String Format(double value, std::u16string_view picture) {
  if (!std::isfinite(value)) Raise(errors::kOverflow);
  if (picture.empty() || EqualsIgnoringCase(picture, u"General Number")) return CStr(value);
  if (const std::u16string_view named = NamedPicture(picture); !named.empty()) picture = named;

  // 1. The picture's shape.
  const PictureShape shape = Measure(picture);
  // 2. The number, scaled for "%", rounded to the fraction places.
  double magnitude = std::fabs(value);
  for (int k = 0; k < shape.percents && std::isfinite(magnitude); ++k) magnitude *= 100;
  if (!std::isfinite(magnitude)) Raise(errors::kOverflow);
  const Rounded rounded = RoundToDecimals(magnitude, shape.fraction_places);

  const Locale& locale = Locale::Current();
  const String integer = IntegerText(rounded.integer, shape, locale.ThousandsSeparator());
  // The last fraction place written: the last "0" place or the last significant digit.
  const size_t last_significant = rounded.fraction.find_last_not_of('0');
  long long last_shown = -1;
  if (shape.last_zero != std::u16string_view::npos)
    last_shown = static_cast<long long>(shape.last_zero);
  if (last_significant != std::string::npos) {
    last_shown = std::max(last_shown, static_cast<long long>(last_significant));
  }

  // 3. Write the picture with the digits in their places.
  String out;
  out.reserve(picture.size() + integer.size() + 4);
  if (value < 0 && !rounded.is_zero) out += u'-';
  // With grouping the whole integer text goes to the first integer place; otherwise the
  // places take the digits from the right and the first place takes any excess.
  const size_t excess =
      integer.size() > shape.integer_places ? integer.size() - shape.integer_places : 0;
  size_t integer_place = 0;
  size_t fraction_place = 0;
  bool integer_written = false;
  bool after_point = false;
  auto write_integer_place = [&]() {
    if (shape.grouping) {
      if (integer_place == 0) out += integer;
    } else {
      // Place j (from the left) holds digit index size - (places - j), and the first
      // place everything before it.
      const long long index = static_cast<long long>(integer.size()) -
                              static_cast<long long>(shape.integer_places - integer_place);
      if (integer_place == 0) {
        out.append(integer, 0, excess + (index >= 0 ? 1 : 0));
      } else if (index >= 0) {
        out += integer[static_cast<size_t>(index)];
      }
    }
    ++integer_place;
    integer_written = true;
  };

  for (size_t i = 0; i < picture.size(); ++i) {
    const char16_t c = picture[i];
    if (c == u'"') {
      const size_t close = picture.find(u'"', i + 1);
      const size_t stop = close == std::u16string_view::npos ? picture.size() : close;
      out.append(picture.substr(i + 1, stop - i - 1));
      i = stop;
    } else if (c == u'\\') {
      if (i + 1 < picture.size()) out += picture[++i];
    } else if ((c == u'0' || c == u'#') && !after_point) {
      write_integer_place();
    } else if (c == u'0' || c == u'#') {
      if (static_cast<long long>(fraction_place) <= last_shown) {
        out += static_cast<char16_t>(rounded.fraction[fraction_place]);
      }
      ++fraction_place;
    } else if (c == u'.' && !after_point) {
      // A picture without integer places still shows the integer part, before the point.
      if (!integer_written) out += integer;
      integer_written = true;
      after_point = true;
      out += locale.DecimalSeparator();
    } else if (c == u',' && !after_point) {
      // grouping only: nothing printed here
    } else {
      out += c;
    }
  }
  if (!integer_written) out += integer;
  return out;
}

}  // namespace ze
