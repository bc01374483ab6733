// Control: the base of every widget of the ui model, of forms and of user controls.
//
// The model is the truth: a control holds its state (geometry in twips, visibility,
// colours, font, focus order) and its owner's event handlers; a backend only draws it
// and feeds input into it through input.h. No toolkit type appears here.
//
// Tree. A control lives inside a container (a Form, or a UserControl that builds its
// surface from child controls). A container owns the children it creates with
// AddChild; it can also hold controls that others own (a host placing a control it
// created). A destroyed control leaves its container and gives up the focus.
//
// Views. Every setter that changes what a view shows tells the registered views
// (model_observer.h), as does a child coming or going; nothing else needs to poll.
//
// Events. The owner installs std::function handlers (the "control_Event" handlers).
// A handler may set a by-reference key or button to 0 to cancel the default action.
// Handlers run synchronously; a handler may unload the control's form or destroy the
// control, so code that raises an event checks Alive() before touching it again.
//
// Units: twips (1/1440 inch) as float; colours OLE_COLOR (0x00BBGGRR, or a system
// colour index with the high bit set).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"
#include "frame/ui/model_observer.h"

namespace ze::ui {

using container::Font;
using container::Picture;

class Form;
class UserControl;

// Standard system colours (OLE_COLOR with the high bit set).
namespace colors {
inline constexpr std::uint32_t kWindowBackground = 0x80000005;
inline constexpr std::uint32_t kWindowText = 0x80000008;
inline constexpr std::uint32_t kButtonFace = 0x8000000F;
inline constexpr std::uint32_t kButtonText = 0x80000012;
}  // namespace colors

// Mouse buttons and shift-state bits as the events report them.
namespace buttons {
inline constexpr std::int16_t kLeft = 1;
inline constexpr std::int16_t kRight = 2;
inline constexpr std::int16_t kMiddle = 4;
}  // namespace buttons
namespace shift {
inline constexpr std::int16_t kShift = 1;
inline constexpr std::int16_t kCtrl = 2;
inline constexpr std::int16_t kAlt = 4;
}  // namespace shift

// A control's rectangle on the screen, in twips and in the screen's pixels.
struct ScreenPlace {
  float left = 0, top = 0, width = 0, height = 0;
  std::int32_t leftPixels = 0, topPixels = 0, widthPixels = 0, heightPixels = 0;
};

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The class name ("TextBox", "Label", "Form", or a user control's own name).
  virtual String TypeName() const = 0;
  // The kind of control a view shows this one as: each kind names its own class, and a
  // subclass (a program's form, a component's user control) shows as the kind it
  // derives from. A view picks the widget by it, with no chain of casts.
  virtual const std::type_info& ViewType() const { return typeid(Control); }

  const String& Name() const { return name_; }
  // The element number in a control array; -1 when the control is not in one.
  int Index() const { return index_; }

  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float left);
  void SetTop(float top);
  // A negative size raises automation error 380 and changes nothing.
  void SetWidth(float width);
  void SetHeight(float height);
  void Move(float left, float top, float width, float height);

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::uint32_t BackColor() const;
  void SetBackColor(std::uint32_t color);
  std::uint32_t ForeColor() const;
  void SetForeColor(std::uint32_t color);
  // Never null: a control starts with a font of its own.
  std::shared_ptr<Font> GetFont() const;
  // Shares the given object (a later change to it shows in the control); null raises 380.
  void SetFont(std::shared_ptr<Font> font);
  const String& ToolTipText() const;
  void SetToolTipText(String text);
  // 0 to 15 standard pointers, 99 custom (MouseIcon); others raise 380.
  std::int16_t MousePointer() const;
  void SetMousePointer(std::int16_t pointer);
  std::shared_ptr<Picture> MouseIcon() const;
  void SetMouseIcon(std::shared_ptr<Picture> icon);

  // Tab order among the controls of one container: setting an index moves the control
  // there and renumbers the others so that the indexes stay 0..n-1. Negative raises 380.
  int TabIndex() const;
  void SetTabIndex(int index);
  bool TabStop() const;
  void SetTabStop(bool stop);

  // Gives this control the focus: the old owner's LostFocus runs, then this one's
  // GotFocus. Activates the control's form first when another form is active. Raises
  // error 5 when the control cannot take the focus now (hidden, disabled, its form not
  // shown, or a kind that never takes it).
  void SetFocus();
  bool HasFocus() const;

  // The container the control sits in (a Form or a UserControl); null when unplaced.
  Control* Container() const { return container_; }
  // The top-level form the control belongs to, through any user controls; a form is
  // its own parent form. Null while the control is not on a form.
  Form* ParentForm() const;
  // The Visible and Enabled settings read without side effects (reading a form's
  // Visible would load it).
  bool VisibleFlag() const { return visible_; }
  bool EnabledFlag() const { return enabled_; }
  // Where the control is on the screen: its form's client area on the screen plus the
  // offsets of the containers in between (a form: its window's outer rectangle). Pixels
  // at the screen's twips per pixel, rounded to the nearest. Null while the control is
  // on no form. Reads no property, so an unloaded form stays unloaded.
  std::optional<ScreenPlace> PlaceOnScreen() const;
  // Visible and enabled with every container up to the form.
  bool EffectivelyVisible() const;
  bool EffectivelyEnabled() const;
  // Whether the kind of control ever takes the focus (labels and timers never do).
  virtual bool CanTakeFocus() const { return true; }
  // Whether it can take the focus now (kind, visible, enabled, form shown).
  bool CanFocusNow() const;

  // Dispatch helpers for containers.
  virtual Form* AsForm() { return nullptr; }
  virtual UserControl* AsUserControl() { return nullptr; }

  // Children in tab order (direct children only), and by name.
  std::vector<Control*> Children() const;
  Control* FindChild(std::u16string_view name, int index = -1) const;

  // Dead after destruction: a weak token that event-raising code checks.
  std::weak_ptr<void> AliveToken() const { return alive_; }

  // Event handlers the owner installs.
  std::function<void()> onClick, onDblClick, onGotFocus, onLostFocus;
  std::function<void(std::int16_t&keyCode, std::int16_t shift)> onKeyDown, onKeyUp;
  std::function<void(std::int16_t& keyAscii)> onKeyPress;
  std::function<void(std::int16_t&button, std::int16_t&shift, float&x, float&y)> onMouseDown,
      onMouseUp, onMouseMove;

  // The raising side of each notification, used by the input path (input.h) and by
  // focus changes: each runs the owner's handler and then, unless it was cancelled,
  // the control's own default behaviour. Components do not call these.
  void RaiseClick();
  void RaiseDblClick();
  void RaiseKeyDown(std::int16_t& keyCode, std::int16_t shift);
  void RaiseKeyPress(std::int16_t& keyAscii);
  void RaiseKeyUp(std::int16_t& keyCode, std::int16_t shift);
  void RaiseMouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void RaiseMouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void RaiseMouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void RaiseGotFocus();
  void RaiseLostFocus();

 protected:
  // Default behaviour of a kind, after the owner's handler did not cancel.
  virtual void DefaultKeyDown(std::int16_t /*keyCode*/, std::int16_t /*shift*/) {}
  virtual void DefaultKeyPress(std::int16_t /*keyAscii*/) {}
  virtual void DefaultMouseDown(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/,
                                float /*y*/) {}
  virtual void DefaultDblClick() {}
  // After the size changed (not on a move).
  virtual void SizeChanged() {}
  // Before a built-in property is used; a form loads itself here.
  virtual void BuiltInUsed() const {}
  // After visibility or enabled state changed; moves the focus away when needed.
  virtual void StateChanged();
  void Rename(String name) { name_ = std::move(name); }
  // Sets the visibility without any consequence but the views' notice (forms show and
  // hide themselves).
  void SetVisibleQuietly(bool visible);
  // Tells the views that some of this control's state changed (model_observer.h); every
  // setter that changes what a view shows calls it.
  void Notify(Aspect what);

  // Creates a child owned by this container and places it last in the tab order.
  template <class T>
  T& AddOwnedChild(String name) {
    auto child = std::make_unique<T>();
    T& ref = *child;
    Adopt(std::move(child), std::move(name), -1);
    return ref;
  }
  // Places a control owned elsewhere (it leaves when destroyed).
  void PlaceChild(Control& child, String name);
  void Adopt(std::unique_ptr<Control> child, String name, int index);
  // Copies the settings that a control-array element takes from element 0.
  virtual void CopySettingsFrom(const Control& other);
  // Removes and destroys an owned child (control-array Unload).
  void DestroyChild(Control& child);

  friend class FocusManager;
  template <class T>
  friend class ControlArray;

 private:
  void RemoveChild(Control* child);
  void RenumberTabs();

  String name_;
  int index_ = -1;
  Control* container_ = nullptr;
  std::vector<Control*> children_;  // in tab order
  std::vector<std::unique_ptr<Control>> owned_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);

  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = true;
  std::uint32_t backColor_ = colors::kButtonFace;
  std::uint32_t foreColor_ = colors::kButtonText;
  std::shared_ptr<Font> font_;
  String toolTip_;
  std::int16_t mousePointer_ = 0;
  std::shared_ptr<Picture> mouseIcon_;
};

}  // namespace ze::ui
