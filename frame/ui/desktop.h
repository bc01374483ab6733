// The desktop: the open forms of the process, their stacking order, the active form
// and the modal depth.
//
// The open-form list holds each loaded form alive (a shared reference when the form
// is owned by one), so a form that nobody else refers to lives until it unloads.
//
// Activation raises, in order: LostFocus of the old focus owner, Deactivate of the old
// form, Activate of the new form, GotFocus of the new focus owner. Any of those
// handlers may unload forms or move the activation elsewhere; the activation in
// progress then stops where it is. Leaving the application for another one (and
// coming back) changes the active window without any event: a form hears of its
// activation only from within the application.
#pragma once

#include <memory>
#include <vector>

#include "frame/ui/form.h"

namespace ze::ui {

class Desktop {
 public:
  // The active form, or null (none, or another application is active).
  static Form* Active();
  // Loaded forms, front to back (the active one first).
  static std::vector<Form*> OpenForms();
  // Makes a shown form the active one (see above). With a target, the focus goes there;
  // otherwise to the form's last focus owner, or its first control in tab order.
  static void Activate(Form& form, Control* focusTarget = nullptr);
  // Activates preferred if it can take input, else the front form that can.
  static void ActivateFront(Form* preferred);
  // Another application became active / this one is active again.
  static void LeaveApplication();
  static void ReturnToApplication();

  // How many modal Show calls are running, and whether a form takes input under them.
  static int ModalDepth();
  static bool AcceptsInput(const Form& form);

  // For Form.
  static void Opened(Form& form);
  static void Closed(Form& form);
  static void Hidden(Form& form);
  static void ModalBegin(Form& form);
  static void ModalEnd(Form& form);
  static WindowHandle NewHandle();
  static Form* FindByHandle(WindowHandle hwnd);

  // Unloads every open form (a host ending, a test's fixture), without asking them.
  static void UnloadAll();

 private:
  static void ActivateNext(Form* preferred);
};

}  // namespace ze::ui
