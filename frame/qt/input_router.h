// Qt's input routed into the model: an event filter on every widget of the view.
//
// Every user action reaches the model through the ui layer's input path (input.h),
// exactly as the headless backend's tests and the test container give it, and is
// followed by a sync of the view. Qt's own handling of the same events is suppressed
// where it would change a widget behind the model's back: keys, input-method text,
// mouse buttons and wheel, drops and context menus never reach a line edit, so its
// text and selection change only when the model's text box changes them.
//
//   keys        KeyDown with the virtual key, then a KeyPress per character the key
//               makes, both to the control that had the focus when the key went down;
//               KeyUp on release (not for auto-repeat). Tab and Shift+Tab move the focus
//               along the model's tab order.
//   mouse       a left press on a field, label, form or user control clicks it at once
//               (focus first, then MouseDown, MouseUp, Click), with the caret where the
//               pointer is (QLineEdit::cursorPositionAt); dragging with the button held
//               extends a focused field's selection. A command button clicks on release
//               inside it, as push buttons do. The second press of a double click raises
//               DblClick, its release MouseUp. A right press is the model's right click.
//               A drop-down list takes the focus and opens its Qt list; the entry the
//               user picks is the model's choice (input::Choose).
//   access keys Alt+letter of a button's "&" caption clicks it.
//   windows     closing a window asks the model (its form may refuse); the user's
//               activation of a window activates its form; resizing or moving a window
//               by hand sets the form's size and position.
//   pointer     every mouse event moves the model's pointer (cursor.h) to the event's
//               screen position.
//   embedded    in a form embedded in a host's widget, Tab and Shift+Tab pass on along
//               the host's focus chain, Qt's focus coming into one of its widgets gives
//               the model's focus there, and the host window's activation is no form's.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QPoint>
#include <memory>

#include "frame/qt/control_widgets.h"

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace ze::ui {
class Control;
}

namespace ze::qt {

class View;
struct Entry;

class InputRouter : public QObject {
 public:
  explicit InputRouter(View& view);
  // Starts routing the events of a widget the view created for a control of kind.
  void Watch(QWidget& widget, Kind kind);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void KeyPressed(const QKeyEvent& event);
  void KeyReleased(const QKeyEvent& event);
  bool Mouse(Entry& entry, QMouseEvent& event);
  bool CloseRequested(Entry& entry, QEvent& event);
  void WindowActivated(Entry& entry);
  void FocusCameIn(Entry& entry);
  void WindowGeometry(Entry& entry, QEvent& event);

  // A control with the token of its life, for gestures that span several events.
  struct Held {
    ze::ui::Control* control = nullptr;
    std::weak_ptr<void> alive;
    ze::ui::Control* Get() const { return alive.expired() ? nullptr : control; }
    void Set(ze::ui::Control* c);
    void Reset() { control = nullptr, alive.reset(); }
  };

  View& view_;
  Held pressedButton_;  // a command button under a held left button
  Held dragging_;       // a field clicked with the left button still held
  Held doubleClicked_;  // the control whose double click's release is still due
};

}  // namespace ze::qt
