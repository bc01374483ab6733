// provix2: the sample host program. One form with two date fields bound to a record of
// the SQLite database "provix2.db" beside the program.
//
//   provix2                      the form in a window (with a display)
//   provix2 --session [DIR]      the scripted session on Qt's offscreen platform, with
//                                screenshots in DIR; chosen by itself without a display
//   provix2 --first-frame        opens the form, prints the milliseconds from start to
//                                its first painted frame, and exits
//   provix2 --calendario         the form in a window, its date fields with the calendar
//                                button switched on at run time, as any host may
#include <QtCore/QElapsedTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "frame/automation/error.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/message_box.h"
#include "sample/provix2/form1.h"
#include "sample/provix2/program.h"
#include "sample/provix2/scripted_session.h"

namespace {

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

// Ends the program at the form's first paint, and says when it came.
class FirstFrameWatch : public QObject {
 public:
  explicit FirstFrameWatch(const QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      std::cout << "first frame after " << clock_.nsecsElapsed() / 1e6 << " ms" << std::endl;
      QMetaObject::invokeMethod(
          qApp, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  const QElapsedTimer& clock_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  bool session = false, firstFrame = false, calendar = false;
  std::string screens;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--session") == 0) {
      session = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') screens = argv[++i];
    } else if (std::strcmp(argv[i], "--first-frame") == 0) {
      firstFrame = true;
    } else if (std::strcmp(argv[i], "--calendario") == 0) {
      calendar = true;
    } else {
      std::cerr << "usage: provix2 [--session [DIR] | --first-frame | --calendario]\n";
      return 2;
    }
  }
  if (!HasDisplay()) {
    // No window can open: the session runs instead, on the offscreen platform unless
    // the caller chose another that needs no display either.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || !*platform || std::strncmp(platform, "xcb", 3) == 0 ||
        std::strncmp(platform, "wayland", 7) == 0)
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!firstFrame) session = true;
  }

  QApplication app(argc, argv);
  ze::qt::QtBackend backend;
  backend.Install();
  ze::ui::SetApplicationTitle(u"provix2");
  // Nobody is there to answer a dialog: the session's and the measurement's runs print
  // what a message box would say and go on.
  if (session) provix2::PrintMessageBoxes(std::cout);
  if (firstFrame) provix2::PrintMessageBoxes(std::cerr);
  const std::string folder = provix2::ProgramFolder();

  int rc = 0;
  {
    std::shared_ptr<provix2::Form1> form;
    if (const std::string problem = provix2::EnsureKalendoRegistered(folder); !problem.empty()) {
      ze::ui::MsgBox(ze::FromUtf8(problem), ze::ui::msgbox::kCritical);
      rc = 1;
    } else {
      try {
        form = provix2::Form1::FromDescriptionFile(folder + "/Form1.frm", folder);
      } catch (const ze::AutomationError& e) {
        ze::ui::MsgBox(u"impossibile leggere il modulo: " + e.description(),
                       ze::ui::msgbox::kCritical);
        rc = 1;
      }
    }
    if (form && calendar && !session && !firstFrame) {
      // The designed form has no calendar button; the host switches it on.
      for (ze::host::HostedControl* field : {&form->Kalendo1(), &form->Kalendo2()})
        field->Let(u"PopSelezione", ze::Variant(true));
    }
    if (form) {
      FirstFrameWatch watch(clock);
      form->Show();
      if (firstFrame) {
        backend.Sync();
        if (QWidget* window = backend.WidgetOf(*form)) {
          window->installEventFilter(&watch);
          window->update();
        }
        rc = backend.Run();
      } else if (session) {
        if (screens.empty()) screens = folder + "/provix2-schermate";
        rc = provix2::RunScriptedSession(backend, *form, screens, std::cout);
      } else {
        rc = backend.Run();
      }
    }
  }
  backend.Uninstall();
  return rc;
}
