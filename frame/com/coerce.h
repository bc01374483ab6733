// Coercion of dispatch arguments to the type a member declares.
//
// The one place where the dispatch layer converts values, so that it can move to
// the runtime's locale-aware conversions (CLng, CStr, CDate ...) in one step. Until
// then the rules are the plain automation ones without a locale: numbers between
// each other with halves rounded to even and range checks, Boolean True = -1,
// Empty = 0 / "" / False, number texts in the C form ("1.5"), "True"/"False" for
// Booleans. Null, error values and objects convert to nothing but Variant (and
// objects to object types). A text to a Date, and a Date to a text, are refused
// for now (they need the locale).
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
