// Timer: a control without a window that raises Timer every Interval milliseconds
// while it is Enabled (Control's Enabled starts and stops it), its Interval is above 0 and its form
// is loaded. Setting Interval or Enabled restarts the count. Ticks come only from the event loop
// (event_loop.h).
#pragma once

#include <cstdint>
#include <functional>

#include "frame/ui/control.h"

namespace ze::ui {

class Timer : public Control {
 public:
  Timer() = default;
  ~Timer() override;
  String TypeName() const override { return u"Timer"; }
  const std::type_info& ViewType() const override { return typeid(Timer); }
  bool CanTakeFocus() const override { return false; }

  // 0 stops the timer; 1 to 65535 ms; others raise error 380.
  std::int32_t Interval() const { return interval_; }
  void SetInterval(std::int32_t ms);

  // Whether it is counting now.
  bool Running() const;
  // Restarts the count if the timer should run (its form was loaded).
  void Restart();

  std::function<void()> onTimer;

  // Called by the event loop when due.
  void Fire();

 protected:
  void StateChanged() override { Restart(); }
  void CopySettingsFrom(const Control& other) override;

 private:
  std::int32_t interval_ = 0;
  bool busy_ = false;
};

}  // namespace ze::ui
