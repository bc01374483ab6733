// Calling an object's members by name, from a host.
//
// The calls a host makes most: read a property, assign one (Let, or Set for an
// object), call a method, each by member name with arguments in their natural
// order. The "Try" forms return the HRESULT and fill an EXCEPINFO; the others
// raise the automation error a script would see (see dispatch_errors.h).
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "frame/com/dispatch.h"

namespace ze::com {

HRESULT GetDispatchId(IDispatch* object, std::u16string_view name, DISPID* id);

// The description of an object's class (a coclass), through its IProvideClassInfo:
// the QueryInterface or GetClassInfo failure, or E_NOINTERFACE when it gives none.
HRESULT GetClassInfoOf(IUnknown* object, ITypeInfo** out);

// Invoke with arguments in natural order. For DISPATCH_PROPERTYPUT(REF) the value
// is the last argument. Arguments a ByRef parameter changed are copied back.
HRESULT TryInvoke(IDispatch* object, DISPID id, WORD flags, std::span<Variant> args,
                  Variant* result, EXCEPINFO* excepinfo, UINT* argErr = nullptr);
HRESULT TryInvokeByName(IDispatch* object, std::u16string_view name, WORD flags,
                        std::span<Variant> args, Variant* result, EXCEPINFO* excepinfo);

// Raising forms. A null object raises 91 (object variable not set).
Variant GetProperty(IDispatch* object, std::u16string_view name);
void LetProperty(IDispatch* object, std::u16string_view name, const Variant& value);
void SetProperty(IDispatch* object, std::u16string_view name, const Variant& value);
Variant CallMethod(IDispatch* object, std::u16string_view name, std::vector<Variant> args = {});

}  // namespace ze::com
