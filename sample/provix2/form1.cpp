// provix2's form: building it from its description, and its handlers.
#include "sample/provix2/form1.h"

#include <filesystem>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/ui/message_box.h"

namespace provix2 {

using ze::String;
using ze::Variant;
using ze::container::PropertyBag;
using ze::host::HostedControl;

namespace {

constexpr std::int32_t kBadFileFormat = 321;

[[noreturn]] void BadSetting(const ControlDescription& d, const String& key) {
  ze::Raise(kBadFileFormat, ze::FromUtf8("line " + std::to_string(d.line) + ": " +
                                         ze::ToUtf8(d.kind) + " " + ze::ToUtf8(d.name) +
                                         " has no setting '" + ze::ToUtf8(key) + "'"));
}

std::shared_ptr<ze::container::Font> FontOf(const Variant& v) {
  if (v.Is<ze::ObjectRef>()) {
    if (auto font = std::dynamic_pointer_cast<ze::container::Font>(v.Get<ze::ObjectRef>())) {
      return font->Clone();
    }
  }
  ze::Raise(ze::errors::kTypeMismatch, u"a Font is expected");
}

// The settings every control has on a form: its place, tab order and visibility.
bool ApplyPlace(ze::ui::Control& c, const String& key, const Variant& v) {
  if (key == u"Left") return c.SetLeft(ze::CSng(v)), true;
  if (key == u"Top") return c.SetTop(ze::CSng(v)), true;
  if (key == u"Width") return c.SetWidth(ze::CSng(v)), true;
  if (key == u"Height") return c.SetHeight(ze::CSng(v)), true;
  if (key == u"TabIndex") return c.SetTabIndex(ze::CInt(v)), true;
  if (key == u"Visible") return c.SetVisible(ze::CBool(v)), true;
  return false;
}

// The settings of the form's own intrinsic controls.
bool ApplyAppearance(ze::ui::Control& c, const String& key, const Variant& v) {
  if (ApplyPlace(c, key, v)) return true;
  if (key == u"Enabled") return c.SetEnabled(ze::CBool(v)), true;
  if (key == u"ToolTipText") return c.SetToolTipText(ze::CStr(v)), true;
  if (key == u"Font") return c.SetFont(FontOf(v)), true;
  if (key == u"BackColor") return c.SetBackColor(static_cast<std::uint32_t>(ze::CLng(v))), true;
  if (key == u"ForeColor") return c.SetForeColor(static_cast<std::uint32_t>(ze::CLng(v))), true;
  return false;
}

}  // namespace

Form1::Form1(const ControlDescription& description, std::string programFolder)
    : programFolder_(std::move(programFolder)) {
  Build(description);
  onLoad = [this] {
    Form_Load();
    // The data control opens its record source once the form has loaded.
    data1_->Refresh();
  };
  onUnload = [this](std::int16_t& cancel) { Form_Unload(cancel); };
  command1_->onClick = [this] { Command1_Click(); };
  kalendo1_->onEvent = [this](const String& event, std::span<Variant>) {
    if (event == u"DataNonValida") Kalendo1_DataNonValida();
    if (event == u"ReturnPress") Kalendo1_ReturnPress();
  };
  kalendo2_->onEvent = [this](const String& event, std::span<Variant>) {
    if (event == u"DataNonValida") Kalendo2_DataNonValida();
    if (event == u"ReturnPress") Kalendo2_ReturnPress();
  };
}

Form1::~Form1() {
  // The hosted controls go before the form's own children and the data control.
  hosted_.clear();
}

std::shared_ptr<Form1> Form1::FromDescriptionFile(const std::string& path,
                                                  const std::string& programFolder) {
  const ControlDescription description = LoadFormDescription(path);
  return ze::ui::NewForm<Form1>(description, programFolder);
}

void Form1::Build(const ControlDescription& description) {
  for (const auto& [key, value] : description.settings.Entries()) {
    if (key == u"Caption") {
      SetCaption(ze::CStr(value));
    } else if (key == u"ClientWidth") {
      SetClientSize(ze::CSng(value), ScaleHeight());
    } else if (key == u"ClientHeight") {
      SetClientSize(ScaleWidth(), ze::CSng(value));
    } else if (key == u"Font") {
      SetFont(FontOf(value));
    } else if (!ApplyPlace(*this, key, value)) {
      BadSetting(description, key);
    }
  }
  for (const ControlDescription& child : description.children) BuildControl(child);
  // Bound controls name their data control, which may stand after them in the file.
  for (const auto& control : hosted_) {
    const auto source = control->extender.find(u"DataSource");
    if (source != control->extender.end()) Bind(*control, {});
  }
  if (!kalendo1_ || !kalendo2_ || !command1_ || !data1_ || !label1_ || !label1_->Exists(1)) {
    ze::Raise(kBadFileFormat, u"the form lacks one of its controls");
  }
}

void Form1::BuildControl(const ControlDescription& d) {
  if (d.kind == u"Label") {
    ze::ui::Label* label = nullptr;
    if (d.name == u"Label1" && d.index >= 0) {
      if (!label1_) label1_ = std::make_unique<ze::ui::ControlArray<ze::ui::Label>>(*this, d.name);
      if (!label1_->Exists(d.index)) label1_->Load(d.index);
      label = &(*label1_)[d.index];
      label->SetVisible(true);
    } else {
      label = &AddChild<ze::ui::Label>(d.name);
    }
    for (const auto& [key, value] : d.settings.Entries()) {
      if (key == u"Caption") {
        label->SetCaption(ze::CStr(value));
      } else if (key == u"Alignment") {
        label->SetAlignment(ze::CInt(value));
      } else if (!ApplyAppearance(*label, key, value)) {
        BadSetting(d, key);
      }
    }
  } else if (d.kind == u"CommandButton") {
    auto& button = AddChild<ze::ui::CommandButton>(d.name);
    for (const auto& [key, value] : d.settings.Entries()) {
      if (key == u"Caption") {
        button.SetCaption(ze::CStr(value));
      } else if (!ApplyAppearance(button, key, value)) {
        BadSetting(d, key);
      }
    }
    if (d.name == u"Command1") command1_ = &button;
  } else if (d.kind == u"Data") {
    auto& data = AddChild<DataControl>(d.name);
    for (const auto& [key, value] : d.settings.Entries()) {
      if (key == u"Caption") {
        data.SetCaption(ze::CStr(value));
      } else if (key == u"DatabaseName") {
        data.SetDatabaseName(ze::ToUtf8(ze::CStr(value)));
      } else if (key == u"RecordSource") {
        data.SetRecordSource(ze::ToUtf8(ze::CStr(value)));
      } else if (key == u"Connect") {
        data.SetConnect(ze::ToUtf8(ze::CStr(value)));
      } else if (!ApplyPlace(data, key, value)) {
        BadSetting(d, key);
      }
    }
    data.Paint();
    if (d.name == u"Data1") data1_ = &data;
  } else if (d.kind.find(u'.') != String::npos || d.kind.starts_with(u"{")) {
    // A control of a component library, created through the registry. The container
    // keeps its place, tab order and binding; the rest is the control's saved state.
    std::unique_ptr<HostedControl> control = HostedControl::Create(d.kind, d.name);
    control->PlaceOn(*this);
    PropertyBag saved;
    for (const auto& [key, value] : d.settings.Entries()) {
      if (ApplyPlace(control->Widget(), key, value)) continue;
      if (key == u"DataSource" || key == u"DataField" || key == u"ToolTipText") {
        control->extender[key] = value;
      } else {
        saved.WriteProperty(key, value);
      }
    }
    control->Load(saved);
    if (d.name == u"Kalendo1") kalendo1_ = control.get();
    if (d.name == u"Kalendo2") kalendo2_ = control.get();
    hosted_.push_back(std::move(control));
  } else {
    ze::Raise(kBadFileFormat, ze::FromUtf8("line " + std::to_string(d.line) +
                                           ": unknown kind of control " + ze::ToUtf8(d.kind)));
  }
}

void Form1::Bind(HostedControl& control, const PropertyBag&) {
  const String source = ze::CStr(control.extender[u"DataSource"]);
  if (!data1_ || source != data1_->Name()) {
    ze::Raise(kBadFileFormat, u"no data control named " + source);
  }
  const String property = control.DefaultBindProperty();
  if (property.empty()) ze::Raise(kBadFileFormat, control.Name() + u" has no bindable property");
  const String field = ze::CStr(control.extender[u"DataField"]);
  const int binding = data1_->Bind(
      field, property,
      [&control, property] {
        // The empty date is stored as NULL.
        const Variant value = control.Get(property);
        const bool empty = value.IsEmpty() || value.IsNull() ||
                           (value.Is<ze::Date>() && value.Get<ze::Date>().serial == 0);
        return empty ? Variant::Null() : Variant(ze::CDate(value));
      },
      [&control, property](const Variant& v) {
        // The empty date travels as a NULL field and as a zero date; a stored value
        // that is no date shows as the empty date, and the record keeps it.
        control.Let(property, v.Is<ze::Date>() ? v : Variant(ze::Date(0)));
      });
  control.onPropertyChanged = [this, binding](std::u16string_view name) {
    data1_->BoundPropertyChanged(binding, name);
  };
  control.onCanPropertyChange = [this, binding](std::u16string_view name) {
    return data1_->CanBoundPropertyChange(binding, name);
  };
}

void Form1::Form_Load() {
  // The program's folder becomes the current one, so "provix2.db" is found there.
  std::error_code error;
  std::filesystem::current_path(programFolder_, error);
}

void Form1::Form_Unload(std::int16_t& cancel) {
  if (data1_->UpdateRecord()) return;
  const int answer = ze::ui::MsgBox(
      u"Chiudere comunque? Le modifiche non salvate andranno perse.",
      ze::ui::msgbox::kOkCancel | ze::ui::msgbox::kQuestion | ze::ui::msgbox::kDefaultButton2);
  if (answer != ze::ui::msgbox::kOk) cancel = 1;
}

void Form1::Command1_Click() {
  ze::ui::MsgBox(u"data iniziale: " + ze::CStr(kalendo1_->Value()) + u" data finale: " +
                 ze::CStr(kalendo2_->Value()));
}

void Form1::Kalendo1_DataNonValida() {
  ze::ui::MsgBox(u"data non valida");
  kalendo1_->Call(u"DelData");
}

void Form1::Kalendo2_DataNonValida() {
  ze::ui::MsgBox(u"data non valida");
  kalendo2_->Call(u"DelData");
}

void Form1::Kalendo1_ReturnPress() { kalendo2_->Widget().SetFocus(); }

void Form1::Kalendo2_ReturnPress() { kalendo1_->Widget().SetFocus(); }

}  // namespace provix2
