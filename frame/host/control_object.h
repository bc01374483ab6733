// ControlObject: the glue that makes a widget a control object hosts can embed.
//
// A control class of a component library derives from
//   ControlObject<Derived, Interface, Control>
// where Interface is its dual default interface (made with ZE_MEMBER_VTABLE) and
// Control its widget (a ui::UserControl), and provides two statics:
//   static const DispatchTable<Derived>& Dispatch();   the members (ZE_MEMBER_BIND)
//   static const ControlClass& Class();                  what is said below
// Everything else is written here once, for every control:
//   dispatch                  Interface's IDispatch half through Derived's table;
//                             every earlier IID of the default interface gives it
//   connection points         the event interface, to sinks advised under any IID
//                             of its chain; the widget raises an event by name
//   IProvideClassInfo         the class description, where hosts find the events
//   ISupportErrorInfo         yes for the default interface under any of its IIDs,
//                             whose vtable entries leave error information
//   IZeControl                the host's site, InitNew, the property bag, the widget;
//                             a failure in the widget comes back as DISP_E_EXCEPTION
//                             with the class's source, never as an escaped exception
//   the widget's site         change notices, CanPropertyChange, the ambient font and
//                             the extender go on to the host's site (defaults without
//                             one)
// A new control (ZEInputNumerico, say) is its member table, its Class() and a
// class deriving from this one with a constructor taking the ServerModule.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/com/com_object.h"
#include "frame/com/connection_points.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/error_info.h"
#include "frame/com/inproc_server.h"
#include "frame/com/type_info.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/font.h"
#include "frame/host/ole_control.h"

namespace ze::host {

// What a control class says about itself, once per class.
struct ControlClass {
  // The source named in the error information of a failed call ("zeKalendo.Kalendo").
  String source;
  // The IIDs the default interface also answers to: its earlier versions.
  std::vector<com::IID> olderIids;
  // The event interface's IIDs, the current one first.
  std::vector<com::IID> eventIids;
  // The event interface's members: an event raised by name fires its dispatch id.
  std::vector<com::FuncDesc> events;
  // The class description (a coclass) IProvideClassInfo answers.
  com::ComPtr<com::ITypeInfo> classInfo;
};

template <class Derived, class Interface, class Control>
class ControlObject
    : public com::ComObject<com::DispatchImpl<Derived, Interface>, com::IConnectionPointContainer,
                            com::IProvideClassInfo, com::ISupportErrorInfo, IZeControl>,
      private ui::ControlSite {
  using Base = com::ComObject<com::DispatchImpl<Derived, Interface>, com::IConnectionPointContainer,
                              com::IProvideClassInfo, com::ISupportErrorInfo, IZeControl>;

 public:
  // Creates one and returns its interface `iid`.
  static com::HRESULT Create(com::ServerModule& module, const com::IID& iid, void** out) {
    if (out == nullptr) return com::E_POINTER;
    *out = nullptr;
    com::ComPtr<Derived> object = com::MakeCom<Derived>(module);
    return object->QueryInterface(iid, out);
  }

  Control& control() { return control_; }

  // IConnectionPointContainer
  com::HRESULT FindConnectionPoint(const com::IID& iid, com::IConnectionPoint** out) override {
    com::ConnectionPoint* points[] = {&events_};
    return com::FindConnectionPointIn(points, iid, out);
  }
  // IProvideClassInfo
  com::HRESULT GetClassInfo(com::ITypeInfo** out) override {
    if (out == nullptr) return com::E_POINTER;
    *out = com::ComPtr<com::ITypeInfo>(Derived::Class().classInfo).Detach();
    return *out ? com::S_OK : com::E_FAIL;
  }
  // ISupportErrorInfo
  com::HRESULT InterfaceSupportsErrorInfo(const com::IID& iid) override {
    return IsDefaultInterface(iid) ? com::S_OK : com::S_FALSE;
  }
  // IZeControl
  com::HRESULT SetClientSite(ui::ControlSite* site) override {
    host_ = site;
    return com::S_OK;
  }
  com::HRESULT InitNew() override {
    return Guard(nullptr, [this] { control_.InitNew(); });
  }
  com::HRESULT Load(container::PropertyBag& bag, com::EXCEPINFO* error) override {
    return Guard(error, [&] { control_.Load(bag); });
  }
  com::HRESULT Save(container::PropertyBag& bag, com::EXCEPINFO* error) override {
    return Guard(error, [&] { control_.Save(bag); });
  }
  ui::UserControl* Widget() override { return &control_; }

 protected:
  explicit ControlObject(com::ServerModule& module)
      : module_(module), events_(this, Derived::Class().eventIids) {
    control_.SetSite(this);
  }
  ~ControlObject() override {
    control_.SetSite(nullptr);
    events_.DisconnectAll();
  }

  void* FindInterface(const com::IID& iid) override {
    // Hosts built against an earlier version ask by an older IID: same interface.
    if (IsDefaultInterface(iid)) return static_cast<Interface*>(this);
    return Base::FindInterface(iid);
  }

 private:
  static bool IsDefaultInterface(const com::IID& iid) {
    if (iid == Interface::kIid) return true;
    for (const com::IID& older : Derived::Class().olderIids) {
      if (iid == older) return true;
    }
    return false;
  }

  template <class Body>
  static com::HRESULT Guard(com::EXCEPINFO* error, Body&& body) {
    try {
      body();
      return com::S_OK;
    } catch (...) {
      return com::ResultFromException(std::current_exception(), error, Derived::Class().source);
    }
  }

  // ControlSite: what the widget asks of its host.
  void PropertyChanged(std::u16string_view name) override {
    if (host_) host_->PropertyChanged(name);
  }
  bool CanPropertyChange(std::u16string_view name) override {
    return host_ ? host_->CanPropertyChange(name) : true;
  }
  std::shared_ptr<container::Font> AmbientFont() override {
    return host_ ? host_->AmbientFont() : container::DefaultFont();
  }
  std::optional<Variant> ExtenderProperty(std::u16string_view name) override {
    return host_ ? host_->ExtenderProperty(name) : std::nullopt;
  }
  void RaiseEvent(std::u16string_view eventName, std::vector<Variant>& args) override {
    for (const com::FuncDesc& event : Derived::Class().events) {
      if (com::SameMemberName(event.name, eventName)) {
        // Keep the object alive while a host's handler runs: it may release its last
        // reference to the control from inside the event.
        com::ComPtr<Derived> self(static_cast<Derived*>(this));
        events_.Fire(event.memid, args);
        return;
      }
    }
  }

  com::ModuleReference module_;
  com::ConnectionPoint events_;
  ui::ControlSite* host_ = nullptr;
  Control control_;
};

}  // namespace ze::host
