// Message boxes as real dialogs: buttons, icon, default and escape buttons of each
// style, plain text, and answers through the model's MsgBox.
#include "frame/ui/message_box.h"

#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPushButton>

#include "frame/qt/message_box_dialog.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

namespace mb = ze::ui::msgbox;

struct StyleCase {
  const char* name;
  std::int32_t style;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon;
  QMessageBox::StandardButton defaultButton;
  QMessageBox::StandardButton escapeButton;  // NoButton: Qt picks one
};

TEST(MessageBoxDialog, EachStyleMakesItsButtonsIconAndDefault) {
  using B = QMessageBox;
  const StyleCase cases[] = {
      {"ok only", mb::kOkOnly, B::Ok, B::NoIcon, B::Ok, B::Ok},
      {"ok cancel, question, second default", mb::kOkCancel | mb::kQuestion | mb::kDefaultButton2,
       B::Ok | B::Cancel, B::Question, B::Cancel, B::Cancel},
      {"abort retry ignore, critical, third default",
       mb::kAbortRetryIgnore | mb::kCritical | mb::kDefaultButton3, B::Abort | B::Retry | B::Ignore,
       B::Critical, B::Ignore, B::NoButton},
      {"yes no cancel, exclamation", mb::kYesNoCancel | mb::kExclamation,
       B::Yes | B::No | B::Cancel, B::Warning, B::Yes, B::Cancel},
      {"yes no, information, second default", mb::kYesNo | mb::kInformation | mb::kDefaultButton2,
       B::Yes | B::No, B::Information, B::No, B::NoButton},
      {"retry cancel", mb::kRetryCancel, B::Retry | B::Cancel, B::NoIcon, B::Retry, B::Cancel},
      {"a default past the buttons", mb::kOkOnly | mb::kDefaultButton3, B::Ok, B::NoIcon, B::Ok,
       B::Ok},
  };
  for (const StyleCase& c : cases) {
    QMessageBox box;
    SetUpMessageBox(box, {u"prompt", c.style, u"title"});
    EXPECT_EQ(box.standardButtons(), c.buttons) << c.name;
    EXPECT_EQ(box.icon(), c.icon) << c.name;
    EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton)) << c.name;
    if (c.escapeButton != B::NoButton) {
      EXPECT_EQ(box.escapeButton(), box.button(c.escapeButton)) << c.name;
    }
    EXPECT_EQ(AnswerOf(box), 0) << c.name << ": nothing pressed yet";
  }
}

TEST(MessageBoxDialog, PromptAndTitleAreShownAsWritten) {
  QMessageBox box;
  SetUpMessageBox(box, {u"<b>data</b> non valida", 0, u"Errore n. 5"});
  EXPECT_EQ(box.textFormat(), Qt::PlainText);
  EXPECT_EQ(box.text(), "<b>data</b> non valida");
  EXPECT_EQ(box.windowTitle(), "Errore n. 5");
}

TEST(MessageBoxDialog, AnswersCountTheBoxsButtons) {
  EXPECT_EQ(MessageBoxAnswers(mb::kYesNoCancel),
            (std::vector<int>{mb::kYes, mb::kNo, mb::kCancel}));
  EXPECT_EQ(MessageBoxAnswers(mb::kAbortRetryIgnore),
            (std::vector<int>{mb::kAbort, mb::kRetry, mb::kIgnore}));
}

// Through the model: MsgBox shows the dialog over the active form, and the button the
// user presses (or Escape) is the answer.
class MessageBoxSinkTest : public QtBackendTest {
 protected:
  // Answers the next dialog with an action once it shows; records it.
  void AnswerWith(std::function<void(QMessageBox&)> action) {
    QTimer::singleShot(0, [this, action] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << "no message box showed";
      parent_ = box->parentWidget();
      title_ = box->windowTitle();
      action(*box);
    });
  }
  QWidget* parent_ = nullptr;
  QString title_;
};

TEST_F(MessageBoxSinkTest, ButtonPressedIsTheAnswer) {
  auto form = NewShownForm();
  AnswerWith([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
  EXPECT_EQ(ze::ui::MsgBox(u"Salvare?", mb::kYesNo | mb::kQuestion, u"provix2"), mb::kNo);
  EXPECT_EQ(parent_, backend_->WidgetOf(*form));
  EXPECT_EQ(title_, "provix2");
}

TEST_F(MessageBoxSinkTest, EscapeAnswersCancelOrOk) {
  auto form = NewShownForm();
  AnswerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(ze::ui::MsgBox(u"Continuare?", mb::kOkCancel), mb::kCancel);
  AnswerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(ze::ui::MsgBox(u"Fatto."), mb::kOk);
  EXPECT_EQ(title_, "zeKalendo");  // the application's title when the caller gave none
}

TEST_F(MessageBoxSinkTest, EnterAnswersTheDefaultButton) {
  auto form = NewShownForm();
  AnswerWith([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
  EXPECT_EQ(ze::ui::MsgBox(u"Riprovare?", mb::kAbortRetryIgnore | mb::kDefaultButton2), mb::kRetry);
}

TEST_F(MessageBoxSinkTest, WithoutAFormTheBoxStandsAlone) {
  AnswerWith([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
  EXPECT_EQ(ze::ui::MsgBox(u"Uscire?", mb::kYesNo), mb::kYes);
  EXPECT_EQ(parent_, nullptr);
}

}  // namespace
}  // namespace ze::qt::testing
