// Kalendo through the component frame: its table bound to the widget, and what the
// control object needs to know of its class.
#include "server/kalendo_object.h"

#include <algorithm>
#include <span>

#include "frame/automation/convert.h"
#include "server/kalendo_resources.h"
#include "server/kalendo_type_library.h"

namespace zekalendo {

using namespace ze::com;

namespace {

const char16_t kSource[] = u"zeKalendo.Kalendo";

// The chain of a resource, the current interface first (as a connection point wants it).
std::vector<IID> CurrentFirst(std::span<const std::uint8_t> resource) {
  std::vector<IID> chain = resources::ReadChain(resource);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace

const DispatchTable<KalendoObject>& KalendoObject::Dispatch() {
  static const DispatchTable<KalendoObject>* table = [] {
    auto* t = new DispatchTable<KalendoObject>(InterfaceDescription{
        typelib::LibraryAttr(), typelib::InterfaceAttr(), typelib::InterfaceMembers()});
    t->SetSource(kSource);
    // The library's own _Kalendo, so that a host reaches the whole library from it.
    ComPtr<ITypeInfo> iface;
    typelib::TypeLibrary()->GetTypeInfoOfGuid(ids::kIidKalendo, iface.Put());
    t->UseTypeInfo(std::move(iface));
    ZE_MEMBER_BIND(
        *t, [](KalendoObject& o) -> Kalendo& { return o.control(); }, ZE_KALENDO_MEMBERS);
    return t;
  }();
  return *table;
}

const ze::host::ControlClass& KalendoObject::Class() {
  static const ze::host::ControlClass info = [] {
    ComPtr<ITypeInfo> coclass;
    typelib::TypeLibrary()->GetTypeInfoOfGuid(ids::kClsidKalendo, coclass.Put());
    return ze::host::ControlClass{kSource, resources::ReadChain(resources::IidKalendo()),
                                  CurrentFirst(resources::SrcIidKalendo()), typelib::EventMembers(),
                                  std::move(coclass)};
  }();
  return info;
}

}  // namespace zekalendo
