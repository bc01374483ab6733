// Kalendo through the Qt backend beside Qt's own QDateEdit, on the offscreen platform:
// creating the control with its widgets, and typing a whole date into it with real Qt
// key events (QTest::keyClick: the shortcut check, key press and key release each).
//
// Kalendo's typing path is the whole backend: the event filter, the model's input path,
// Kalendo's overwrite editor, the change notices, and the sync of the view back into
// the line edit after every key event.
#include <benchmark/benchmark.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDate>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QLineEdit>
#include <memory>

#include "frame/automation/locale.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "frame/ui/user_control.h"
#include "kalendo/kalendo.h"

namespace {

// A host that ignores what the control tells it.
class QuietSite : public ze::ui::ControlSite {
 public:
  void PropertyChanged(std::u16string_view) override {}
  bool CanPropertyChange(std::u16string_view) override { return true; }
  std::shared_ptr<ze::container::Font> AmbientFont() override { return font_; }
  std::optional<ze::Variant> ExtenderProperty(std::u16string_view) override { return std::nullopt; }
  void RaiseEvent(std::u16string_view, std::vector<ze::Variant>&) override {}

 private:
  std::shared_ptr<ze::container::Font> font_ =
      std::make_shared<ze::container::Font>(u"MS Sans Serif", 9.75);
};

class HostForm : public ze::ui::Form {};

// The backend with one shown form to place controls on.
struct Host {
  Host() {
    ze::Locale::SetCurrent("it_IT");
    backend.Install();
    form = ze::ui::NewForm<HostForm>();
    form->SetClientSize(4680, 3195);
    form->Show();
    backend.Sync();
  }
  ~Host() {
    ze::ui::Desktop::UnloadAll();
    backend.Sync();
    backend.Uninstall();
  }
  ze::qt::QtBackend backend;
  std::shared_ptr<HostForm> form;
  QuietSite site;
};

// Runs what a step left in Qt's queue (layout and paint requests, deferred deletes),
// as Qt's loop would between two user actions: a queue left to grow would make every
// later step slower and measure the queue rather than the control.
void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Typing leaves little in Qt's queue (one paint request per window), so it is run
// now and then rather than after every date: what a step costs, not the pause.
void SettleNowAndThen(benchmark::State& state) {
  static std::uint64_t steps = 0;
  if (++steps % 64 != 0) return;
  state.PauseTiming();
  Settle();
  state.ResumeTiming();
}

const Qt::Key kDigits[] = {Qt::Key_2, Qt::Key_5, Qt::Key_1, Qt::Key_2,
                           Qt::Key_2, Qt::Key_0, Qt::Key_0, Qt::Key_5};

// ---- creating the control ---------------------------------------------------------------

void BM_CreateKalendo(benchmark::State& state) {
  Host host;
  for (auto _ : state) {
    auto k = std::make_unique<zekalendo::Kalendo>();
    k->SetSite(&host.site);
    host.form->Place(*k, u"Kalendo1");
    k->Move(1680, 600, 1215, 315);
    k->InitNew();
    k->Paint();
    host.backend.Sync();  // its QWidget, QLineEdit and QPushButton made and shown
    benchmark::DoNotOptimize(host.backend.WidgetOf(k->Text1));
    state.PauseTiming();
    k.reset();
    host.backend.Sync();
    Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CreateKalendo);

void BM_CreateQDateEdit(benchmark::State& state) {
  Host host;  // the same window to put it in
  QWidget* window = host.backend.WidgetOf(*host.form);
  for (auto _ : state) {
    auto edit = std::make_unique<QDateEdit>(QDate(2005, 12, 25), window);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setGeometry(112, 40, 81, 21);
    edit->show();
    benchmark::DoNotOptimize(edit.get());
    state.PauseTiming();
    edit.reset();
    Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CreateQDateEdit);

// ---- typing a whole date ----------------------------------------------------------------

void BM_TypeDateKalendo(benchmark::State& state) {
  Host host;
  zekalendo::Kalendo k;
  k.SetSite(&host.site);
  host.form->Place(k, u"Kalendo1");
  k.Move(1680, 600, 1215, 315);
  k.InitNew();
  k.Paint();
  k.Text1.SetFocus();
  host.backend.Sync();
  QWidget* edit = host.backend.WidgetOf(k.Text1);
  for (auto _ : state) {
    k.Text1.SetSelStart(0);  // back to the first digit, as a click there would
    for (Qt::Key key : kDigits) QTest::keyClick(edit, key);
    SettleNowAndThen(state);
  }
  if (k.Text() != u"25/12/2005" ||
      static_cast<QLineEdit*>(edit)->text() != QStringLiteral("25/12/2005"))
    state.SkipWithError("the date did not arrive");
  state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_TypeDateKalendo);

void BM_TypeDateQDateEdit(benchmark::State& state) {
  Host host;
  QWidget* window = host.backend.WidgetOf(*host.form);
  QDateEdit edit(QDate(2000, 1, 1), window);
  edit.setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  edit.setGeometry(112, 40, 81, 21);
  edit.show();
  edit.setFocus();
  for (auto _ : state) {
    edit.setSelectedSection(QDateTimeEdit::DaySection);  // back to the first digit
    for (Qt::Key key : kDigits) QTest::keyClick(&edit, key);
    SettleNowAndThen(state);
  }
  if (edit.date() != QDate(2005, 12, 25)) {
    qWarning("%s", qPrintable(edit.text()));
    state.SkipWithError("the date did not arrive");
  }
  state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_TypeDateQDateEdit);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
