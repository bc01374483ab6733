// The ui backend interface: what the model needs from whatever shows it.
//
// The model (controls, forms, focus, the event loop) is complete on its own; a backend
// supplies time, blocking, and the wait for input inside loops. A backend with a view
// learns what to mirror from the model's notices (model_observer.h). The headless
// backend (the default) runs on a virtual clock; the Qt backend maps forms to windows
// and routes real input through input.h.
#pragma once

#include <cstdint>

namespace ze::ui {

class Form;

class Backend {
 public:
  virtual ~Backend() = default;

  // Monotonic time in milliseconds; timers are due against it.
  virtual std::int64_t TickMs() = 0;
  // Blocks the thread for ms milliseconds: nothing runs meanwhile.
  virtual void SleepMs(std::int32_t ms) = 0;
  // Inside a modal loop for form: waits until input has been delivered or a timer is
  // due, and delivers it. Returns false when no input can ever come (the loop then
  // closes the form rather than wait forever).
  virtual bool WaitForInput(Form& modal) = 0;
  // DoEvents, after the model's own pending work: the view shows the model as it is
  // now and repaints, so that a handler that changed it and then blocks (Sleep, a slow
  // call) is seen changed meanwhile. User input stays queued for the next loop, so
  // the handler is not entered again from inside itself.
  virtual void ShowPending() {}
};

// The backend in force: the installed one, else a process-wide headless backend.
Backend& CurrentBackend();
// Installs a backend (nullptr restores the default). The caller keeps ownership and
// uninstalls it before destroying it.
void InstallBackend(Backend* backend);

}  // namespace ze::ui
