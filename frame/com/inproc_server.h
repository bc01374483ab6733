// The in-process server machinery that a component library's four exports call.
//
// A library describes itself once (type library record, classes with their
// registration records and creation functions) as an InprocServer, and each export
// hands its arguments to it:
//
//   DllRegisterServer()   -> server.RegisterServer()
//   DllUnregisterServer() -> server.UnregisterServer()
//   DllGetClassObject()   -> server.GetClassObject(clsid, iid, out)
//   DllCanUnloadNow()     -> server.CanUnloadNow()
//
// ServerModule counts the library's live objects and server locks; the library
// may be unloaded only when both are zero. Every object a library hands out counts
// while it lives: its classes hold a ModuleReference member, and the class
// factories count themselves, so that no code of the library can still be reached
// once DllCanUnloadNow has said yes.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "frame/com/class_factory.h"
#include "frame/com/com_object.h"
#include "frame/com/server_registration.h"

namespace ze::com {

class ServerModule {
 public:
  void ObjectCreated() { objects_.fetch_add(1, std::memory_order_relaxed); }
  void ObjectDestroyed() { objects_.fetch_sub(1, std::memory_order_acq_rel); }
  void Lock() { locks_.fetch_add(1, std::memory_order_relaxed); }
  void Unlock() { locks_.fetch_sub(1, std::memory_order_acq_rel); }
  long objects() const { return objects_.load(); }
  long locks() const { return locks_.load(); }
  // S_OK when nothing is alive and nothing is locked, else S_FALSE.
  HRESULT CanUnloadNow() const { return objects() == 0 && locks() == 0 ? S_OK : S_FALSE; }

 private:
  std::atomic<long> objects_{0};
  std::atomic<long> locks_{0};
};

// Counts one live object of a module for as long as it exists.
class ModuleReference {
 public:
  explicit ModuleReference(ServerModule& module) : module_(module) { module_.ObjectCreated(); }
  ModuleReference(const ModuleReference& other) : ModuleReference(other.module_) {}
  ModuleReference& operator=(const ModuleReference&) = delete;
  ~ModuleReference() { module_.ObjectDestroyed(); }
  ServerModule& module() const { return module_; }

 private:
  ServerModule& module_;
};

// Makes a new object and returns its interface `iid` through *out.
using CreateFunction = std::function<HRESULT(const IID& iid, void** out)>;

// The class factory of one class.
class ClassFactory final : public ComObject<IClassFactory> {
 public:
  ClassFactory(ServerModule& module, CreateFunction create)
      : module_(module), create_(std::move(create)) {}

  // E_POINTER for a null `out`, CLASS_E_NOAGGREGATION for an outer object,
  // E_OUTOFMEMORY when memory runs out, E_FAIL when the object's construction
  // fails in another way.
  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) override;
  HRESULT LockServer(bool lock) override;

 private:
  ModuleReference module_;
  CreateFunction create_;
};

struct ServerClass {
  ClassRecord record;
  // Whether RegisterServer writes the class's entries: false for a class that
  // only the library itself creates.
  bool registered = true;
  // Null for a class the library holds the record of but cannot make (yet): asking
  // for its class object fails with CLASS_E_CLASSNOTAVAILABLE.
  CreateFunction create;
};

class InprocServer {
 public:
  // `anchor` is the address of anything inside the library (one of its
  // functions): it tells the server which file it lives in.
  InprocServer(TypeLibRecord typelib, std::vector<ServerClass> classes, const void* anchor);

  HRESULT RegisterServer();
  HRESULT UnregisterServer();
  // CLASS_E_CLASSNOTAVAILABLE for a class the library does not hold or cannot make.
  HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** out);
  HRESULT CanUnloadNow() const { return module_.CanUnloadNow(); }

  ServerModule& module() { return module_; }
  const TypeLibRecord& typelib() const { return typelib_; }
  // The absolute path of the library file.
  std::string LibraryPath() const;

 private:
  std::vector<ClassRecord> RegisteredClasses() const;

  TypeLibRecord typelib_;
  std::vector<ServerClass> classes_;
  const void* anchor_;
  ServerModule module_;
};

}  // namespace ze::com
