// The fixture of the ui tests: a headless backend of the test's own on a fixed clock,
// default screen, no message-box sink, and every form unloaded afterwards so that no
// test sees another's windows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/automation/error.h"
#include "frame/ui/desktop.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"

namespace ze::ui::testing {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.Install();
    backend_.SetNow(ze::Date(38711.5));  // 25 December 2005, noon
    Screen::Reset();
    SetMessageBoxSink(nullptr);
  }
  void TearDown() override {
    Desktop::UnloadAll();
    backend_.SetInputDriver(nullptr);
    SetMessageBoxSink(nullptr);
    backend_.Uninstall();
  }

  // A record of what happened, in order.
  void Log(std::string line) { log_.push_back(std::move(line)); }
  std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

  HeadlessBackend backend_;
  std::vector<std::string> log_;
};

}  // namespace ze::ui::testing
