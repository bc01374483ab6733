// provix2's data control.
#include "sample/data/data_control.h"

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/ui/message_box.h"
#include "sample/data/open_table.h"

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
    recordset_ = OpenTable(connect_, databaseName_, recordSource_, fields);
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
  return Save() != Saved::No;
}

DataControl::Saved DataControl::Save() {
  for (const auto& binding : bindings_) {
    if (binding->Stranded()) {
      Report("impossibile salvare le date digitate: non c'è un record corrente in cui scriverle.");
      return Saved::No;
    }
  }
  if (!recordset_ || !recordset_->Dirty()) return Saved::Yes;
  try {
    recordset_->Update();
    return Saved::Yes;
  } catch (const RecordConflict& conflict) {
    return ResolveConflict(conflict);
  } catch (const RecordsetError& e) {
    Report(std::string("impossibile salvare il record: ") + e.what() +
           "\nLe modifiche restano sul modulo.");
    return Saved::No;
  }
}

namespace {

// A field's value as the message shows it: a date as the date field shows it.
std::string Shown(const ze::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return "(vuoto)";
  if (value.Is<ze::Date>()) {
    const ze::Date d = value.Get<ze::Date>();
    const bool timed = ze::Hour(d) != 0 || ze::Minute(d) != 0 || ze::Second(d) != 0;
    return ze::ToUtf8(ze::Format(d, timed ? u"dd/mm/yyyy hh:nn:ss" : u"dd/mm/yyyy"));
  }
  return ze::ToUtf8(ze::CStr(value));
}

}  // namespace

DataControl::Saved DataControl::ResolveConflict(const RecordConflict& conflict) {
  const auto& names = recordset_->FieldNames();
  std::string prompt;
  if (conflict.kind() == RecordConflict::Kind::Changed) {
    prompt = "Un altro utente ha modificato questo record dopo che è stato letto.\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
      prompt += "\n" + ze::ToUtf8(names[i]) + ": nel database " + Shown(conflict.stored()[i]) +
                ", sul modulo " + Shown(recordset_->Field(names[i]));
    }
    prompt +=
        "\n\nSì: ricarica il record dal database (le modifiche del modulo vanno perse)."
        "\nNo: sovrascrivi il record con i valori del modulo."
        "\nAnnulla: torna al modulo senza salvare.";
  } else {
    prompt =
        "Questo record non esiste più nel database: un altro utente lo ha cancellato dopo che "
        "è stato letto.\n"
        "\nSì: ricarica (il record cancellato lascia il posto al successivo; le modifiche del "
        "modulo vanno perse)."
        "\nNo: salva di nuovo il record con i valori del modulo."
        "\nAnnulla: torna al modulo senza salvare.";
  }
  const int answer = ze::ui::MsgBox(ze::FromUtf8(prompt), ze::ui::msgbox::kYesNoCancel |
                                                              ze::ui::msgbox::kExclamation |
                                                              ze::ui::msgbox::kDefaultButton3);
  try {
    if (answer == ze::ui::msgbox::kYes) {
      recordset_->Reload();
      return Saved::Reloaded;
    }
    if (answer == ze::ui::msgbox::kNo) {
      recordset_->Overwrite();
      return Saved::Yes;
    }
  } catch (const RecordsetError& e) {
    Report(std::string("impossibile salvare il record: ") + e.what() +
           "\nLe modifiche restano sul modulo.");
  }
  return Saved::No;
}

bool DataControl::Move(void (ze::container::RecordSource::*move)()) {
  if (!recordset_) return false;
  // After a reload the user sees the record as it now is before going anywhere.
  if (Save() != Saved::Yes) return false;
  try {
    (recordset_.get()->*move)();
    // Past either end, the bar stays on the last or the first record.
    if (!recordset_->HasCurrent() && !(recordset_->IsBOF() && recordset_->IsEOF())) {
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
