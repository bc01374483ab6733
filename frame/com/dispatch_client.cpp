// Host-side calls by name; see dispatch_client.h.
#include "frame/com/dispatch_client.h"

#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/type_info.h"

namespace ze::com {

HRESULT GetDispatchId(IDispatch* object, std::u16string_view name, DISPID* id) {
  if (object == nullptr || id == nullptr) return E_POINTER;
  const String text(name);
  const char16_t* names[] = {text.c_str()};
  return object->GetIDsOfNames(IID_NULL, names, 1, 0, id);
}

HRESULT GetClassInfoOf(IUnknown* object, ITypeInfo** out) {
  if (object == nullptr || out == nullptr) return E_POINTER;
  *out = nullptr;
  ComPtr<IProvideClassInfo> provider;
  HRESULT hr = object->QueryInterface(IID_IProvideClassInfo, provider.PutVoid());
  if (SUCCEEDED(hr)) hr = provider->GetClassInfo(out);
  if (SUCCEEDED(hr) && *out == nullptr) hr = E_NOINTERFACE;
  return hr;
}

HRESULT TryInvoke(IDispatch* object, DISPID id, WORD flags, std::span<Variant> args,
                  Variant* result, EXCEPINFO* excepinfo, UINT* argErr) {
  if (object == nullptr) return E_POINTER;
  std::vector<Variant> reversed(args.rbegin(), args.rend());
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS params;
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 && !reversed.empty()) {
    // The value is the last argument, so the first in rgvarg: it is the named one.
    params.rgdispidNamedArgs = &put_id;
    params.cNamedArgs = 1;
  }
  const HRESULT hr = object->Invoke(id, IID_NULL, 0, flags, &params, result, excepinfo, argErr);
  for (std::size_t i = 0; i < args.size(); ++i) args[i] = std::move(reversed[args.size() - 1 - i]);
  return hr;
}

HRESULT TryInvokeByName(IDispatch* object, std::u16string_view name, WORD flags,
                        std::span<Variant> args, Variant* result, EXCEPINFO* excepinfo) {
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = GetDispatchId(object, name, &id);
  if (FAILED(hr)) return hr;
  return TryInvoke(object, id, flags, args, result, excepinfo);
}

namespace {

Variant InvokeOrRaise(IDispatch* object, std::u16string_view name, WORD flags,
                      std::span<Variant> args) {
  if (object == nullptr) Raise(errors::kObjectNotSet);
  Variant result;
  EXCEPINFO info;
  RaiseIfFailed(TryInvokeByName(object, name, flags, args, &result, &info), &info);
  return result;
}

}  // namespace

Variant GetProperty(IDispatch* object, std::u16string_view name) {
  return InvokeOrRaise(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

void LetProperty(IDispatch* object, std::u16string_view name, const Variant& value) {
  Variant arg = value;
  InvokeOrRaise(object, name, DISPATCH_PROPERTYPUT, std::span<Variant>(&arg, 1));
}

void SetProperty(IDispatch* object, std::u16string_view name, const Variant& value) {
  Variant arg = value;
  InvokeOrRaise(object, name, DISPATCH_PROPERTYPUTREF, std::span<Variant>(&arg, 1));
}

Variant CallMethod(IDispatch* object, std::u16string_view name, std::vector<Variant> args) {
  return InvokeOrRaise(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

}  // namespace ze::com
