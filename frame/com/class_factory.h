// IClassFactory: the object a server hands out to create instances of one class.
#pragma once

#include "frame/com/unknown.h"

namespace ze::com {

class IClassFactory : public IUnknown {
 public:
  static constexpr IID kIid{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  using Base = IUnknown;

  // A new instance, asked for by interface. `outer` is the controlling object for
  // aggregation, which our classes refuse with CLASS_E_NOAGGREGATION.
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) = 0;
  // Keeps the server loaded (true) or lets it go again (false).
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

inline constexpr IID IID_IClassFactory = IClassFactory::kIid;

}  // namespace ze::com
