// Typing a whole date into an empty Kalendo through the ui layer's input path, with
// every handler, event and change notice a host receives, against the same keys typed
// into a plain text box (the platform's own cost per key) in the same run.
#include <benchmark/benchmark.h>

#include "bench/common/counting_site.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "frame/ui/text_box.h"
#include "kalendo/kalendo.h"

namespace {

using ze::bench::CountingSite;

class Host : public ze::ui::Form {};

constexpr std::u16string_view kDate = u"25122005";

void BM_KalendoTypeDate(benchmark::State& state) {
  ze::ui::HeadlessBackend backend;
  backend.Install();
  {
    auto form = ze::ui::NewForm<Host>();
    CountingSite site;
    zekalendo::Kalendo k;
    k.SetSite(&site);
    form->Place(k, u"K1");
    k.InitNew();
    form->Show();
    k.Text1.SetFocus();
    for (auto _ : state) {
      k.Text1.SetText(u"00/00/0000");  // an empty field, caret at 0
      ze::ui::input::Type(kDate);
    }
    if (k.Text1.Text() != u"25/12/2005") state.SkipWithError("wrong text");
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kDate.size()));
    state.counters["keys"] = static_cast<double>(kDate.size());
    form->Unload();
  }
  backend.Uninstall();
}
BENCHMARK(BM_KalendoTypeDate);

void BM_PlainTextBoxTypeDate(benchmark::State& state) {
  ze::ui::HeadlessBackend backend;
  backend.Install();
  {
    auto form = ze::ui::NewForm<Host>();
    auto& box = form->AddChild<ze::ui::TextBox>(u"Text1");
    long changes = 0;
    box.onChange = [&] { ++changes; };
    form->Show();
    box.SetFocus();
    for (auto _ : state) {
      box.SetText(u"");
      ze::ui::input::Type(kDate);
    }
    benchmark::DoNotOptimize(changes);
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kDate.size()));
    form->Unload();
  }
  backend.Uninstall();
}
BENCHMARK(BM_PlainTextBoxTypeDate);

}  // namespace

BENCHMARK_MAIN();
