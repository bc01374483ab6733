// IUnknown: the root of every binary interface.
//
// An interface is an abstract class of virtual methods that return HRESULT. Each
// declares its identifier as `kIid` and names the interface it extends as `Base`
// (void for IUnknown), which lets ComObject answer QueryInterface for a whole chain
// of interfaces without a hand-written table. An object dies through Release
// only: the destructor is protected so nobody deletes an interface pointer.
#pragma once

#include <type_traits>

#include "frame/com/guid.h"
#include "frame/com/hresult.h"

namespace ze::com {

class IUnknown {
 public:
  static constexpr IID kIid{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  using Base = void;

  // Stores in *out a counted pointer to the interface `iid` of this same object, or
  // nullptr with E_NOINTERFACE. A null `out` gives E_POINTER.
  virtual HRESULT QueryInterface(const IID& iid, void** out) = 0;
  // Counts one more reference; returns the new count (for diagnostics only).
  virtual ULONG AddRef() = 0;
  // Drops one reference; the object destroys itself when the count reaches zero.
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::kIid;

// Whether `iid` names interface I or one of the interfaces it extends.
template <class I>
constexpr bool IsInterfaceOrBase(const IID& iid) {
  if (iid == I::kIid) return true;
  if constexpr (std::is_void_v<typename I::Base>) {
    return false;
  } else {
    return IsInterfaceOrBase<typename I::Base>(iid);
  }
}

}  // namespace ze::com
