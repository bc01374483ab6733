// EventSink: a host's receiver of an object's events.
//
// A dispatch object whose Invoke hands each event (dispatch id and arguments in
// their natural order) to a callback; the callback may change the arguments to
// answer a ByRef parameter. Connect finds the object's connection point for an
// event interface (or the class's default source when `iid` is IID_NULL) and
// advises this sink; Disconnect undoes it. The sink answers QueryInterface for
// IDispatch and for the event interface it is connected to. A connected sink holds
// the object's connection point, and the object holds the sink: Disconnect before
// letting the object go, or both stay alive.
#pragma once

#include <functional>
#include <span>

#include "frame/com/com_object.h"
#include "frame/com/connection_point.h"
#include "frame/com/dispatch.h"

namespace ze::com {

class EventSink final : public ComObject<IDispatch> {
 public:
  using Handler = std::function<void(DISPID dispid, std::span<Variant> args)>;
  explicit EventSink(Handler handler) : handler_(std::move(handler)) {}
  ~EventSink() override;

  // Connects to `source`'s events of interface `iid`; IID_NULL means the default
  // source interface that the object's class information names.
  HRESULT Connect(IUnknown* source, const IID& iid = IID_NULL);
  HRESULT Disconnect();
  bool connected() const { return cookie_ != 0; }

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
  HRESULT GetIDsOfNames(const IID& riid, const char16_t* const* names, UINT count, LCID lcid,
                        DISPID* ids) override;
  HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                 Variant* result, EXCEPINFO* excepinfo, UINT* argErr) override;

 protected:
  void* FindInterface(const IID& iid) override;

 private:
  Handler handler_;
  IID events_{};
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// The IID of the default source (event) interface of an object's class, from
// IProvideClassInfo; E_NOINTERFACE when the object does not tell.
HRESULT DefaultSourceInterface(IUnknown* object, IID* out);

}  // namespace ze::com
