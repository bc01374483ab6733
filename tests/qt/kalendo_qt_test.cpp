// Kalendo in real Qt widgets: typed into, tabbed out of and clicked with Qt's own
// events, checked in the model, in the events the host receives and in the line edit.
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "frame/qt/appearance.h"
#include "frame/ui/command_button.h"
#include "frame/ui/focus.h"
#include "frame/ui/message_box.h"
#include "frame/ui/text_box.h"
#include "kalendo/kalendo.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using zekalendo::Kalendo;

// The sample form's shape: a date field, a second field to leave it for and a button.
class KalendoQtTest : public QtBackendTest {
 protected:
  void SetUp() override {
    QtBackendTest::SetUp();
    form_ = ze::ui::NewForm<HostForm>();
    form_->SetCaption(u"Provix N\u00B0 2");
    form_->SetClientSize(4680, 3195);
    kalendo_ = std::make_unique<Kalendo>();
    kalendo_->SetSite(&site_);
    form_->Place(*kalendo_, u"Kalendo1");
    kalendo_->Move(1680, 600, 1215, 315);
    kalendo_->InitNew();
    other_ = &form_->AddChild<ze::ui::TextBox>(u"Altro");
    other_->Move(1680, 1080, 1215, 315);
    button_ = &form_->AddChild<ze::ui::CommandButton>(u"Command1");
    button_->Move(2880, 1980, 1575, 435);
    button_->SetCaption(u"&MsgBox");
    form_->Show();
    kalendo_->Paint();
    backend_->Sync();
    edit_ = Widget<QLineEdit>(kalendo_->Text1);
    otherEdit_ = Widget<QLineEdit>(*other_);
    site_.Take();
  }

  // Puts a text into the field from code, the caret at pos, and clears the log.
  void SetField(std::u16string_view text, std::int32_t pos) {
    kalendo_->Text1.SetText(std::u16string(text));
    kalendo_->Text1.SetSelStart(pos);
    backend_->Sync();
    site_.Take();
  }
  QString FieldText() const { return edit_->text(); }
  std::u16string ModelText() const { return kalendo_->Text1.Text(); }

  RecordingSite site_;
  std::shared_ptr<HostForm> form_;
  std::unique_ptr<Kalendo> kalendo_;
  ze::ui::TextBox* other_ = nullptr;
  ze::ui::CommandButton* button_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QLineEdit* otherEdit_ = nullptr;
};

TEST_F(KalendoQtTest, FieldStartsFocusedWithTheEmptyDateSelected) {
  EXPECT_TRUE(kalendo_->Text1.HasFocus());
  EXPECT_EQ(FieldText(), "00/00/0000");
  EXPECT_EQ(edit_->selectedText(), "00/00/0000");
  EXPECT_EQ(edit_->window()->focusWidget(), edit_);
}

TEST_F(KalendoQtTest, TypedDateShowsInTheModelAndTheField) {
  QTest::keyClicks(edit_, "25122005");
  EXPECT_EQ(ModelText(), u"25/12/2005");
  EXPECT_EQ(FieldText(), "25/12/2005");
  EXPECT_EQ(edit_->cursorPosition(), 10);
  EXPECT_FALSE(edit_->hasSelectedText());
  EXPECT_EQ(site_.Count("event TastoPress"), 8);
  EXPECT_EQ(kalendo_->Text(), u"25/12/2005");
}

TEST_F(KalendoQtTest, KeysOtherThanDigitsLeaveTheDate) {
  SetField(u"25/12/2005", 3);
  QTest::keyClicks(edit_, "ab/ -");
  QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);  // no paste of Qt's own
  QTest::keyClick(edit_, Qt::Key_Z, Qt::ControlModifier);  // no undo of Qt's own
  EXPECT_EQ(ModelText(), u"25/12/2005");
  EXPECT_EQ(FieldText(), "25/12/2005");
  EXPECT_EQ(edit_->cursorPosition(), 3);
  EXPECT_EQ(site_.Count("event TastoPress"), 0);
}

TEST_F(KalendoQtTest, BackspaceAndDeleteZeroDigits) {
  struct Case {
    const char* name;
    std::int32_t caret;
    Qt::Key key;
    const char16_t* text;
    std::int32_t caretAfter;
  };
  const Case cases[] = {
      {"backspace at the end", 10, Qt::Key_Backspace, u"25/12/2000", 9},
      {"backspace after a slash", 6, Qt::Key_Backspace, u"25/10/2005", 4},
      {"backspace after the first slash", 3, Qt::Key_Backspace, u"20/12/2005", 1},
      {"backspace at the start", 0, Qt::Key_Backspace, u"25/12/2005", 0},
      {"delete at the start", 0, Qt::Key_Delete, u"05/12/2005", 1},
      {"delete before a slash", 2, Qt::Key_Delete, u"25/02/2005", 4},
  };
  for (const Case& c : cases) {
    SetField(u"25/12/2005", c.caret);
    QTest::keyClick(edit_, c.key);
    EXPECT_EQ(ModelText(), c.text) << c.name;
    EXPECT_EQ(FieldText(), ToQString(c.text)) << c.name;
    EXPECT_EQ(kalendo_->Text1.SelStart(), c.caretAfter) << c.name;
    EXPECT_EQ(edit_->cursorPosition(), c.caretAfter) << c.name;
  }
}

TEST_F(KalendoQtTest, DeleteOverASelectionZeroesItsDigits) {
  kalendo_->Text1.SetText(u"25/12/2005");
  kalendo_->Text1.SetSelStart(3);
  kalendo_->Text1.SetSelLength(7);
  backend_->Sync();
  EXPECT_EQ(edit_->selectedText(), "12/2005");
  QTest::keyClick(edit_, Qt::Key_Delete);
  EXPECT_EQ(ModelText(), u"25/00/0000");
  EXPECT_EQ(FieldText(), "25/00/0000");
}

TEST_F(KalendoQtTest, EnterRaisesReturnPressOnly) {
  SetField(u"25/12/2005", 4);
  QTest::keyClick(edit_, Qt::Key_Return);
  QTest::keyClick(edit_, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(site_.Take(), (std::vector<std::string>{"event ReturnPress", "event ReturnPress"}));
  EXPECT_EQ(FieldText(), "25/12/2005");
}

TEST_F(KalendoQtTest, EnterWhoseHandlerMovesTheFocusEndsInTheField) {
  // The sample program's handler: Enter moves to the next field. The Enter character
  // still belongs to the date field, which swallows it: nothing reaches the other one.
  site_.onEvent = [this](std::u16string_view name, std::vector<ze::Variant>&) {
    if (name == u"ReturnPress") other_->SetFocus();
  };
  std::vector<std::int16_t> otherKeys;
  other_->onKeyPress = [&](std::int16_t& k) { otherKeys.push_back(k); };
  other_->SetText(u"abc");
  QTest::keyPress(edit_, Qt::Key_Return);
  EXPECT_TRUE(other_->HasFocus());
  EXPECT_TRUE(otherKeys.empty());
  EXPECT_EQ(other_->Text(), u"abc");
  EXPECT_EQ(edit_->window()->focusWidget(), otherEdit_);
  QTest::keyRelease(otherEdit_, Qt::Key_Return);
}

TEST_F(KalendoQtTest, TabLeavesTheFieldAndReportsAnInvalidDate) {
  QTest::keyClicks(edit_, "99999999");
  site_.Take();
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_TRUE(other_->HasFocus());
  EXPECT_EQ(edit_->window()->focusWidget(), otherEdit_);
  EXPECT_EQ(site_.Take(), std::vector<std::string>{"event DataNonValida"});
  EXPECT_EQ(FieldText(), "99/99/9999");  // reported, never corrected

  // Back with Shift+Tab (Qt calls it Backtab): the field selects itself again.
  QTest::keyClick(otherEdit_, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(kalendo_->Text1.HasFocus());
  EXPECT_EQ(edit_->selectedText(), "99/99/9999");
  EXPECT_TRUE(site_.Take().empty());
}

TEST_F(KalendoQtTest, TabWithAValidDateReportsNothing) {
  QTest::keyClicks(edit_, "25122005");
  site_.Take();
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_TRUE(other_->HasFocus());
  EXPECT_TRUE(site_.Take().empty());
}

TEST_F(KalendoQtTest, InvalidDateMessageThenEmptyFieldAsTheSampleDoes) {
  // The sample's handler: a message box, then DelData. With the backend's sink the
  // message is a real dialog; the test answers it as a user would.
  std::vector<QString> shown;
  site_.onEvent = [this](std::u16string_view name, std::vector<ze::Variant>&) {
    if (name != u"DataNonValida") return;
    ze::ui::MsgBox(u"data non valida", 0, u"provix2");
    kalendo_->DelData();
  };
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown.push_back(box->windowTitle() + ": " + box->text());
      box->button(QMessageBox::Ok)->click();
    }
  });
  poll.start(5);
  QTest::keyClicks(edit_, "99999999");
  QTest::keyClick(edit_, Qt::Key_Tab);
  poll.stop();
  EXPECT_EQ(shown, std::vector<QString>{"provix2: data non valida"});
  EXPECT_EQ(ModelText(), u"00/00/0000");
  EXPECT_EQ(FieldText(), "00/00/0000");
  // The empty date is valid: back and out again shows no second message.
  QTest::keyClick(otherEdit_, Qt::Key_Backtab, Qt::ShiftModifier);
  poll.start(5);
  QTest::keyClick(edit_, Qt::Key_Tab);
  poll.stop();
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(KalendoQtTest, ClickInTheFieldPutsTheCaretUnderThePointer) {
  SetField(u"25/12/2005", 0);
  other_->SetFocus();
  backend_->Sync();
  site_.Take();
  // Somewhere over the month, wherever the font puts it.
  const QPoint at(edit_->contentsRect().left() + 2 + edit_->fontMetrics().horizontalAdvance("25/1"),
                  edit_->height() / 2);
  const int expected = edit_->cursorPositionAt(at);
  ASSERT_GT(expected, 0);
  QTest::mouseClick(edit_, Qt::LeftButton, {}, at);
  EXPECT_TRUE(kalendo_->Text1.HasFocus());
  // Entering selects everything; the click then puts the caret where it landed.
  EXPECT_EQ(kalendo_->Text1.SelStart(), expected);
  EXPECT_EQ(kalendo_->Text1.SelLength(), 0);
  EXPECT_EQ(edit_->cursorPosition(), expected);
  EXPECT_EQ(site_.Take(), std::vector<std::string>{"event Click"});
}

TEST_F(KalendoQtTest, DoubleClickRaisesOneClickAndOneDblClick) {
  const QPoint at(5, edit_->height() / 2);
  QTest::mouseClick(edit_, Qt::LeftButton, {}, at);
  QTest::mouseDClick(edit_, Qt::LeftButton, {}, at);
  QTest::mouseRelease(edit_, Qt::LeftButton, {}, at);
  EXPECT_EQ(site_.Take(), (std::vector<std::string>{"event Click", "event DblClick"}));
}

TEST_F(KalendoQtTest, RightClickCollapsesTheSelection) {
  ASSERT_EQ(kalendo_->Text1.SelLength(), 10);
  QTest::mouseClick(edit_, Qt::RightButton);
  EXPECT_EQ(kalendo_->Text1.SelLength(), 0);
  EXPECT_FALSE(edit_->hasSelectedText());
  EXPECT_TRUE(site_.Take().empty());  // no Click for the right button
}

TEST_F(KalendoQtTest, ButtonClickRaisesClickAndTakesTheFocus) {
  int clicks = 0;
  button_->onClick = [&] { ++clicks; };
  auto* button = Widget<QPushButton>(*button_);
  EXPECT_EQ(button->text(), "&MsgBox");
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button_->HasFocus());
  EXPECT_EQ(button->window()->focusWidget(), button);
  // Pressed on the button but released elsewhere: no click.
  QTest::mousePress(button, Qt::LeftButton);
  EXPECT_TRUE(button->isDown());
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
  EXPECT_FALSE(button->isDown());
  EXPECT_EQ(clicks, 1);
  // Space on the focused button clicks it (the model's own key handling).
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
}

TEST_F(KalendoQtTest, TheButtonReportsBothDatesInARealMessageBox) {
  Kalendo second;
  RecordingSite secondSite;
  second.SetSite(&secondSite);
  form_->Place(second, u"Kalendo2");
  second.Move(1680, 1080, 1215, 315);
  second.InitNew();
  second.SetText(u"31/12/2005");
  kalendo_->SetText(u"01/01/2005");
  button_->onClick = [&] {
    ze::ui::MsgBox(u"data iniziale: " + kalendo_->Text() + u" data finale: " + second.Text(), 0,
                   u"provix2");
  };
  QString text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    QTest::keyClick(box, Qt::Key_Return);  // the default button, OK
  });
  QTest::mouseClick(Widget<QPushButton>(*button_), Qt::LeftButton);
  EXPECT_EQ(text, "data iniziale: 01/01/2005 data finale: 31/12/2005");
}

TEST_F(KalendoQtTest, PopupButtonShowsItsTriangle) {
  kalendo_->SetPopSelezione(true);
  kalendo_->Paint();
  backend_->Sync();
  auto* button = Widget<QPushButton>(kalendo_->cmdpop);
  ASSERT_TRUE(button->isVisible());
  EXPECT_EQ(button->iconSize(), QSize(11, 9));
  const QImage glyph = button->icon().pixmap(QSize(11, 9)).toImage();
  EXPECT_EQ(qAlpha(glyph.pixel(0, 0)), 0);    // white is the mask colour
  EXPECT_EQ(qAlpha(glyph.pixel(5, 4)), 255);  // the triangle's tip
  // The field made room for the button.
  EXPECT_LT(edit_->width() + button->width(), Widget<QWidget>(*kalendo_)->width() + 1);
}

TEST_F(KalendoQtTest, FormScreenshotHasTheClientSize) {
  const QImage shot = backend_->RenderForm(*form_);
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), QSize(4680 / 15, 3195 / 15));
  // The field is drawn: its white background differs from the button face around it.
  const QPoint inField = edit_->mapTo(edit_->window(), QPoint(edit_->width() - 4, 4));
  EXPECT_NE(shot.pixel(inField), shot.pixel(QPoint(2, 2)));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  EXPECT_TRUE(backend_->SaveFormPng(*form_, dir.filePath("form.png")));
  EXPECT_FALSE(QImage(dir.filePath("form.png")).isNull());
  // A form that does not show has no picture.
  auto hidden = ze::ui::NewForm<HostForm>();
  hidden->Load();
  EXPECT_TRUE(backend_->RenderForm(*hidden).isNull());
  EXPECT_FALSE(backend_->SaveFormPng(*hidden, dir.filePath("hidden.png")));
  hidden->Unload();
}

TEST_F(KalendoQtTest, AboutBoxIsAModalWindowClosedByItsButton) {
  QString title;
  bool hostIsModal = true;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    // The box, not the host's window, holds the input while it is up.
    hostIsModal = box == edit_->window();
    auto buttons = box->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    QTest::mouseClick(buttons.front(), Qt::LeftButton);
  });
  kalendo_->AboutBox();  // returns when the box closes
  EXPECT_FALSE(title.isEmpty());
  EXPECT_FALSE(hostIsModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  QTest::keyClicks(edit_, "1");  // and the field takes keys again
  EXPECT_EQ(ModelText(), u"10/00/0000");
}

}  // namespace
}  // namespace ze::qt::testing
