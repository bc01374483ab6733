// A minimal host with a window: one Kalendo, its popup button on, in a Qt window.
//   qt_host [LIBRARY] [--quit]   (--quit closes the window once it is shown)
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <cstring>
#include <iostream>

#include "frame/automation/convert.h"
#include "frame/com/activation.h"
#include "frame/host/hosted_control.h"
#include "frame/qt/qt_backend.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string library = argc > 1 && argv[1][0] != '-' ? argv[1] : ZE_COMPONENT_LIBRARY;
  if (ze::com::RegisterServerLibrary(library) != ze::com::S_OK) {
    std::cerr << "cannot register " << library << ": " << ze::com::LastActivationError() << "\n";
    return 1;
  }
  ze::qt::QtBackend backend;
  backend.Install();
  int rc = 0;
  {
    auto form = ze::ui::NewForm<ze::ui::Form>();
    form->SetCaption(u"Kalendo");
    auto kalendo = ze::host::HostedControl::Create(u"zeKalendo.Kalendo", u"K1");
    kalendo->PlaceOn(*form);
    kalendo->InitNew();
    kalendo->Let(u"PopSelezione", true);
    kalendo->Let(u"Text", u"25/12/2005");
    form->Show();
    std::cout << "Text = " << ze::ToUtf8(ze::CStr(kalendo->Get(u"Text"))) << "\n";
    if (argc > 1 && std::strcmp(argv[argc - 1], "--quit") == 0)
      QTimer::singleShot(0, [] { QApplication::quit(); });
    rc = backend.Run();
  }
  backend.Uninstall();
  return rc;
}
