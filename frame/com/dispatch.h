// IDispatch: late-bound access to an object's members by dispatch id.
//
// A caller maps names to dispatch ids (GetIDsOfNames) and calls Invoke with a
// kind (method, property get, property put, put by reference) and the arguments
// in a DISPPARAMS. As in the public COM model the arguments are stored in reverse
// order (the last argument first), and a property put passes its one value as a
// named argument with the id DISPID_PROPERTYPUT. The argument type is our
// automation Variant. An object's member that fails with an automation error makes
// Invoke return DISP_E_EXCEPTION and fill the EXCEPINFO with the error's number
// and description; puArgErr receives the index (in rgvarg) of an argument that
// could not be converted.
//
// Arguments are passed by pointer to non-const Variants: a callee may write a
// new value into an argument (a ByRef parameter of an event such as KeyAscii) and
// the caller reads it back after the call.
#pragma once

#include <cstdint>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"
#include "frame/com/unknown.h"

namespace ze::com {

class ITypeInfo;

using DISPID = std::int32_t;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// Automation types as the members of a dual interface pass them: a Boolean is 16 bits
// with True = -1; a colour is 0x00BBGGRR, or a system colour with the high bit set.
using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
using OLE_COLOR = std::uint32_t;

struct DISPPARAMS {
  Variant* rgvarg = nullptr;            // arguments, last one first
  DISPID* rgdispidNamedArgs = nullptr;  // ids of the first cNamedArgs entries of rgvarg
  UINT cArgs = 0;
  UINT cNamedArgs = 0;
};

// What a member that failed tells its caller. A control's automation error n comes
// back with wCode = n and scode = MAKE_HRESULT(1, FACILITY_CONTROL, n), from which
// hosts read n; see ErrorNumberOf in dispatch_errors.h.
struct EXCEPINFO {
  WORD wCode = 0;
  String bstrSource;
  String bstrDescription;
  String bstrHelpFile;
  DWORD dwHelpContext = 0;
  HRESULT scode = S_OK;
};

class IDispatch : public IUnknown {
 public:
  static constexpr IID kIid{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  using Base = IUnknown;

  // 1 when the object offers type information, else 0.
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  // The type information of the object's dispatch interface (index 0).
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) = 0;
  // names[0] is a member; names[1..] are names of its parameters. Unknown names
  // give DISP_E_UNKNOWNNAME with DISPID_UNKNOWN in their slots.
  virtual HRESULT GetIDsOfNames(const IID& riid, const char16_t* const* names, UINT count,
                                LCID lcid, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                         Variant* result, EXCEPINFO* excepinfo, UINT* argErr) = 0;

 protected:
  ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = IDispatch::kIid;

}  // namespace ze::com
