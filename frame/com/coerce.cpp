// Argument coercion through the runtime's conversions; see coerce.h.
#include "frame/com/coerce.h"

#include <new>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"

namespace ze::com {
namespace {

// A whole number from -2^31 to 2^32-1 (halves to even, as CLng rounds), as its low
// 32 bits.
std::int32_t Low32Bits(const Variant& in) {
  const double value = CDbl(in);
  if (!(value < 4294967295.5)) Raise(errors::kOverflow);  // rounds to 2^32 or more, or NaN
  // From 2^31 on, the same bits are the number less 2^32, a Long; the subtraction is
  // exact, so CLng rounds it alike.
  return CLng(value >= 2147483647.5 ? value - 4294967296.0 : value);
}

Variant Convert(const Variant& in, VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return Variant(CStr(in));
    case VT_BOOL:
      return Variant(CBool(in));
    case VT_UI1: {
      const std::int16_t byte = CInt(in);
      if (byte < 0 || byte > 255) Raise(errors::kOverflow);
      return Variant(byte);
    }
    case VT_I2:
      return Variant(CInt(in));
    case VT_I4:
      return Variant(CLng(in));
    case VT_UI4:
      return Variant(Low32Bits(in));
    case VT_R4:
      return Variant(CSng(in));
    case VT_R8:
      return Variant(CDbl(in));
    case VT_DATE:
      return Variant(CDate(in));
    default:
      return Variant();
  }
}

}  // namespace

HRESULT CoerceTo(const Variant& in, VARTYPE vt, Variant* out) {
  if (out == nullptr) return E_POINTER;
  switch (vt) {
    case VT_VARIANT:
      *out = in;
      return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (!in.Is<ObjectRef>()) return DISP_E_TYPEMISMATCH;
      *out = in;
      return S_OK;
    case VT_BSTR:
    case VT_BOOL:
    case VT_UI1:
    case VT_I2:
    case VT_I4:
    case VT_UI4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  // The conversions raise; the record they fill belongs to the caller's code, so
  // it is put back as it was.
  const ErrRecord saved = Err();
  try {
    *out = Convert(in, vt);
    return S_OK;
  } catch (const AutomationError& e) {
    Err() = saved;
    return e.number() == errors::kOverflow ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
  } catch (const std::bad_alloc&) {
    Err() = saved;
    return E_OUTOFMEMORY;
  }
}

}  // namespace ze::com
