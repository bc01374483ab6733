// A small in-process server for the tests of the component frame.
//
// Class Contatore ("ZeProva.Contatore"): a counter with a default member Valore, a
// text, a colour, an object slot and a read-only count of live objects; methods
// that add, fail with a chosen automation error, sum with an optional argument,
// take a ByRef argument that its event sinks may change, raise an event, and throw
// a plain C++ exception. Events: Cambiato(valore) and TastoPremuto(ByRef tasto).
// Class Privata: created by the library but not registered.
#include <stdexcept>

#include "frame/automation/error.h"
#include "frame/com/connection_points.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/inproc_server.h"
#include "frame/com/server_exports.h"
#include "tests/com/test_component/contatore_ids.h"

namespace zeprova {
namespace {

using namespace ze;
using namespace ze::com;

const TypeDesc kLong{VT_I4, {}};
const TypeDesc kInteger{VT_I2, {}};
const TypeDesc kDouble{VT_R8, {}};
const TypeDesc kText{VT_BSTR, {}};
const TypeDesc kColor{VT_I4, u"OLE_COLOR"};
const TypeDesc kObject{VT_DISPATCH, {}};
const TypeDesc kVoid{VT_VOID, {}};

TypeLibAttr LibAttr() {
  TypeLibAttr a;
  a.libid = kLibId;
  a.name = u"ZeProva";
  a.majorVersion = 1;
  a.minorVersion = 0;
  a.flags = LIBFLAG_FCONTROL;
  a.help = u"Libreria di prova del telaio dei componenti";
  return a;
}

TypeAttr Attr(const GUID& guid, const char16_t* name, TYPEKIND kind, WORD flags) {
  TypeAttr a;
  a.guid = guid;
  a.name = name;
  a.typekind = kind;
  a.flags = flags;
  a.majorVersion = 1;
  return a;
}

ServerModule& Module();

class IContatore : public IDispatch {
 public:
  static constexpr IID kIid = kIidContatore;
  using Base = IDispatch;

 protected:
  ~IContatore() = default;
};

class Contatore final : public ComObject<DispatchImpl<Contatore, IContatore>,
                                         IConnectionPointContainer, IProvideClassInfo> {
  using Base =
      ComObject<DispatchImpl<Contatore, IContatore>, IConnectionPointContainer, IProvideClassInfo>;

 public:
  static const DispatchTable<Contatore>& Dispatch();

  HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** out) override {
    ConnectionPoint* const points[] = {&events_};
    return FindConnectionPointIn(points, iid, out);
  }
  HRESULT GetClassInfo(ITypeInfo** out) override;

 protected:
  void* FindInterface(const IID& iid) override {
    if (iid == kIidContatoreOld) return static_cast<IContatore*>(this);
    return Base::FindInterface(iid);
  }

 private:
  struct Table;

  void SetValore(std::int32_t v) {
    valore_ = v;
    Variant args[] = {Variant(valore_)};
    events_.Fire(dispid::kCambiato, args);
  }

  ModuleReference ref_{Module()};
  ConnectionPoint events_{this, {kIidContatoreEvents, kIidContatoreEventsOld}};
  std::int32_t valore_ = 0;
  String nome_ = u"contatore";
  std::int32_t colore_ = static_cast<std::int32_t>(0x80000005u);
  Variant oggetto_ = Variant::Nothing();
};

struct Contatore::Table : DispatchTable<Contatore> {
  Table()
      : DispatchTable(InterfaceDescription{
            LibAttr(), Attr(kIidContatore, u"_Contatore", TKIND_DISPATCH, TYPEFLAG_FDUAL), {}}) {
    Property(
        dispid::kValore, u"Valore", kLong, u"Il valore del contatore.", FUNCFLAG_FBINDABLE,
        [](Contatore& c) { return Variant(c.valore_); },
        [](Contatore& c, const Variant& v) { c.SetValore(v.Get<std::int32_t>()); });
    Property(
        dispid::kNome, u"Nome", kText, u"", 0, [](Contatore& c) { return Variant(c.nome_); },
        [](Contatore& c, const Variant& v) {
          if (v.Get<String>().empty()) Raise(errors::kInvalidPropertyValue);
          c.nome_ = v.Get<String>();
        });
    Property(
        dispid::kColore, u"Colore", kColor, u"", 0, [](Contatore& c) { return Variant(c.colore_); },
        [](Contatore& c, const Variant& v) { c.colore_ = v.Get<std::int32_t>(); });
    Property(
        dispid::kOggetto, u"Oggetto", kObject, u"", 0, [](Contatore& c) { return c.oggetto_; },
        nullptr, [](Contatore& c, const Variant& v) { c.oggetto_ = v; });
    Property(dispid::kVivi, u"Vivi", kLong, u"Oggetti vivi della libreria.", FUNCFLAG_FHIDDEN,
             [](Contatore&) { return Variant(static_cast<std::int32_t>(Module().objects())); });
    Method(dispid::kAggiungi, u"Aggiungi", kLong, {ParamDesc{u"quanto", kLong, PARAMFLAG_FIN, {}}},
           u"Aggiunge al valore.", 0, [](Contatore& c, std::span<Variant> a) {
             const std::int64_t sum = std::int64_t{c.valore_} + a[0].Get<std::int32_t>();
             if (sum > INT32_MAX || sum < INT32_MIN) Raise(errors::kOverflow);
             c.SetValore(static_cast<std::int32_t>(sum));
             return Variant(c.valore_);
           });
    Method(dispid::kFallisci, u"Fallisci", kVoid,
           {ParamDesc{u"numero", kLong, PARAMFLAG_FIN, {}},
            ParamDesc{u"descrizione", kText, PARAMFLAG_FIN | PARAMFLAG_FOPT, {}}},
           u"", 0, [](Contatore&, std::span<Variant> a) -> Variant {
             if (a[1].Is<String>()) Raise(a[0].Get<std::int32_t>(), a[1].Get<String>());
             Raise(a[0].Get<std::int32_t>());
           });
    Method(dispid::kSomma, u"Somma", kDouble,
           {ParamDesc{u"a", kDouble, PARAMFLAG_FIN, {}},
            ParamDesc{u"b", kDouble, PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
                      Variant(10.0)}},
           u"", 0, [](Contatore&, std::span<Variant> a) {
             return Variant(a[0].Get<double>() + a[1].Get<double>());
           });
    Method(dispid::kPremi, u"Premi", kVoid,
           {ParamDesc{u"tasto", kInteger, PARAMFLAG_FIN | PARAMFLAG_FOUT, {}}}, u"", 0,
           [](Contatore& c, std::span<Variant> a) {
             c.events_.Fire(dispid::kTastoPremuto, a.subspan(0, 1));
             return Variant();
           });
    Method(dispid::kScatta, u"Scatta", kVoid, {}, u"", 0, [](Contatore& c, std::span<Variant>) {
      Variant args[] = {Variant(c.valore_)};
      c.events_.Fire(dispid::kCambiato, args);
      return Variant();
    });
    Method(dispid::kLancia, u"Lancia", kVoid, {}, u"", 0,
           [](Contatore&, std::span<Variant>) -> Variant { throw std::runtime_error("rotto"); });
  }
};

const DispatchTable<Contatore>& Contatore::Dispatch() {
  static const Table table;
  return table;
}

ComPtr<ITypeInfo> EventsTypeInfo() {
  static const ComPtr<ITypeInfo> info = MakeTypeInfo(InterfaceDescription{
      LibAttr(),
      Attr(kIidContatoreEvents, u"__Contatore", TKIND_DISPATCH, TYPEFLAG_FHIDDEN),
      {FuncDesc{dispid::kCambiato,
                u"Cambiato",
                INVOKE_FUNC,
                kVoid,
                {ParamDesc{u"valore", kLong, PARAMFLAG_FIN, {}}},
                0,
                u"Il valore e' cambiato."},
       FuncDesc{dispid::kTastoPremuto,
                u"TastoPremuto",
                INVOKE_FUNC,
                kVoid,
                {ParamDesc{u"tasto", kInteger, PARAMFLAG_FIN | PARAMFLAG_FOUT, {}}},
                0,
                u""}}});
  return info;
}

HRESULT Contatore::GetClassInfo(ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  static const ComPtr<ITypeInfo> info = MakeClassTypeInfo(ClassDescription{
      LibAttr(),
      Attr(kClsidContatore, u"Contatore", TKIND_COCLASS, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL),
      {ImplementedInterface{Dispatch().TypeInfo(), IMPLTYPEFLAG_FDEFAULT},
       ImplementedInterface{EventsTypeInfo(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}});
  *out = ComPtr<ITypeInfo>(info).Detach();
  return S_OK;
}

class Privata final : public ComObject<DispatchImpl<Privata>> {
 public:
  static const DispatchTable<Privata>& Dispatch() {
    struct Table : DispatchTable<Privata> {
      Table()
          : DispatchTable(InterfaceDescription{
                LibAttr(), Attr(kClsidPrivata, u"_Privata", TKIND_DISPATCH, 0), {}}) {
        Property(1, u"Segreto", kLong, u"", 0, [](Privata&) { return Variant(std::int32_t{42}); });
      }
    };
    static const Table table;
    return table;
  }

 private:
  ModuleReference ref_{Module()};
};

template <class T>
HRESULT Create(const IID& iid, void** out) {
  return MakeCom<T>()->QueryInterface(iid, out);
}

ClassRecord ContatoreRecord() {
  ClassRecord r;
  r.clsid = kClsidContatore;
  r.progId = kProgIdContatore;
  r.description = u"Contatore di prova";
  r.miscStatus = 0x20191;
  r.toolboxBitmapId = 30000;
  r.control = true;
  return r;
}

ClassRecord PrivataRecord() {
  ClassRecord r;
  r.clsid = kClsidPrivata;
  r.description = u"Privata";
  return r;
}

const char kAnchor = 0;  // any address inside this library tells the server its file

InprocServer& Server() {
  static InprocServer server(
      TypeLibRecord{LibAttr(),
                    {InterfaceRecord{kIidContatore, u"_Contatore", true},
                     InterfaceRecord{kIidContatoreEvents, u"__Contatore", false}}},
      {ServerClass{ContatoreRecord(), true, Create<Contatore>},
       ServerClass{PrivataRecord(), false, Create<Privata>}},
      &kAnchor);
  return server;
}

ServerModule& Module() {
  return Server().module();
}

}  // namespace
}  // namespace zeprova

extern "C" {

ze::com::HRESULT DllRegisterServer() {
  return zeprova::Server().RegisterServer();
}
ze::com::HRESULT DllUnregisterServer() {
  return zeprova::Server().UnregisterServer();
}
ze::com::HRESULT DllGetClassObject(const ze::com::GUID& clsid, const ze::com::GUID& iid,
                                   void** out) {
  return zeprova::Server().GetClassObject(clsid, iid, out);
}
ze::com::HRESULT DllCanUnloadNow() {
  return zeprova::Server().CanUnloadNow();
}

// For the tests: how many objects of the library are alive.
long ZeProvaOggettiVivi() {
  return zeprova::Module().objects();
}
}
