// The Kalendo test host.
#include "tests/kalendo/kalendo_fixture.h"

#include "frame/ui/desktop.h"
#include "frame/ui/input.h"
#include "frame/ui/text_box.h"

namespace zekalendo::testing {

void KalendoTest::SetUp() {
  ze::Locale::SetCurrent("it_IT");
  backend_.Install();
  form_ = ze::ui::NewForm<HostForm>();
  form_->SetClientSize(6000, 4000);
}

void KalendoTest::TearDown() {
  ze::ui::Desktop::UnloadAll();
  control_.reset();
  form_.reset();
  backend_.Uninstall();
  ze::Locale::SetCurrent("it_IT");
}

Kalendo& KalendoTest::NewControl() {
  control_ = std::make_unique<Kalendo>();
  control_->SetSite(&site_);
  form_->Place(*control_, u"K1");
  other_ = &form_->AddChild<ze::ui::TextBox>(u"Altro");
  other_->Move(0, 1000, 1500, 315);
  control_->InitNew();
  form_->Show();
  other_->SetFocus();  // the field starts without the focus
  control_->Paint();
  initLog_ = site_.Take();
  return *control_;
}

void KalendoTest::SetField(std::u16string_view text) {
  control_->Text1.SetText(std::u16string(text));
  site_.Take();
}

void KalendoTest::FocusField() { control_->Text1.SetFocus(); }

void KalendoTest::Type(std::u16string_view text) { ze::ui::input::Type(text); }

void KalendoTest::Press(std::int16_t keyCode, std::int16_t shift) {
  ze::ui::input::Key(keyCode, shift);
}

void KalendoTest::Select(std::int32_t start, std::int32_t length) {
  control_->Text1.SetSelStart(start);
  control_->Text1.SetSelLength(length);
}

}  // namespace zekalendo::testing
