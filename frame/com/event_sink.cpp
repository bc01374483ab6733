// Event sinks for hosts; see event_sink.h.
#include "frame/com/event_sink.h"

#include <vector>

#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/type_info.h"

namespace ze::com {

HRESULT DefaultSourceInterface(IUnknown* object, IID* out) {
  if (object == nullptr || out == nullptr) return E_POINTER;
  ComPtr<ITypeInfo> cls;
  HRESULT hr = GetClassInfoOf(object, cls.Put());
  if (FAILED(hr)) return hr;
  TypeAttr attr;
  hr = cls->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  for (UINT i = 0; i < attr.cImplTypes; ++i) {
    int flags = 0;
    if (FAILED(cls->GetImplTypeFlags(i, &flags))) continue;
    if ((flags & IMPLTYPEFLAG_FDEFAULT) == 0 || (flags & IMPLTYPEFLAG_FSOURCE) == 0) continue;
    ComPtr<ITypeInfo> events;
    TypeAttr events_attr;
    if (SUCCEEDED(cls->GetImplTypeInfo(i, events.Put())) && events &&
        SUCCEEDED(events->GetTypeAttr(&events_attr))) {
      *out = events_attr.guid;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

EventSink::~EventSink() = default;

HRESULT EventSink::Connect(IUnknown* source, const IID& iid) {
  if (source == nullptr) return E_POINTER;
  if (cookie_ != 0) return E_UNEXPECTED;
  IID events = iid;
  if (events == IID_NULL) {
    const HRESULT hr = DefaultSourceInterface(source, &events);
    if (FAILED(hr)) return hr;
  }
  ComPtr<IConnectionPointContainer> container;
  HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
  if (FAILED(hr)) return hr;
  ComPtr<IConnectionPoint> point;
  hr = container->FindConnectionPoint(events, point.Put());
  if (FAILED(hr)) return hr;
  events_ = events;
  DWORD cookie = 0;
  hr = point->Advise(Identity(), &cookie);
  if (FAILED(hr)) return hr;
  point_ = std::move(point);
  cookie_ = cookie;
  return S_OK;
}

HRESULT EventSink::Disconnect() {
  if (cookie_ == 0) return S_FALSE;
  const DWORD cookie = cookie_;
  cookie_ = 0;
  ComPtr<IConnectionPoint> point = std::move(point_);
  return point->Unadvise(cookie);
}

void* EventSink::FindInterface(const IID& iid) {
  if (events_ != IID_NULL && iid == events_) return static_cast<IDispatch*>(this);
  return ComObject<IDispatch>::FindInterface(iid);
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(const IID&, const char16_t* const*, UINT count, LCID,
                                 DISPID* ids) {
  if (ids != nullptr)
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT EventSink::Invoke(DISPID member, const IID&, LCID, WORD, DISPPARAMS* params, Variant*,
                          EXCEPINFO* excepinfo, UINT*) {
  DISPPARAMS none;
  if (params == nullptr) params = &none;
  if (params->cArgs > 0 && params->rgvarg == nullptr) return E_INVALIDARG;
  std::vector<Variant> args(params->cArgs);
  for (UINT i = 0; i < params->cArgs; ++i) args[i] = params->rgvarg[params->cArgs - 1 - i];
  if (handler_) {
    try {
      handler_(member, args);
    } catch (...) {
      return ResultFromException(std::current_exception(), excepinfo, u"EventSink");
    }
  }
  for (UINT i = 0; i < params->cArgs; ++i) params->rgvarg[params->cArgs - 1 - i] = args[i];
  return S_OK;
}

}  // namespace ze::com
