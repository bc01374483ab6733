// zeUtilita's dispatch table, made from its member table.
#include "utilita/utilita_object.h"

#include "frame/automation/string_array.h"
#include "frame/com/dispatch_object.h"

namespace zekalendo {

using namespace ze::com;

namespace {
TypeAttr InterfaceAttr() {
  TypeAttr a;
  a.guid = ids::kIidUtilita;
  a.name = u"_zeUtilita";
  a.typekind = TKIND_DISPATCH;
  a.flags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
  return a;
}
}  // namespace

HRESULT UtilitaObject::Create(ServerModule& module, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ComPtr<UtilitaObject> object = MakeCom<UtilitaObject>(module);
  return object->QueryInterface(iid, out);
}

const DispatchTable<UtilitaObject>& UtilitaObject::Dispatch() {
  struct Table : DispatchTable<UtilitaObject> {
    Table()
        : DispatchTable(InterfaceDescription{TypeLibAttr{}, InterfaceAttr(),
                                             ZE_MEMBER_DESCRIPTIONS(ZE_UTILITA_MEMBERS)}) {
      SetSource(u"zeKalendo.zeUtilita");
      ZE_MEMBER_BIND(
          *this, [](UtilitaObject& o) -> zeUtilita& { return o.utilita_; }, ZE_UTILITA_MEMBERS);
      BindByHand();
    }
    void BindByHand() {
      constexpr WORD kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
      // tmp comes back as a new array whatever it held.
      Method(kIdZeSplit, u"zeSplit", TypeDesc{VT_BOOL, {}},
             {ParamDesc{u"tmp", TypeDesc{VT_VARIANT, u"String()"}, kInOut, {}},
              ParamDesc{u"buf", TypeDesc{VT_BSTR, {}}, PARAMFLAG_FIN, {}},
              ParamDesc{u"sep", TypeDesc{VT_BSTR, {}}, PARAMFLAG_FIN, {}}},
             u"", 0, [](UtilitaObject& o, std::span<ze::Variant> args) {
               std::vector<ze::String> tmp;
               const bool split =
                   o.utilita_.zeSplit(tmp, args[1].Get<ze::String>(), args[2].Get<ze::String>());
               args[0] = ze::StringArray::Wrap(std::move(tmp));
               return ze::Variant(split);
             });
      Method(kIdEvidenzia, u"Evidenzia", TypeDesc{VT_VOID, {}},
             {ParamDesc{u"xCtrl", TypeDesc{VT_DISPATCH, {}}, kInOut, {}}}, u"", 0,
             [](UtilitaObject& o, std::span<ze::Variant> args) {
               ze::ObjectRef control = args[0].Get<ze::ObjectRef>();
               o.utilita_.Evidenzia(control);
               return ze::Variant();
             });
      // The processes group's Subs; hwnd and the address come by value.
      const ParamDesc hwnd{u"hwnd", TypeDesc{VT_I4, {}}, PARAMFLAG_FIN, {}};
      Method(kIdHomePage, u"HomePage", TypeDesc{VT_VOID, {}}, {hwnd}, u"", 0,
             [](UtilitaObject& o, std::span<ze::Variant> args) {
               o.utilita_.HomePage(args[0].Get<std::int32_t>());
               return ze::Variant();
             });
      Method(kIdGoWeb, u"GoWeb", TypeDesc{VT_VOID, {}},
             {hwnd, ParamDesc{u"indirizzoWeb", TypeDesc{VT_BSTR, {}}, PARAMFLAG_FIN, {}}}, u"", 0,
             [](UtilitaObject& o, std::span<ze::Variant> args) {
               o.utilita_.GoWeb(args[0].Get<std::int32_t>(), args[1].Get<ze::String>());
               return ze::Variant();
             });
      Method(kIdEMail, u"EMail", TypeDesc{VT_VOID, {}}, {hwnd}, u"", 0,
             [](UtilitaObject& o, std::span<ze::Variant> args) {
               o.utilita_.EMail(args[0].Get<std::int32_t>());
               return ze::Variant();
             });
    }
  };
  static const Table table;
  return table;
}

}  // namespace zekalendo
