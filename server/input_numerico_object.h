// InputNumericoObject: the numeric field ZEInputNumerico as a control object.
//
// The field is private to the library: no class object makes it (DllGetClassObject
// refuses its class identifier) and the type library does not describe it. A form of
// the library that wants the field as an object, with its members by dispatch id and
// its events through a connection point, makes one with Create.
#pragma once

#include "frame/com/dispatch_table.h"
#include "frame/host/control_object.h"
#include "numeric/ze_input_numerico.h"
#include "server/input_numerico_interface.h"

namespace zekalendo {

class InputNumericoObject final
    : public ze::host::ControlObject<InputNumericoObject, IZEInputNumerico, ZEInputNumerico> {
 public:
  explicit InputNumericoObject(ze::com::ServerModule& module) : ControlObject(module) {}

  static const ze::com::DispatchTable<InputNumericoObject>& Dispatch();
  static const ze::host::ControlClass& Class();

  ZE_MEMBER_DUAL(ZE_INPUT_NUMERICO_MEMBERS)
};

}  // namespace zekalendo
