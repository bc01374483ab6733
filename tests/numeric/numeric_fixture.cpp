// The ZEInputNumerico test host.
#include "tests/numeric/numeric_fixture.h"

#include "frame/automation/convert.h"
#include "frame/automation/string.h"
#include "frame/ui/desktop.h"
#include "frame/ui/input.h"

namespace zekalendo::testing {

void NumericTest::SetUp() {
  ze::Locale::SetCurrent("it_IT");
  backend_.Install();
  form_ = ze::ui::NewForm<NumericHostForm>();
  form_->SetClientSize(6000, 4000);
  // Each event's line carries its value, as the host received it.
  site_.onEvent = [this](std::u16string_view, std::vector<ze::Variant>& args) {
    if (!args.empty()) site_.log.back() += " " + ze::ToUtf8(ze::CStr(args[0]));
  };
}

void NumericTest::TearDown() {
  ze::ui::Desktop::UnloadAll();
  control_.reset();
  form_.reset();
  backend_.Uninstall();
  ze::Locale::SetCurrent("it_IT");
}

ZEInputNumerico& NumericTest::NewControl() {
  control_ = std::make_unique<ZEInputNumerico>();
  control_->SetSite(&site_);
  form_->Place(*control_, u"txtAnno");
  control_->Move(0, 0, 1200, 315);
  other_ = &form_->AddChild<ze::ui::TextBox>(u"Altro");
  other_->Move(0, 1000, 1500, 315);
  control_->InitNew();
  form_->Show();
  other_->SetFocus();
  site_.Take();
  return *control_;
}

void NumericTest::SetField(std::u16string_view text) {
  control_->txtnumero.SetText(std::u16string(text));
  site_.Take();
}

void NumericTest::FocusAtEnd() {
  ze::ui::input::Focus(control_->txtnumero);
  control_->txtnumero.SetSelStart(static_cast<std::int32_t>(FieldText().size()));
  site_.Take();
}

void NumericTest::Type(std::u16string_view text) {
  ze::ui::input::Type(text);
}

void NumericTest::Leave() {
  ze::ui::input::Focus(*other_);
}

double NumericTest::ValueOf(const Log& log, const std::string& event) {
  const std::string prefix = "event " + event + " ";
  for (const std::string& line : log) {
    if (line.rfind(prefix, 0) == 0) return ze::CDbl(ze::FromUtf8(line.substr(prefix.size())));
  }
  ADD_FAILURE() << "no event " << event;
  return 0;
}

}  // namespace zekalendo::testing
