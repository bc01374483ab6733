// The numeric field's two hot paths against their peers in the same run:
//   a key typed into the field (the full-field test, the key filter with its two
//   zeUtilita look-ups, the text box's edit and the CambioValore that follows), beside
//   the same key typed into a plain text box;
//   the display picture of a value, beside std::to_chars with the same digits.
// Each key iteration types a digit and a Backspace, so the text stays as it was.
#include <benchmark/benchmark.h>

#include <charconv>
#include <memory>

#include "bench/common/counting_site.h"
#include "frame/automation/locale.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "frame/ui/text_box.h"
#include "numeric/ze_input_numerico.h"

namespace {

using ze::bench::CountingSite;

class Host : public ze::ui::Form {};

// Types "7" and Backspace into the field that has the focus, after "2005". done runs
// once the form is unloaded, while it still exists.
template <class Setup, class Done>
void TypeKeys(benchmark::State& state, Setup setup, Done done) {
  ze::Locale::SetCurrent("it_IT");
  ze::ui::HeadlessBackend backend;
  backend.Install();
  {
    auto form = ze::ui::NewForm<Host>();
    ze::ui::TextBox& field = setup(*form);
    form->Show();
    field.SetFocus();
    field.SetText(u"2005");
    field.SetSelStart(4);
    for (auto _ : state) {
      ze::ui::input::KeyPress(u'7');
      ze::ui::input::KeyPress(8);
    }
    if (field.Text() != u"2005") state.SkipWithError("the keys did not edit the field");
    state.SetItemsProcessed(state.iterations() * 2);
    form->Unload();
    done();
  }
  backend.Uninstall();
}

void BM_NumericFieldKey(benchmark::State& state) {
  CountingSite site;
  std::unique_ptr<zekalendo::ZEInputNumerico> numerico;
  TypeKeys(
      state,
      [&](Host& form) -> ze::ui::TextBox& {
        numerico = std::make_unique<zekalendo::ZEInputNumerico>();
        numerico->SetSite(&site);
        form.Place(*numerico, u"txtAnno");
        numerico->InitNew();
        numerico->SetMassimo(1e9);
        return numerico->txtnumero;
      },
      [&] { numerico.reset(); });
  if (site.events == 0) state.SkipWithError("no CambioValore");
}
BENCHMARK(BM_NumericFieldKey);

void BM_PlainTextBoxKey(benchmark::State& state) {
  TypeKeys(
      state,
      [](Host& form) -> ze::ui::TextBox& { return form.AddChild<ze::ui::TextBox>(u"Text1"); },
      [] {});
}
BENCHMARK(BM_PlainTextBoxKey);

constexpr double kValues[] = {1234.5, 2.999, -3, 0.125, 1900, 98765.4321, -0.5, 42};

void BM_DisplayPicture(benchmark::State& state) {
  ze::Locale::SetCurrent("it_IT");
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zekalendo::ZEInputNumerico::TestoVisualizzato(kValues[i++ & 7], 2));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplayPicture);

void BM_ToCharsFixed2(benchmark::State& state) {
  char buffer[64];
  std::size_t i = 0;
  for (auto _ : state) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer, kValues[i++ & 7],
                                std::chars_format::fixed, 2);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToCharsFixed2);

}  // namespace

BENCHMARK_MAIN();
