// ComObject: the reference-counting core that implements IUnknown for a class.
//
// A class derives from ComObject<I1, I2, ...> and implements the methods of those
// interfaces. QueryInterface answers IUnknown, each listed interface and every
// interface each of them extends (IDispatch for a dual interface), always with
// the same IUnknown pointer so that object identity holds. A class adds aliases
// (an older IID that now means its current interface) by overriding
// FindInterface. The count starts at one, owned by the ComPtr that MakeCom
// returns; the object deletes itself when the last reference goes. This is the one
// place that uses new and delete.
#pragma once

#include <atomic>
#include <utility>

#include "frame/com/com_ptr.h"
#include "frame/com/unknown.h"

namespace ze::com {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT QueryInterface(const IID& iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = FindInterface(iid);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG Release() override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  // The identity pointer of the object.
  IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  // The interface pointer for `iid` (not counted), or nullptr.
  virtual void* FindInterface(const IID& iid) {
    if (iid == IUnknown::kIid) return Identity();
    if (IsInterfaceOrBase<First>(iid)) return static_cast<First*>(this);
    void* found = nullptr;
    ((found == nullptr && IsInterfaceOrBase<Rest>(iid) ? found = static_cast<Rest*>(this) : found),
     ...);
    return found;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// Creates a T with its first reference held by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeCom(Args&&... args) {
  ComPtr<T> p;
  p.Attach(new T(std::forward<Args>(args)...));
  return p;
}

}  // namespace ze::com
