// The four exports of libzeKalendo.so. Each hands the library's description (its
// type library and the class objects of class_objects.h) to the shared
// in-process-server machinery together with its own arguments.
#include "frame/com/inproc_server.h"
#include "frame/com/server_exports.h"
#include "server/class_objects.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_type_library.h"
#include "server/utilita_export.h"
#include "utilita/utilita_object.h"

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

    std::vector<ServerClass> classes;
    classes.push_back(KalendoClass());
    classes.push_back(InputNumericoClass());
    return InprocServer(std::move(typelib), std::move(classes),
                        reinterpret_cast<const void*>(&Anchor));
  }();
  return server;
}

}  // namespace

ze::com::ServerModule& Module() {
  return Server().module();
}

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

ZE_EXPORT ze::com::HRESULT zeKalendoCreaUtilita(const ze::com::GUID& iid, void** out) {
  return zekalendo::UtilitaObject::Create(zekalendo::Module(), iid, out);
}
