// The zeprova test container.
#include "tools/zeprova/prova_host.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/com/activation.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/server_exports.h"
#include "frame/com/type_info.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/font.h"
#include "frame/container/literal.h"
#include "frame/container/property_bag.h"
#include "frame/host/hosted_control.h"
#include "frame/system/dynamic_library.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/desktop.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/label.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"
#include "frame/ui/text_box.h"
#include "server/utilita_export.h"
#include "tools/zeprova/inner_control_object.h"

namespace zeprova {

using namespace ze::com;
using ze::String;
using ze::Variant;
using ze::container::FormatLiteral;

namespace {

// A name that a script gives a second control: the language's error for loading an
// object that is loaded already.
constexpr std::int32_t kObjectAlreadyLoaded = 360;

constexpr float kControlLeft = 120;
constexpr float kControlTop = 120;
constexpr float kControlSpacing = 120;

std::string U8(const String& s) {
  return ze::ToUtf8(s);
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return SameMemberName(a, b);
}

std::string Quoted(const String& s) {
  return U8(FormatLiteral(Variant(s)));
}

std::string Bool(bool b) {
  return b ? "True" : "False";
}

std::string Number(double v) {
  return U8(FormatLiteral(Variant(v)));
}

std::string Color(std::uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "&H%08X&", c);
  return text;
}

// A dispatch id: small ones in decimal, the large ones of a type library in hex.
std::string DispId(DISPID id) {
  if (id > -65536 && id < 65536) return std::to_string(id);
  char text[16];
  std::snprintf(text, sizeof text, "&H%08X", static_cast<std::uint32_t>(id));
  return text;
}

std::string Geometry(const ze::ui::Control& c) {
  return " left=" + Number(c.Left()) + " top=" + Number(c.Top()) + " width=" + Number(c.Width()) +
         " height=" + Number(c.Height());
}

// A value as the output shows it: its literal, or the object's class name.
std::string Shown(const Variant& v) {
  try {
    return U8(FormatLiteral(v));
  } catch (const ze::AutomationError&) {
    if (v.Is<ze::ObjectRef>() && v.Get<ze::ObjectRef>()) {
      return U8(v.Get<ze::ObjectRef>()->TypeName());
    }
    return "?";
  }
}

// The name of a form as scripts write it: its own name, else its class.
String FormName(ze::ui::Form& form) {
  return form.Name().empty() ? form.TypeName() : form.Name();
}

}  // namespace

// One control on the test form.
struct ProvaHost::Hosted {
  std::unique_ptr<ze::host::HostedControl> control;
  const String& name() const { return control->Name(); }
};

ProvaHost::ProvaHost(std::ostream& out, std::ostream& err) : out_(out), err_(err) {
  backend_.Install();
  backend_.SetInputDriver([this](ze::ui::Form&) { return RunNextLine(); });
  ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& box) {
    Print("msgbox " + std::to_string(box.style) + " " + Quoted(box.title) + " " +
          Quoted(box.prompt));
    return ze::ui::msgbox::kOk;
  });
  form_ = ze::ui::NewForm<ze::ui::Form>();
  form_->SetCaption(u"zeprova");
  form_->SetClientSize(9000, 6000);
  form_->Show();
}

ProvaHost::~ProvaHost() {
  ze::ui::Desktop::UnloadAll();
  controls_.clear();
  form_.reset();
  CoFreeUnusedLibraries();
  ze::ui::SetMessageBoxSink(nullptr);
  backend_.SetInputDriver(nullptr);
  backend_.Uninstall();
}

int ProvaHost::Run(const std::vector<String>& lines) {
  lines_ = lines;
  next_ = 0;
  while (!failed_ && RunNextLine()) {
  }
  return failed_ ? 1 : 0;
}

void ProvaHost::Print(const std::string& text) {
  out_ << text << '\n' << std::flush;
}

void ProvaHost::PrintError(std::int32_t number, const String& description) {
  Print("error " + std::to_string(number) + " " + Quoted(description));
}

bool ProvaHost::RunNextLine() {
  while (!failed_ && next_ < lines_.size()) {
    const std::size_t number = ++next_;
    const String& text = lines_[number - 1];
    const std::size_t first = text.find_first_not_of(u" \t\r");
    if (first == String::npos || text[first] == u'#') continue;  // blank or a comment
    std::string problem;
    auto line = SplitLine(text, &problem);
    if (!line) {
      err_ << "zeprova: line " << number << ": " << problem << '\n';
      failed_ = true;
      return false;
    }
    try {
      Execute(*line);
    } catch (const ParseError& e) {
      err_ << "zeprova: line " << number << ": " << e.message << '\n';
      failed_ = true;
      return false;
    } catch (const ze::AutomationError& e) {
      PrintError(e.number(), e.description());
    } catch (const std::exception& e) {
      // Not an error a script can go on after (memory, a broken invariant): the run
      // stops at the line, with its number.
      err_ << "zeprova: line " << number << ": " << e.what() << '\n';
      failed_ = true;
      return false;
    }
    return true;
  }
  return false;
}

std::string ProvaHost::Arity(const ScriptLine& line, std::size_t min, std::size_t max) const {
  const std::size_t args = line.words.size() - 1;
  if (args < min || args > max) {
    throw ParseError{"'" + U8(line.words[0].text) + "' takes " + std::to_string(min) +
                     (max != min ? (max > 50 ? " or more" : " to " + std::to_string(max)) : "") +
                     " arguments"};
  }
  return {};
}

Variant ProvaHost::ParseValue(const String& text) const {
  try {
    return ze::container::ParseLiteral(text);
  } catch (const ze::AutomationError& e) {
    throw ParseError{"bad value: " + U8(e.description())};
  }
}

void ProvaHost::Execute(const ScriptLine& line) {
  const String& command = line.words[0].text;
  auto is = [&](const char16_t* name) { return SameName(command, name); };
  auto word = [&](std::size_t i) -> const String& { return line.words[i].text; };
  auto integer = [&](std::size_t i) {
    const Variant v = ParseValue(word(i));
    if (!v.IsNumeric()) throw ParseError{"'" + U8(word(i)) + "' is not a number"};
    return ze::CLng(v);
  };

  if (is(u"register") || is(u"unregister")) {
    Arity(line, 1, 1);
    Register(line, is(u"unregister"));
  } else if (is(u"new")) {
    Arity(line, 2, 2);
    Create(line, false);
  } else if (is(u"load")) {
    Arity(line, 3, 3);
    Create(line, true);
  } else if (is(u"save")) {
    Arity(line, 2, 2);
    Save(line);
  } else if (is(u"set")) {
    if (line.words.size() < 4) throw ParseError{"'set' takes NAME PROP VALUE"};
    Set(line);
  } else if (is(u"get")) {
    Arity(line, 2, 2);
    Get(line);
  } else if (is(u"call")) {
    Arity(line, 2, 99);
    Call(line);
  } else if (is(u"util")) {
    Arity(line, 1, 99);
    Util(line);
  } else if (is(u"focus")) {
    Arity(line, 1, 1);
    ze::ui::Control& target = Resolve(word(1));
    ze::ui::input::Focus(target);
  } else if (is(u"type")) {
    Arity(line, 1, 1);
    const Variant v = ParseValue(word(1));
    if (!v.Is<String>()) throw ParseError{"'type' takes a string"};
    ze::ui::input::Type(v.Get<String>());
  } else if (is(u"key")) {
    Arity(line, 1, 1);
    PressKey(word(1));
  } else if (is(u"click") || is(u"rclick") || is(u"dblclick")) {
    Arity(line, 1, 1);
    ze::ui::Control& target = Resolve(word(1));
    if (is(u"click")) ze::ui::input::Click(target);
    if (is(u"rclick")) ze::ui::input::RightClick(target);
    if (is(u"dblclick")) ze::ui::input::DoubleClick(target);
  } else if (is(u"choose")) {
    Arity(line, 2, 2);
    auto* list = dynamic_cast<ze::ui::ComboBox*>(&Resolve(word(1)));
    if (list == nullptr) ze::Raise(ze::errors::kTypeMismatch, u"not a drop-down list");
    ze::ui::input::Choose(*list, integer(2));
  } else if (is(u"inspect")) {
    Arity(line, 1, 1);
    Inspect(line);
  } else if (is(u"wait")) {
    Arity(line, 1, 1);
    backend_.Advance(integer(1));
  } else if (is(u"clock")) {
    const Variant v = ParseValue(line.RestFrom(1));
    if (!v.Is<ze::Date>()) throw ParseError{"'clock' takes a date literal"};
    backend_.SetNow(v.Get<ze::Date>());
  } else if (is(u"screen")) {
    Arity(line, 2, 2);
    ze::ui::Screen::SetSizePixels(integer(1), integer(2));
  } else if (is(u"pointer")) {
    Arity(line, 2, 2);
    ze::ui::input::MovePointer(integer(1), integer(2));
  } else if (is(u"locale")) {
    Arity(line, 1, 1);
    ze::Locale::SetCurrent(U8(word(1)));
  } else if (is(u"refuse")) {
    Arity(line, 1, 1);
    refused_.insert(word(1));
  } else if (is(u"allow")) {
    Arity(line, 1, 1);
    std::erase_if(refused_, [&](const String& p) { return SameName(p, word(1)); });
  } else if (is(u"size")) {
    Arity(line, 3, 3);
    Hosted& c = Control(word(1));
    ze::ui::UserControl& widget = c.control->Widget();
    widget.SetWidth(static_cast<float>(integer(2)));
    widget.SetHeight(static_cast<float>(integer(3)));
    widget.Paint();
  } else if (is(u"windows")) {
    Arity(line, 0, 0);
    Windows();
  } else if (is(u"typeinfo")) {
    Arity(line, 1, 1);
    TypeInfo(line);
  } else {
    throw ParseError{"unknown command '" + U8(command) + "'"};
  }
}

void ProvaHost::Register(const ScriptLine& line, bool unregister) {
  const std::string path = U8(line.words[1].text);
  ze::system::DynamicLibrary library = ze::system::DynamicLibrary::Open(path);
  if (!library.is_loaded()) {
    ze::Raise(ze::errors::kFileNotFound,
              ze::FromUtf8("cannot load " + path + ": " + library.message()));
  }
  const char* exportName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto entry = library.Function<DllRegisterServerFn>(exportName);
  if (entry == nullptr) {
    ze::Raise(453, ze::FromUtf8(path + " has no " + exportName));
  }
  const HRESULT hr = entry();
  if (!unregister) library_path_ = path;
  if (FAILED(hr)) {
    const ResultError e = ErrorFromResult(hr, nullptr);
    PrintError(e.number, e.description);
    return;
  }
  Print("ok");
}

void ProvaHost::Create(const ScriptLine& line, bool fromBag) {
  const String& name = line.words[1].text;
  for (const auto& c : controls_) {
    if (SameName(c->name(), name)) {
      ze::Raise(kObjectAlreadyLoaded, u"a control named " + name + u" is loaded already");
    }
  }
  ze::container::PropertyBag bag;
  if (fromBag) bag.LoadFile(U8(line.words[3].text));

  auto hosted = std::make_unique<Hosted>();
  hosted->control = ze::host::HostedControl::Create(line.words[2].text, name);
  ze::host::HostedControl& control = *hosted->control;
  control.onPropertyChanged = [this, &control](std::u16string_view prop) {
    Print("changed " + U8(control.Name()) + " " + U8(String(prop)));
  };
  control.onCanPropertyChange = [this](std::u16string_view prop) {
    return std::none_of(refused_.begin(), refused_.end(),
                        [&](const String& refused) { return SameName(refused, prop); });
  };
  control.onEvent = [this, &control](const String& event, std::span<Variant> args) {
    std::string text = "event " + U8(control.Name()) + " " + U8(event);
    if (!args.empty()) {
      text += "(";
      for (std::size_t i = 0; i < args.size(); ++i) text += (i ? ", " : "") + Shown(args[i]);
      text += ")";
    }
    Print(text);
  };

  // Below the controls already placed.
  float top = kControlTop;
  for (const auto& c : controls_) {
    const auto& other = c->control->Widget();
    top = std::max(top, other.Top() + other.Height() + kControlSpacing);
  }
  control.PlaceOn(*form_);
  control.Widget().SetLeft(kControlLeft);
  control.Widget().SetTop(top);
  // Registered under its name only once restored: a bag the control refuses leaves no
  // half-restored control behind, and the name stays free.
  if (fromBag) {
    control.Load(bag);
  } else {
    control.InitNew();
  }
  controls_.push_back(std::move(hosted));
  Print("ok");
}

void ProvaHost::Save(const ScriptLine& line) {
  Hosted& c = Control(line.words[1].text);
  ze::container::PropertyBag bag;
  c.control->Save(bag);
  bag.SaveFile(U8(line.words[2].text));
  Print("ok");
}

void ProvaHost::Set(const ScriptLine& line) {
  Hosted& c = Control(line.words[1].text);
  const String& prop = line.words[2].text;
  Variant value = ParseValue(line.RestFrom(3));
  ze::ui::UserControl& widget = c.control->Widget();
  // Extender properties belong to the container, not to the control.
  if (SameName(prop, u"ToolTipText")) {
    c.control->extender[u"ToolTipText"] = Variant(ze::CStr(value));
    widget.Paint();
    return;
  }
  if (SameName(prop, u"Left")) return widget.SetLeft(ze::CSng(value));
  if (SameName(prop, u"Top")) return widget.SetTop(ze::CSng(value));
  if (SameName(prop, u"Width")) return widget.SetWidth(ze::CSng(value)), widget.Paint();
  if (SameName(prop, u"Height")) return widget.SetHeight(ze::CSng(value)), widget.Paint();
  if (SameName(prop, u"Visible")) return widget.SetVisible(ze::CBool(value));
  c.control->Let(prop, value);
}

void ProvaHost::Get(const ScriptLine& line) {
  Hosted& c = Control(line.words[1].text);
  const String& prop = line.words[2].text;
  const ze::ui::UserControl& widget = c.control->Widget();
  std::optional<Variant> value;
  if (SameName(prop, u"ToolTipText")) {
    auto tip = c.control->extender.find(u"ToolTipText");
    value = tip != c.control->extender.end() ? tip->second : Variant(String());
  }
  if (SameName(prop, u"Left")) value = Variant(static_cast<double>(widget.Left()));
  if (SameName(prop, u"Top")) value = Variant(static_cast<double>(widget.Top()));
  if (SameName(prop, u"Width")) value = Variant(static_cast<double>(widget.Width()));
  if (SameName(prop, u"Height")) value = Variant(static_cast<double>(widget.Height()));
  if (SameName(prop, u"Visible")) value = Variant(widget.Visible());
  if (!value) value = c.control->Get(prop);
  Print(U8(c.name()) + "." + U8(prop) + " = " + Shown(*value));
}

void ProvaHost::Call(const ScriptLine& line) {
  Hosted& c = Control(line.words[1].text);
  std::vector<Variant> args;
  for (std::size_t i = 3; i < line.words.size(); ++i)
    args.push_back(ParseValue(line.words[i].text));
  const Variant result = c.control->Call(line.words[2].text, std::move(args));
  if (!result.IsEmpty()) Print("= " + Shown(result));
}

IDispatch& ProvaHost::Utilita() {
  if (utilita_) return *utilita_.Get();
  if (library_path_.empty()) {
    ze::Raise(ze::errors::kCannotCreateObject, u"no library registered: 'util' needs one");
  }
  if (!library_.is_loaded()) library_ = ze::system::DynamicLibrary::Open(library_path_);
  auto create = library_.is_loaded()
                    ? library_.Function<zekalendo::CreaUtilitaFn>(zekalendo::kCreaUtilita)
                    : nullptr;
  if (create == nullptr) {
    ze::Raise(ze::errors::kCannotCreateObject,
              ze::FromUtf8(library_path_ + " offers no utility class"));
  }
  RaiseIfFailed(create(IID_IDispatch, utilita_.PutVoid()));
  return *utilita_.Get();
}

void ProvaHost::Util(const ScriptLine& line) {
  const String& routine = line.words[1].text;
  if (SameName(routine, u"new")) {
    Arity(line, 1, 1);
    utilita_ = nullptr;
    Utilita();
    Print("ok");
    return;
  }
  IDispatch& utilita = Utilita();
  // A word that is no literal names a control, for routines that take an object.
  std::vector<Variant> args;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    const String& word = line.words[i].text;
    try {
      args.push_back(ze::container::ParseLiteral(word));
    } catch (const ze::AutomationError&) {
      args.push_back(InnerControlObject(Resolve(word)));
    }
  }
  std::vector<std::string> before;
  for (const Variant& a : args) before.push_back(Shown(a));
  Variant result;
  EXCEPINFO info;
  RaiseIfFailed(TryInvokeByName(&utilita, routine, DISPATCH_METHOD, args, &result, &info), &info);
  if (!result.IsEmpty()) Print("= " + Shown(result));
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string after = Shown(args[i]);
    if (after != before[i]) Print("arg " + std::to_string(i + 1) + " = " + after);
  }
}

void ProvaHost::PressKey(const String& name) {
  String key = name;
  std::int16_t shiftState = 0;
  if (key.size() > 6 && SameName(key.substr(0, 6), u"Shift+")) {
    shiftState = ze::ui::shift::kShift;
    key = key.substr(6);
  }
  namespace keys = ze::ui::keys;
  static const std::pair<const char16_t*, std::int16_t> kKeys[] = {
      {u"Enter", keys::kReturn},   {u"Tab", keys::kTab},       {u"Escape", keys::kEscape},
      {u"Backspace", keys::kBack}, {u"Delete", keys::kDelete}, {u"Left", keys::kLeft},
      {u"Right", keys::kRight},    {u"Up", keys::kUp},         {u"Down", keys::kDown},
      {u"Home", keys::kHome},      {u"End", keys::kEnd}};
  for (const auto& [keyName, code] : kKeys) {
    if (SameName(key, keyName)) {
      ze::ui::input::Key(code, shiftState);
      return;
    }
  }
  throw ParseError{"unknown key '" + U8(name) + "'"};
}

ProvaHost::Hosted& ProvaHost::Control(const String& name) {
  for (auto& c : controls_) {
    if (SameName(c->name(), name)) return *c;
  }
  ze::Raise(ze::errors::kObjectRequired, u"no control named " + name);
}

ze::ui::Control& ProvaHost::Resolve(const String& path) {
  // NAME or a form's name, then .inner steps; an array element is name(index).
  std::vector<String> steps;
  std::size_t from = 0;
  while (true) {
    const std::size_t dot = path.find(u'.', from);
    steps.push_back(path.substr(from, dot == String::npos ? String::npos : dot - from));
    if (dot == String::npos) break;
    from = dot + 1;
  }
  auto split = [&](const String& step, String* name, int* index) {
    *index = -1;
    *name = step;
    const std::size_t open = step.find(u'(');
    if (open != String::npos) {
      if (step.back() != u')') throw ParseError{"bad path '" + U8(path) + "'"};
      *name = step.substr(0, open);
      const Variant v = ParseValue(step.substr(open + 1, step.size() - open - 2));
      if (!v.IsNumeric()) throw ParseError{"bad index in '" + U8(path) + "'"};
      *index = ze::CInt(v);
    }
  };
  String first;
  int index = -1;
  split(steps[0], &first, &index);
  ze::ui::Control* current = nullptr;
  for (auto& c : controls_) {
    if (SameName(c->name(), first)) current = &c->control->Widget();
  }
  if (current == nullptr) {
    // A form's name means its newest open instance.
    ze::ui::Form* newest = nullptr;
    for (ze::ui::Form* form : ze::ui::Desktop::OpenForms()) {
      const String name = form == form_.get() ? String(u"Prova") : FormName(*form);
      if (SameName(name, first) && (!newest || form->LoadSerial() > newest->LoadSerial())) {
        newest = form;
      }
    }
    current = newest;
  }
  if (current == nullptr) {
    ze::Raise(ze::errors::kObjectRequired, u"no control or form named " + first);
  }
  for (std::size_t i = 1; i < steps.size(); ++i) {
    String name;
    split(steps[i], &name, &index);
    ze::ui::Control* child = current->FindChild(name, index);
    if (child == nullptr) {
      ze::Raise(ze::errors::kObjectRequired, u"no control " + steps[i] + u" in " + path);
    }
    current = child;
  }
  return *current;
}

void ProvaHost::Inspect(const ScriptLine& line) {
  const String& path = line.words[1].text;
  ze::ui::Control& c = Resolve(path);
  std::string text = U8(path);
  if (auto* box = dynamic_cast<ze::ui::TextBox*>(&c)) {
    text += " text=" + Quoted(box->Text()) + " sel=" + std::to_string(box->SelStart()) + "," +
            std::to_string(box->SelLength()) + " locked=" + Bool(box->Locked()) +
            " enabled=" + Bool(box->Enabled()) + " visible=" + Bool(box->Visible()) + Geometry(c);
  } else if (auto* label = dynamic_cast<ze::ui::Label*>(&c)) {
    text += " caption=" + Quoted(label->Caption()) + " back=" + Color(label->BackColor()) +
            " fore=" + Color(label->ForeColor()) + " visible=" + Bool(label->Visible()) +
            Geometry(c);
  } else if (auto* button = dynamic_cast<ze::ui::CommandButton*>(&c)) {
    text += " caption=" + Quoted(button->Caption()) + " enabled=" + Bool(button->Enabled()) +
            " visible=" + Bool(button->Visible()) + Geometry(c);
  } else if (auto* list = dynamic_cast<ze::ui::ComboBox*>(&c)) {
    text += " index=" + std::to_string(list->ListIndex()) + " text=" + Quoted(list->Text()) +
            " count=" + std::to_string(list->ListCount());
  } else if (auto* form = dynamic_cast<ze::ui::Form*>(&c)) {
    text += " caption=" + Quoted(form->Caption()) + " visible=" + Bool(form->Visible()) +
            " active=" + Bool(form->IsActive()) + Geometry(c);
  } else {
    text += " visible=" + Bool(c.Visible()) + Geometry(c);
  }
  Print(text);
}

void ProvaHost::Windows() {
  for (ze::ui::Form* form : ze::ui::Desktop::OpenForms()) {
    const String name = form == form_.get() ? String(u"Prova") : FormName(*form);
    Print("window " + U8(name) + " " + Quoted(form->Caption()) + " " +
          (form->IsActive() ? "active" : "inactive"));
  }
}

void ProvaHost::TypeInfo(const ScriptLine& line) {
  ComPtr<IDispatch> object;
  if (FAILED(CreateObject(line.words[1].text, &object))) {
    ze::Raise(
        ze::errors::kCannotCreateObject,
        ze::FromUtf8("cannot create " + U8(line.words[1].text) + ": " + LastActivationError()));
  }
  ComPtr<ITypeInfo> cls;
  if (FAILED(GetClassInfoOf(object.Get(), cls.Put()))) {
    ze::Raise(ze::errors::kMemberNotSupported, u"the object does not describe its class");
  }
  TypeAttr attr;
  cls->GetTypeAttr(&attr);
  auto typeName = [](const TypeDesc& t) {
    const String name = ze::com::TypeName(t);
    return name.empty() ? std::string("void") : U8(name);
  };
  auto kindName = [](INVOKEKIND kind) {
    switch (kind) {
      case INVOKE_PROPERTYGET:
        return "get";
      case INVOKE_PROPERTYPUT:
        return "let";
      case INVOKE_PROPERTYPUTREF:
        return "set";
      default:
        return "method";
    }
  };
  for (int pass = 0; pass < 2; ++pass) {  // the members first, then the events
    for (UINT i = 0; i < attr.cImplTypes; ++i) {
      int flags = 0;
      cls->GetImplTypeFlags(i, &flags);
      if (!(flags & IMPLTYPEFLAG_FDEFAULT) ||
          ((flags & IMPLTYPEFLAG_FSOURCE) != 0) != (pass == 1)) {
        continue;
      }
      ComPtr<ITypeInfo> iface;
      cls->GetImplTypeInfo(i, iface.Put());
      TypeAttr ia;
      iface->GetTypeAttr(&ia);
      for (UINT m = 0; m < ia.cFuncs; ++m) {
        FuncDesc f;
        iface->GetFuncDesc(m, &f);
        if (pass == 0) {
          Print("member " + DispId(f.memid) + " " + U8(f.name) + " " + kindName(f.invkind) + " " +
                typeName(f.type) + " " + Quoted(f.help));
        } else {
          Print("event " + DispId(f.memid) + " " + U8(f.name) + " " + Quoted(f.help));
        }
      }
    }
  }
}

}  // namespace zeprova
