// The class object of the numeric field ZEInputNumerico.
//
// The numeric field is created by the library's own calendar form only: its record
// lives here but is never written into the registry. The library does not make it
// yet, so it has no way to create one either; when it does, its object derives from
// the control object (frame/host/control_object.h) as KalendoObject does, and the
// create function below calls its Create.
#include "server/class_objects.h"
#include "server/kalendo_ids.h"

namespace zekalendo {

ze::com::ServerClass InputNumericoClass() {
  ze::com::ClassRecord numerico;
  numerico.clsid = ids::kClsidInputNumerico;
  numerico.description = u"ZEInputNumerico";
  numerico.majorVersion = ids::kLibMajor;
  numerico.minorVersion = ids::kLibMinor;
  numerico.control = true;
  return {numerico, false, nullptr};
}

}  // namespace zekalendo
