// KalendoObject: the Kalendo control as hosts see it through the component frame.
//
// It owns one Kalendo widget and answers for it:
//   _Kalendo (dual)            the members, by dispatch id from the type library's
//                              table, or through the vtable entries, which go through
//                              the same table; any earlier IID of the default
//                              interface gives this interface
//   connection points          the events of __Kalendo, to sinks advised under any IID
//                              of the event chain (or as plain dispatch sinks)
//   IProvideClassInfo          the class description, where hosts find the events
//   ISupportErrorInfo          yes for _Kalendo: its vtable entries leave error info
//   IZeControl                 the host's site, the property bag and the widget
//
// The widget reaches its host through this object: change notices, CanPropertyChange,
// the ambient font and the extender go to the host's site; events go to the sinks.
#pragma once

#include <vector>

#include "frame/com/com_object.h"
#include "frame/com/connection_points.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/error_info.h"
#include "frame/com/inproc_server.h"
#include "frame/host/ole_control.h"
#include "frame/server/kalendo_ids.h"
#include "frame/server/kalendo_interface.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

class KalendoObject final
    : public ze::com::ComObject<ze::com::DispatchImpl<KalendoObject, IKalendo>,
                                ze::com::IConnectionPointContainer, ze::com::IProvideClassInfo,
                                ze::com::ISupportErrorInfo, ze::host::IZeControl>,
      private ze::ui::ControlSite {
 public:
  explicit KalendoObject(ze::com::ServerModule& module);
  ~KalendoObject() override;

  // Creates one and returns its interface `iid`.
  static ze::com::HRESULT Create(ze::com::ServerModule& module, const ze::com::IID& iid,
                                 void** out);
  static const ze::com::DispatchTable<KalendoObject>& Dispatch();
  static ze::com::ComPtr<ze::com::ITypeInfo> ClassInfo();

  // _Kalendo's vtable entries.
#define ZE_KALENDO_OVERRIDE_PROPERTY(name, type, write, id) \
  ze::com::HRESULT get_##name(type* value) override;        \
  ze::com::HRESULT write##_##name(type value) override;
#define ZE_KALENDO_OVERRIDE_METHOD(name, id) ze::com::HRESULT name() override;
  ZE_KALENDO_PROPERTIES(ZE_KALENDO_OVERRIDE_PROPERTY)
  ZE_KALENDO_METHODS(ZE_KALENDO_OVERRIDE_METHOD)
#undef ZE_KALENDO_OVERRIDE_PROPERTY
#undef ZE_KALENDO_OVERRIDE_METHOD

  // IConnectionPointContainer
  ze::com::HRESULT FindConnectionPoint(const ze::com::IID& iid,
                                       ze::com::IConnectionPoint** out) override;
  // IProvideClassInfo
  ze::com::HRESULT GetClassInfo(ze::com::ITypeInfo** out) override;
  // ISupportErrorInfo
  ze::com::HRESULT InterfaceSupportsErrorInfo(const ze::com::IID& iid) override;
  // IZeControl
  ze::com::HRESULT SetClientSite(ze::ui::ControlSite* site) override;
  ze::com::HRESULT InitNew() override;
  ze::com::HRESULT Load(ze::container::PropertyBag& bag, ze::com::EXCEPINFO* error) override;
  ze::com::HRESULT Save(ze::container::PropertyBag& bag, ze::com::EXCEPINFO* error) override;
  ze::ui::UserControl* Widget() override {
    return &control_;
  }

  Kalendo& control() {
    return control_;
  }

 protected:
  void* FindInterface(const ze::com::IID& iid) override;

 private:
  // ControlSite: what the widget asks of its host.
  void PropertyChanged(std::u16string_view name) override;
  bool CanPropertyChange(std::u16string_view name) override;
  std::shared_ptr<ze::container::Font> AmbientFont() override;
  std::optional<ze::Variant> ExtenderProperty(std::u16string_view name) override;
  void RaiseEvent(std::u16string_view eventName, std::vector<ze::Variant>& args) override;

  ze::com::ModuleReference module_;
  std::vector<ze::com::IID> defaultChain_;
  ze::com::ConnectionPoint events_;
  ze::ui::ControlSite* host_ = nullptr;
  Kalendo control_;
};

}  // namespace zekalendo
