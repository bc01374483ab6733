// HostedControl: a host's side of one control created through the component frame.
//
// A host (a form of a program, the test container) creates a control by ProgID or
// {CLSID} through the registry store and keeps it here: its dispatch interface (the
// members), its IZeControl (site, property bag, widget), and a sink on its events.
// The host answers the control's container questions through the callbacks below;
// each is optional. The control's widget is placed on a form of the host; it leaves
// the form when the HostedControl goes.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch.h"
#include "frame/com/event_sink.h"
#include "frame/com/type_info.h"
#include "frame/host/ole_control.h"
#include "frame/ui/form.h"

namespace ze::host {

class HostedControl final : private ze::ui::ControlSite {
 public:
  // Creates the control through the registry. Raises automation error 429 (with the
  // activation's reason) when it cannot be created, 424 when the object is no control.
  static std::unique_ptr<HostedControl> Create(std::u16string_view progIdOrClsid, String name);
  ~HostedControl() override;
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  const String& Name() const { return name_; }
  ze::com::IDispatch* Dispatch() const { return dispatch_.Get(); }
  ze::ui::UserControl& Widget() const { return *control_->Widget(); }

  // Puts the widget on `form` under the control's name.
  void PlaceOn(ze::ui::Form& form);
  // A new control, or one restored from its saved properties; then painted. A failure
  // inside the control raises its automation error (the steps before it stay done).
  void InitNew();
  void Load(container::PropertyBag& bag);
  void Save(container::PropertyBag& bag);

  // Members by name, late-bound; failures raise the member's automation error.
  Variant Get(std::u16string_view property) const;
  void Let(std::u16string_view property, const Variant& value);  // Set for objects
  Variant Call(std::u16string_view method, std::vector<Variant> args = {});
  // The default member's value (dispatch id 0), as a host reads "Control" alone.
  Variant Value() const;
  // The property a host binds to a data field: the one the type library marks as
  // default-bound; "" when the control has none.
  String DefaultBindProperty() const;

  // The container's answers. Extender properties the host keeps (ToolTipText ...).
  std::map<String, Variant> extender;
  std::shared_ptr<container::Font> ambientFont;
  std::function<void(std::u16string_view property)> onPropertyChanged;
  std::function<bool(std::u16string_view property)> onCanPropertyChange;
  std::function<void(const String& event, std::span<Variant> args)> onEvent;

 private:
  HostedControl(String name, ze::com::ComPtr<ze::com::IDispatch> dispatch,
                ze::com::ComPtr<IZeControl> control);
  String EventName(ze::com::DISPID id) const;

  void PropertyChanged(std::u16string_view name) override;
  bool CanPropertyChange(std::u16string_view name) override;
  std::shared_ptr<container::Font> AmbientFont() override;
  std::optional<Variant> ExtenderProperty(std::u16string_view name) override;
  void RaiseEvent(std::u16string_view, std::vector<Variant>&) override {}

  String name_;
  ze::com::ComPtr<ze::com::IDispatch> dispatch_;
  ze::com::ComPtr<IZeControl> control_;
  ze::com::ComPtr<ze::com::EventSink> sink_;
  ze::com::ComPtr<ze::com::ITypeInfo> events_;
  ze::com::ComPtr<ze::com::ITypeInfo> members_;
};

}  // namespace ze::host
