// The value types a member table names, and how each crosses the three ways in.
//
// A member of an automation class has one type; its value meets three parties:
//   the class's own accessor   Get returns `Out`'s argument, Let takes what `In` gives
//   Invoke                     a Variant, converted with the runtime's conversions
//                              (CBool, CLng, CStr, CDate), as component code does
//   the dual interface         the type's `Abi` (VARIANT_BOOL, OLE_COLOR ...), which
//                              `FromAbi` and `ToAbi` carry to and from a Variant
// and the type library shows it as `Desc()`. Each type below is a struct of static
// functions, so that a table line names it as a plain word.
//
//   Boolean       bool            VARIANT_BOOL           VT_BOOL
//   Byte          std::uint8_t    std::uint8_t           VT_UI1 (travels as an Integer)
//   Integer       std::int16_t    std::int16_t           VT_I2
//   Long          std::int32_t    std::int32_t           VT_I4
//   Double        double          double                 VT_R8
//   String        ze::String      ze::String             VT_BSTR
//   Date          ze::Date        ze::Date               VT_DATE
//   Color         std::uint32_t   OLE_COLOR              VT_UI4 "OLE_COLOR" (travels as a Long)
//   MousePointer  std::int32_t    MousePointerConstants  VT_I2 "MousePointerConstants"
//   ObjectOf<T>   shared_ptr<T>   ze::ObjectRef          VT_DISPATCH named by T's traits
//   Object        ze::ObjectRef   ze::ObjectRef          VT_DISPATCH (any object, or Nothing)
//   Any           ze::Variant     ze::Variant            VT_VARIANT (a Variant, as it came)
//   Void          (nothing)       (an ignored pointer)   VT_VOID (a FUNCTION's result only)
#pragma once

#include <cstdint>
#include <memory>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/variant.h"
#include "frame/com/coerce.h"
#include "frame/com/dispatch.h"
#include "frame/com/type_info.h"

namespace ze::com {

// The standard cursor shapes 0 to 15, and 99 for a control's own MouseIcon.
enum MousePointerConstants : std::int16_t {};

namespace members {

// Reads a Variant coming back from Invoke as the dual interface's type.
template <class Held, class Abi, class Convert>
HRESULT TakeAs(const Variant& v, VARTYPE vt, Abi* out, Convert convert) {
  Variant held;
  const HRESULT hr = CoerceTo(v, vt, &held);
  if (SUCCEEDED(hr)) *out = static_cast<Abi>(convert(held.Get<Held>()));
  return hr;
}
template <class Held, class Abi>
HRESULT TakeAs(const Variant& v, VARTYPE vt, Abi* out) {
  return TakeAs<Held>(v, vt, out, [](Held h) { return h; });
}

struct Boolean {
  using Abi = VARIANT_BOOL;
  static TypeDesc Desc() { return {VT_BOOL, {}}; }
  static Variant Out(bool b) { return Variant(b); }
  static bool In(const Variant& v) { return CBool(v); }
  static Variant FromAbi(Abi b) { return Variant(b != VARIANT_FALSE); }
  static HRESULT ToAbi(const Variant& v, Abi* out) {
    return TakeAs<bool>(v, VT_BOOL, out, [](bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; });
  }
};

// A type that is the same C++ type at all three: only its conversion from a Variant
// and its variant type differ.
template <class T, VARTYPE kVt, T (*kConvert)(const Variant&)>
struct Plain {
  using Abi = T;
  static TypeDesc Desc() { return {kVt, {}}; }
  static Variant Out(T value) { return Variant(std::move(value)); }
  static T In(const Variant& v) { return kConvert(v); }
  static Variant FromAbi(Abi value) { return Out(std::move(value)); }
  static HRESULT ToAbi(const Variant& v, Abi* out) { return TakeAs<T>(v, kVt, out); }
};

using Integer = Plain<std::int16_t, VT_I2, &CInt>;
using Long = Plain<std::int32_t, VT_I4, &CLng>;
using Double = Plain<double, VT_R8, &CDbl>;
using String = Plain<ze::String, VT_BSTR, &CStr>;
using Date = Plain<ze::Date, VT_DATE, &CDate>;

// 0 to 255; a Variant holds it as an Integer, and a value outside the range overflows.
struct Byte {
  using Abi = std::uint8_t;
  static TypeDesc Desc() { return {VT_UI1, {}}; }
  static Variant Out(std::uint8_t b) { return Variant(static_cast<std::int16_t>(b)); }
  static std::uint8_t In(const Variant& v) {
    const std::int16_t n = CInt(v);
    if (n < 0 || n > 255) Raise(errors::kOverflow);
    return static_cast<std::uint8_t>(n);
  }
  static Variant FromAbi(Abi b) { return Out(b); }
  static HRESULT ToAbi(const Variant& v, Abi* out) { return TakeAs<std::int16_t>(v, VT_UI1, out); }
};

struct Color {
  using Abi = OLE_COLOR;
  static TypeDesc Desc() { return {VT_UI4, u"OLE_COLOR"}; }
  static Variant Out(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
  static std::uint32_t In(const Variant& v) { return static_cast<std::uint32_t>(CLng(v)); }
  static Variant FromAbi(Abi c) { return Out(c); }
  static HRESULT ToAbi(const Variant& v, Abi* out) { return TakeAs<std::int32_t>(v, VT_I4, out); }
};

struct MousePointer {
  using Abi = MousePointerConstants;
  static TypeDesc Desc() { return {VT_I2, u"MousePointerConstants"}; }
  static Variant Out(std::int32_t p) { return Variant(static_cast<std::int16_t>(p)); }
  static std::int32_t In(const Variant& v) { return CLng(v); }
  static Variant FromAbi(Abi p) { return Variant(static_cast<std::int16_t>(p)); }
  static HRESULT ToAbi(const Variant& v, Abi* out) { return TakeAs<std::int16_t>(v, VT_I2, out); }
};

// Any object at all, Nothing included; what is not an object is a type mismatch.
struct Object {
  using Abi = ObjectRef;
  static TypeDesc Desc() { return {VT_DISPATCH, {}}; }
  static Variant Out(ObjectRef object) { return Variant(std::move(object)); }
  static ObjectRef In(const Variant& v) {
    if (!v.Is<ObjectRef>()) Raise(errors::kTypeMismatch);
    return v.Get<ObjectRef>();
  }
  static Variant FromAbi(Abi object) { return Out(std::move(object)); }
  static HRESULT ToAbi(const Variant& v, Abi* out) {
    return TakeAs<ObjectRef>(v, VT_DISPATCH, out);
  }
};

// Whether an object property takes Nothing.
enum class Nothing { kAllowed, kRefused };

// An object of class T. Traits says how a browser names it (`static constexpr
// const char16_t* kName`) and whether Nothing is a value (`static constexpr Nothing
// kNothing`); a value of another class is a type mismatch, Nothing where it is
// refused an invalid property value. It crosses the dual interface as any Object.
template <class T, class Traits>
struct ObjectOf : Object {
  static TypeDesc Desc() { return {VT_DISPATCH, Traits::kName}; }
  static Variant Out(std::shared_ptr<T> object) { return Variant(ObjectRef(std::move(object))); }
  static std::shared_ptr<T> In(const Variant& v) {
    if (v.Is<ObjectRef>()) {
      const ObjectRef& object = v.Get<ObjectRef>();
      if (!object) {
        if (Traits::kNothing == Nothing::kRefused) Raise(errors::kInvalidPropertyValue);
        return nullptr;
      }
      if (auto typed = std::dynamic_pointer_cast<T>(object)) return typed;
    }
    Raise(errors::kTypeMismatch);
  }
};

// A Variant, whatever it holds: named Any so as not to hide ze::Variant here.
struct Any {
  using Abi = Variant;
  static TypeDesc Desc() { return {VT_VARIANT, {}}; }
  static Variant Out(Variant v) { return v; }
  static Variant In(const Variant& v) { return v; }
  static Variant FromAbi(Abi v) { return v; }
  static HRESULT ToAbi(const Variant& v, Abi* out) {
    *out = v;
    return S_OK;
  }
};

// No result: a FUNCTION line with this result is a routine with parameters that returns
// nothing (a Sub). Its method returns void, Invoke gives Empty, and the dual-interface
// entry keeps the result pointer every FUNCTION entry has, which is ignored and may be
// null.
struct Void {
  struct Abi {};
  static TypeDesc Desc() { return {VT_VOID, {}}; }
};

}  // namespace members
}  // namespace ze::com
