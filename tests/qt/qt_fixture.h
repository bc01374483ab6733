// The fixture of the Qt backend's tests: a QApplication on the offscreen platform
// (made once by the test program's main), a QtBackend installed for each test, a host
// site for Kalendo that records what the control tells its host, and every form
// unloaded and every window gone afterwards.
//
// Input goes in as real Qt events (QTest::keyClick, QTest::mouseClick) sent to the
// widgets the backend made, so each test crosses the whole path: Qt event, the
// backend's event filter, the model's input path, the component, and the sync back
// into the widget.
#pragma once

#include <gtest/gtest.h>

#include <QtWidgets/QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"
#include "frame/container/font.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/form.h"
#include "frame/ui/user_control.h"
#include "tests/fixtures/recording_site.h"

namespace ze::qt::testing {

// The host's side of a user control: the tests' recording site.
using RecordingSite = ze::fixtures::RecordingSite;

class HostForm : public ze::ui::Form {};

class QtBackendTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new shown form with a client area of the given size (twips).
  std::shared_ptr<HostForm> NewShownForm(float width = 6000, float height = 4000);
  // The widget of a control as a given Qt type (fails the test when missing).
  template <class W>
  W* Widget(const ze::ui::Control& control) {
    W* widget = qobject_cast<W*>(backend_->WidgetOf(control));
    EXPECT_NE(widget, nullptr) << "no widget of the expected kind";
    return widget;
  }

  std::unique_ptr<QtBackend> backend_;
};

}  // namespace ze::qt::testing
