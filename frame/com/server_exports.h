// The four exports of an in-process server library and their function types.
//
// Every component library exports these with C linkage; activation finds them with
// dlsym, and a registration tool calls the first two.
#pragma once

#include "frame/com/guid.h"
#include "frame/com/hresult.h"

namespace ze::com {

using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const GUID& clsid, const GUID& iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();

inline constexpr const char* kDllRegisterServer = "DllRegisterServer";
inline constexpr const char* kDllUnregisterServer = "DllUnregisterServer";
inline constexpr const char* kDllGetClassObject = "DllGetClassObject";
inline constexpr const char* kDllCanUnloadNow = "DllCanUnloadNow";

}  // namespace ze::com

// The declarations a server library implements (ze::com types, C linkage).
extern "C" {
ze::com::HRESULT DllRegisterServer();
ze::com::HRESULT DllUnregisterServer();
ze::com::HRESULT DllGetClassObject(const ze::com::GUID& clsid, const ze::com::GUID& iid,
                                   void** out);
ze::com::HRESULT DllCanUnloadNow();
}
