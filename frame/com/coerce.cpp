// Argument coercion; see coerce.h.
#include "frame/com/coerce.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace ze::com {
namespace {

// The first and last serials of the automation date range (years 100 to 9999).
constexpr double kMinDateSerial = -657434.0;
constexpr double kMaxDateSerial = 2958465.999999;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

// A number written in the C form, with blanks around allowed; nothing else.
bool ParseNumber(const String& text, double* out) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  if (b == e) return false;
  std::string narrow;
  for (std::size_t i = b; i < e; ++i) {
    const char16_t c = text[i];
    if (c > 0x7F) return false;
    narrow += static_cast<char>(c);
  }
  // Hexadecimal and the words inf / nan are not automation numbers.
  for (char c : narrow)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return false;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(narrow.c_str(), &end);
  if (end != narrow.c_str() + narrow.size()) return false;
  *out = v;
  return true;
}

bool EqualsNoCase(const String& a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The numeric reading of a value: S_OK with *out, or the failure.
HRESULT AsNumber(const Variant& in, double* out) {
  switch (in.type()) {
    case VarType::Empty:
      *out = 0;
      return S_OK;
    case VarType::Integer:
      *out = in.Get<std::int16_t>();
      return S_OK;
    case VarType::Long:
      *out = in.Get<std::int32_t>();
      return S_OK;
    case VarType::Single:
      *out = in.Get<float>();
      return S_OK;
    case VarType::Double:
      *out = in.Get<double>();
      return S_OK;
    case VarType::Date:
      *out = in.Get<Date>().serial;
      return S_OK;
    case VarType::Boolean:
      *out = in.Get<bool>() ? -1 : 0;
      return S_OK;
    case VarType::String:
      return ParseNumber(in.Get<String>(), out) ? S_OK : DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// Rounds halves to even and checks the range of the integer type.
template <class Int>
HRESULT ToInteger(double v, Variant* out) {
  if (std::isnan(v)) return DISP_E_OVERFLOW;
  const double r = std::nearbyint(v);  // the default rounding mode: halves to even
  if (r < std::numeric_limits<Int>::min() || r > std::numeric_limits<Int>::max())
    return DISP_E_OVERFLOW;
  *out = Variant(static_cast<Int>(r));
  return S_OK;
}

String NumberText(double v, int digits) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, v);
  return FromUtf8(buffer);
}

}  // namespace

HRESULT CoerceTo(const Variant& in, VARTYPE vt, Variant* out) {
  if (out == nullptr) return E_POINTER;
  if (vt == VT_VARIANT) {
    *out = in;
    return S_OK;
  }
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    if (!in.Is<ObjectRef>()) return DISP_E_TYPEMISMATCH;
    *out = in;
    return S_OK;
  }
  if (in.IsNull() || in.Is<ObjectRef>() || in.Is<ErrorValue>()) return DISP_E_TYPEMISMATCH;

  switch (vt) {
    case VT_BSTR:
      switch (in.type()) {
        case VarType::Empty:
          *out = Variant(String());
          return S_OK;
        case VarType::String:
          *out = in;
          return S_OK;
        case VarType::Boolean:
          *out = Variant(String(in.Get<bool>() ? u"True" : u"False"));
          return S_OK;
        case VarType::Integer:
          *out = Variant(FromUtf8(std::to_string(in.Get<std::int16_t>())));
          return S_OK;
        case VarType::Long:
          *out = Variant(FromUtf8(std::to_string(in.Get<std::int32_t>())));
          return S_OK;
        case VarType::Single:
          *out = Variant(NumberText(in.Get<float>(), 7));
          return S_OK;
        case VarType::Double:
          *out = Variant(NumberText(in.Get<double>(), 15));
          return S_OK;
        default:
          return DISP_E_TYPEMISMATCH;
      }
    case VT_BOOL: {
      if (in.Is<bool>()) {
        *out = in;
        return S_OK;
      }
      if (in.Is<String>()) {
        const String& s = in.Get<String>();
        if (EqualsNoCase(s, u"True")) return *out = Variant(true), S_OK;
        if (EqualsNoCase(s, u"False")) return *out = Variant(false), S_OK;
      }
      double v = 0;
      const HRESULT hr = AsNumber(in, &v);
      if (FAILED(hr)) return hr;
      *out = Variant(v != 0);
      return S_OK;
    }
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
      double v = 0;
      const HRESULT hr = AsNumber(in, &v);
      if (FAILED(hr)) return hr;
      if (in.Is<String>() && vt == VT_DATE) return DISP_E_TYPEMISMATCH;
      if (vt == VT_I2) return ToInteger<std::int16_t>(v, out);
      if (vt == VT_I4) return ToInteger<std::int32_t>(v, out);
      if (vt == VT_R4) {
        if (std::isfinite(v) && std::fabs(v) > FLT_MAX) return DISP_E_OVERFLOW;
        *out = Variant(static_cast<float>(v));
        return S_OK;
      }
      if (vt == VT_R8) {
        *out = Variant(v);
        return S_OK;
      }
      if (!(v >= kMinDateSerial && v <= kMaxDateSerial)) return DISP_E_OVERFLOW;
      *out = Variant(Date(v));
      return S_OK;
    }
    default:
      return DISP_E_BADVARTYPE;
  }
}

}  // namespace ze::com
