// The class record of the numeric field ZEInputNumerico.
//
// The numeric field is created by the library's own forms only: its record lives here
// but is never written into the registry, and it has no class object, so that
// DllGetClassObject refuses its class identifier to hosts. A form of the library makes
// the field as an object with InputNumericoObject::Create(Module(), ...).
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
