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

namespace zekalendo::testing {

// The host's side of the control: records what the control tells it.
class RecordingSite : public ze::ui::ControlSite {
 public:
  std::vector<std::string> log;
  bool allowChanges = true;
  bool eventHandlersFail = false;  // every event handler raises error 5 after it is logged
  std::optional<ze::Variant> toolTip;  // the extender's ToolTipText, when the host has one
  std::shared_ptr<ze::container::Font> ambientFont =
      std::make_shared<ze::container::Font>(u"MS Sans Serif", 9.75);

  void PropertyChanged(std::u16string_view name) override {
    log.push_back("changed " + ze::ToUtf8(name));
  }
  bool CanPropertyChange(std::u16string_view) override { return allowChanges; }
  std::shared_ptr<ze::container::Font> AmbientFont() override { return ambientFont; }
  std::optional<ze::Variant> ExtenderProperty(std::u16string_view name) override {
    if (name == u"ToolTipText") return toolTip;
    return std::nullopt;
  }
  void RaiseEvent(std::u16string_view name, std::vector<ze::Variant>&) override {
    log.push_back("event " + ze::ToUtf8(name));
    if (eventHandlersFail) ze::Raise(ze::errors::kInvalidProcedureCall);
  }
  // The log since the last call, then cleared.
  std::vector<std::string> Take() { return std::exchange(log, {}); }
};

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
