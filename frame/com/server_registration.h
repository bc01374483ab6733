// Writing and removing the registry entries of an in-process server.
//
// Given the library's path, its type library record and its class records, writes
// in ONE transaction the entries that activation and hosts look up, all under
// HKEY_CLASSES_ROOT:
//
//   <ProgID>\(default)                     = description
//   <ProgID>\CLSID\(default)               = {clsid}
//   CLSID\{clsid}\(default)                = description
//   CLSID\{clsid}\InprocServer32\(default) = the library's absolute path
//                               ThreadingModel = "Apartment"
//   CLSID\{clsid}\ProgID\(default)         = ProgID
//   CLSID\{clsid}\Control                  (controls only)
//   CLSID\{clsid}\ToolboxBitmap32\(default)= "<path>, <resource id>"
//   CLSID\{clsid}\MiscStatus\(default)     = "0", MiscStatus\1\(default) = status in decimal
//   CLSID\{clsid}\TypeLib\(default)        = {libid}
//   CLSID\{clsid}\Version\(default)        = "1.4"
//   CLSID\{clsid}\Implemented Categories\{catid}   (when the record names some)
//   TypeLib\{libid}\<maj.min in hex>\(default) = help string
//                   ...\<lcid in hex>\linux\(default) = the library's path
//                   ...\FLAGS\(default)    = the library flags in decimal
//                   ...\HELPDIR\(default)  = help folder (else the library's folder)
//   Interface\{iid}\(default)              = interface name
//   Interface\{iid}\ProxyStubClsid, ProxyStubClsid32 = the automation marshaller
//   Interface\{iid}\TypeLib\(default)      = {libid}, Version = "1.4"
//
// Unregistering removes exactly what registering wrote and nothing else, and only
// where it is still this server's: a ProgID whose CLSID now names another class, a
// class whose InprocServer32 now names another file, a type library version whose
// path is another file, an interface that another type library claims, all stay.
// An empty TypeLib\{libid} left behind goes too. Failures roll back everything and
// give SELFREG_E_TYPELIB (type library or interface entries) or SELFREG_E_CLASS
// (class entries, or a store that cannot be written at all); the registry's
// LastErrorDetail() says why.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "frame/com/guid.h"
#include "frame/com/type_info.h"
#include "frame/registry/store.h"

namespace ze::com {

struct InterfaceRecord {
  IID iid;
  String name;
  // Dual interfaces marshal through the type library's marshaller
  // ({00020424-...}), pure dispatch interfaces through the dispatch one ({00020420-...}).
  bool dual = false;
};

struct TypeLibRecord {
  TypeLibAttr attr;  // LIBID, version, locale, flags, help string, help folder
  std::vector<InterfaceRecord> interfaces;
};

struct ClassRecord {
  CLSID clsid;
  String progId;       // "" for a class without one
  String description;  // "" means the ProgID
  WORD majorVersion = 1;
  WORD minorVersion = 0;
  DWORD miscStatus = 0;      // 0: no MiscStatus key
  int toolboxBitmapId = -1;  // < 0: no ToolboxBitmap32 key
  bool control = false;
  String threadingModel = u"Apartment";
  std::vector<GUID> implementedCategories;
};

inline constexpr CLSID CLSID_PSDispatch{0x00020420, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr CLSID CLSID_PSOAInterface{0x00020424, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

HRESULT RegisterServer(registry::Store& store, const std::string& libraryPath,
                       const TypeLibRecord& typelib, std::span<const ClassRecord> classes);
HRESULT UnregisterServer(registry::Store& store, const std::string& libraryPath,
                         const TypeLibRecord& typelib, std::span<const ClassRecord> classes);

// The path as it is written into the registry: absolute, without "." or "..".
std::string AbsoluteLibraryPath(const std::string& path);

}  // namespace ze::com
