// The headless backend: the ui model without a screen, on a virtual clock.
//
// Time passes only when asked: Advance(ms) moves the clock on and fires the timers that
// fall due on the way, each at its own due time and in order; Sleep moves it on without
// firing anything (the thread is blocked). Installed, the backend is also the ze::Clock,
// so Now() follows the virtual time. The clock starts at the system's current time;
// tests set it.
//
// A modal loop asks the input driver for input: a function that delivers some input
// (through input.h) or waits (Advance), and returns false when no more input will
// ever come. Tests and the test container install one; without a driver a modal form
// cannot be answered, and its loop closes it at once.
#pragma once

#include <cstdint>
#include <functional>

#include "frame/automation/clock.h"
#include "frame/ui/backend.h"

namespace ze::ui {

class HeadlessBackend final : public Backend, public ze::Clock {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // Makes this the ui backend and the ze::Clock; Uninstall restores the defaults
  // (only what still points at this object).
  void Install();
  void Uninstall();

  // The virtual clock.
  ze::Date Now() override;
  void SetNow(ze::Date now);
  void Advance(std::int64_t ms);

  std::int64_t TickMs() override { return tick_; }
  void SleepMs(std::int32_t ms) override;
  bool WaitForInput(Form& modal) override;

  using InputDriver = std::function<bool(Form& modal)>;
  void SetInputDriver(InputDriver driver) { driver_ = std::move(driver); }

 private:
  std::int64_t tick_ = 0;
  double baseLinear_ = 0;  // the time at tick 0, in linear days (see the .cpp)
  InputDriver driver_;
};

}  // namespace ze::ui
