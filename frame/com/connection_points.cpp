// Connection points; see connection_points.h.
#include "frame/com/connection_points.h"

#include <algorithm>

namespace ze::com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* owner, std::vector<IID> chain)
    : owner_(owner), chain_(std::move(chain)) {}

HRESULT ConnectionPoint::QueryInterface(const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* out) {
  if (out == nullptr) return E_POINTER;
  if (chain_.empty()) return E_UNEXPECTED;
  *out = chain_.front();
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (out == nullptr) return E_POINTER;
  owner_->AddRef();
  *out = owner_;
  return S_OK;
}

bool ConnectionPoint::Serves(const IID& iid) const {
  return std::find(chain_.begin(), chain_.end(), iid) != chain_.end();
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  ComPtr<IDispatch> dispatch;
  for (const IID& iid : chain_) {
    if (SUCCEEDED(sink->QueryInterface(iid, dispatch.PutVoid())) && dispatch) break;
  }
  if (!dispatch && FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  if (!dispatch) return CONNECT_E_CANNOTCONNECT;
  std::lock_guard lock(mutex_);
  const DWORD given = next_cookie_++;
  if (next_cookie_ == 0) next_cookie_ = 1;  // 0 is never a cookie
  sinks_.emplace(given, std::move(dispatch));
  *cookie = given;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  ComPtr<IDispatch> released;  // released after the lock, in case it calls back
  {
    std::lock_guard lock(mutex_);
    auto it = sinks_.find(cookie);
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    released = std::move(it->second);
    sinks_.erase(it);
  }
  return S_OK;
}

HRESULT ConnectionPoint::Fire(DISPID dispid, std::span<Variant> args) {
  std::vector<ComPtr<IDispatch>> sinks;
  {
    std::lock_guard lock(mutex_);
    sinks.reserve(sinks_.size());
    for (const auto& [cookie, sink] : sinks_) sinks.push_back(sink);
  }
  HRESULT first_failure = S_OK;
  std::vector<Variant> reversed(args.size());
  for (const ComPtr<IDispatch>& sink : sinks) {
    for (std::size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = args[i];
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    HRESULT hr;
    try {
      hr = sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    } catch (...) {
      hr = E_UNEXPECTED;  // a sink must not throw; it is treated as a failed call
    }
    for (std::size_t i = 0; i < args.size(); ++i) args[i] = reversed[args.size() - 1 - i];
    if (FAILED(hr) && SUCCEEDED(first_failure)) first_failure = hr;
  }
  return first_failure;
}

std::size_t ConnectionPoint::SinkCount() const {
  std::lock_guard lock(mutex_);
  return sinks_.size();
}

void ConnectionPoint::DisconnectAll() {
  std::map<DWORD, ComPtr<IDispatch>> released;
  {
    std::lock_guard lock(mutex_);
    released.swap(sinks_);
  }
}

HRESULT FindConnectionPointIn(std::span<ConnectionPoint* const> points, const IID& iid,
                              IConnectionPoint** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (ConnectionPoint* point : points) {
    if (point != nullptr && point->Serves(iid)) {
      point->AddRef();
      *out = point;
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

}  // namespace ze::com
