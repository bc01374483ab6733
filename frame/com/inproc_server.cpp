// The shared in-process server machinery; see inproc_server.h.
#include "frame/com/inproc_server.h"

#include <new>

#include "frame/registry/store.h"
#include "frame/system/dynamic_library.h"

namespace ze::com {

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (!create_) return E_UNEXPECTED;
  try {
    return create_(iid, out);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ClassFactory::LockServer(bool lock) {
  if (lock) {
    module_.module().Lock();
  } else {
    module_.module().Unlock();
  }
  return S_OK;
}

InprocServer::InprocServer(TypeLibRecord typelib, std::vector<ServerClass> classes,
                           const void* anchor)
    : typelib_(std::move(typelib)), classes_(std::move(classes)), anchor_(anchor) {}

std::string InprocServer::LibraryPath() const {
  return system::ModulePathOf(anchor_);
}

std::vector<ClassRecord> InprocServer::RegisteredClasses() const {
  std::vector<ClassRecord> records;
  for (const ServerClass& c : classes_)
    if (c.registered) records.push_back(c.record);
  return records;
}

HRESULT InprocServer::RegisterServer() {
  const std::string path = LibraryPath();
  if (path.empty()) return E_UNEXPECTED;
  const std::vector<ClassRecord> records = RegisteredClasses();
  return ze::com::RegisterServer(*registry::DefaultStore(), path, typelib_, records);
}

HRESULT InprocServer::UnregisterServer() {
  const std::string path = LibraryPath();
  if (path.empty()) return E_UNEXPECTED;
  const std::vector<ClassRecord> records = RegisteredClasses();
  return ze::com::UnregisterServer(*registry::DefaultStore(), path, typelib_, records);
}

HRESULT InprocServer::GetClassObject(const CLSID& clsid, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (const ServerClass& c : classes_) {
    if (c.record.clsid != clsid) continue;
    if (!c.create) return CLASS_E_CLASSNOTAVAILABLE;
    try {
      ComPtr<ClassFactory> factory = MakeCom<ClassFactory>(module_, c.create);
      return factory->QueryInterface(iid, out);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace ze::com
