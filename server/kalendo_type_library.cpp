// The type library of zeKalendo, as data.
#include "server/kalendo_type_library.h"

#include "about/frm_info.h"
#include "frame/com/type_info_impl.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_interface.h"

namespace zekalendo::typelib {

using namespace ze::com;
using ze::String;

namespace {

// The maker, as the about box names it: the host of its web address.
String Maker() {
  std::u16string_view address = FrmInfo::kWebAddress;
  if (const auto scheme = address.find(u"://"); scheme != address.npos) {
    address.remove_prefix(scheme + 3);
  }
  while (address.ends_with(u'/')) address.remove_suffix(1);
  return String(address);
}

// An earlier IID of the default interface, under its own name, for _Kalendo. Only old
// hosts use these names, through the IIDs; browsers need not list them.
TypeAttr AliasAttr(std::size_t version) {
  return Attr(ids::kIidChainKalendo[version],
              u"Kalendo___v" + String(1, static_cast<char16_t>(u'0' + version)), TKIND_ALIAS,
              TYPEFLAG_FHIDDEN);
}

}  // namespace

TypeAttr Attr(const GUID& guid, String name, TYPEKIND kind, WORD flags) {
  TypeAttr a;
  a.guid = guid;
  a.name = std::move(name);
  a.typekind = kind;
  a.flags = flags;
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  return a;
}

TypeLibAttr LibraryAttr() {
  TypeLibAttr a;
  a.libid = ids::kLibId;
  a.name = u"zeKalendo";
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  a.lcid = 0;
  a.flags = LIBFLAG_FCONTROL;
  // The product notice: one line naming the library and its maker.
  a.help = String(FrmInfo::kProductName) + u" - controllo per l'immissione di date (c) " + Maker();
  return a;
}

TypeAttr ClassAttr() {
  return Attr(ids::kClsidKalendo, u"Kalendo", TKIND_COCLASS,
              TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
}

TypeAttr InterfaceAttr() {
  return Attr(
      ids::kIidKalendo, u"_Kalendo", TKIND_DISPATCH,
      TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION);
}

TypeAttr EventsAttr() {
  return Attr(ids::kIidKalendoEvents, u"__Kalendo", TKIND_DISPATCH, TYPEFLAG_FHIDDEN);
}

const std::vector<FuncDesc>& InterfaceMembers() {
  static const std::vector<FuncDesc> members = ZE_MEMBER_DESCRIPTIONS(ZE_KALENDO_MEMBERS);
  return members;
}

const std::vector<FuncDesc>& EventMembers() {
  static const std::vector<FuncDesc> events = ZE_EVENT_DESCRIPTIONS(ZE_KALENDO_EVENTS);
  return events;
}

ComPtr<ITypeLib> TypeLibrary() {
  static const ComPtr<ITypeLib> library = [] {
    const TypeLibAttr lib = LibraryAttr();
    const ComPtr<ITypeInfo> iface = MakeTypeInfo({lib, InterfaceAttr(), InterfaceMembers()});
    const ComPtr<ITypeInfo> events = MakeTypeInfo({lib, EventsAttr(), EventMembers()});
    TypeLibDescription d{lib, {iface, events}};
    d.types.push_back(
        MakeClassTypeInfo({lib,
                           ClassAttr(),
                           {{iface, IMPLTYPEFLAG_FDEFAULT},
                            {events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}}));
    // The chain ends with the current IID; the ones before it are the aliases.
    for (std::size_t v = 0; v + 1 < ids::kIidChainKalendo.size(); ++v) {
      d.types.push_back(MakeAliasTypeInfo({lib, AliasAttr(v), iface}));
    }
    return MakeTypeLib(d);
  }();
  return library;
}

}  // namespace zekalendo::typelib
