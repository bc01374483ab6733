// A reusable connection point, and the container lookup over a set of them.
//
// An object that raises events holds one ConnectionPoint per event interface as a
// member. The point is part of its owner: its AddRef and Release count on the
// owner, so a host that keeps the point keeps the object alive, and the point
// never outlives it. Advise accepts a sink that answers QueryInterface for any IID
// of the point's chain (the current event interface and its earlier versions, so
// that hosts built against an older library keep working), or for IDispatch.
//
// Fire(dispid, args) calls Invoke(dispid, DISPATCH_METHOD) on every connected sink
// in the order they connected, with the arguments in their natural order (they
// travel reversed in DISPPARAMS, as always). A sink may change an argument (a
// ByRef parameter such as KeyAscii): the change is copied back into `args` and the
// next sink sees it. The sinks are taken as they are when Fire starts, so a sink
// that disconnects itself or another one during the event does no harm. A sink
// that fails does not stop the others.
#pragma once

#include <map>
#include <mutex>
#include <span>
#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/connection_point.h"
#include "frame/com/dispatch.h"

namespace ze::com {

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `owner` is the object that holds this point; `chain` the event interface's
  // IIDs, the current one first.
  ConnectionPoint(IConnectionPointContainer* owner, std::vector<IID> chain);
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;
  ~ConnectionPoint() = default;

  HRESULT QueryInterface(const IID& iid, void** out) override;
  ULONG AddRef() override { return owner_->AddRef(); }
  ULONG Release() override { return owner_->Release(); }
  HRESULT GetConnectionInterface(IID* out) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT Unadvise(DWORD cookie) override;

  // Whether `iid` is one of this point's interfaces.
  bool Serves(const IID& iid) const;
  // Raises event `dispid` to every sink; S_OK, or the first failure of a sink.
  HRESULT Fire(DISPID dispid, std::span<Variant> args = {});
  std::size_t SinkCount() const;
  // Lets go of every sink (when the owner closes).
  void DisconnectAll();

 private:
  IConnectionPointContainer* owner_;
  std::vector<IID> chain_;
  mutable std::mutex mutex_;
  std::map<DWORD, ComPtr<IDispatch>> sinks_;
  DWORD next_cookie_ = 1;
};

// FindConnectionPoint over an object's points: the one that serves `iid`.
HRESULT FindConnectionPointIn(std::span<ConnectionPoint* const> points, const IID& iid,
                              IConnectionPoint** out);

}  // namespace ze::com
