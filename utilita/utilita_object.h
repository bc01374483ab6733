// UtilitaObject: a zeUtilita reached by dispatch, for code of the library that holds
// the class as an object (IDispatch and the dual IzeUtilita, both from
// ZE_UTILITA_MEMBERS). It is made only by Create: the library hands out no class
// object for it, so no host can make one. Code that calls a routine from C++ uses a
// zeUtilita directly.
#pragma once

#include "frame/com/com_object.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/inproc_server.h"
#include "utilita/ze_utilita_members.h"

namespace zekalendo {

class UtilitaObject final
    : public ze::com::ComObject<ze::com::DispatchImpl<UtilitaObject, IzeUtilita>> {
 public:
  explicit UtilitaObject(ze::com::ServerModule& module) : module_(module) {}

  // Makes one, holding the library's module while it lives, and returns its `iid`.
  static ze::com::HRESULT Create(ze::com::ServerModule& module, const ze::com::IID& iid,
                                 void** out);
  static const ze::com::DispatchTable<UtilitaObject>& Dispatch();

  ZE_MEMBER_DUAL(ZE_UTILITA_MEMBERS)

 private:
  ze::com::ModuleReference module_;
  zeUtilita utilita_;
};

}  // namespace zekalendo
