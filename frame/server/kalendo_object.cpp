// Kalendo through the component frame: dispatch, events, class information and the
// host's side of the control.
#include "frame/server/kalendo_object.h"

#include <new>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/picture.h"
#include "frame/server/kalendo_resources.h"
#include "frame/server/kalendo_type_library.h"

namespace zekalendo {

using namespace ze::com;
using ze::Variant;

namespace {

// The chain of a resource, the current interface first (as a connection point wants it).
std::vector<IID> CurrentFirst(std::span<const std::uint8_t> resource) {
  std::vector<IID> chain = resources::ReadChain(resource);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

template <class T>
std::shared_ptr<T> ObjectArgument(const Variant& v) {
  if (v.Is<ze::ObjectRef>()) {
    const ze::ObjectRef& object = v.Get<ze::ObjectRef>();
    if (!object) return nullptr;
    if (auto typed = std::dynamic_pointer_cast<T>(object)) return typed;
  }
  ze::Raise(ze::errors::kTypeMismatch);
}

Variant ObjectResult(ze::ObjectRef object) {
  return Variant(std::move(object));
}

const char* const kSource = "zeKalendo.Kalendo";

HRESULT Guard(EXCEPINFO* error, const std::function<void()>& body) {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ResultFromException(std::current_exception(), error, ze::FromUtf8(kSource));
  }
}

}  // namespace

KalendoObject::KalendoObject(ServerModule& module)
    : module_(module),
      defaultChain_(resources::ReadChain(resources::IidKalendo())),
      events_(this, CurrentFirst(resources::SrcIidKalendo())) {
  control_.SetSite(this);
}

KalendoObject::~KalendoObject() {
  control_.SetSite(nullptr);
  events_.DisconnectAll();
}

HRESULT KalendoObject::Create(ServerModule& module, const IID& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ComPtr<KalendoObject> object = MakeCom<KalendoObject>(module);
  return object->QueryInterface(iid, out);
}

void* KalendoObject::FindInterface(const IID& iid) {
  // Hosts built against an earlier version ask by an older IID: same interface.
  for (const IID& older : defaultChain_) {
    if (iid == older) return static_cast<IKalendo*>(this);
  }
  return ComObject::FindInterface(iid);
}

const DispatchTable<KalendoObject>& KalendoObject::Dispatch() {
  static const DispatchTable<KalendoObject>* table = [] {
    namespace id = typelib::dispid;
    auto* t = new DispatchTable<KalendoObject>(InterfaceDescription{
        typelib::LibraryAttr(), typelib::InterfaceAttr(), typelib::InterfaceMembers()});
    t->SetSource(ze::FromUtf8(kSource));
    // The library's own _Kalendo, so that a host reaches the whole library from it.
    ComPtr<ITypeInfo> iface;
    typelib::TypeLibrary()->GetTypeInfoOfGuid(ids::kIidKalendo, iface.Put());
    t->UseTypeInfo(std::move(iface));
    auto k = [](KalendoObject& o) -> Kalendo& { return o.control_; };
    auto color = [](const Variant& v) { return static_cast<std::uint32_t>(ze::CLng(v)); };
    auto colorResult = [](std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); };

    t->BindGet(id::kBackColor, [=](KalendoObject& o) { return colorResult(k(o).BackColor()); });
    t->BindLet(id::kBackColor,
               [=](KalendoObject& o, const Variant& v) { k(o).SetBackColor(color(v)); });
    t->BindGet(id::kFont, [=](KalendoObject& o) { return ObjectResult(k(o).GetFont()); });
    t->BindSet(id::kFont, [=](KalendoObject& o, const Variant& v) {
      auto font = ObjectArgument<ze::container::Font>(v);
      if (!font) ze::Raise(ze::errors::kInvalidPropertyValue);
      k(o).SetFont(std::move(font));
    });
    t->BindGet(id::kForeColor, [=](KalendoObject& o) { return colorResult(k(o).ForeColor()); });
    t->BindLet(id::kForeColor,
               [=](KalendoObject& o, const Variant& v) { k(o).SetForeColor(color(v)); });
    t->BindGet(id::kLocked, [=](KalendoObject& o) { return Variant(k(o).Locked()); });
    t->BindLet(id::kLocked,
               [=](KalendoObject& o, const Variant& v) { k(o).SetLocked(ze::CBool(v)); });
    t->BindGet(id::kEnabled, [=](KalendoObject& o) { return Variant(k(o).Enabled()); });
    t->BindLet(id::kEnabled,
               [=](KalendoObject& o, const Variant& v) { k(o).SetEnabled(ze::CBool(v)); });
    t->BindGet(id::kMouseIcon, [=](KalendoObject& o) { return ObjectResult(k(o).MouseIcon()); });
    t->BindSet(id::kMouseIcon, [=](KalendoObject& o, const Variant& v) {
      k(o).SetMouseIcon(ObjectArgument<ze::container::Picture>(v));
    });
    t->BindGet(id::kMousePointer, [=](KalendoObject& o) {
      return Variant(static_cast<std::int16_t>(k(o).MousePointer()));
    });
    t->BindLet(id::kMousePointer,
               [=](KalendoObject& o, const Variant& v) { k(o).SetMousePointer(ze::CLng(v)); });
    t->BindGet(id::kText, [=](KalendoObject& o) { return Variant(k(o).Text()); });
    t->BindLet(id::kText, [=](KalendoObject& o, const Variant& v) { k(o).SetText(ze::CStr(v)); });
    t->BindGet(id::kValore, [=](KalendoObject& o) { return Variant(k(o).valore()); });
    t->BindLet(id::kValore,
               [=](KalendoObject& o, const Variant& v) { k(o).SetValore(ze::CDate(v)); });
    t->BindGet(id::kDataText, [=](KalendoObject& o) { return Variant(k(o).DataText()); });
    t->BindLet(id::kDataText, [=](KalendoObject& o, const Variant& v) {
      k(o).SetDataText(v.IsNull() ? ze::Date(0) : ze::CDate(v));  // a NULL field is no date
    });
    t->BindGet(id::kEvidenzia, [=](KalendoObject& o) { return Variant(k(o).Evidenzia()); });
    t->BindLet(id::kEvidenzia,
               [=](KalendoObject& o, const Variant& v) { k(o).SetEvidenzia(ze::CBool(v)); });
    t->BindGet(id::kPopSelezione, [=](KalendoObject& o) { return Variant(k(o).PopSelezione()); });
    t->BindLet(id::kPopSelezione,
               [=](KalendoObject& o, const Variant& v) { k(o).SetPopSelezione(ze::CBool(v)); });
    t->BindMethod(id::kDelData, [=](KalendoObject& o, std::span<Variant>) {
      k(o).DelData();
      return Variant();
    });
    t->BindMethod(id::kAboutBox, [=](KalendoObject& o, std::span<Variant>) {
      k(o).AboutBox();
      return Variant();
    });
    return t;
  }();
  return *table;
}

ComPtr<ITypeInfo> KalendoObject::ClassInfo() {
  ComPtr<ITypeInfo> info;
  typelib::TypeLibrary()->GetTypeInfoOfGuid(ids::kClsidKalendo, info.Put());
  return info;
}

HRESULT KalendoObject::FindConnectionPoint(const IID& iid, IConnectionPoint** out) {
  ConnectionPoint* points[] = {&events_};
  return FindConnectionPointIn(points, iid, out);
}

HRESULT KalendoObject::GetClassInfo(ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  ComPtr<ITypeInfo> info = ClassInfo();
  *out = info.Detach();
  return *out ? S_OK : E_FAIL;
}

HRESULT KalendoObject::SetClientSite(ze::ui::ControlSite* site) {
  host_ = site;
  return S_OK;
}

HRESULT KalendoObject::InitNew() {
  return Guard(nullptr, [this] { control_.InitNew(); });
}

HRESULT KalendoObject::Load(ze::container::PropertyBag& bag, EXCEPINFO* error) {
  return Guard(error, [&] { control_.Load(bag); });
}

HRESULT KalendoObject::Save(ze::container::PropertyBag& bag, EXCEPINFO* error) {
  return Guard(error, [&] { control_.Save(bag); });
}

void KalendoObject::PropertyChanged(std::u16string_view name) {
  if (host_) host_->PropertyChanged(name);
}

bool KalendoObject::CanPropertyChange(std::u16string_view name) {
  return host_ ? host_->CanPropertyChange(name) : true;
}

std::shared_ptr<ze::container::Font> KalendoObject::AmbientFont() {
  return host_ ? host_->AmbientFont() : ze::container::DefaultFont();
}

std::optional<Variant> KalendoObject::ExtenderProperty(std::u16string_view name) {
  return host_ ? host_->ExtenderProperty(name) : std::nullopt;
}

void KalendoObject::RaiseEvent(std::u16string_view eventName, std::vector<Variant>& args) {
  for (const FuncDesc& event : typelib::EventMembers()) {
    if (SameMemberName(event.name, eventName)) {
      // Keep the object alive while a host's handler runs: it may release its last
      // reference to the control from inside the event.
      ComPtr<KalendoObject> self(this);
      events_.Fire(event.memid, args);
      return;
    }
  }
}

}  // namespace zekalendo
