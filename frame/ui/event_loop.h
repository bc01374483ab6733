// The event loop: everything runs on one thread, and timers fire only from the loop.
//
// Timers are due against the backend's millisecond tick. A timer fires when the loop
// runs at or after its due time (DoEvents, a modal loop, the headless backend's
// Advance); it is then due again one interval after it fired. A late loop fires a
// timer once, not once per missed interval. A timer whose handler is still running
// (the handler opened a modal form, or called DoEvents) is not fired again inside it.
// Several timers due in one step fire in order of due time, then of arming.
//
// Sleep blocks: no timer fires and no input arrives while it lasts.
#pragma once

#include <cstdint>
#include <functional>

namespace ze::ui {

class Timer;

class EventLoop {
 public:
  // Queues a task to run from the loop, after the current handler has returned.
  static void Post(std::function<void()> task);
  // Runs the posted tasks, then every timer due now.
  static void RunPending();
  // Fires, in order, every timer due up to tick, setting the backend's time to each due
  // time first through setTime; returns when none is due up to tick any more.
  static void RunTimersUntil(std::int64_t tick, const std::function<void(std::int64_t)>& setTime);
  // The earliest due time, or -1 when no timer is armed.
  static std::int64_t NextDue();

  // For Timer.
  static void Arm(Timer& timer, std::int64_t due);
  static void Disarm(Timer& timer);
  static bool IsArmed(const Timer& timer);
};

// Runs what is pending (posted tasks and due timers), lets the backend repaint, and
// returns the number of open forms.
int DoEvents();
// Blocks the thread for ms milliseconds (negative raises error 5).
void Sleep(std::int32_t ms);

}  // namespace ze::ui
