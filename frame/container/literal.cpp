// Literal parsing and printing (syntax in literal.h).
//
// The parser is a small recursive-descent reader over UTF-16 text. Dates convert with
// the closed-form civil-day algorithms (days from 1970-01-01), then shift to the
// automation epoch; numbers print through std::to_chars, whose shortest form reads
// back to the same value.
#include "frame/container/literal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "frame/automation/error.h"
#include "frame/automation/string_array.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"

namespace ze::container {

namespace {

// ---- civil dates ---------------------------------------------------------------------

// Day 0 of the automation Date (1899-12-30) counted from 1970-01-01.
constexpr std::int64_t kAutomationEpoch = -25569;

// Days from 1970-01-01 to y-m-d, proleptic Gregorian. Eras are 400-year cycles of
// 146097 days; yoe in [0, 399], doy in [0, 365], doe in [0, 146096].
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
  std::int64_t y;
  unsigned m, d;
};

constexpr Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}
static_assert(DaysFromCivil(1899, 12, 30) == kAutomationEpoch);
static_assert(CivilFromDays(-25569).y == 1899);

unsigned DaysInMonth(std::int64_t y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// ---- base64 (pictures) -----------------------------------------------------------------

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(const std::string& bytes) {
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += kBase64[(v >> s) & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// ---- the parser ------------------------------------------------------------------------

[[noreturn]] void Fail(std::size_t column, const std::string& what) {
  Raise(errors::kTypeMismatch,
        FromUtf8("Invalid literal at column " + std::to_string(column + 1) + ": " + what));
}

char16_t Upper(char16_t c) {
  return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

class Parser {
 public:
  explicit Parser(std::u16string_view text) : s_(text) {}

  Variant ParseWhole() {
    Variant v = Value();
    Blank();
    if (p_ != s_.size()) Fail(p_, "unexpected text after the value");
    return v;
  }

 private:
  void Blank() {
    while (p_ < s_.size() && (s_[p_] == u' ' || s_[p_] == u'\t')) ++p_;
  }
  bool At(char16_t c) {
    Blank();
    return p_ < s_.size() && s_[p_] == c;
  }
  void Expect(char16_t c, const char* what) {
    if (!At(c)) Fail(p_, std::string("expected ") + what);
    ++p_;
  }
  std::u16string Word() {
    Blank();
    const std::size_t start = p_;
    while (p_ < s_.size() && (IsLetter(s_[p_]) || (p_ > start && IsDigit(s_[p_])))) ++p_;
    return std::u16string(s_.substr(start, p_ - start));
  }
  static bool Is(const std::u16string& word, std::u16string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (Upper(word[i]) != Upper(keyword[i])) return false;
    return true;
  }

  Variant Value() {
    Blank();
    if (p_ >= s_.size()) Fail(p_, "a value is missing");
    const char16_t c = s_[p_];
    if (c == u'"') return StringExpr();
    if (c == u'#') return DateLiteral();
    if (IsDigit(c) || c == u'-' || c == u'+' || c == u'.' || c == u'&') return Number();
    if (!IsLetter(c)) Fail(p_, "not a value");
    const std::size_t start = p_;
    const std::u16string word = Word();
    if (Is(word, u"True")) return true;
    if (Is(word, u"False")) return false;
    if (Is(word, u"Empty")) return Variant();
    if (Is(word, u"Null")) return Variant::Null();
    if (Is(word, u"Nothing")) return Variant::Nothing();
    if (Is(word, u"ChrW") || Is(word, u"Chr")) {
      p_ = start;
      return StringExpr();
    }
    if (Is(word, u"Error")) {
      Expect(u'(', "(");
      const std::int32_t code = Integer32();
      Expect(u')', ")");
      return ErrorValue{code};
    }
    if (Is(word, u"Font")) return FontLiteral();
    if (Is(word, u"Picture")) return PictureLiteral();
    Fail(start, "unknown kind of value '" + ToUtf8(word) + "'");
  }

  Variant StringExpr() { return StringText(); }

  // "a" & ChrW(10) & "b"
  String StringText() {
    String out;
    for (;;) {
      Blank();
      if (At(u'"')) {
        out += Quoted();
      } else {
        const std::size_t start = p_;
        const std::u16string word = Word();
        if (!Is(word, u"ChrW") && !Is(word, u"Chr")) Fail(start, "expected a string");
        Expect(u'(', "(");
        const std::int32_t code = Integer32();
        if (code < 0 || code > 0xFFFF) Fail(start, "character code out of range");
        Expect(u')', ")");
        out += static_cast<char16_t>(code);
      }
      if (!At(u'&')) return out;
      ++p_;
    }
  }

  String Quoted() {
    const std::size_t start = p_;
    ++p_;  // opening quote
    String out;
    for (;;) {
      if (p_ >= s_.size()) Fail(start, "the string has no closing quote");
      const char16_t c = s_[p_++];
      if (c != u'"') {
        out += c;
        continue;
      }
      if (p_ < s_.size() && s_[p_] == u'"') {
        out += u'"';
        ++p_;
        continue;
      }
      return out;
    }
  }

  std::int32_t Integer32() {
    Variant v = Number();
    if (v.Is<std::int16_t>()) return v.Get<std::int16_t>();
    if (v.Is<std::int32_t>()) return v.Get<std::int32_t>();
    Fail(p_, "expected a whole number");
  }

  double NumberValue() {
    Variant v = Number();
    if (v.Is<std::int16_t>()) return v.Get<std::int16_t>();
    if (v.Is<std::int32_t>()) return v.Get<std::int32_t>();
    if (v.Is<float>()) return v.Get<float>();
    return v.Get<double>();
  }

  Variant Number() {
    Blank();
    const std::size_t start = p_;
    if (p_ + 1 < s_.size() && s_[p_] == u'&' && Upper(s_[p_ + 1]) == u'H') return Hex();
    std::string text;
    if (p_ < s_.size() && (s_[p_] == u'-' || s_[p_] == u'+')) text += static_cast<char>(s_[p_++]);
    bool fraction = false, exponent = false, digits = false;
    while (p_ < s_.size()) {
      const char16_t c = s_[p_];
      if (IsDigit(c)) {
        digits = true;
      } else if (c == u'.' && !fraction && !exponent) {
        fraction = true;
      } else if ((c == u'E' || c == u'e') && digits && !exponent) {
        exponent = true;
        text += 'e';
        ++p_;
        if (p_ < s_.size() && (s_[p_] == u'-' || s_[p_] == u'+'))
          text += static_cast<char>(s_[p_++]);
        continue;
      } else {
        break;
      }
      text += static_cast<char>(c);
      ++p_;
    }
    if (!digits) Fail(start, "not a number");
    char suffix = 0;
    if (p_ < s_.size() && (s_[p_] == u'%' || s_[p_] == u'&' || s_[p_] == u'!' || s_[p_] == u'#'))
      suffix = static_cast<char>(s_[p_++]);
    if (text.front() == '+') text.erase(0, 1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
      Fail(start, "number out of range");
    const bool whole = !fraction && !exponent;
    switch (suffix) {
      case '%':
        if (!whole || value < -32768 || value > 32767) Fail(start, "not an Integer");
        return static_cast<std::int16_t>(value);
      case '&':
        if (!whole || value < -2147483648.0 || value > 2147483647.0) Fail(start, "not a Long");
        return static_cast<std::int32_t>(value);
      case '!':
        if (std::fabs(value) > std::numeric_limits<float>::max()) Fail(start, "not a Single");
        return static_cast<float>(value);
      case '#':
        return value;
      default:
        break;
    }
    if (whole && value >= -32768 && value <= 32767) return static_cast<std::int16_t>(value);
    if (whole && value >= -2147483648.0 && value <= 2147483647.0)
      return static_cast<std::int32_t>(value);
    return value;
  }

  Variant Hex() {
    const std::size_t start = p_;
    p_ += 2;
    std::uint64_t v = 0;
    int count = 0;
    while (p_ < s_.size()) {
      const char16_t c = Upper(s_[p_]);
      int d;
      if (IsDigit(c))
        d = c - u'0';
      else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
      else
        break;
      v = v * 16 + static_cast<unsigned>(d);
      ++count;
      ++p_;
    }
    if (count == 0 || count > 8) Fail(start, "a hex number has 1 to 8 digits");
    if (p_ < s_.size() && s_[p_] == u'&') ++p_;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  }

  unsigned Digits(int n, const char* what) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i) {
      if (p_ >= s_.size() || !IsDigit(s_[p_])) Fail(p_, std::string("expected the ") + what);
      v = v * 10 + static_cast<unsigned>(s_[p_++] - u'0');
    }
    return v;
  }
  void Char(char16_t c) {
    if (p_ >= s_.size() || s_[p_] != c) Fail(p_, "malformed date");
    ++p_;
  }

  // #yyyy-mm-dd# or #yyyy-mm-dd hh:mm[:ss]#
  Variant DateLiteral() {
    const std::size_t start = p_++;
    const unsigned y = Digits(4, "year");
    Char(u'-');
    const unsigned m = Digits(2, "month");
    Char(u'-');
    const unsigned d = Digits(2, "day");
    unsigned hh = 0, mm = 0, ss = 0;
    if (p_ < s_.size() && s_[p_] == u' ') {
      ++p_;
      hh = Digits(2, "hour");
      Char(u':');
      mm = Digits(2, "minute");
      if (p_ < s_.size() && s_[p_] == u':') {
        ++p_;
        ss = Digits(2, "second");
      }
    }
    Char(u'#');
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m) || hh > 23 || mm > 59 ||
        ss > 59)
      Fail(start, "no such date or time");
    const std::int64_t day = DaysFromCivil(y, m, d) - kAutomationEpoch;
    const double time = (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
    // Before day 0 the integer part counts back but the time still counts forward.
    return ze::Date(day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time);
  }

  // Font("MS Sans Serif", 9.75, Bold, Italic, Underline, Strikethrough, Weight(n), Charset(n))
  Variant FontLiteral() {
    Expect(u'(', "(");
    Blank();
    // A name is written as any text is, so one with a tab or a quote comes back whole.
    if (!At(u'"') && !(p_ < s_.size() && IsLetter(s_[p_]))) Fail(p_, "expected the font's name");
    String name = StringText();
    Expect(u',', ", and the size");
    const std::size_t sizeAt = p_;
    const double size = NumberValue();
    if (!(size > 0) || size >= 2160) Fail(sizeAt, "font size out of range");
    auto font = std::make_shared<Font>(std::move(name), size);
    while (At(u',')) {
      ++p_;
      const std::size_t at = p_;
      const std::u16string word = Word();
      if (Is(word, u"Bold")) {
        font->SetBold(true);
      } else if (Is(word, u"Italic")) {
        font->SetItalic(true);
      } else if (Is(word, u"Underline")) {
        font->SetUnderline(true);
      } else if (Is(word, u"Strikethrough")) {
        font->SetStrikethrough(true);
      } else if (Is(word, u"Weight") || Is(word, u"Charset")) {
        Expect(u'(', "(");
        const std::int32_t n = Integer32();
        Expect(u')', ")");
        if (Is(word, u"Weight")) {
          if (n < 1 || n > 1000) Fail(at, "font weight out of range");
          font->SetWeight(static_cast<std::int16_t>(n));
        } else {
          if (n < 0 || n > 255) Fail(at, "character set out of range");
          font->SetCharset(static_cast<std::int16_t>(n));
        }
      } else {
        Fail(at, "unknown font attribute");
      }
    }
    Expect(u')', ")");
    return ObjectRef(font);
  }

  // Picture(Icon, 32, 32, "BASE64")
  Variant PictureLiteral() {
    Expect(u'(', "(");
    const std::size_t kindAt = p_;
    const auto kind = PictureKindFromName(Word());
    if (!kind) Fail(kindAt, "unknown picture kind");
    Expect(u',', ",");
    const std::int32_t w = Integer32();
    Expect(u',', ",");
    const std::int32_t h = Integer32();
    if (w < 0 || h < 0) Fail(kindAt, "picture size out of range");
    Expect(u',', ",");
    Blank();
    const std::size_t dataAt = p_;
    if (!At(u'"')) Fail(p_, "expected the picture's data");
    const std::string data = DecodeBase64(Quoted(), dataAt);
    Expect(u')', ")");
    return ObjectRef(std::make_shared<Picture>(*kind, w, h, data));
  }

  static std::string DecodeBase64(const String& text, std::size_t at) {
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (char16_t c : text) {
      int v;
      if (c >= u'A' && c <= u'Z')
        v = c - u'A';
      else if (c >= u'a' && c <= u'z')
        v = c - u'a' + 26;
      else if (IsDigit(c))
        v = c - u'0' + 52;
      else if (c == u'+')
        v = 62;
      else if (c == u'/')
        v = 63;
      else if (c == u'=') {
        ++padding;
        continue;
      } else {
        Fail(at, "the picture's data is not base64");
      }
      if (padding) Fail(at, "the picture's data is not base64");
      buffer = (buffer << 6) | static_cast<unsigned>(v);
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        out += static_cast<char>((buffer >> bits) & 0xFF);
      }
    }
    if ((text.size() % 4) != 0 || padding > 2) Fail(at, "the picture's data is truncated");
    return out;
  }

  std::u16string_view s_;
  std::size_t p_ = 0;
};

// ---- the printer -----------------------------------------------------------------------

template <class T>
std::string Shortest(T value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string out(buffer, ec == std::errc() ? end : buffer);
  for (char& c : out)
    if (c == 'e') c = 'E';
  return out;
}

bool NeedsChrW(char16_t c, const String& s, std::size_t i) {
  if (c < 32 || c == 127) return true;
  if (c >= 0xD800 && c <= 0xDBFF)
    return !(i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF);
  if (c >= 0xDC00 && c <= 0xDFFF) return !(i > 0 && s[i - 1] >= 0xD800 && s[i - 1] <= 0xDBFF);
  return false;
}

String FormatString(const String& s) {
  if (s.empty()) return u"\"\"";
  String out;
  bool open = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (NeedsChrW(c, s, i)) {
      if (open) out += u'"';
      open = false;
      if (!out.empty()) out += u" & ";
      out += u"ChrW(" + FromUtf8(std::to_string(static_cast<unsigned>(c))) + u")";
      continue;
    }
    if (!open) {
      if (!out.empty()) out += u" & ";
      out += u'"';
      open = true;
    }
    if (c == u'"') out += u'"';
    out += c;
  }
  if (open) out += u'"';
  return out;
}

String FormatDate(double serial) {
  if (!std::isfinite(serial)) Raise(errors::kTypeMismatch, u"A date that cannot be written");
  double day = std::trunc(serial);
  double time = std::fabs(serial - day);
  auto seconds = static_cast<std::int64_t>(std::llround(time * 86400.0));
  if (seconds >= 86400) {  // rounding reached the next midnight: the next calendar day
    seconds = 0;
    day += 1;
  }
  const Civil c = CivilFromDays(static_cast<std::int64_t>(day) + kAutomationEpoch);
  if (c.y < 100 || c.y > 9999)
    Raise(errors::kTypeMismatch, u"A date outside the years 100 to 9999");
  char buffer[32];
  int n = std::snprintf(buffer, sizeof buffer, "#%04lld-%02u-%02u", static_cast<long long>(c.y),
                        c.m, c.d);
  if (seconds != 0)
    n += std::snprintf(buffer + n, sizeof buffer - static_cast<std::size_t>(n), " %02d:%02d:%02d",
                       static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                       static_cast<int>(seconds % 60));
  std::snprintf(buffer + n, sizeof buffer - static_cast<std::size_t>(n), "#");
  return FromUtf8(buffer);
}

String FormatFont(const Font& f) {
  String out = u"Font(" + FormatString(f.Name()) + u", " + FromUtf8(Shortest(f.Size()));
  if (f.Weight() == Font::kBoldWeight)
    out += u", Bold";
  else if (f.Weight() != Font::kNormalWeight)
    out += u", Weight(" + FromUtf8(std::to_string(f.Weight())) + u")";
  if (f.Italic()) out += u", Italic";
  if (f.Underline()) out += u", Underline";
  if (f.Strikethrough()) out += u", Strikethrough";
  if (f.Charset() != 0) out += u", Charset(" + FromUtf8(std::to_string(f.Charset())) + u")";
  return out + u")";
}

String FormatPicture(const Picture& p) {
  return u"Picture(" + PictureKindName(p.Kind()) + u", " +
         FromUtf8(std::to_string(p.WidthPixels())) + u", " +
         FromUtf8(std::to_string(p.HeightPixels())) + u", \"" + FromUtf8(EncodeBase64(p.Data())) +
         u"\")";
}

}  // namespace

Variant ParseLiteral(std::u16string_view text) {
  return Parser(text).ParseWhole();
}

String FormatLiteral(const Variant& value, LiteralStyle style) {
  const bool typed = style == LiteralStyle::Typed;
  switch (value.type()) {
    case VarType::Empty:
      return u"Empty";
    case VarType::Null:
      return u"Null";
    case VarType::Boolean:
      return value.Get<bool>() ? u"True" : u"False";
    case VarType::Integer: {
      return FromUtf8(std::to_string(value.Get<std::int16_t>()));
    }
    case VarType::Long: {
      const std::int32_t v = value.Get<std::int32_t>();
      // A Long that would read back as an Integer needs its suffix.
      const bool suffix = typed && v >= -32768 && v <= 32767;
      return FromUtf8(std::to_string(v) + (suffix ? "&" : ""));
    }
    case VarType::Single: {
      const float v = value.Get<float>();
      if (!std::isfinite(v)) Raise(errors::kTypeMismatch, u"A number that cannot be written");
      return FromUtf8(Shortest(v) + (typed ? "!" : ""));
    }
    case VarType::Double: {
      const double v = value.Get<double>();
      if (!std::isfinite(v)) Raise(errors::kTypeMismatch, u"A number that cannot be written");
      std::string text = Shortest(v);
      // Written without a point or exponent, a Double would read back as a whole kind.
      if (typed && text.find_first_of(".E") == std::string::npos) text += '#';
      return FromUtf8(text);
    }
    case VarType::Date:
      return FormatDate(value.Get<ze::Date>().serial);
    case VarType::String:
      return FormatString(value.Get<String>());
    case VarType::Error:
      return u"Error(" + FromUtf8(std::to_string(value.Get<ErrorValue>().code)) + u")";
    case VarType::Object: {
      const ObjectRef& object = value.Get<ObjectRef>();
      if (!object) return u"Nothing";
      if (auto font = std::dynamic_pointer_cast<Font>(object)) return FormatFont(*font);
      if (auto picture = std::dynamic_pointer_cast<Picture>(object)) return FormatPicture(*picture);
      if (const StringArray* array = StringArray::Of(value)) {
        String text = u"Array(";
        for (std::size_t i = 0; i < array->items().size(); ++i) {
          if (i > 0) text += u", ";
          text += FormatString(array->items()[i]);
        }
        return text + u")";
      }
      Raise(errors::kTypeMismatch,
            u"An object of class " + object->TypeName() + u" has no literal");
    }
  }
  Raise(errors::kTypeMismatch);
}

}  // namespace ze::container
