// Activation: creating objects by ProgID or CLSID through the registry store.
//
// The steps, each one a lookup a registration wrote:
//   ProgID -> HKCR\<ProgID>\CLSID (default)                    CLSIDFromProgID
//   CLSID  -> HKCR\CLSID\{clsid}\InprocServer32 (default) = the library's path
//          -> load the library (dlopen), find DllGetClassObject
//          -> DllGetClassObject(clsid, IID_IClassFactory)       CoGetClassObject
//          -> IClassFactory::CreateInstance(iid)                CoCreateInstance
// Loaded libraries stay loaded and are found again by path; CoFreeUnusedLibraries
// unloads each one whose DllCanUnloadNow answers S_OK.
//
// Failures, each with a sentence in LastActivationError() for the calling thread:
//   a ProgID that is not registered, or a malformed "{...}"   CO_E_CLASSSTRING
//   a CLSID with no InprocServer32 path                        REGDB_E_CLASSNOTREG
//   the registry store cannot be read                          REGDB_E_READREGDB
//   the library is named by a relative path, or another user   E_ACCESSDENIED
//   or group can change it or the store (see system/file_trust.h)
//   the library file is gone                                   CO_E_DLLNOTFOUND
//   the file is not a loadable library HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT) the library lacks
//   DllGetClassObject                        CO_E_ERRORINDLL the library does not hold the class
//   CLASS_E_CLASSNOTAVAILABLE the object lacks the interface asked for E_NOINTERFACE
// The registry store is the process's default store (see registry/store.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frame/com/com_ptr.h"
#include "frame/com/dispatch.h"
#include "frame/com/guid.h"

namespace ze::com {

inline constexpr HRESULT HRESULT_BAD_EXE_FORMAT = HRESULT_FROM_WIN32(193);

// A CLSID from its "{...}" text.
HRESULT CLSIDFromString(std::u16string_view text, CLSID* out);
// The CLSID registered for a ProgID.
HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* out);
// The class factory (or other class object interface) of a class.
HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out);
// A new object of a class, asked for by interface.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out);
// A new object by ProgID or by "{CLSID}" text, as a dispatch interface.
HRESULT CreateObject(std::u16string_view progIdOrClsid, ComPtr<IDispatch>* out);

// Loads the library file at `path`, calls its DllRegisterServer (or, with
// `unregister`, DllUnregisterServer) and lets it go again. The result is the
// export's, or CO_E_DLLNOTFOUND / HRESULT_BAD_EXE_FORMAT when the file cannot be
// loaded, CO_E_ERRORINDLL when it lacks the export. `entry_called`, when given, tells
// whether the export ran, whatever it returned.
HRESULT RegisterServerLibrary(const std::string& path, bool unregister = false,
                              bool* entry_called = nullptr);

// Unloads the loaded libraries that say they can be unloaded.
void CoFreeUnusedLibraries();
// The number of libraries loaded by activation now.
std::size_t LoadedServerCount();

// The sentence for the calling thread's last failed activation.
const std::string& LastActivationError();

}  // namespace ze::com
