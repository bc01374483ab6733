// provix2's data control.
#include "sample/data/data_control.h"

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/ui/message_box.h"

namespace provix2 {

namespace {
constexpr float kButtonWidth = 345;

// A button of the bar: clicked, never focused.
class BarButton : public ze::ui::CommandButton {
 public:
  bool CanTakeFocus() const override { return false; }
};
}  // namespace

DataControl::DataControl()
    : cmdFirst(AddChild<BarButton>(u"cmdFirst")),
      cmdPrevious(AddChild<BarButton>(u"cmdPrevious")),
      cmdNext(AddChild<BarButton>(u"cmdNext")),
      cmdLast(AddChild<BarButton>(u"cmdLast")),
      caption_(&AddChild<ze::ui::Label>(u"lblCaption")) {
  cmdFirst.SetCaption(u"|<");
  cmdPrevious.SetCaption(u"<");
  cmdNext.SetCaption(u">");
  cmdLast.SetCaption(u">|");
  caption_->SetAlignment(2);  // centred
  caption_->SetBorderStyle(1);
  caption_->SetBackColor(0x80000005);
  cmdFirst.onClick = [this] { MoveFirst(); };
  cmdPrevious.onClick = [this] { MovePrevious(); };
  cmdNext.onClick = [this] { MoveNext(); };
  cmdLast.onClick = [this] { MoveLast(); };
  SetBarEnabled(false);
}

DataControl::~DataControl() = default;

void DataControl::UserControl_Paint() {
  const float w = ScaleWidth(), h = ScaleHeight();
  if (w < 4 * kButtonWidth || h <= 0) return;
  cmdFirst.Move(0, 0, kButtonWidth, h);
  cmdPrevious.Move(kButtonWidth, 0, kButtonWidth, h);
  caption_->Move(2 * kButtonWidth, 0, w - 4 * kButtonWidth, h);
  cmdNext.Move(w - 2 * kButtonWidth, 0, kButtonWidth, h);
  cmdLast.Move(w - kButtonWidth, 0, kButtonWidth, h);
}

int DataControl::Bind(ze::String field, ze::String property, Getter get, Setter set) {
  bound_.push_back({std::move(field), std::move(property), std::move(get), std::move(set)});
  return static_cast<int>(bound_.size()) - 1;
}

void DataControl::Report(const std::string& message) const {
  ze::ui::MsgBox(ze::FromUtf8(message), ze::ui::msgbox::kExclamation);
}

void DataControl::SetBarEnabled(bool enabled) {
  for (ze::ui::CommandButton* b : {&cmdFirst, &cmdPrevious, &cmdNext, &cmdLast}) {
    b->SetEnabled(enabled);
  }
}

ze::container::RecordSource& DataControl::Source() const {
  if (recordset_) return *recordset_;
  return *none_;
}

ze::container::DataBinding* DataControl::BindingAt(int binding) const {
  if (binding < 0 || binding >= static_cast<int>(bindings_.size())) return nullptr;
  return bindings_[static_cast<std::size_t>(binding)].get();
}

bool DataControl::Refresh() {
  bindings_.clear();
  recordset_.reset();
  SetBarEnabled(false);
  std::vector<std::string> fields;
  std::vector<ze::String> names;
  for (const BoundControl& b : bound_) {
    fields.push_back(ze::ToUtf8(b.field));
    names.push_back(b.field);
  }
  std::string failure;
  try {
    Recordset::CreateSampleIfMissing(databaseName_);
    recordset_ = std::make_unique<Recordset>(databaseName_, recordSource_, fields);
  } catch (const RecordsetError& e) {
    failure = e.what();
    none_ = std::make_unique<ze::container::Recordset>(std::move(names));
    none_->SetReadOnly(true);
  }
  for (const BoundControl& b : bound_) {
    auto binding =
        std::make_unique<ze::container::DataBinding>(Source(), b.field, b.property, b.get, b.set);
    binding->onRefused = [this, field = b.field](const ze::AutomationError& e) {
      Report("il campo \"" + ze::ToUtf8(field) +
             "\" non si può mostrare: " + ze::ToUtf8(e.description()));
    };
    bindings_.push_back(std::move(binding));
  }
  if (!recordset_) {
    ShowRecord();  // the bound controls show the empty date
    Report(failure);
    return false;
  }
  SetBarEnabled(true);
  ShowRecord();
  return true;
}

void DataControl::ShowRecord() {
  const bool current = Source().HasCurrent();
  for (const auto& binding : bindings_) {
    if (current) {
      binding->RecordChanged();
    } else {
      binding->ShowNull();
    }
  }
}

void DataControl::BoundPropertyChanged(int binding, std::u16string_view property) {
  if (auto* b = BindingAt(binding)) b->PropertyChanged(property);
}

bool DataControl::CanBoundPropertyChange(int binding, std::u16string_view property) const {
  const auto* b = BindingAt(binding);
  return b == nullptr || b->CanPropertyChange(property);
}

bool DataControl::UpdateRecord() {
  for (const auto& binding : bindings_) {
    if (binding->Stranded()) {
      Report("impossibile salvare le date digitate: non c'è un record corrente in cui scriverle.");
      return false;
    }
  }
  if (!recordset_ || !recordset_->Dirty()) return true;
  try {
    recordset_->Update();
    return true;
  } catch (const RecordsetError& e) {
    Report(std::string("impossibile salvare il record: ") + e.what() +
           "\nLe modifiche restano sul modulo.");
    return false;
  }
}

bool DataControl::Move(void (ze::container::RecordSource::*move)()) {
  if (!recordset_) return false;
  if (!UpdateRecord()) return false;
  try {
    (recordset_.get()->*move)();
    // Past either end, the bar stays on the last or the first record.
    if (!recordset_->HasCurrent() && recordset_->RecordCount() > 0) {
      if (recordset_->IsEOF()) {
        recordset_->MoveLast();
      } else {
        recordset_->MoveFirst();
      }
    }
  } catch (const RecordsetError& e) {
    Report(e.what());
    return false;
  }
  return true;
}

bool DataControl::MoveFirst() {
  return Move(&ze::container::RecordSource::MoveFirst);
}
bool DataControl::MovePrevious() {
  return Move(&ze::container::RecordSource::MovePrevious);
}
bool DataControl::MoveNext() {
  return Move(&ze::container::RecordSource::MoveNext);
}
bool DataControl::MoveLast() {
  return Move(&ze::container::RecordSource::MoveLast);
}

}  // namespace provix2
