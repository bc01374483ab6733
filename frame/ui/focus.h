// The focus: which control receives the keyboard, and the tab order.
//
// One control of the process has the focus, always inside the active form (or the
// active form itself when it has nothing that can take the focus). Moving the focus
// raises LostFocus on the old owner and then GotFocus on the new one; a handler that
// moves the focus again (or unloads a form) inside LostFocus wins, and the outer move
// stops there.
//
// Tab order: the controls of a form in TabIndex order, a user control standing for
// its own children in their order. Tab skips controls that cannot take the focus now
// and those whose TabStop is False.
#pragma once

#include <vector>

#include "frame/ui/control.h"

namespace ze::ui {

class Form;

class FocusManager {
 public:
  // The control with the focus, or null.
  static Control* Focused();
  // Code's SetFocus: raises error 5 when the control cannot take the focus now.
  static void SetFocus(Control& control);
  // Moves the focus to the next (or previous) control of the active form's tab order.
  static void TabNext(bool backward);
  // The form's controls that can take the focus now, in tab order; with tabStopsOnly,
  // only those Tab stops at.
  static std::vector<Control*> TabOrder(Form& form, bool tabStopsOnly);

  // For the desktop and the controls themselves.
  static void Move(Control* target);  // null: nobody; raises the two events
  static void FocusIn(Form& form, Control* target);
  static void Forget(Control& control);
  static void StateChanged(Control& control);
  // Drops the focus without events (the form is being unloaded).
  static void DropQuietly(Form& form);

 private:
  static Control* Resolve(Control& control);
};

}  // namespace ze::ui
