// Timer: arming and firing.
#include "frame/ui/timer.h"

#include "frame/automation/error.h"
#include "frame/ui/backend.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/form.h"

namespace ze::ui {

Timer::~Timer() {
  EventLoop::Disarm(*this);
}

void Timer::SetInterval(std::int32_t ms) {
  if (ms < 0 || ms > 65535) Raise(errors::kInvalidPropertyValue);
  interval_ = ms;
  Restart();
}

bool Timer::Running() const {
  Form* form = ParentForm();
  return EnabledFlag() && interval_ > 0 && form && form->IsLoaded();
}

void Timer::Restart() {
  if (Running())
    EventLoop::Arm(*this, CurrentBackend().TickMs() + interval_);
  else
    EventLoop::Disarm(*this);
}

void Timer::Fire() {
  if (!Running()) {
    EventLoop::Disarm(*this);
    return;
  }
  // Due again one interval from now; a late tick does not make up missed ones.
  EventLoop::Arm(*this, CurrentBackend().TickMs() + interval_);
  if (busy_) return;
  std::weak_ptr<void> alive = AliveToken();
  busy_ = true;
  try {
    if (auto h = onTimer) h();
  } catch (...) {
    if (!alive.expired()) busy_ = false;
    throw;
  }
  if (!alive.expired()) busy_ = false;
}

void Timer::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* t = dynamic_cast<const Timer*>(&other)) interval_ = t->interval_;
}

}  // namespace ze::ui
