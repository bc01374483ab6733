// The Qt 6 Widgets backend of the ui layer: real windows over the ui model.
//
// The model (frame/ui) stays the truth. This backend shows every shown form as a
// top-level QWidget window and every control as its Qt widget at the model's geometry,
// routes Qt's keyboard, mouse, focus, activation and close events into the model
// through the one input path (frame/ui/input.h), and after each batch of input or timer
// work brings the widgets back in step with the model: the model's notices say which
// controls changed, and only those are updated (view.h). Qt's own editing never
// touches a field: the model's text box does the editing and the view shows the result.
//
// A host, in order:
//
//   QApplication app(argc, argv);
//   ze::qt::QtBackend backend;   // after QApplication: reads the screen
//   backend.Install();           // ui backend, clock, message boxes, screen metrics
//   form->Show();                // forms and controls as usual, through the model
//   int rc = backend.Run();      // until the last form unloads, or Qt quits
//   backend.Uninstall();         // before the backend and QApplication go
//
// Units: the model's twips become pixels at the real screen's resolution
// (1440 / logical DPI twips per pixel, set into ze::ui::Screen by Install).
// Time: TickMs is monotonic (QElapsedTimer) and Now() is the system clock; the model's
// timers fire from Qt's loop at their due time; Sleep paints what changed, then blocks.
// A modal Show runs a nested Qt loop.
// Pointer and activation: GetCursorPos reads the window system's pointer where its
// mouse events last put it (a click on a control reports where it happened); a window
// that is not a form's (another program's, or none) taking the activation is the
// model's application left, so GetActiveWindow reads 0 as it would.
//
// Threads: everything on the thread of QApplication, as the model requires.
#pragma once

#include <QtCore/QString>
#include <QtGui/QImage>
#include <cstdint>
#include <memory>

#include "frame/automation/clock.h"
#include "frame/ui/backend.h"

class QWidget;

namespace ze::ui {
class Control;
class Form;
}  // namespace ze::ui

namespace ze::qt {

// How the view brings its widgets in step with the model (view.h).
enum class SyncMode {
  Changes,     // only what the model's notices named
  Everything,  // every control of every shown form compared
};

class QtBackend final : public ze::ui::Backend, public ze::Clock {
 public:
  // Needs a QApplication; aborts with a message (qFatal) when there is none.
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // Makes this the ui backend and the ze::Clock, installs the message-box sink (real
  // QMessageBox dialogs) and the folder-picker sink (QFileDialog) and sets the screen's
  // size and twips per pixel from the primary QScreen. Uninstall restores the defaults
  // (only what still points here), and closes every window of the view.
  void Install();
  void Uninstall();

  // The host's main loop: shows what the model shows, then runs Qt's loop until no form
  // is loaded any more or QApplication quits. Forms still loaded when Qt quits are
  // unloaded (their Unload handlers run) before Run returns Qt's exit code; with no
  // form loaded at the start it returns 0 at once.
  int Run();

  // Brings every shown form's widgets in step with the model now. Input and timers
  // do this themselves; a host calls it after changing the model outside them (for
  // example before a screenshot, or from a non-ui callback of its own).
  void Sync();

  // The form's window drawn into an image (its client area, at the model's size), after
  // a Sync. A form that is not shown gives a null image.
  QImage RenderForm(ze::ui::Form& form);
  // RenderForm saved as a PNG file; false when the form is not shown or the file
  // cannot be written.
  bool SaveFormPng(ze::ui::Form& form, const QString& path);

  // The Qt widget that shows a control (a form's window for a form), or null when the
  // control is not shown now. For tests that send Qt events and for hosts that need a
  // parent for a dialog of their own. The widget belongs to the view: do not delete it.
  QWidget* WidgetOf(const ze::ui::Control& control) const;

  // A form shown inside a widget of the host's own rather than as a window: its widget
  // is a frameless child of host at host's top-left corner, at the form's size. Qt's
  // focus decides the model's: focus coming into the form's widgets activates the form
  // and focuses the control there, focus leaving for another widget of the host's
  // raises the control's LostFocus and leaves the application (input.h,
  // FocusToOtherWidget), Tab and Shift+Tab in it go on along host's focus chain, and
  // host's window activates as Qt's windows do. Call before the form shows (a window
  // it has already is remade); Unembed, before host goes, makes it a window again.
  void Embed(ze::ui::Form& form, QWidget& host);
  void Unembed(const ze::ui::Form& form);

  // How the view syncs: only what the model's notices named (the default), or by
  // comparing every control of every shown form, for a benchmark that measures the two
  // side by side.
  void SetSyncMode(SyncMode mode);

  // ze::ui::Backend
  std::int64_t TickMs() override;
  void SleepMs(std::int32_t ms) override;
  bool WaitForInput(ze::ui::Form& modal) override;
  void ShowPending() override;

  // ze::Clock: the system clock.
  ze::Date Now() override;

 private:
  struct State;  // the view, the monotonic clock and the loop's flags
  std::unique_ptr<State> state_;
};

}  // namespace ze::qt
