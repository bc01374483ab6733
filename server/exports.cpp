// The four exports of libzeKalendo.so. Each hands the library's description to the
// shared in-process-server machinery together with its own arguments.
#include "frame/com/inproc_server.h"
#include "frame/com/server_exports.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_object.h"
#include "server/kalendo_type_library.h"

namespace zekalendo {

namespace {

using namespace ze::com;

void Anchor() {}

InprocServer& Server() {
  static InprocServer server = [] {
    TypeLibRecord typelib;
    typelib.attr = typelib::LibraryAttr();
    typelib.interfaces = {{ids::kIidKalendo, u"_Kalendo", true},
                          {ids::kIidKalendoEvents, u"__Kalendo", false}};

    ClassRecord kalendo;
    kalendo.clsid = ids::kClsidKalendo;
    kalendo.progId = ids::kProgIdKalendo;
    kalendo.description = u"zeKalendo.Kalendo";
    kalendo.majorVersion = ids::kLibMajor;
    kalendo.minorVersion = ids::kLibMinor;
    kalendo.miscStatus = ids::kMiscStatusKalendo;
    kalendo.toolboxBitmapId = ids::kToolboxBitmapId;
    kalendo.control = true;

    // The numeric field is created by the library's own calendar form only: its
    // record lives here but is never written into the registry. The library does
    // not make it yet, so it has no class object either.
    ClassRecord numerico;
    numerico.clsid = ids::kClsidInputNumerico;
    numerico.description = u"ZEInputNumerico";
    numerico.majorVersion = ids::kLibMajor;
    numerico.minorVersion = ids::kLibMinor;
    numerico.control = true;

    std::vector<ServerClass> classes;
    classes.push_back(ServerClass{kalendo, true, [](const IID& iid, void** out) {
                                    return KalendoObject::Create(Server().module(), iid, out);
                                  }});
    classes.push_back(ServerClass{numerico, false, nullptr});
    return InprocServer(std::move(typelib), std::move(classes),
                        reinterpret_cast<const void*>(&Anchor));
  }();
  return server;
}

}  // namespace

}  // namespace zekalendo

#define ZE_EXPORT extern "C" __attribute__((visibility("default")))

ZE_EXPORT ze::com::HRESULT DllRegisterServer() {
  return zekalendo::Server().RegisterServer();
}

ZE_EXPORT ze::com::HRESULT DllUnregisterServer() {
  return zekalendo::Server().UnregisterServer();
}

ZE_EXPORT ze::com::HRESULT DllGetClassObject(const ze::com::GUID& clsid, const ze::com::GUID& iid,
                                             void** out) {
  return zekalendo::Server().GetClassObject(clsid, iid, out);
}

ZE_EXPORT ze::com::HRESULT DllCanUnloadNow() {
  return zekalendo::Server().CanUnloadNow();
}
