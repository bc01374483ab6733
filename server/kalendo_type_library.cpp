// The type library of zeKalendo, as data.
#include "server/kalendo_type_library.h"

#include "about/frm_info.h"
#include "frame/com/type_info_impl.h"
#include "server/kalendo_ids.h"

namespace zekalendo::typelib {

using namespace ze::com;
using ze::String;

namespace {

const TypeDesc kColor{VT_UI4, u"OLE_COLOR"};
const TypeDesc kFontType{VT_DISPATCH, u"Font"};
const TypeDesc kPictureType{VT_DISPATCH, u"Picture"};
const TypeDesc kPointerType{VT_I2, u"MousePointerConstants"};
const TypeDesc kString{VT_BSTR, {}};
const TypeDesc kDateType{VT_DATE, {}};
const TypeDesc kBool{VT_BOOL, {}};
const TypeDesc kVoid{VT_VOID, {}};

// A property as a Get and a Let (or Set for objects) with one value parameter.
void Property(std::vector<FuncDesc>& out, DISPID id, const char16_t* name, const TypeDesc& type,
              const char16_t* help, INVOKEKIND put = INVOKE_PROPERTYPUT, WORD flags = 0) {
  out.push_back(FuncDesc{id, name, INVOKE_PROPERTYGET, type, {}, flags, help});
  out.push_back(
      FuncDesc{id, name, put, type, {ParamDesc{u"Value", type, PARAMFLAG_FIN, {}}}, flags, help});
}

std::vector<FuncDesc> BuildInterface() {
  std::vector<FuncDesc> m;
  Property(m, dispid::kBackColor, u"BackColor", kColor,
           u"Restituisce o imposta il colore di sfondo. ");
  Property(m, dispid::kFont, u"Font", kFontType,
           u"Imposto il tipo di carattere utilizzato dal controllo.", INVOKE_PROPERTYPUTREF);
  Property(m, dispid::kForeColor, u"ForeColor", kColor,
           u"Imposta il colore utilizzato per il testo.");
  Property(m, dispid::kLocked, u"Locked", kBool, u"Blocca il controllo da  scrittura.");
  Property(m, dispid::kEnabled, u"Enabled", kBool, u"");
  Property(m, dispid::kMouseIcon, u"MouseIcon", kPictureType, u"Imposta l'immagine del cursore.",
           INVOKE_PROPERTYPUTREF);
  Property(m, dispid::kMousePointer, u"MousePointer", kPointerType, u"Imposta il tipo di cursore.");
  Property(m, dispid::kText, u"Text", kString,
           u"Imposta o restituisce la data contenuta nel controllo.", INVOKE_PROPERTYPUT,
           FUNCFLAG_FUIDEFAULT);
  Property(m, dispid::kValore, u"valore", kDateType, u"");
  Property(
      m, dispid::kDataText, u"DataText", kDateType, u"", INVOKE_PROPERTYPUT,
      FUNCFLAG_FBINDABLE | FUNCFLAG_FDEFAULTBIND | FUNCFLAG_FREQUESTEDIT | FUNCFLAG_FIMMEDIATEBIND);
  Property(m, dispid::kEvidenzia, u"Evidenzia", kBool,
           u"Indica se il controllo si deve evidenziare o meno quando riceve il focus.");
  Property(m, dispid::kPopSelezione, u"PopSelezione", kBool, u"");
  m.push_back(FuncDesc{dispid::kDelData,
                       u"DelData",
                       INVOKE_FUNC,
                       kVoid,
                       {},
                       0,
                       u"Metodo utilizzato per azzerrare il contenuto del controllo."});
  m.push_back(FuncDesc{dispid::kAboutBox,
                       u"AboutBox",
                       INVOKE_FUNC,
                       kVoid,
                       {},
                       0,
                       u"Visualizza la finestra informazioni sul controllo."});
  return m;
}

std::vector<FuncDesc> BuildEvents() {
  auto event = [](DISPID id, const char16_t* name, const char16_t* help) {
    return FuncDesc{id, name, INVOKE_FUNC, kVoid, {}, 0, help};
  };
  return {
      event(dispid::kClick, u"Click", u"Evento Click."),
      event(dispid::kDblClick, u"DblClick", u"Evento Doppio Click."),
      event(dispid::kDataNonValida, u"DataNonValida",
            u"Evento. Si verifica quando l'utente immette una data non valida."),
      event(dispid::kReturnPress, u"ReturnPress", u""),
      event(dispid::kTastoPress, u"TastoPress", u""),
  };
}

// The maker, as the about box names it: the host of its web address.
String Maker() {
  std::u16string_view address = FrmInfo::kWebAddress;
  if (const auto scheme = address.find(u"://"); scheme != address.npos) {
    address.remove_prefix(scheme + 3);
  }
  while (address.ends_with(u'/')) address.remove_suffix(1);
  return String(address);
}

// An earlier IID of the default interface, under its own name, for _Kalendo.
TypeAttr AliasAttr(std::size_t version) {
  TypeAttr a;
  a.guid = ids::kIidChainKalendo[version];
  a.name = u"Kalendo___v" + String(1, static_cast<char16_t>(u'0' + version));
  a.typekind = TKIND_ALIAS;
  // Only old hosts use these names, through the IIDs; browsers need not list them.
  a.flags = TYPEFLAG_FHIDDEN;
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  return a;
}

}  // namespace

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
  TypeAttr a;
  a.guid = ids::kClsidKalendo;
  a.name = u"Kalendo";
  a.typekind = TKIND_COCLASS;
  a.flags = TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL;
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  return a;
}

TypeAttr InterfaceAttr() {
  TypeAttr a;
  a.guid = ids::kIidKalendo;
  a.name = u"_Kalendo";
  a.typekind = TKIND_DISPATCH;
  a.flags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION;
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  return a;
}

TypeAttr EventsAttr() {
  TypeAttr a;
  a.guid = ids::kIidKalendoEvents;
  a.name = u"__Kalendo";
  a.typekind = TKIND_DISPATCH;
  a.flags = TYPEFLAG_FHIDDEN;
  a.majorVersion = ids::kLibMajor;
  a.minorVersion = ids::kLibMinor;
  return a;
}

const std::vector<FuncDesc>& InterfaceMembers() {
  static const std::vector<FuncDesc> members = BuildInterface();
  return members;
}

const std::vector<FuncDesc>& EventMembers() {
  static const std::vector<FuncDesc> events = BuildEvents();
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
