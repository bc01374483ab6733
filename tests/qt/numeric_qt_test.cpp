// The numeric field in real Qt widgets: its txtnumero is a line edit showing the
// model's text, selection and focus; Qt's own key events go through the key filter
// and leaving the field with Tab commits it.
#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>

#include "frame/automation/locale.h"
#include "frame/ui/desktop.h"
#include "frame/ui/text_box.h"
#include "numeric/ze_input_numerico.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using zekalendo::ZEInputNumerico;

class NumericQtTest : public QtBackendTest {
 protected:
  void SetUp() override {
    QtBackendTest::SetUp();
    ze::Locale::SetCurrent("it_IT");
    form_ = NewShownForm();
    numerico_ = std::make_unique<ZEInputNumerico>();
    numerico_->SetSite(&site_);
    form_->Place(*numerico_, u"txtAnno");
    numerico_->Move(600, 600, 1200, 315);
    numerico_->InitNew();
    other_ = &form_->AddChild<ze::ui::TextBox>(u"Altro");
    other_->Move(600, 1200, 1200, 315);
    numerico_->txtnumero.SetFocus();
    backend_->Sync();
    edit_ = Widget<QLineEdit>(numerico_->txtnumero);
    site_.Take();
  }
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    numerico_.reset();
    form_.reset();
    QtBackendTest::TearDown();
    ze::Locale::SetCurrent("it_IT");
  }

  RecordingSite site_;
  std::shared_ptr<HostForm> form_;
  std::unique_ptr<ZEInputNumerico> numerico_;
  ze::ui::TextBox* other_ = nullptr;
  QLineEdit* edit_ = nullptr;
};

TEST_F(NumericQtTest, TheFieldIsALineEditWithTheModelsTextAndSelection) {
  EXPECT_EQ(edit_->text(), "0,00");
  EXPECT_EQ(edit_->selectedText(), "0,00");
  EXPECT_EQ(edit_->window()->focusWidget(), edit_);
}

TEST_F(NumericQtTest, QtKeysGoThroughTheFilterAndTabCommits) {
  // The first key replaces the selected text; "." is typed as ",", letters dropped.
  QTest::keyClicks(edit_, "1a2.5x");
  EXPECT_EQ(numerico_->Text(), u"12,5");
  EXPECT_EQ(edit_->text(), "12,5");
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_TRUE(other_->HasFocus());
  EXPECT_EQ(edit_->text(), "12,50");

  // Back in and above Massimo: the commit clamps and tells the host.
  QTest::keyClick(Widget<QLineEdit>(*other_), Qt::Key_Backtab);
  EXPECT_EQ(edit_->selectedText(), "12,50");
  QTest::keyClicks(edit_, "999");
  site_.Take();
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(edit_->text(), "100,00");
  EXPECT_EQ(site_.Count("event MassimoSuperato"), 1);
}

}  // namespace
}  // namespace ze::qt::testing
