// The class object of Kalendo: its registration record and how it is made.
#include "server/class_objects.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_object.h"

namespace zekalendo {

ze::com::ServerClass KalendoClass() {
  ze::com::ClassRecord kalendo;
  kalendo.clsid = ids::kClsidKalendo;
  kalendo.progId = ids::kProgIdKalendo;
  kalendo.description = u"zeKalendo.Kalendo";
  kalendo.majorVersion = ids::kLibMajor;
  kalendo.minorVersion = ids::kLibMinor;
  kalendo.miscStatus = ids::kMiscStatusKalendo;
  kalendo.toolboxBitmapId = ids::kToolboxBitmapId;
  kalendo.control = true;
  return {kalendo, true, [](const ze::com::IID& iid, void** out) {
            return KalendoObject::Create(Module(), iid, out);
          }};
}

}  // namespace zekalendo
