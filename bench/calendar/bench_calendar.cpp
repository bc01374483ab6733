// The calendar popup on the headless backend: what a click on Kalendo's button costs up
// to the open calendar (Form_Load, the month list, the first ImpostaData and its 42
// cells), and what one month's move costs once it is open (goal: under 20 us).
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/common/counting_site.h"
#include "calendar/frm_input_data.h"
#include "frame/automation/date_serial.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "kalendo/kalendo.h"

namespace {

using ze::bench::CountingSite;
using zekalendo::FrmInputData;

class Host : public ze::ui::Form {};

FrmInputData* OpenCalendar() {
  for (ze::ui::Form* f : ze::ui::Desktop::OpenForms())
    if (auto* calendar = dynamic_cast<FrmInputData*>(f)) return calendar;
  return nullptr;
}

// A shown form with one Kalendo whose button is on, holding 15/08/2005.
struct Field {
  Field() {
    backend.Install();
    backend.SetNow(ze::DateSerial(2024, 3, 10));
    form = ze::ui::NewForm<Host>();
    control.SetSite(&site);
    form->Place(control, u"Kalendo1");
    control.InitNew();
    control.SetPopSelezione(true);
    control.Text1.SetText(u"15/08/2005");
    form->Show();
  }
  ~Field() {
    ze::ui::Desktop::UnloadAll();
    backend.Uninstall();
  }
  ze::ui::HeadlessBackend backend;
  std::shared_ptr<Host> form;
  CountingSite site;
  zekalendo::Kalendo control;
};

void BM_CalendarOpenHeadless(benchmark::State& state) {
  Field field;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    ze::ui::input::Click(field.control.cmdpop);
    const auto t1 = Clock::now();
    FrmInputData* calendar = OpenCalendar();
    if (!calendar) {
      state.SkipWithError("the calendar did not open");
      break;
    }
    calendar->Unload();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
}
BENCHMARK(BM_CalendarOpenHeadless)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One month's move per iteration, a click on ">" and then on "<" in turn, so the shown
// month stays at August or September 2005 whatever the count.
void BM_CalendarMonthMoveHeadless(benchmark::State& state) {
  Field field;
  ze::ui::input::Click(field.control.cmdpop);
  FrmInputData* calendar = OpenCalendar();
  if (!calendar) {
    state.SkipWithError("the calendar did not open");
    return;
  }
  bool forward = true;
  for (auto _ : state) {
    ze::ui::input::Click(forward ? calendar->cmdSuccessivo : calendar->cmdPrecedente);
    forward = !forward;
  }
  const int month = calendar->cboMese.ListIndex();
  if (month != 7 && month != 8) state.SkipWithError("the month drifted");
}
BENCHMARK(BM_CalendarMonthMoveHeadless);

}  // namespace

BENCHMARK_MAIN();
