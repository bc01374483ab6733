// KalendoObject: the Kalendo control as hosts see it through the component frame.
//
// The control object (frame/host/control_object.h) carries what every control
// needs; this class adds Kalendo's own: its member table bound to the widget, the
// dual interface's entries made from the same table, and its class description
// (source, interface chains from the library's resources, events, coclass).
#pragma once

#include "frame/com/dispatch_table.h"
#include "frame/host/control_object.h"
#include "kalendo/kalendo.h"
#include "server/kalendo_interface.h"

namespace zekalendo {

class KalendoObject final : public ze::host::ControlObject<KalendoObject, IKalendo, Kalendo> {
 public:
  explicit KalendoObject(ze::com::ServerModule& module) : ControlObject(module) {}

  static const ze::com::DispatchTable<KalendoObject>& Dispatch();
  static const ze::host::ControlClass& Class();

  // _Kalendo's vtable entries.
  ZE_MEMBER_DUAL(ZE_KALENDO_MEMBERS)
};

}  // namespace zekalendo
