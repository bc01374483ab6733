// _Kalendo as a binary interface: the dual interface's own entries after IDispatch.
//
// A host compiled against the type library calls the members directly, in the type
// library's order: get_X and put_X for each property (putref_X for the objects Font
// and MouseIcon), then the methods by name. Every entry returns an HRESULT; a get_X
// writes its value through its final parameter. Each entry does what Invoke does for
// the same member, so the two ways behave alike. A member that fails returns the
// error's own code (MAKE_HRESULT(1, FACILITY_CONTROL, n) for error n) and leaves the
// number, description and source as the thread's error information (error_info.h);
// the object answers ISupportErrorInfo for this interface.
//
// Types at this interface: Boolean as VARIANT_BOOL, colours as OLE_COLOR, the mouse
// pointer as a 16-bit enumeration, dates as ze::Date, strings as ze::String, Font and
// MouseIcon as ze::ObjectRef (Nothing is a null one).
#pragma once

#include <cstdint>

#include "frame/automation/variant.h"
#include "frame/com/dispatch.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_type_library.h"

namespace zekalendo {

// The standard cursor shapes 0 to 15, and 99 for the control's own MouseIcon.
enum MousePointerConstants : std::int16_t {};

// _Kalendo's properties in type-library order: name, type at the interface, how it
// is written (put: Let, putref: Set), dispatch id in typelib::dispid.
#define ZE_KALENDO_PROPERTIES(X)                                        \
  X(BackColor, ze::com::OLE_COLOR, put, kBackColor)                     \
  X(Font, ze::ObjectRef, putref, kFont)                                 \
  X(ForeColor, ze::com::OLE_COLOR, put, kForeColor)                     \
  X(Locked, ze::com::VARIANT_BOOL, put, kLocked)                        \
  X(Enabled, ze::com::VARIANT_BOOL, put, kEnabled)                      \
  X(MouseIcon, ze::ObjectRef, putref, kMouseIcon)                       \
  X(MousePointer, zekalendo::MousePointerConstants, put, kMousePointer) \
  X(Text, ze::String, put, kText)                                       \
  X(valore, ze::Date, put, kValore)                                     \
  X(DataText, ze::Date, put, kDataText)                                 \
  X(Evidenzia, ze::com::VARIANT_BOOL, put, kEvidenzia)                  \
  X(PopSelezione, ze::com::VARIANT_BOOL, put, kPopSelezione)

// Its methods, after the properties: name, dispatch id.
#define ZE_KALENDO_METHODS(X) \
  X(DelData, kDelData)        \
  X(AboutBox, kAboutBox)

class IKalendo : public ze::com::IDispatch {
 public:
  static constexpr ze::com::IID kIid = ids::kIidKalendo;
  using Base = ze::com::IDispatch;

#define ZE_KALENDO_DECLARE_PROPERTY(name, type, write, id) \
  virtual ze::com::HRESULT get_##name(type* value) = 0;    \
  virtual ze::com::HRESULT write##_##name(type value) = 0;
#define ZE_KALENDO_DECLARE_METHOD(name, id) virtual ze::com::HRESULT name() = 0;
  ZE_KALENDO_PROPERTIES(ZE_KALENDO_DECLARE_PROPERTY)
  ZE_KALENDO_METHODS(ZE_KALENDO_DECLARE_METHOD)
#undef ZE_KALENDO_DECLARE_PROPERTY
#undef ZE_KALENDO_DECLARE_METHOD

 protected:
  ~IKalendo() = default;
};

}  // namespace zekalendo
