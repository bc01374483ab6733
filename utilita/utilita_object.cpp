// zeUtilita's dispatch table, made from its member table.
#include "utilita/utilita_object.h"

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
    }
  };
  static const Table table;
  return table;
}

}  // namespace zekalendo
