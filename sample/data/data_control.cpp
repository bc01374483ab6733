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

int DataControl::Bind(std::string field, Getter get, Setter set) {
  bindings_.push_back({std::move(field), std::move(get), std::move(set)});
  return static_cast<int>(bindings_.size()) - 1;
}

void DataControl::Report(const std::string& message) const {
  ze::ui::MsgBox(ze::FromUtf8(message), ze::ui::msgbox::kExclamation);
}

void DataControl::SetBarEnabled(bool enabled) {
  for (ze::ui::CommandButton* b : {&cmdFirst, &cmdPrevious, &cmdNext, &cmdLast}) {
    b->SetEnabled(enabled);
  }
}

bool DataControl::Refresh() {
  recordset_.reset();
  typedWithoutRecord_ = false;
  SetBarEnabled(false);
  std::vector<std::string> fields;
  for (const Binding& b : bindings_) fields.push_back(b.field);
  try {
    Recordset::CreateSampleIfMissing(databaseName_);
    recordset_ = std::make_unique<Recordset>(databaseName_, recordSource_, fields);
  } catch (const RecordsetError& e) {
    ShowRecord();  // the bound controls show the empty date
    Report(e.what());
    return false;
  }
  SetBarEnabled(true);
  ShowRecord();
  return true;
}

void DataControl::ShowRecord() {
  showing_ = true;
  for (const Binding& b : bindings_) {
    ze::Variant value = ze::Variant::Null();
    if (recordset_ && recordset_->HasCurrent() && recordset_->FieldIsDate(b.field)) {
      value = recordset_->Field(b.field);
    }
    // A stored value that is no date shows as the empty date; the record keeps it.
    try {
      b.set(value);
    } catch (const ze::AutomationError& e) {
      Report("il campo \"" + b.field + "\" non si può mostrare: " + ze::ToUtf8(e.description()));
    }
  }
  showing_ = false;
}

void DataControl::BoundPropertyChanged(int binding) {
  if (showing_) return;
  if (!recordset_ || !recordset_->HasCurrent()) {
    typedWithoutRecord_ = true;
    return;
  }
  if (binding < 0 || binding >= static_cast<int>(bindings_.size())) return;
  const Binding& b = bindings_[static_cast<std::size_t>(binding)];
  const ze::Variant value = b.get();
  // The empty date is stored as NULL.
  const bool empty = value.IsEmpty() || value.IsNull() ||
                     (value.Is<ze::Date>() && value.Get<ze::Date>().serial == 0);
  const ze::Variant stored = empty ? ze::Variant::Null() : ze::Variant(ze::CDate(value));
  // An unchanged value leaves the record alone; a stored value that is no date is
  // replaced only now, when the user has changed the field.
  recordset_->SetField(b.field, stored);
}

bool DataControl::UpdateRecord() {
  if (typedWithoutRecord_) {
    Report("impossibile salvare le date digitate: non c'è un record corrente in cui scriverle.");
    return false;
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

bool DataControl::Move(void (Recordset::*move)()) {
  if (!recordset_) return false;
  if (!UpdateRecord()) return false;
  try {
    (recordset_.get()->*move)();
  } catch (const RecordsetError& e) {
    Report(e.what());
    return false;
  }
  ShowRecord();
  return true;
}

bool DataControl::MoveFirst() {
  return Move(&Recordset::MoveFirst);
}
bool DataControl::MovePrevious() {
  return Move(&Recordset::MovePrevious);
}
bool DataControl::MoveNext() {
  return Move(&Recordset::MoveNext);
}
bool DataControl::MoveLast() {
  return Move(&Recordset::MoveLast);
}

}  // namespace provix2
