// The clock service: where "now" comes from.
//
// The runtime asks the installed clock; by default that is the system clock (local
// time). A ui backend installs its own: the headless backend a virtual clock that tests
// set and advance, so that dates and timers are deterministic.
#pragma once

#include "frame/automation/date_value.h"

namespace ze {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time as an automation Date.
  virtual Date Now() = 0;
};

// The system clock, in local time.
Clock& SystemClock();

// The clock in force. Never null: with none installed, the system clock.
Clock& CurrentClock();

// Installs a clock (nullptr restores the system clock). The caller keeps ownership
// and must uninstall it before destroying it.
void InstallClock(Clock* clock);

}  // namespace ze
