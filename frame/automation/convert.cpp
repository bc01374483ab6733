// Variant conversions: one switch per target kind over the kinds a Variant holds.
#include "frame/automation/convert.h"

#include <cmath>

#include "frame/automation/date_parts.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"

namespace ze {

namespace {

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

[[noreturn]] void RaiseNull() {
  Raise(errors::kInvalidUseOfNull);
}

Date CheckedDate(double serial) {
  if (!IsValidSerial(serial)) Raise(errors::kOverflow);
  return Date(serial);
}

}  // namespace

String CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      RaiseNull();
    case VarType::Integer:
      return CStr(static_cast<std::int32_t>(v.Get<std::int16_t>()));
    case VarType::Long:
      return CStr(v.Get<std::int32_t>());
    case VarType::Single:
      return CStr(v.Get<float>());
    case VarType::Double:
      return CStr(v.Get<double>());
    case VarType::Date:
      return CStr(v.Get<Date>());
    case VarType::String:
      return v.Get<String>();
    case VarType::Boolean:
      return CStr(v.Get<bool>());
    case VarType::Error:
      return u"Error " + CStr(v.Get<ErrorValue>().code);
    case VarType::Object:
      break;
  }
  Raise(errors::kTypeMismatch);
}

double CDbl(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      RaiseNull();
    case VarType::Integer:
      return v.Get<std::int16_t>();
    case VarType::Long:
      return v.Get<std::int32_t>();
    case VarType::Single:
      return v.Get<float>();
    case VarType::Double:
      return v.Get<double>();
    case VarType::Date:
      return v.Get<Date>().serial;
    case VarType::String:
      return CDbl(std::u16string_view(v.Get<String>()));
    case VarType::Boolean:
      return v.Get<bool>() ? -1 : 0;
    case VarType::Error:
    case VarType::Object:
      break;
  }
  Raise(errors::kTypeMismatch);
}

float CSng(const Variant& v) {
  if (v.Is<float>()) return v.Get<float>();
  return CSng(CDbl(v));
}

std::int32_t CLng(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer:
      return v.Get<std::int16_t>();
    case VarType::Long:
      return v.Get<std::int32_t>();
    default:
      return CLng(CDbl(v));
  }
}

std::int16_t CInt(const Variant& v) {
  if (v.Is<std::int16_t>()) return v.Get<std::int16_t>();
  return CInt(CDbl(v));
}

bool CBool(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      return v.Get<bool>();
    case VarType::String: {
      const std::u16string_view text = TrimBlanks(v.Get<String>());
      if (EqualsIgnoringAsciiCase(text, u"True")) return true;
      if (EqualsIgnoringAsciiCase(text, u"False")) return false;
      return CDbl(text) != 0;
    }
    default: {
      const double value = CDbl(v);
      if (!std::isfinite(value)) Raise(errors::kOverflow);
      return value != 0;
    }
  }
}

Date CDate(const Variant& v) {
  switch (v.type()) {
    case VarType::Date:
      return CheckedDate(v.Get<Date>().serial);
    case VarType::String:
      return CDate(std::u16string_view(v.Get<String>()));
    default:
      return CheckedDate(CDbl(v));
  }
}

String DisplayText(const Variant& v) {
  switch (v.type()) {
    case VarType::Null:
      return u"Null";
    case VarType::Object: {
      const ObjectRef& object = v.Get<ObjectRef>();
      return object ? object->TypeName() : u"Nothing";
    }
    case VarType::Date:
      if (!IsValidSerial(v.Get<Date>().serial)) return DisplayText(Variant(v.Get<Date>().serial));
      return CStr(v.Get<Date>());
    case VarType::Double:
    case VarType::Single: {
      const double value = CDbl(v);
      if (std::isnan(value)) return u"NaN";
      if (std::isinf(value)) return value < 0 ? u"-Infinity" : u"Infinity";
      return CStr(v);
    }
    default:
      return CStr(v);
  }
}

String Format(const Variant& v, std::u16string_view pattern) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
      return {};
    case VarType::Date:
      return Format(v.Get<Date>(), pattern);
    case VarType::String: {
      const String& text = v.Get<String>();
      Date d;
      if (ParseDate(text, Locale::Current(), d)) return Format(d, pattern);
      if (IsNumeric(text)) return Format(CDbl(std::u16string_view(text)), pattern);
      return text;
    }
    case VarType::Object:
    case VarType::Error:
      Raise(errors::kTypeMismatch);
    default:
      return Format(CDbl(v), pattern);
  }
}

}  // namespace ze
