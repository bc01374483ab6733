// A minimal host without windows: it registers the component library, creates a
// Kalendo by its ProgID, sets its text, reads its value, hears its events, and saves
// it into a property bag that a second Kalendo is loaded from.
//   headless_host [LIBRARY] [BAG]
#include <iostream>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/com/activation.h"
#include "frame/container/property_bag.h"
#include "frame/host/hosted_control.h"
#include "frame/ui/desktop.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"

int main(int argc, char** argv) {
  const std::string library = argc > 1 ? argv[1] : ZE_COMPONENT_LIBRARY;
  const std::string bagFile = argc > 2 ? argv[2] : "kalendo.bag";
  if (ze::com::RegisterServerLibrary(library) != ze::com::S_OK) {
    std::cerr << "cannot register " << library << ": " << ze::com::LastActivationError() << "\n";
    return 1;
  }
  ze::ui::HeadlessBackend backend;
  backend.Install();
  auto form = ze::ui::NewForm<ze::ui::Form>();
  form->Show();
  try {
    auto k1 = ze::host::HostedControl::Create(u"zeKalendo.Kalendo", u"K1");
    k1->onEvent = [](const ze::String& event, auto) {
      std::cout << "event " << ze::ToUtf8(event) << "\n";
    };
    k1->PlaceOn(*form);
    k1->InitNew();
    k1->Let(u"Text", u"25/12/2005");
    std::cout << "valore = " << ze::ToUtf8(ze::CStr(k1->Get(u"valore"))) << "\n";
    ze::ui::input::Focus(k1->Widget());
    ze::ui::input::Type(u"\r");  // Enter: the field tells its host
    ze::container::PropertyBag bag;
    k1->Save(bag);
    bag.SaveFile(bagFile);

    ze::container::PropertyBag saved;
    saved.LoadFile(bagFile);
    auto k2 = ze::host::HostedControl::Create(u"zeKalendo.Kalendo", u"K2");
    k2->PlaceOn(*form);
    k2->Load(saved);
    std::cout << "reloaded Text = " << ze::ToUtf8(ze::CStr(k2->Get(u"Text"))) << "\n";
  } catch (const ze::AutomationError& e) {
    std::cerr << "error " << e.number() << ": " << ze::ToUtf8(e.description()) << "\n";
    return 1;
  }
  ze::ui::Desktop::UnloadAll();
  backend.Uninstall();
  return 0;
}
