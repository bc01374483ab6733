// IZeControl: what a host asks of a control object beyond its dispatch interface.
//
// A host creates a control through the component frame and gets its IDispatch (the
// members) and its connection points (the events). To put the control on a form it
// also needs what a control container gives an embedded control: a site for the
// container services (change notices, CanPropertyChange, the ambient font, extender
// properties), persistence through a property bag, and the widget itself to place
// on its form. This interface carries those; everything in it lives in the one
// process, so it passes the platform's own C++ types.
//
// Events do not go through the site: the control fires them to the sinks advised on
// its connection point, which is where hosts listen for them.
#pragma once

#include "frame/com/dispatch.h"
#include "frame/com/unknown.h"
#include "frame/container/property_bag.h"
#include "frame/ui/user_control.h"

namespace ze::host {

class IZeControl : public ze::com::IUnknown {
 public:
  static constexpr ze::com::IID kIid{
      0x5a3c1e20, 0x7f41, 0x4b8e, {0x9d, 0x2a, 0x6e, 0x51, 0xc0, 0x8b, 0x3f, 0x17}};
  using Base = ze::com::IUnknown;

  // The host's site; null detaches the control from its host. The site must outlive
  // the control or be replaced first.
  virtual ze::com::HRESULT SetClientSite(ze::ui::ControlSite* site) = 0;
  // A new control: runs its property initialisation.
  virtual ze::com::HRESULT InitNew() = 0;
  // Restores / stores the control's properties. A failure inside the control comes
  // back as DISP_E_EXCEPTION with its number and description in `error`.
  virtual ze::com::HRESULT Load(container::PropertyBag& bag, ze::com::EXCEPINFO* error) = 0;
  virtual ze::com::HRESULT Save(container::PropertyBag& bag, ze::com::EXCEPINFO* error) = 0;
  // The control's widget, for the host to place on its form; it lives as long as
  // the control object.
  virtual ze::ui::UserControl* Widget() = 0;

 protected:
  ~IZeControl() = default;
};

}  // namespace ze::host
