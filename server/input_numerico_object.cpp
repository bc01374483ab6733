// ZEInputNumerico through the component frame: its table bound to the widget, its
// events with their by-reference Double, and a class description of its own.
#include "server/input_numerico_object.h"

#include "frame/com/type_info_impl.h"
#include "server/kalendo_type_library.h"

namespace zekalendo {

using namespace ze::com;

namespace {

const char16_t kSource[] = u"zeKalendo.ZEInputNumerico";

TypeAttr InterfaceAttr() {
  return typelib::Attr(ids::kIidInputNumerico, u"_ZEInputNumerico", TKIND_DISPATCH,
                       TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE);
}

// An event of one Double passed by reference.
FuncDesc Event(DISPID id, const char16_t* name, const char16_t* parameter) {
  return FuncDesc{id,
                  name,
                  INVOKE_FUNC,
                  TypeDesc{VT_VOID, {}},
                  {ParamDesc{parameter, TypeDesc{VT_R8, {}}, PARAMFLAG_FIN | PARAMFLAG_FOUT, {}}},
                  0,
                  u""};
}

const std::vector<FuncDesc>& Events() {
  static const std::vector<FuncDesc> events{Event(1, u"MassimoSuperato", u"vmassimo"),
                                            Event(2, u"MinimoSuperato", u"vminimo"),
                                            Event(3, u"CambioValore", u"v")};
  return events;
}

}  // namespace

const DispatchTable<InputNumericoObject>& InputNumericoObject::Dispatch() {
  static const DispatchTable<InputNumericoObject>* table = [] {
    auto* t = new DispatchTable<InputNumericoObject>(
        InterfaceDescription{typelib::LibraryAttr(), InterfaceAttr(),
                             ZE_MEMBER_DESCRIPTIONS(ZE_INPUT_NUMERICO_MEMBERS)});
    t->SetSource(kSource);
    ZE_MEMBER_BIND(
        *t, [](InputNumericoObject& o) -> ZEInputNumerico& { return o.control(); },
        ZE_INPUT_NUMERICO_MEMBERS);
    return t;
  }();
  return *table;
}

const ze::host::ControlClass& InputNumericoObject::Class() {
  static const ze::host::ControlClass info = [] {
    const TypeLibAttr lib = typelib::LibraryAttr();
    const ComPtr<ITypeInfo> iface = Dispatch().TypeInfo();
    const ComPtr<ITypeInfo> events =
        MakeTypeInfo({lib,
                      typelib::Attr(ids::kIidInputNumericoEvents, u"__ZEInputNumerico",
                                    TKIND_DISPATCH, TYPEFLAG_FHIDDEN),
                      Events()});
    ComPtr<ITypeInfo> coclass = MakeClassTypeInfo(
        {lib,
         typelib::Attr(ids::kClsidInputNumerico, u"ZEInputNumerico", TKIND_COCLASS,
                       TYPEFLAG_FCONTROL),
         {{iface, IMPLTYPEFLAG_FDEFAULT}, {events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}});
    return ze::host::ControlClass{
        kSource, {}, {ids::kIidInputNumericoEvents}, Events(), std::move(coclass)};
  }();
  return info;
}

}  // namespace zekalendo
