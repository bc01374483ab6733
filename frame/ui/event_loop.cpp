// Posted tasks, the timer schedule, DoEvents and Sleep.
#include "frame/ui/event_loop.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "frame/automation/error.h"
#include "frame/ui/backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/timer.h"

namespace ze::ui {

namespace {

struct Armed {
  Timer* timer;
  std::weak_ptr<void> alive;
  std::int64_t due;
  std::uint64_t order;  // arming order, to break ties
};

struct LoopState {
  std::deque<std::function<void()>> posted;
  std::vector<Armed> timers;
  std::uint64_t nextOrder = 0;
};

LoopState& State() {
  static LoopState state;
  return state;
}

// The earliest armed timer due at or before tick; timers whose control died drop out.
std::vector<Armed>::iterator EarliestDue(std::int64_t tick) {
  auto& timers = State().timers;
  std::erase_if(timers, [](const Armed& a) { return a.alive.expired(); });
  auto best = timers.end();
  for (auto it = timers.begin(); it != timers.end(); ++it) {
    if (it->due > tick) continue;
    if (best == timers.end() || it->due < best->due ||
        (it->due == best->due && it->order < best->order))
      best = it;
  }
  return best;
}

void FireOne(std::vector<Armed>::iterator it) {
  Armed entry = *it;
  if (entry.alive.expired()) return;
  entry.timer->Fire();
}

}  // namespace

void EventLoop::Post(std::function<void()> task) {
  State().posted.push_back(std::move(task));
}

void EventLoop::RunPending() {
  // Tasks posted while these run wait for the next round, so a task that posts itself
  // cannot hold the loop forever.
  auto batch = std::move(State().posted);
  State().posted.clear();
  for (auto& task : batch) task();
  // Only the timers due now, each at most once in this round.
  const std::int64_t now = CurrentBackend().TickMs();
  std::vector<Timer*> fired;
  for (;;) {
    auto it = EarliestDue(now);
    if (it == State().timers.end()) break;
    if (std::find(fired.begin(), fired.end(), it->timer) != fired.end()) break;
    fired.push_back(it->timer);
    FireOne(it);
  }
}

void EventLoop::RunTimersUntil(std::int64_t tick,
                               const std::function<void(std::int64_t)>& setTime) {
  for (;;) {
    auto it = EarliestDue(tick);
    if (it == State().timers.end()) return;
    // Time never runs backwards: a handler may have moved it on (Sleep, a nested wait).
    if (it->due > CurrentBackend().TickMs()) setTime(it->due);
    FireOne(it);
    auto batch = std::move(State().posted);
    State().posted.clear();
    for (auto& task : batch) task();
  }
}

std::int64_t EventLoop::NextDue() {
  auto& timers = State().timers;
  std::erase_if(timers, [](const Armed& a) { return a.alive.expired(); });
  std::int64_t best = -1;
  for (const auto& a : timers)
    if (best < 0 || a.due < best) best = a.due;
  return best;
}

void EventLoop::Arm(Timer& timer, std::int64_t due) {
  auto& s = State();
  for (auto& a : s.timers)
    if (a.timer == &timer && !a.alive.expired()) {
      a.due = due;
      a.order = s.nextOrder++;
      return;
    }
  s.timers.push_back({&timer, timer.AliveToken(), due, s.nextOrder++});
}

void EventLoop::Disarm(Timer& timer) {
  std::erase_if(State().timers, [&](const Armed& a) { return a.timer == &timer; });
}

bool EventLoop::IsArmed(const Timer& timer) {
  for (const auto& a : State().timers)
    if (a.timer == &timer && !a.alive.expired()) return true;
  return false;
}

int DoEvents() {
  EventLoop::RunPending();
  CurrentBackend().ShowPending();
  return static_cast<int>(Desktop::OpenForms().size());
}

void Sleep(std::int32_t ms) {
  if (ms < 0) Raise(errors::kInvalidProcedureCall);
  CurrentBackend().SleepMs(ms);
}

}  // namespace ze::ui
