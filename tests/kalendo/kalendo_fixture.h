// A host for Kalendo under test: a form on the headless backend, a site that records
// every change notice and event in order, and keyboard and mouse input through the ui
// layer's injection path, as a user would give it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/container/font.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/user_control.h"
#include "kalendo/kalendo.h"
#include "tests/fixtures/recording_site.h"

namespace zekalendo::testing {

// The host's side of the control: the tests' recording site.
using RecordingSite = ze::fixtures::RecordingSite;

class HostForm : public ze::ui::Form {};

class KalendoTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new control placed on the host form with InitProperties run, the form shown;
  // what the host was told meanwhile is in initLog_, and the site's log starts empty.
  Kalendo& NewControl();
  // Sets the field text directly (as a restored bag would) and clears the log.
  void SetField(std::u16string_view text);
  // Focus into the field, keys typed, keys pressed (virtual key codes).
  void FocusField();
  void Type(std::u16string_view text);
  void Press(std::int16_t keyCode, std::int16_t shift = 0);
  // Caret and selection of the field.
  void Select(std::int32_t start, std::int32_t length);

  ze::ui::HeadlessBackend backend_;
  RecordingSite site_;
  std::vector<std::string> initLog_;
  std::shared_ptr<HostForm> form_;
  std::unique_ptr<Kalendo> control_;
  ze::ui::TextBox* other_ = nullptr;  // a second control on the host form, to leave the field to
};

}  // namespace zekalendo::testing
