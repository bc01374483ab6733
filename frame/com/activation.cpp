// Activation through the registry store and dlopen; see activation.h.
#include "frame/com/activation.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "frame/com/class_factory.h"
#include "frame/com/server_exports.h"
#include "frame/registry/store.h"
#include "frame/system/dynamic_library.h"
#include "frame/system/file_trust.h"

namespace ze::com {
namespace {

using registry::ERROR_FILE_NOT_FOUND;
using registry::ERROR_SUCCESS;
using registry::KeyId;
using registry::LSTATUS;
using registry::Root;
using registry::Store;

// "text" in double quotes, for messages. (Built by appending: GCC 12 warns
// wrongly about "literal" + std::string in optimised builds.)
std::string Quoted(std::u16string_view text) {
  std::string quoted = "\"";
  quoted += ToUtf8(text);
  quoted += '"';
  return quoted;
}

std::string& ErrorText() {
  thread_local std::string text;
  return text;
}

HRESULT Fail(HRESULT hr, std::string text) {
  ErrorText() = std::move(text);
  return hr;
}

// One library loaded by activation, with its two exports that activation uses.
struct LoadedServer {
  system::DynamicLibrary library;
  DllGetClassObjectFn get_class_object = nullptr;
  DllCanUnloadNowFn can_unload_now = nullptr;
};

struct ServerCache {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<LoadedServer>> by_path;
};

ServerCache& Cache() {
  static ServerCache cache;
  return cache;
}

// The default value of HKCR\path as text.
LSTATUS ReadClassesRoot(Store& store, std::u16string_view path, String* text) {
  KeyId key;
  LSTATUS st = store.OpenKey(Store::RootKey(Root::ClassesRoot), path, &key);
  if (st == ERROR_SUCCESS) st = store.GetString(key, u"", text);
  return st;
}

HRESULT StoreFailure(LSTATUS st) {
  return Fail(REGDB_E_READREGDB, "the registry store cannot be read: " + registry::ErrorText(st) +
                                     " " + registry::LastErrorDetail());
}

// A library is loaded only from an absolute path (a relative one would name a file
// in whatever folder the host runs in) and only when no other user can have put
// their code in it.
HRESULT CheckServerFile(const std::string& path) {
  if (!path.empty() && path.front() != '/') {
    return Fail(E_ACCESSDENIED, "the server library " + path +
                                    " is named by a relative path; only absolute paths are loaded");
  }
  const std::string others = system::WhoElseCanChange(path);
  if (!others.empty()) {
    return Fail(E_ACCESSDENIED, "the server library " + path + " " + others + "; it is not loaded");
  }
  return S_OK;
}

HRESULT LoadServer(const std::string& path, std::shared_ptr<LoadedServer>* out) {
  const HRESULT trusted = CheckServerFile(path);
  if (FAILED(trusted)) return trusted;
  ServerCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  auto it = cache.by_path.find(path);
  if (it != cache.by_path.end()) {
    *out = it->second;
    return S_OK;
  }
  auto server = std::make_shared<LoadedServer>();
  server->library = system::DynamicLibrary::Open(path);
  switch (server->library.error()) {
    case system::LoadError::None:
      break;
    case system::LoadError::NotFound:
    case system::LoadError::InvalidPath:
      return Fail(CO_E_DLLNOTFOUND,
                  "the server library " + path + " is missing (" + server->library.message() + ")");
    case system::LoadError::NotLibrary:
      return Fail(
          HRESULT_BAD_EXE_FORMAT,
          "the server file " + path + " is not a loadable library: " + server->library.message());
  }
  server->get_class_object = server->library.Function<DllGetClassObjectFn>(kDllGetClassObject);
  server->can_unload_now = server->library.Function<DllCanUnloadNowFn>(kDllCanUnloadNow);
  if (server->get_class_object == nullptr) {
    return Fail(CO_E_ERRORINDLL, "the server library " + path + " has no DllGetClassObject");
  }
  cache.by_path.emplace(path, server);
  *out = std::move(server);
  return S_OK;
}

}  // namespace

const std::string& LastActivationError() {
  return ErrorText();
}

HRESULT CLSIDFromString(std::u16string_view text, CLSID* out) {
  if (out == nullptr) return E_POINTER;
  const std::optional<GUID> guid = text.size() == 38 ? ParseGuid(text) : std::nullopt;
  if (!guid) return Fail(CO_E_CLASSSTRING, Quoted(text) + " is not a class identifier");
  *out = *guid;
  return S_OK;
}

namespace {

HRESULT ProgIdToClsid(Store& store, std::u16string_view progId, CLSID* out) {
  std::vector<String> parts;
  if (progId.empty() || registry::SplitKeyPath(progId, &parts) != ERROR_SUCCESS ||
      parts.size() != 1) {
    return Fail(CO_E_CLASSSTRING, Quoted(progId) + " is not a programmatic identifier");
  }
  String text;
  const LSTATUS st = ReadClassesRoot(store, String(progId) + u"\\CLSID", &text);
  if (st == ERROR_FILE_NOT_FOUND || st == registry::ERROR_UNSUPPORTED_TYPE) {
    return Fail(CO_E_CLASSSTRING,
                "the programmatic identifier " + Quoted(progId) + " is not registered");
  }
  if (st != ERROR_SUCCESS) return StoreFailure(st);
  const std::optional<GUID> guid = ParseGuid(text);
  if (!guid) {
    return Fail(CO_E_CLASSSTRING, "the programmatic identifier " + Quoted(progId) +
                                      " names a malformed class identifier " + Quoted(text));
  }
  *out = *guid;
  return S_OK;
}

// The InprocServer32 path of a class.
HRESULT ServerPath(Store& store, const CLSID& clsid, std::string* path) {
  String path16;
  const LSTATUS st =
      ReadClassesRoot(store, u"CLSID\\" + FormatGuidU(clsid) + u"\\InprocServer32", &path16);
  if (st == ERROR_FILE_NOT_FOUND || st == registry::ERROR_UNSUPPORTED_TYPE ||
      (st == ERROR_SUCCESS && path16.empty())) {
    return Fail(REGDB_E_CLASSNOTREG, "the class " + FormatGuid(clsid) + " is not registered");
  }
  if (st != ERROR_SUCCESS) return StoreFailure(st);
  *path = ToUtf8(path16);
  return S_OK;
}

// Runs the registry part of an activation as one read of the store, so that
// it sees one state and pays for one transaction.
template <class F>
HRESULT InOneRead(F&& lookups) {
  Store& store = *registry::DefaultStore();
  // The store names the libraries to load: one that others can change could name
  // theirs.
  const std::string others = system::WhoElseCanChange(store.path());
  if (!others.empty()) {
    return Fail(E_ACCESSDENIED, "the registry store " + store.path() + " " + others +
                                    "; no class is activated from it");
  }
  HRESULT hr = E_UNEXPECTED;
  const LSTATUS st = store.ReadBatch([&] {
    hr = lookups(store);
    return ERROR_SUCCESS;
  });
  return st != ERROR_SUCCESS ? StoreFailure(st) : hr;
}

// The class object of `clsid` from the library at `path`.
HRESULT ClassObjectFrom(const std::string& path, const CLSID& clsid, const IID& iid, void** out) {
  std::shared_ptr<LoadedServer> server;
  HRESULT hr = LoadServer(path, &server);
  if (FAILED(hr)) return hr;
  try {
    hr = server->get_class_object(clsid, iid, out);
  } catch (...) {
    *out = nullptr;
    return Fail(CO_E_ERRORINDLL, "DllGetClassObject of " + server->library.path() + " failed");
  }
  if (FAILED(hr)) {
    *out = nullptr;
    return Fail(hr, "the server library " + server->library.path() + " cannot supply the class " +
                        FormatGuid(clsid) + " (" + HresultText(hr) + ")");
  }
  if (*out == nullptr) return Fail(E_UNEXPECTED, "DllGetClassObject returned no object");
  return hr;
}

HRESULT CreateFromPath(const std::string& path, const CLSID& clsid, IUnknown* outer, const IID& iid,
                       void** out) {
  ComPtr<IClassFactory> factory;
  HRESULT hr = ClassObjectFrom(path, clsid, IID_IClassFactory, factory.PutVoid());
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(outer, iid, out);
  if (FAILED(hr)) {
    *out = nullptr;
    return Fail(hr, "the class " + FormatGuid(clsid) + " cannot create an object (" +
                        HresultText(hr) + ")");
  }
  return hr;
}

}  // namespace

HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* out) {
  if (out == nullptr) return E_POINTER;
  *out = GUID_NULL;
  return InOneRead([&](Store& store) { return ProgIdToClsid(store, progId, out); });
}

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  std::string path;
  const HRESULT hr = InOneRead([&](Store& store) { return ServerPath(store, clsid, &path); });
  if (FAILED(hr)) return hr;
  return ClassObjectFrom(path, clsid, iid, out);
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  std::string path;
  const HRESULT hr = InOneRead([&](Store& store) { return ServerPath(store, clsid, &path); });
  if (FAILED(hr)) return hr;
  return CreateFromPath(path, clsid, outer, iid, out);
}

HRESULT CreateObject(std::u16string_view progIdOrClsid, ComPtr<IDispatch>* out) {
  if (out == nullptr) return E_POINTER;
  out->Reset();
  CLSID clsid;
  std::string path;
  const HRESULT hr = InOneRead([&](Store& store) {
    const HRESULT found = !progIdOrClsid.empty() && progIdOrClsid.front() == u'{'
                              ? CLSIDFromString(progIdOrClsid, &clsid)
                              : ProgIdToClsid(store, progIdOrClsid, &clsid);
    return FAILED(found) ? found : ServerPath(store, clsid, &path);
  });
  if (FAILED(hr)) return hr;
  return CreateFromPath(path, clsid, nullptr, IID_IDispatch, out->PutVoid());
}

HRESULT RegisterServerLibrary(const std::string& path, bool unregister, bool* entry_called) {
  if (entry_called != nullptr) *entry_called = false;
  system::DynamicLibrary library = system::DynamicLibrary::Open(path);
  switch (library.error()) {
    case system::LoadError::None:
      break;
    case system::LoadError::NotFound:
    case system::LoadError::InvalidPath:
      return Fail(CO_E_DLLNOTFOUND, "the server library " + path + " is missing");
    case system::LoadError::NotLibrary:
      return Fail(HRESULT_BAD_EXE_FORMAT,
                  "the file " + path + " is not a loadable library: " + library.message());
  }
  const char* name = unregister ? kDllUnregisterServer : kDllRegisterServer;
  const auto entry = library.Function<DllRegisterServerFn>(name);
  if (entry == nullptr) {
    return Fail(CO_E_ERRORINDLL, "the library " + path + " has no " + name);
  }
  HRESULT hr;
  if (entry_called != nullptr) *entry_called = true;
  try {
    hr = entry();
  } catch (...) {
    hr = E_UNEXPECTED;
  }
  if (FAILED(hr)) {
    return Fail(hr, std::string(name) + " of " + path + " failed (" + HresultText(hr) +
                        "): " + registry::LastErrorDetail());
  }
  return hr;
}

void CoFreeUnusedLibraries() {
  // Libraries leave the cache under the lock but are closed after it, so that
  // code they run while unloading may activate again.
  std::vector<std::shared_ptr<LoadedServer>> unloading;
  {
    ServerCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    for (auto it = cache.by_path.begin(); it != cache.by_path.end();) {
      LoadedServer& server = *it->second;
      if (server.can_unload_now != nullptr && server.can_unload_now() == S_OK) {
        unloading.push_back(std::move(it->second));
        it = cache.by_path.erase(it);
      } else {
        ++it;
      }
    }
  }
}

std::size_t LoadedServerCount() {
  ServerCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  return cache.by_path.size();
}

}  // namespace ze::com
