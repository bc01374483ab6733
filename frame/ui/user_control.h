// UserControl: the container side of a control built from child controls, and the
// ControlSite through which it reaches its container (the host).
//
// A component derives from UserControl, creates its children with AddChild in its
// constructor and overrides the UserControl_* lifecycle handlers. The container calls
// InitNew (a new control) or Load (restore from a property bag), then Paint; it calls
// Save when it stores the control. Once the control sits in a container, resizing it
// runs UserControl_Resize and, when it shows, UserControl_Paint; its form coming into
// view, or the control itself becoming visible on a shown form, paints it too.
//
// Everything the control asks of its host goes through the site: change notices, the
// ambient font, extender properties and events. Without a site of its own the control
// uses a default one: no host, notices ignored, every change allowed, ambient font
// MS Sans Serif 8, and the extender properties the control's own base carries
// (Name, Left, Top, Width, Height, Visible, Enabled, ToolTipText, TabIndex, TabStop).
//
// Data binding: a container that binds a property writes it when the record changes
// and reads it back after each PropertyChanged notice of that name; the control only
// sends the notice and asks CanPropertyChange before a bound change (see data_binding.h).
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"
#include "frame/container/property_bag.h"
#include "frame/ui/control.h"

namespace ze::ui {

using container::PropertyBag;

// Scale modes of ScaleX/ScaleY.
namespace scale {
inline constexpr int kUser = 0;  // the control's own scale: twips here
inline constexpr int kTwips = 1;
inline constexpr int kPoints = 2;
inline constexpr int kPixels = 3;
inline constexpr int kCharacters = 4;
inline constexpr int kInches = 5;
inline constexpr int kMillimeters = 6;
inline constexpr int kCentimeters = 7;
inline constexpr int kHimetric = 8;
}  // namespace scale

class ControlSite {
 public:
  virtual ~ControlSite() = default;
  virtual void PropertyChanged(std::u16string_view name) = 0;
  virtual bool CanPropertyChange(std::u16string_view name) = 0;
  virtual std::shared_ptr<Font> AmbientFont() = 0;
  // An extender property by name; std::nullopt when the container has no such property.
  virtual std::optional<Variant> ExtenderProperty(std::u16string_view name) = 0;
  // Runs the host's handler synchronously; the host may change by-reference arguments.
  virtual void RaiseEvent(std::u16string_view eventName, std::vector<Variant>& args) = 0;
};

// The extender properties that every control's base carries (see above), by name;
// std::nullopt for any other name.
std::optional<Variant> BaseExtenderProperty(const Control& control, std::u16string_view name);

// Paints every visible user control inside container (a form coming into view).
void PaintUserControls(Control& container);

class UserControl : public Control {
 public:
  UserControl();
  ~UserControl() override;
  UserControl* AsUserControl() override { return this; }

  // The control's class name as hosts see it; components override it.
  String TypeName() const override { return u"UserControl"; }
  const std::type_info& ViewType() const override { return typeid(UserControl); }

  // Null restores the default site. The caller keeps ownership and must outlive the
  // control or set another site first.
  void SetSite(ControlSite* site);
  ControlSite& Site() const;

  void InitNew();
  void Load(PropertyBag& bag);
  void Save(PropertyBag& bag);
  void Paint();

  // Inner size in twips (the control has no border of its own).
  float ScaleWidth() const;
  float ScaleHeight() const;
  // Converts a length between scale modes (see scale::); pixels use the screen's
  // twips per pixel. Unknown modes raise error 5.
  float ScaleX(float v, int fromScale, int toScale) const;
  float ScaleY(float v, int fromScale, int toScale) const;

  // How many times UserControl_Paint ran (for hosts and tests that check repaints).
  long PaintCount() const { return paintCount_; }

 protected:
  virtual void UserControl_InitProperties() {}
  virtual void UserControl_ReadProperties(PropertyBag&) {}
  virtual void UserControl_WriteProperties(PropertyBag&) {}
  virtual void UserControl_Paint() {}
  virtual void UserControl_Resize() {}

  void PropertyChanged(std::u16string_view name);
  bool CanPropertyChange(std::u16string_view name);
  std::shared_ptr<Font> AmbientFont();
  std::optional<Variant> ExtenderProperty(std::u16string_view name);
  void RaiseEvent(std::u16string_view name, std::vector<Variant> args = {});

  // Creates a child control owned by this control, last in its tab order.
  template <class T>
  T& AddChild(String name) {
    return AddOwnedChild<T>(std::move(name));
  }

  void SizeChanged() override;
  void StateChanged() override;

 private:
  // On a loaded form and visible up to it.
  bool Showing() const;

  class DefaultSite;
  std::unique_ptr<DefaultSite> defaultSite_;
  ControlSite* site_ = nullptr;
  long paintCount_ = 0;
};

}  // namespace ze::ui
