// A host for ZEInputNumerico under test: a form on the headless backend holding the
// field and a second text box to leave it for, a site that records what the control
// tells its host (the events with the value they carry), and input through the ui
// layer's injection path, as a user would give it. The locale is it_IT ("," decimal,
// "." thousands) unless a test puts another in force.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "frame/ui/text_box.h"
#include "numeric/ze_input_numerico.h"
#include "tests/fixtures/recording_site.h"

namespace zekalendo::testing {

using Log = std::vector<std::string>;

class NumericHostForm : public ze::ui::Form {};

class NumericTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new field placed on the form with InitProperties run, the form shown, the focus
  // on the other text box; the site's log starts empty.
  ZEInputNumerico& NewControl();
  // Puts a text in the field from code (as pasting would) and clears the log.
  void SetField(std::u16string_view text);
  // Focus into the field (its text gets selected), then the caret at the end.
  void FocusAtEnd();
  void Type(std::u16string_view text);
  // Moves the focus to the other text box: the field commits.
  void Leave();
  // The log since the last call: "changed X", and "event X v" with the event's value.
  Log Take() { return site_.Take(); }
  // The value of the first event of that name in a log; fails the test when none.
  static double ValueOf(const Log& log, const std::string& event);
  String FieldText() const { return control_->txtnumero.Text(); }
  // Expects error 380 from body.
  template <class Body>
  void Expect380(Body&& body) {
    try {
      body();
      ADD_FAILURE() << "no error 380";
    } catch (const ze::AutomationError& e) {
      EXPECT_EQ(e.number(), ze::errors::kInvalidPropertyValue);
    }
  }

  ze::ui::HeadlessBackend backend_;
  ze::fixtures::RecordingSite site_;
  std::shared_ptr<NumericHostForm> form_;
  std::unique_ptr<ZEInputNumerico> control_;
  ze::ui::TextBox* other_ = nullptr;
};

}  // namespace zekalendo::testing
