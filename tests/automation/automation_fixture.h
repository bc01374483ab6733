// Test fixtures for the automation services: a fixed locale and a fixed clock, so that
// no result depends on the machine's settings or the time of day.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/automation/clock.h"
#include "frame/automation/date_value.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"

namespace ze::testing {

// Puts a locale in force for the scope and the previous one back afterwards.
class ScopedLocale {
 public:
  explicit ScopedLocale(const std::string& name) : previous_(&Locale::Current()) {
    Locale::SetCurrent(name);
  }
  ~ScopedLocale() { Locale::SetCurrent(previous_->NumericName(), previous_->TimeName()); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  const Locale* previous_;
};

// A clock that says what the test tells it.
class FixedClock final : public Clock {
 public:
  Date Now() override { return now; }
  Date now{38711.5};  // 25 December 2005 12:00
};

// The home locale and a fixed clock for every test.
class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Locale::SetCurrent("it_IT");
    InstallClock(&clock_);
  }
  void TearDown() override {
    InstallClock(nullptr);
    Locale::SetCurrent("it_IT");
  }
  FixedClock clock_;
};

// The error number a call raises, or 0 when it raises none.
template <class F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace ze::testing
