// Kalendo through the component frame: dispatch, events, class information and the
// host's side of the control.
#include "server/kalendo_object.h"

#include <functional>
#include <new>
#include <span>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/com/coerce.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/picture.h"
#include "server/kalendo_resources.h"
#include "server/kalendo_type_library.h"

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

// _Kalendo's vtable entries go through Invoke, so both ways share one behaviour.
// The values cross between the interface's types and Variants here.
Variant AsVariant(OLE_COLOR c) {
  return Variant(static_cast<std::int32_t>(c));
}
Variant AsVariant(VARIANT_BOOL b) {
  return Variant(b != VARIANT_FALSE);
}
Variant AsVariant(MousePointerConstants p) {
  return Variant(static_cast<std::int16_t>(p));
}
template <class T>  // String, Date, ObjectRef
Variant AsVariant(T value) {
  return Variant(std::move(value));
}

template <class Held, class T, class Convert = std::identity>
HRESULT Take(const Variant& v, VARTYPE vt, T* out, Convert convert = {}) {
  Variant held;
  const HRESULT hr = CoerceTo(v, vt, &held);
  if (SUCCEEDED(hr)) *out = static_cast<T>(convert(held.Get<Held>()));
  return hr;
}
HRESULT FromVariant(const Variant& v, OLE_COLOR* out) {
  return Take<std::int32_t>(v, VT_I4, out);
}
HRESULT FromVariant(const Variant& v, VARIANT_BOOL* out) {
  return Take<bool>(v, VT_BOOL, out, [](bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; });
}
HRESULT FromVariant(const Variant& v, MousePointerConstants* out) {
  return Take<std::int16_t>(v, VT_I2, out);
}
HRESULT FromVariant(const Variant& v, ze::String* out) {
  return Take<ze::String>(v, VT_BSTR, out);
}
HRESULT FromVariant(const Variant& v, ze::Date* out) {
  return Take<ze::Date>(v, VT_DATE, out);
}
HRESULT FromVariant(const Variant& v, ze::ObjectRef* out) {
  return Take<ze::ObjectRef>(v, VT_DISPATCH, out);
}

HRESULT ThroughInvoke(IDispatch* self, DISPID id, WORD flags, std::span<Variant> args,
                      Variant* result) {
  EXCEPINFO info;
  return ResultForVtable(TryInvoke(self, id, flags, args, result, &info), info);
}

template <class T>
HRESULT GetThroughInvoke(IDispatch* self, DISPID id, T* value) {
  if (value == nullptr) return E_POINTER;
  *value = T{};
  Variant result;
  const HRESULT hr = ThroughInvoke(self, id, DISPATCH_PROPERTYGET, {}, &result);
  return FAILED(hr) ? hr : FromVariant(result, value);
}

template <class T>
HRESULT PutThroughInvoke(IDispatch* self, DISPID id, WORD flags, T value) {
  Variant arg = AsVariant(std::move(value));
  return ThroughInvoke(self, id, flags, std::span<Variant>(&arg, 1), nullptr);
}

// The Invoke flags for the third column of ZE_KALENDO_PROPERTIES.
constexpr WORD kWrite_put = DISPATCH_PROPERTYPUT;
constexpr WORD kWrite_putref = DISPATCH_PROPERTYPUTREF;

}  // namespace

#define ZE_KALENDO_DEFINE_PROPERTY(name, type, write, id)                                 \
  HRESULT KalendoObject::get_##name(type* value) {                                        \
    return GetThroughInvoke(this, typelib::dispid::id, value);                            \
  }                                                                                       \
  HRESULT KalendoObject::write##_##name(type value) {                                     \
    return PutThroughInvoke(this, typelib::dispid::id, kWrite_##write, std::move(value)); \
  }
#define ZE_KALENDO_DEFINE_METHOD(name, id)                                         \
  HRESULT KalendoObject::name() {                                                  \
    return ThroughInvoke(this, typelib::dispid::id, DISPATCH_METHOD, {}, nullptr); \
  }
ZE_KALENDO_PROPERTIES(ZE_KALENDO_DEFINE_PROPERTY)
ZE_KALENDO_METHODS(ZE_KALENDO_DEFINE_METHOD)
#undef ZE_KALENDO_DEFINE_PROPERTY
#undef ZE_KALENDO_DEFINE_METHOD

HRESULT KalendoObject::InterfaceSupportsErrorInfo(const IID& iid) {
  if (iid == IKalendo::kIid) return S_OK;
  for (const IID& older : defaultChain_) {
    if (iid == older) return S_OK;
  }
  return S_FALSE;
}

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
    t->BindLet(id::kDataText,
               [=](KalendoObject& o, const Variant& v) { k(o).SetDataText(ze::CDate(v)); });
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
