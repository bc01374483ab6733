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
//   provix2 --data DIR ...       the database provix2.db in DIR instead (made there
//                                with the sample records when missing)
//   provix2 --database NAME ... the data control's database instead of the form's: a
//                                "postgresql://" URI names a server (the PG environment
//                                variables fill in what it leaves out), anything else a
//                                SQLite file
//   provix2 --help | --version
#include <QtCore/QElapsedTimer>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <utility>
#include <vector>

#include "frame/automation/error.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/message_box.h"
#include "sample/data/open_table.h"
#include "sample/provix2/form1.h"
#include "sample/provix2/program.h"
#include "sample/provix2/scripted_session.h"
#include "ze_version.h"

namespace {

// The offscreen platform has no window manager and says so each time a window is raised
// or sized by its hints; those notices only puzzle whoever reads the session's output.
QtMessageHandler g_qtMessages = nullptr;
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support")) &&
      QGuiApplication::platformName() == QLatin1String("offscreen"))
    return;
  g_qtMessages(type, context, message);
}

constexpr const char* kUsage =
    "usage: provix2 [--session [DIR] | --first-frame | --calendario] [--data DIR] [--database NAME] | --help | --version\n"
    "The sample program: one form with two date fields bound to a record of the\n"
    "database provix2.db beside the program.\n"
    "  (none)           the form in a window; without a display, the scripted session\n"
    "  --session [DIR]  the scripted session on Qt's offscreen platform, screenshots in\n"
    "                   DIR (default provix2-schermate beside the program)\n"
    "  --first-frame    prints the milliseconds from start to the first painted frame\n"
    "  --calendario     the form in a window, the calendar button on in both date fields\n"
    "  --data DIR       the database provix2.db in DIR (made there with the sample\n"
    "                   records when missing) instead of beside the program\n"
    "  --database NAME  the data control's database instead of the form's: a\n"
    "                   postgresql:// URI names a server, anything else a SQLite file\n";

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

// Where the start-up's time goes: the moment each stage ended, printed after the first
// frame's line so that a slow start can be told apart (Qt, the registry and the
// library, the form with its controls and database, the window's first paint).
class StartupStages {
 public:
  explicit StartupStages(const QElapsedTimer& clock) : clock_(clock) {}
  void Ended(const char* stage) { stages_.push_back({stage, clock_.nsecsElapsed()}); }
  void Print(std::ostream& out) const {
    qint64 previous = 0;
    out << "stages:";
    for (const auto& [stage, at] : stages_) {
      out << " " << stage << " " << (at - previous) / 1e6 << " ms";
      previous = at;
    }
    out << std::endl;
  }

 private:
  const QElapsedTimer& clock_;
  std::vector<std::pair<const char*, qint64>> stages_;
};

// Ends the program at the form's first paint, and says when it came.
class FirstFrameWatch : public QObject {
 public:
  FirstFrameWatch(const QElapsedTimer& clock, StartupStages& stages)
      : clock_(clock), stages_(stages) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      stages_.Ended("paint");
      std::cout << "first frame after " << clock_.nsecsElapsed() / 1e6 << " ms" << std::endl;
      stages_.Print(std::cout);
      QMetaObject::invokeMethod(
          qApp, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  const QElapsedTimer& clock_;
  StartupStages& stages_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  bool session = false, firstFrame = false, calendar = false;
  std::string screens, data, database;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--session") == 0) {
      session = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') screens = argv[++i];
    } else if (std::strcmp(argv[i], "--first-frame") == 0) {
      firstFrame = true;
    } else if (std::strcmp(argv[i], "--calendario") == 0) {
      calendar = true;
    } else if (std::strcmp(argv[i], "--database") == 0 && i + 1 < argc) {
      database = argv[++i];
      // A file named from the caller's folder, which the form leaves for its own.
      if (!provix2::NamesServer("", database)) database = std::filesystem::absolute(database);
    } else if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data = std::filesystem::absolute(argv[++i]).string();
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << kUsage;
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "provix2 (zeKalendo) " << ZE_VERSION_TEXT << "\n";
      return 0;
    } else {
      std::cerr << kUsage;
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

  StartupStages stages(clock);
  g_qtMessages = qInstallMessageHandler(QuietOffscreenNotices);
  QApplication app(argc, argv);
  stages.Ended("qt");
  ze::qt::QtBackend backend;
  backend.Install();
  stages.Ended("backend");
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
      stages.Ended("registry");
      try {
        form = provix2::Form1::FromDescriptionFile(folder + "/Form1.frm",
                                                   data.empty() ? folder : data);
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
      stages.Ended("form");
      if (!database.empty()) form->Data1().SetDatabaseName(database);
      FirstFrameWatch watch(clock, stages);
      form->Show();
      stages.Ended("show");
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
