// The calendar popup on Qt's offscreen platform, from a real click on Kalendo's button to
// the calendar's first painted frame (the tool window made, laid out and painted into an
// image), beside constructing Qt's own QCalendarWidget and painting its first frame the
// same way, in the same run. Goal: ours at most a fifth of Qt's (speedup >= 5).
#include <benchmark/benchmark.h>

#include <QtCore/QCoreApplication>
#include <QtGui/QCursor>
#include <QtGui/QPixmap>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QPushButton>
#include <memory>

#include "bench/common/counting_site.h"
#include "bench/common/qt_bench_main.h"
#include "bench/common/qt_settle.h"
#include "bench/run_pair.h"
#include "calendar/frm_input_data.h"
#include "frame/automation/locale.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "kalendo/kalendo.h"

namespace {

using ze::bench::Settle;

using zekalendo::FrmInputData;

class HostForm : public ze::ui::Form {};

FrmInputData* OpenCalendar() {
  for (ze::ui::Form* f : ze::ui::Desktop::OpenForms())
    if (auto* calendar = dynamic_cast<FrmInputData*>(f)) return calendar;
  return nullptr;
}

void BM_CalendarOpenToFirstFrame(benchmark::State& state) {
  ze::Locale::SetCurrent("it_IT");
  ze::qt::QtBackend backend;
  backend.Install();
  {
    auto form = ze::ui::NewForm<HostForm>();
    form->SetClientSize(4680, 3195);
    form->Move(4500, 3000, form->Width(), form->Height());
    ze::bench::CountingSite site;
    zekalendo::Kalendo control;
    control.SetSite(&site);
    form->Place(control, u"Kalendo1");
    control.Move(1680, 600, 1575, 315);
    control.InitNew();
    control.SetPopSelezione(true);
    control.Text1.SetText(u"15/08/2005");
    form->Show();
    backend.Sync();
    Settle();
    auto* button = qobject_cast<QPushButton*>(backend.WidgetOf(control.cmdpop));
    if (!button) {
      state.SkipWithError("no button widget");
    } else {
      QCursor::setPos(button->mapToGlobal(button->rect().center()));
      std::unique_ptr<QCalendarWidget> peer;
      qint64 painted = 0;
      ze::bench::RunPairWithReset(
          state, 1,
          [&] {
            QTest::mouseClick(button, Qt::LeftButton);
            backend.Sync();
            FrmInputData* calendar = OpenCalendar();
            QWidget* window = calendar ? backend.WidgetOf(*calendar) : nullptr;
            if (window) painted += window->grab().width();
          },
          [&] {
            peer = std::make_unique<QCalendarWidget>();
            peer->show();
            painted += peer->grab().width();
          },
          [&] {
            if (FrmInputData* calendar = OpenCalendar()) calendar->Unload();
            backend.Sync();
            Settle();
          },
          [&] {
            peer.reset();
            Settle();
          });
      benchmark::DoNotOptimize(painted);
      if (painted == 0) state.SkipWithError("nothing was painted");
    }
    ze::ui::Desktop::UnloadAll();
    backend.Sync();
  }
  backend.Uninstall();
}
BENCHMARK(BM_CalendarOpenToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

ZE_QT_BENCHMARK_MAIN()
