// Coercion of dispatch arguments to the type a member declares.
//
// The one place where the dispatch layer converts values. It uses the runtime's
// own conversions (CStr, CDbl, CSng, CLng, CInt, CBool, CDate), so arguments follow
// the automation rules and the user's locale exactly as the components' code does:
// halves round to even, Empty is 0 / "" / False, texts are read with the locale's
// separators, Null and error values convert to nothing but Variant, objects only
// to object types. A failed conversion leaves the thread's error record as it was:
// it is the caller's failure, reported by the result alone.
//
// VT_UI4 is a 32-bit value such as an OLE_COLOR. Hosts write colours both as Longs
// (&H80000005 is negative) and as unsigned numbers (2147483653), so any whole number
// from -2^31 to 2^32-1 is taken, as its low 32 bits, in a Long. VT_UI1, a Byte, is
// a whole number from 0 to 255 held in an Integer.
#pragma once

#include "frame/automation/variant.h"
#include "frame/com/hresult.h"
#include "frame/com/type_info.h"

namespace ze::com {

// Converts `in` to the variant type `vt` into *out: S_OK, DISP_E_TYPEMISMATCH when
// the value cannot be read as that type, DISP_E_OVERFLOW when it is out of the
// type's range, DISP_E_BADVARTYPE for a vt the layer does not know.
HRESULT CoerceTo(const Variant& in, VARTYPE vt, Variant* out);

}  // namespace ze::com
