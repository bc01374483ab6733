// Format of a number with a picture.
//
// Two passes over the picture: the first counts the digit places (integer places, where
// the first "0" stands, fraction places, the last "0" among them) and notes grouping and
// percent signs; the number is then rounded in decimal to the fraction places; the
// second pass writes the picture with the digits in their places.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/number_text.h"

namespace ze {

namespace {

// What the first pass learns about a picture.
struct PictureShape {
  size_t integer_places = 0;
  size_t first_zero = std::u16string_view::npos;  // index among the integer places
  size_t fraction_places = 0;
  size_t last_zero = std::u16string_view::npos;  // index among the fraction places
  bool has_point = false;
  bool grouping = false;
  int percents = 0;
  // Only digit places, "," before the point and one ".": the digits can be written in
  // one go, without walking the picture again.
  bool simple = true;
  // Sections (";"), an exponent ("E+", "e-") or "@": parts of the picture language
  // this runtime does not print. They fail instead of printing a wrong number.
  bool unsupported = false;
};

PictureShape Measure(std::u16string_view picture) {
  PictureShape shape;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char16_t c = picture[i];
    if (c == u'0' || c == u'#') {
      if (shape.has_point) {
        if (c == u'0') shape.last_zero = shape.fraction_places;
        ++shape.fraction_places;
      } else {
        if (c == u'0' && shape.first_zero == std::u16string_view::npos) {
          shape.first_zero = shape.integer_places;
        }
        ++shape.integer_places;
      }
      continue;
    }
    if (c == u'.' && !shape.has_point) {
      shape.has_point = true;
    } else if (c == u',' && !shape.has_point) {
      shape.grouping = true;
    } else {
      shape.simple = false;  // a literal of some kind
      if (c == u';' || c == u'@' ||
          ((c == u'E' || c == u'e') && i + 1 < picture.size() &&
           (picture[i + 1] == u'+' || picture[i + 1] == u'-'))) {
        shape.unsupported = true;
      }
      if (c == u'"') {
        const size_t close = picture.find(u'"', i + 1);
        i = close == std::u16string_view::npos ? picture.size() : close;
      } else if (c == u'\\') {
        ++i;
      } else if (c == u'%') {
        ++shape.percents;
      }
    }
  }
  return shape;
}

// The shape of a picture, remembered for the last picture used on this thread: callers
// format many numbers with one picture.
const PictureShape& MeasureCached(std::u16string_view picture) {
  thread_local String last_picture;
  thread_local PictureShape last_shape;
  thread_local bool known = false;
  if (!known || picture != last_picture) {
    last_shape = Measure(picture);
    last_picture.assign(picture);
    known = true;
  }
  return last_shape;
}

// A non-negative number rounded to a count of decimals, halves away from zero, from its
// 15-significant-digit form. Held as at most 16 significant digits and the power of ten
// of the first one, so any digit is at hand without building strings.
class Rounded {
 public:
  Rounded(double value, size_t decimals) {
    if (RoundSmall(value, decimals)) return;
    // "d.dddddddddddddde+XX": 15 significant digits, the first at 10^exponent.
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const char* p = buffer;
    for (; p != result.ptr && *p != 'e'; ++p) {
      if (*p != '.') digits_[length_++] = *p;
    }
    int exponent = 0;
    if (p != result.ptr) std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    exponent_ = exponent;

    // Keep the digits down to 10^-decimals; round at the first one dropped.
    const long long keep = exponent_ + 1 + static_cast<long long>(decimals);
    if (value == 0 || keep < 0) {
      length_ = 0;
    } else if (keep < length_) {
      const bool up = digits_[keep] >= '5';
      length_ = static_cast<int>(keep);
      if (up) {
        int i = length_ - 1;
        for (; i >= 0 && digits_[i] == '9'; --i) digits_[i] = '0';
        if (i >= 0) {
          ++digits_[i];
        } else {
          // 9.99 -> 10.0: a new leading 1, one power higher.
          for (int k = length_; k > 0; --k) digits_[k] = digits_[k - 1];
          digits_[0] = '1';
          ++length_;
          ++exponent_;
        }
      }
    }
    while (length_ > 0 && digits_[length_ - 1] == '0') --length_;
  }

  // The quick way for the usual values: scale by 10^decimals in binary and round there,
  // which gives the same digits as rounding the 15-digit decimal form unless the scaled
  // value lies within that form's precision of a half; those, and values too large or
  // too finely divided for the quick way, take the decimal way. False when not taken.
  bool RoundSmall(double value, size_t decimals) {
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (decimals >= std::size(kPowersOfTen)) return false;
    const double scaled = value * kPowersOfTen[decimals];
    if (!(scaled < 1e13)) return false;
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    // The 15-digit form differs from value by at most half a unit in its 15th digit,
    // below scaled * 1e-14 once scaled; the product adds a rounding of its own.
    if (std::fabs(fraction - 0.5) <= scaled * 2e-14 + 1e-15) return false;
    std::uint64_t units = whole + (fraction > 0.5 ? 1 : 0);
    // The digits of units, the last one at 10^-decimals.
    char reversed[20];
    int count = 0;
    while (units > 0) {
      reversed[count++] = static_cast<char>('0' + units % 10);
      units /= 10;
    }
    length_ = 0;
    for (int k = count - 1; k >= 0; --k) digits_[length_++] = reversed[k];
    exponent_ = count - 1 - static_cast<long long>(decimals);
    while (length_ > 0 && digits_[length_ - 1] == '0') --length_;
    return true;
  }

  bool IsZero() const { return length_ == 0; }
  // Digits left of the decimal point, without leading zeros (0 for a value below 1).
  long long IntegerDigits() const { return IsZero() || exponent_ < 0 ? 0 : exponent_ + 1; }
  // The digit at 10^power.
  char16_t DigitAt(long long power) const {
    const long long index = exponent_ - power;
    return index >= 0 && index < length_ ? static_cast<char16_t>(digits_[index]) : u'0';
  }
  // The last fraction place (0-based, below `places`) holding a digit other than 0, or -1.
  long long LastSignificantFractionPlace(size_t places) const {
    // Place f holds the digit at 10^-(f+1), index exponent + f + 1.
    const long long last =
        std::min<long long>(static_cast<long long>(places) - 1, length_ - exponent_ - 2);
    for (long long f = last; f >= 0; --f) {
      if (DigitAt(-(f + 1)) != u'0') return f;
    }
    return -1;
  }

 private:
  char digits_[20] = {};
  int length_ = 0;
  long long exponent_ = 0;
};

// The integer digits as written: at least as many as the places from the first "0" on
// (leading zeros fill them), grouped by three when asked. Writes digits [from, to) of
// that text, with the separators that follow them.
class IntegerDigits {
 public:
  IntegerDigits(const Rounded& r, const PictureShape& shape, char16_t separator)
      : rounded_(r), grouping_(shape.grouping), separator_(separator) {
    const long long min_digits =
        shape.first_zero == std::u16string_view::npos
            ? 0
            : static_cast<long long>(shape.integer_places - shape.first_zero);
    significant_ = r.IntegerDigits();
    length_ = std::max(significant_, min_digits);
  }
  long long length() const { return length_; }

  void Append(String& out, long long from, long long to) const {
    const long long pad = length_ - significant_;
    for (long long k = from; k < to; ++k) {
      // Digit k from the left stands at 10^(length - 1 - k).
      out += k < pad ? u'0' : rounded_.DigitAt(length_ - 1 - k);
      const long long after = length_ - 1 - k;  // digits still to come
      if (grouping_ && after > 0 && after % 3 == 0) out += separator_;
    }
  }

 private:
  const Rounded& rounded_;
  bool grouping_;
  char16_t separator_;
  long long significant_ = 0;
  long long length_ = 0;
};

std::u16string_view NamedPicture(std::u16string_view picture) {
  if (EqualsIgnoringAsciiCase(picture, u"Fixed")) return u"0.00";
  if (EqualsIgnoringAsciiCase(picture, u"Standard")) return u"#,##0.00";
  if (EqualsIgnoringAsciiCase(picture, u"Percent")) return u"0.00%";
  return {};
}

// The named formats this runtime does not print.
bool UnsupportedNamedPicture(std::u16string_view picture) {
  for (std::u16string_view name :
       {u"Scientific", u"Currency", u"True/False", u"Yes/No", u"On/Off"}) {
    if (EqualsIgnoringAsciiCase(picture, name)) return true;
  }
  return false;
}

[[noreturn]] void Unsupported(std::u16string_view picture) {
  Raise(errors::kInvalidProcedureCall,
        u"the number format \"" + String(picture) + u"\" is not supported");
}

}  // namespace

String Format(double value, std::u16string_view picture) {
  if (!std::isfinite(value)) Raise(errors::kOverflow);
  if (picture.empty() || EqualsIgnoringAsciiCase(picture, u"General Number")) return CStr(value);
  if (const std::u16string_view named = NamedPicture(picture); !named.empty()) picture = named;
  if (UnsupportedNamedPicture(picture)) Unsupported(picture);

  // 1. The picture's shape.
  const PictureShape& shape = MeasureCached(picture);
  if (shape.unsupported) Unsupported(picture);
  // 2. The number, scaled for "%", rounded to the fraction places.
  double magnitude = std::fabs(value);
  for (int k = 0; k < shape.percents && std::isfinite(magnitude); ++k) magnitude *= 100;
  if (!std::isfinite(magnitude)) Raise(errors::kOverflow);
  const Rounded rounded(magnitude, shape.fraction_places);

  const Locale& locale = Locale::Current();
  const IntegerDigits integer(rounded, shape, locale.ThousandsSeparator());
  // The last fraction place written: the last "0" place or the last significant digit.
  long long last_shown = rounded.LastSignificantFractionPlace(shape.fraction_places);
  if (shape.last_zero != std::u16string_view::npos) {
    last_shown = std::max(last_shown, static_cast<long long>(shape.last_zero));
  }

  // 3. Write the picture with the digits in their places.
  String out;
  out.reserve(picture.size() + static_cast<size_t>(integer.length() * 4 / 3) + 2);
  if (value < 0 && !rounded.IsZero()) out += u'-';
  if (shape.simple) {
    // Digits, the point and the fraction, with no literal to place among them.
    integer.Append(out, 0, integer.length());
    if (shape.has_point) {
      out += locale.DecimalSeparator();
      for (long long f = 0; f <= last_shown; ++f) out += rounded.DigitAt(-f - 1);
    }
    return out;
  }
  // The places take the digits from the right and the first place takes any excess; with
  // grouping the separators follow the digits they follow in the grouped text, so a
  // literal among the places stays where it stands ("###, ###" on 123456 is "123, 456").
  const auto places = static_cast<long long>(shape.integer_places);
  long long integer_place = 0;
  size_t fraction_place = 0;
  bool integer_written = false;
  bool after_point = false;
  auto write_integer_place = [&]() {
    // Place j (from the left) holds digit length - (places - j); the first place also
    // everything before it.
    const long long index = integer.length() - (places - integer_place);
    if (integer_place == 0) {
      integer.Append(out, 0, index + 1);
    } else if (index >= 0) {
      integer.Append(out, index, index + 1);
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
        out += rounded.DigitAt(-static_cast<long long>(fraction_place) - 1);
      }
      ++fraction_place;
    } else if (c == u'.' && !after_point) {
      // A picture without integer places still shows the integer part, before the point.
      if (!integer_written) integer.Append(out, 0, integer.length());
      integer_written = true;
      after_point = true;
      out += locale.DecimalSeparator();
    } else if (c == u',' && !after_point) {
      // grouping only: nothing printed here
    } else {
      out += c;
    }
  }
  if (!integer_written) integer.Append(out, 0, integer.length());
  return out;
}

}  // namespace ze
