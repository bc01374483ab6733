// Kalendo through the Qt backend beside Qt's own QDateEdit, on the offscreen platform:
// creating the control with its widgets, and typing a whole date into it with real Qt
// key events (QTest::keyClick: the shortcut check, key press and key release each).
//
// Kalendo's typing path is the whole backend: the event filter, the model's input path,
// Kalendo's overwrite editor, the change notices, and the sync of the view back into
// the line edit after every key event.
//
// The view's own cost, in both of its sync modes side by side (Changes: only what the
// model's notices named; Everything: every control compared, as the view did before it
// had notices): a key typed into a field of a form with 5 and with 500 controls, and a
// timer tick on a form of 50 labels that changes nothing.
#include <benchmark/benchmark.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDate>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QLineEdit>
#include <memory>

#include "bench/common/qt_bench_main.h"
#include "bench/common/qt_settle.h"
#include "frame/automation/locale.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/timer.h"
#include "frame/ui/user_control.h"
#include "kalendo/kalendo.h"

namespace {

using ze::bench::Settle;

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

// ---- the view's sync: what changed, or everything ---------------------------------------

ze::qt::SyncMode ModeOf(std::int64_t arg) {
  return arg == 0 ? ze::qt::SyncMode::Changes : ze::qt::SyncMode::Everything;
}
const char* NameOf(std::int64_t arg) {
  return arg == 0 ? "changes" : "everything";
}

// A key and Backspace typed into one field of a form with range(0) controls (labels and
// fields in turn), the field's text the same after each pair.
void BM_KeyOnFormOf(benchmark::State& state) {
  Host host;
  host.backend.SetSyncMode(ModeOf(state.range(1)));
  const auto controls = static_cast<int>(state.range(0));
  for (int i = 1; i < controls; ++i) {
    ze::ui::Control& c =
        i % 2 ? static_cast<ze::ui::Control&>(host.form->AddChild<ze::ui::Label>(u"L"))
              : host.form->AddChild<ze::ui::TextBox>(u"T");
    c.Move(static_cast<float>(i % 20) * 225, static_cast<float>(i / 20) * 120, 210, 105);
  }
  auto& field = host.form->AddChild<ze::ui::TextBox>(u"Campo");
  field.Move(0, 3000, 1500, 300);
  field.SetFocus();
  host.backend.Sync();
  Settle();
  QWidget* edit = host.backend.WidgetOf(field);
  for (auto _ : state) {
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_Backspace);
    SettleNowAndThen(state);
  }
  if (!field.Text().empty() || !static_cast<QLineEdit*>(edit)->text().isEmpty())
    state.SkipWithError("the keys did not arrive");
  state.SetLabel(NameOf(state.range(1)));
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_KeyOnFormOf)->ArgsProduct({{5, 500}, {0, 1}});

// A timer of a form with 50 labels fires, as the model's event loop fires it when due,
// and its handler changes nothing; then the view syncs, as after every tick.
void BM_IdleTimerTickOn50Labels(benchmark::State& state) {
  Host host;
  host.backend.SetSyncMode(ModeOf(state.range(0)));
  for (int i = 0; i < 50; ++i) {
    auto& label = host.form->AddChild<ze::ui::Label>(u"lblGio");
    label.Move(static_cast<float>(i % 7) * 600, static_cast<float>(i / 7) * 420, 510, 420);
    label.SetCaption(ze::FromUtf8(std::to_string(i + 1)));
  }
  auto& timer = host.form->AddChild<ze::ui::Timer>(u"Timer1");
  timer.SetInterval(100);
  int ticks = 0;
  timer.onTimer = [&ticks] { ++ticks; };
  host.backend.Sync();
  Settle();
  for (auto _ : state) {
    timer.Fire();
    host.backend.Sync();
  }
  benchmark::DoNotOptimize(ticks);
  state.SetLabel(NameOf(state.range(0)));
}
BENCHMARK(BM_IdleTimerTickOn50Labels)->Arg(0)->Arg(1);

}  // namespace

ZE_QT_BENCHMARK_MAIN()
