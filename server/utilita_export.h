// The library's one way to a zeUtilita from outside, for test containers: an export
// that makes one and returns its `iid`. No class object and no registry entry lead to
// the class, so hosts still cannot create it by ProgID or CLSID.
#pragma once

#include "frame/com/guid.h"
#include "frame/com/hresult.h"

namespace zekalendo {

using CreaUtilitaFn = ze::com::HRESULT (*)(const ze::com::GUID& iid, void** out);
inline constexpr const char* kCreaUtilita = "zeKalendoCreaUtilita";

}  // namespace zekalendo
