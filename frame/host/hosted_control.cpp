// The host's side of a control created through the component frame.
#include "frame/host/hosted_control.h"

#include "frame/automation/error.h"
#include "frame/com/activation.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/font.h"

namespace ze::host {

using namespace ze::com;

std::unique_ptr<HostedControl> HostedControl::Create(std::u16string_view progIdOrClsid,
                                                     String name) {
  ComPtr<IDispatch> dispatch;
  if (FAILED(CreateObject(progIdOrClsid, &dispatch))) {
    Raise(errors::kCannotCreateObject,
          u"cannot create " + String(progIdOrClsid) + u": " + FromUtf8(LastActivationError()));
  }
  ComPtr<IZeControl> control;
  if (FAILED(dispatch->QueryInterface(IZeControl::kIid, reinterpret_cast<void**>(control.Put())))) {
    Raise(errors::kObjectRequired, String(progIdOrClsid) + u" is not a control");
  }
  return std::unique_ptr<HostedControl>(
      new HostedControl(std::move(name), std::move(dispatch), std::move(control)));
}

HostedControl::HostedControl(String name, ComPtr<IDispatch> dispatch, ComPtr<IZeControl> control)
    : name_(std::move(name)), dispatch_(std::move(dispatch)), control_(std::move(control)) {
  // The event names come from the class description, as a host's event browser finds them.
  ComPtr<IProvideClassInfo> provide;
  ComPtr<ITypeInfo> cls;
  if (SUCCEEDED(dispatch_->QueryInterface(IProvideClassInfo::kIid,
                                          reinterpret_cast<void**>(provide.Put()))) &&
      SUCCEEDED(provide->GetClassInfo(cls.Put()))) {
    TypeAttr attr;
    cls->GetTypeAttr(&attr);
    for (UINT i = 0; i < attr.cImplTypes; ++i) {
      int flags = 0;
      cls->GetImplTypeFlags(i, &flags);
      if (flags & IMPLTYPEFLAG_FSOURCE) {
        cls->GetImplTypeInfo(i, events_.Put());
      } else if (flags & IMPLTYPEFLAG_FDEFAULT) {
        cls->GetImplTypeInfo(i, members_.Put());
      }
    }
  }
  sink_ = MakeCom<EventSink>([this](DISPID id, std::span<Variant> args) {
    if (onEvent) onEvent(EventName(id), args);
  });
  sink_->Connect(dispatch_.Get());
  control_->SetClientSite(this);
}

HostedControl::~HostedControl() {
  if (sink_) sink_->Disconnect();
  control_->SetClientSite(nullptr);
}

String HostedControl::EventName(DISPID id) const {
  String name = FromUtf8(std::to_string(id));
  String help;
  if (events_) events_->GetDocumentation(id, &name, &help);
  return name;
}

void HostedControl::PlaceOn(ze::ui::Form& form) {
  form.Place(Widget(), name_);
}

void HostedControl::InitNew() {
  const HRESULT hr = control_->InitNew();
  Widget().Paint();
  RaiseIfFailed(hr);
}

void HostedControl::Load(container::PropertyBag& bag) {
  EXCEPINFO info;
  const HRESULT hr = control_->Load(bag, &info);
  Widget().Paint();
  RaiseIfFailed(hr, &info);
}

void HostedControl::Save(container::PropertyBag& bag) {
  EXCEPINFO info;
  RaiseIfFailed(control_->Save(bag, &info), &info);
}

Variant HostedControl::Get(std::u16string_view property) const {
  return GetProperty(dispatch_.Get(), property);
}

void HostedControl::Let(std::u16string_view property, const Variant& value) {
  if (value.Is<ObjectRef>()) {
    SetProperty(dispatch_.Get(), property, value);
  } else {
    LetProperty(dispatch_.Get(), property, value);
  }
}

Variant HostedControl::Call(std::u16string_view method, std::vector<Variant> args) {
  return CallMethod(dispatch_.Get(), method, std::move(args));
}

Variant HostedControl::Value() const {
  Variant result;
  EXCEPINFO info;
  RaiseIfFailed(TryInvoke(dispatch_.Get(), DISPID_VALUE, DISPATCH_PROPERTYGET, {}, &result, &info),
                &info);
  return result;
}

String HostedControl::DefaultBindProperty() const {
  if (!members_) return {};
  TypeAttr attr;
  members_->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    if (SUCCEEDED(members_->GetFuncDesc(i, &f)) && f.invkind == INVOKE_PROPERTYGET &&
        (f.flags & FUNCFLAG_FDEFAULTBIND)) {
      return f.name;
    }
  }
  return {};
}

void HostedControl::PropertyChanged(std::u16string_view name) {
  if (onPropertyChanged) onPropertyChanged(name);
}

bool HostedControl::CanPropertyChange(std::u16string_view name) {
  return onCanPropertyChange ? onCanPropertyChange(name) : true;
}

std::shared_ptr<container::Font> HostedControl::AmbientFont() {
  // A copy: a control keeps the font it is given and may change it (Font.Bold = True),
  // which must not change the form's font or another control's.
  if (ambientFont) return ambientFont->Clone();
  if (ze::ui::Form* form = Widget().ParentForm())
    if (auto font = form->GetFont()) return font->Clone();
  return container::DefaultFont();
}

std::optional<Variant> HostedControl::ExtenderProperty(std::u16string_view name) {
  for (const auto& [key, value] : extender) {
    if (SameMemberName(key, name)) return value;
  }
  // Every control on a form has these, whether the host set them or not.
  if (SameMemberName(name, u"ToolTipText")) return Variant(String());
  if (SameMemberName(name, u"Name")) return Variant(name_);
  return std::nullopt;
}

}  // namespace ze::host
