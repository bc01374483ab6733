// The raw text-box path: one typed key through KeyDown, KeyPress, the default insert
// and Change, as every keystroke in a date or numeric field takes it.
#include <benchmark/benchmark.h>

#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/text_box.h"

namespace {

using namespace ze::ui;

struct Field {
  Field() {
    backend.Install();
    form = NewForm<Form>();
    box = &form->AddChild<TextBox>(u"Text1");
    // Handlers as a component installs them: they look at the key and let it pass.
    box->onKeyDown = [this](std::int16_t& k, std::int16_t) { seen += k; };
    box->onKeyPress = [this](std::int16_t& k) { seen += k; };
    box->onChange = [this] { ++changes; };
    form->Show();
  }
  ~Field() {
    form->Unload();
    backend.Uninstall();
  }
  HeadlessBackend backend;
  std::shared_ptr<Form> form;
  TextBox* box = nullptr;
  long seen = 0;
  long changes = 0;
};

// A digit typed into the focused field through the input path.
void BM_TypeDigit(benchmark::State& state) {
  Field f;
  for (auto _ : state) {
    // Emptied now and then so the text stays short; one reset in 64 keys.
    if (f.box->Text().size() >= 64) f.box->SetText(u"");
    input::Type(u"7");
  }
  benchmark::DoNotOptimize(f.seen);
  state.counters["changes"] = static_cast<double>(f.changes);
}
BENCHMARK(BM_TypeDigit);

// A digit overwriting the selection of a ten-character date (the date field's case:
// the text stays the same length, every key changes it).
void BM_OverwriteInDate(benchmark::State& state) {
  Field f;
  f.box->SetText(u"25/12/2005");
  int pos = 0;
  for (auto _ : state) {
    f.box->SetSelStart(pos);
    f.box->SetSelLength(1);
    input::Type(pos % 2 ? u"1" : u"2");
    pos = (pos + 1) % 10;
  }
  benchmark::DoNotOptimize(f.seen);
}
BENCHMARK(BM_OverwriteInDate);

// The same key raised on the control directly, without the input path's lookup of the
// focus owner and key preview: what the dispatch itself costs.
void BM_RaiseKeyDirect(benchmark::State& state) {
  Field f;
  for (auto _ : state) {
    // Emptied now and then so the text stays short; one reset in 64 keys.
    if (f.box->Text().size() >= 64) f.box->SetText(u"");
    std::int16_t code = '7', ascii = '7';
    f.box->RaiseKeyDown(code, 0);
    f.box->RaiseKeyPress(ascii);
    f.box->RaiseKeyUp(code, 0);
  }
  benchmark::DoNotOptimize(f.seen);
}
BENCHMARK(BM_RaiseKeyDirect);

// Navigation keys (no edit, no Change): the KeyDown default path.
void BM_ArrowKeys(benchmark::State& state) {
  Field f;
  f.box->SetText(u"25/12/2005");
  bool left = false;
  for (auto _ : state) {
    input::Key(left ? keys::kLeft : keys::kRight);
    if (f.box->SelStart() == 10) left = true;
    if (f.box->SelStart() == 0) left = false;
  }
  benchmark::DoNotOptimize(f.seen);
}
BENCHMARK(BM_ArrowKeys);

}  // namespace

BENCHMARK_MAIN();
