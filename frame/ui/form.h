// Form: a top-level window of the ui model and the container of its controls.
//
// Life of a form:
//   created   (NewForm<T>(), the object exists; its designed settings are applied by
//              its constructor, no Form_Load yet)
//   loaded    (Load, or the first use of a built-in property, or Show: onLoad runs once;
//              the form gets a window handle)
//   shown     (Show: visible and active; modal or modeless, optionally owned)
//   unloaded  (Unload: onQueryUnload and onUnload may cancel; otherwise the forms it
//              owns unload first, it hides, loses its handle and leaves the open-form
//              list. Only Load or Show load it again: using a property of an unloaded
//              form does not bring it back to life, so a handler that goes on after
//              Unload cannot leave a hidden zombie window behind.)
//   released  when the last reference goes. The open-form list holds a reference to a
//              shown form, so a form nobody else refers to stays alive while open.
//
// Unload from inside one of the form's own handlers (a key, a timer, Deactivate) is
// safe: the objects live on until the handler has returned, and every event raised
// afterwards finds the form unloaded and does nothing.
//
// Modal Show runs a nested event loop (event_loop.h) until the form unloads or hides;
// while a modal form is open, forms opened before it take no input, and a modeless
// Show raises error 401.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "frame/ui/control.h"
#include "frame/ui/painting.h"

namespace ze::ui {

using WindowHandle = std::int32_t;

// Show's style argument.
inline constexpr int kModeless = 0;
inline constexpr int kModal = 1;

// Unload reasons reported to onQueryUnload.
namespace unload_mode {
inline constexpr std::int16_t kUserClose = 0;      // the user closed the window
inline constexpr std::int16_t kFormCode = 1;       // Unload from code
inline constexpr std::int16_t kSessionEnding = 2;  // the host is closing every form
inline constexpr std::int16_t kProcessEnding = 3;
inline constexpr std::int16_t kParentClosing = 4;
inline constexpr std::int16_t kFormOwner = 5;  // its owner form is closing
}  // namespace unload_mode

class Form : public Control, public std::enable_shared_from_this<Form> {
 public:
  Form();
  ~Form() override;
  Form* AsForm() override { return this; }
  String TypeName() const override { return u"Form"; }
  const std::type_info& ViewType() const override { return typeid(Form); }

  const String& Caption() const;
  void SetCaption(String caption);

  // Client (inner) size in twips. The outer size adds the frame: a caption bar and
  // borders whose size follows BorderStyle.
  float ScaleWidth() const;
  float ScaleHeight() const;
  void SetScaleWidth(float width);
  void SetScaleHeight(float height);
  // Where the client area starts inside the window: the frame's left border, and its
  // top border with the caption bar (twips, at the screen's resolution).
  float ClientOffsetX() const;
  float ClientOffsetY() const;
  // Sets the outer size from a designed client size.
  void SetClientSize(float width, float height);
  // 0 none, 1 fixed single, 2 sizable (default), 3 fixed dialog, 4 fixed tool window,
  // 5 sizable tool window.
  std::int16_t BorderStyle() const;
  void SetBorderStyle(std::int16_t style);

  // The unit in which the form's automation object reports and takes ScaleWidth and
  // ScaleHeight: 1 twips (the default), 3 pixels; others raise 380. The model's own
  // ScaleWidth() and ScaleHeight() are always in twips.
  std::int16_t ScaleMode() const { return scaleMode_; }
  void SetScaleMode(std::int16_t mode);
  // 0 normal, 1 minimised, 2 maximised; others raise 380.
  std::int16_t WindowState() const { return windowState_; }
  void SetWindowState(std::int16_t state);
  // Whether the window stays above the windows that are not topmost.
  bool TopMost() const { return topMost_; }
  void SetTopMost(bool topMost);

  // What has been painted on the client area (painting.h), in the order painted: it
  // stays (the form redraws it whenever the window is repainted) until Cls. A fill
  // that covers earlier ones wholly replaces them, so repainting a form over and over
  // does not pile fills up.
  const std::vector<FilledRect>& Painting() const { return painting_; }
  void Paint(const FilledRect& fill);
  void Cls();

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool preview) { keyPreview_ = preview; }
  std::shared_ptr<Picture> Icon() const { return icon_; }
  void SetIcon(std::shared_ptr<Picture> icon);

  // Loads the form if needed and shows it. modal: kModeless or kModal; the owner is a
  // form, or a control whose form becomes the owner. A modal Show returns when the form
  // unloads or hides. Errors: 401 for a modeless Show while a modal form is open, 5
  // for another modal value.
  void Show(int modal = kModeless, Control* owner = nullptr);
  void Hide();
  // Runs Form_Load once, if the form is not loaded.
  void Load();
  // Unloads the form (see above); returns whether it unloaded (false when cancelled).
  bool Unload(std::int16_t mode = unload_mode::kFormCode);
  // Brings the form forward and makes it the active window (if it is shown).
  void Activate();

  // A form's name is its class name (TypeName) unless set; the test container finds
  // forms by it.
  void SetName(String name) { Rename(std::move(name)); }
  // Grows with every Load of any form: the newest open instance has the highest.
  std::uint64_t LoadSerial() const { return loadSerial_; }

  bool IsLoaded() const { return state_ == State::Loaded; }
  bool IsModal() const { return modal_; }
  bool IsActive() const;
  // The window handle: nonzero while loaded (asking loads the form).
  WindowHandle Hwnd() const;
  Form* Owner() const;
  // The control that has (or had last) the focus in this form; null when none.
  Control* ActiveControl() const;

  // Form events. onUnload and onQueryUnload may set cancel to nonzero to keep the form.
  std::function<void()> onLoad, onActivate, onDeactivate, onResize;
  std::function<void(std::int16_t& cancel)> onUnload;
  std::function<void(std::int16_t& cancel, std::int16_t mode)> onQueryUnload;

  // Creates a control owned by the form, last in the tab order.
  template <class T>
  T& AddChild(String name) {
    return AddOwnedChild<T>(std::move(name));
  }
  // Places a control owned elsewhere (a host's control created through the component
  // frame); it leaves the form when destroyed.
  void Place(Control& control, String name) { PlaceChild(control, std::move(name)); }

 protected:
  void BuiltInUsed() const override;
  void SizeChanged() override;
  void StateChanged() override;

 private:
  friend class Desktop;
  friend class FocusManager;
  template <class T, class... A>
  friend std::shared_ptr<T> NewForm(A&&... args);
  enum class State { Constructing, NotLoaded, Loading, Loaded, Unloading, Unloaded };

  void RememberActiveControl(Control* control);
  // Closes the form without asking it (a forced close that a handler cannot cancel).
  void ForceClose();
  void Close();
  void RearmTimers(Control& container);
  float FrameWidth() const;
  float FrameHeight() const;

  State state_ = State::Constructing;
  String caption_;
  std::int16_t borderStyle_ = 2;
  std::int16_t scaleMode_ = 1;
  std::int16_t windowState_ = 0;
  bool topMost_ = false;
  std::vector<FilledRect> painting_;
  bool keyPreview_ = false;
  bool modal_ = false;
  bool windowVisible_ = false;  // what Show and Hide made of it, to tell Visible's changes
  std::uint64_t loadSerial_ = 0;
  int modalLevel_ = 0;  // the modal depth at which it was shown
  std::shared_ptr<Picture> icon_;
  WindowHandle hwnd_ = 0;
  Form* owner_ = nullptr;
  std::weak_ptr<void> ownerAlive_;
  Control* activeControl_ = nullptr;
  std::weak_ptr<void> activeControlAlive_;
};

// Creates a form. Built-in properties used after creation load it (Form_Load) first,
// so a form's Load handler always runs before its properties are read or set from
// outside; the constructor itself may set them freely.
template <class T, class... A>
std::shared_ptr<T> NewForm(A&&... args) {
  auto form = std::make_shared<T>(std::forward<A>(args)...);
  Form& base = *form;
  base.state_ = Form::State::NotLoaded;
  if (base.Name().empty()) base.SetName(base.TypeName());
  return form;
}

// The window handle of the active form, or 0 when no form of the process is active.
WindowHandle GetActiveWindow();

}  // namespace ze::ui
