// Qt's input through the model: keys in the model's order, fields that only the model
// edits, mouse gestures, windows closed and activated by the user, modal forms on a
// nested Qt loop, the model's timers on Qt's loop, and the host's main loop.
#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtGui/QWheelEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "frame/automation/error.h"
#include "frame/ui/clipboard.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/cursor.h"
#include "frame/ui/desktop.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/keys.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/timer.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using namespace ze::ui;

class InputTest : public QtBackendTest {
 protected:
  // A shown form with one field, focused.
  TextBox& FieldOnForm() {
    form_ = NewShownForm();
    TextBox& field = form_->AddChild<TextBox>(u"Text1");
    field.Move(150, 150, 3000, 315);
    field.SetFocus();
    backend_->Sync();
    edit_ = Widget<QLineEdit>(field);
    return field;
  }
  // Logs every key event of a control as "down 65 0", "press 97", "up 65 0".
  void LogKeys(Control& c, const std::string& who = "") {
    c.onKeyDown = [this, who](std::int16_t& k, std::int16_t s) {
      log_.push_back(who + "down " + std::to_string(k) + " " + std::to_string(s));
    };
    c.onKeyPress = [this, who](std::int16_t& k) {
      log_.push_back(who + "press " + std::to_string(k));
    };
    c.onKeyUp = [this, who](std::int16_t& k, std::int16_t s) {
      log_.push_back(who + "up " + std::to_string(k) + " " + std::to_string(s));
    };
  }
  std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

  std::shared_ptr<HostForm> form_;
  QLineEdit* edit_ = nullptr;
  std::vector<std::string> log_;
};

TEST_F(InputTest, KeysReachTheModelInItsOrder) {
  TextBox& field = FieldOnForm();
  LogKeys(field);
  QTest::keyClick(edit_, Qt::Key_A);
  QTest::keyClick(edit_, 'A', Qt::ShiftModifier);  // Shift goes down and up around it
  QTest::keyClick(edit_, Qt::Key_F5);
  QTest::keyClick(edit_, Qt::Key_Delete, Qt::ControlModifier);
  // Held: Qt repeats the key going down, with a release for each repeat that the
  // model does not see.
  QTest::keyPress(edit_, Qt::Key_B);
  QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, "b", /*autorep=*/true);
  QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", /*autorep=*/true);
  QCoreApplication::sendEvent(edit_, &repeatUp);
  QCoreApplication::sendEvent(edit_, &repeatDown);
  QTest::keyRelease(edit_, Qt::Key_B);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{
                           "down 65 0", "press 97", "up 65 0",                          // a
                           "down 16 1", "down 65 1", "press 65", "up 65 1", "up 16 0",  // A
                           "down 116 0", "up 116 0",                                    // F5
                           "down 17 2", "down 46 2", "up 46 2", "up 17 0",    // Ctrl+Delete
                           "down 66 0", "press 98", "down 66 0", "press 98",  // b held
                           "up 66 0"}));
  EXPECT_EQ(field.Text(), u"aAbb");
  EXPECT_EQ(edit_->text(), "aAbb");
}

TEST_F(InputTest, WhatAKeyUpHandlerChangesShowsAtOnce) {
  TextBox& field = FieldOnForm();
  field.onKeyUp = [&](std::int16_t& k, std::int16_t) {
    if (k == keys::kEscape) field.SetText(u"annullato");
  };
  QTest::keyClick(edit_, Qt::Key_Escape);
  EXPECT_EQ(edit_->text(), "annullato");
}

TEST_F(InputTest, TheFieldChangesOnlyThroughTheModel) {
  TextBox& field = FieldOnForm();
  // A handler that cancels a key: Qt must not insert it either.
  field.onKeyPress = [](std::int16_t& k) {
    if (k == 'x') k = 0;
  };
  QTest::keyClicks(edit_, "axb");
  EXPECT_EQ(field.Text(), u"ab");
  EXPECT_EQ(edit_->text(), "ab");
  // Editing keys are the model's text box's: select all backwards, then replace.
  QTest::keyClick(edit_, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(field.SelLength(), 2);
  EXPECT_EQ(edit_->selectedText(), "ab");
  QTest::keyClick(edit_, Qt::Key_Z);
  EXPECT_EQ(edit_->text(), "z");
  // Qt's own clipboard, undo and input methods have no way in.
  QTest::keyClick(edit_, Qt::Key_Z, Qt::ControlModifier);
  QInputMethodEvent composed;
  composed.setCommitString("qt");
  QCoreApplication::sendEvent(edit_, &composed);
  EXPECT_EQ(field.Text(), u"zqt");  // committed text is typed through the model
  EXPECT_EQ(edit_->text(), "zqt");
}

TEST_F(InputTest, MaxLengthAndLockedAreTheModelsRules) {
  TextBox& field = FieldOnForm();
  field.SetMaxLength(3);
  QTest::keyClicks(edit_, "abcd");
  EXPECT_EQ(edit_->text(), "abc");
  field.SetLocked(true);
  QTest::keyClick(edit_, Qt::Key_Backspace);
  QTest::keyClicks(edit_, "z");
  EXPECT_EQ(edit_->text(), "abc");
  EXPECT_TRUE(edit_->isReadOnly());
  // Copying from a locked field still works, through the model's clipboard.
  QTest::keyClick(edit_, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClick(edit_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard::Text(), u"abc");
}

TEST_F(InputTest, FormKeyPreviewSeesKeysFirst) {
  TextBox& field = FieldOnForm();
  form_->SetKeyPreview(true);
  LogKeys(*form_, "form ");
  LogKeys(field, "field ");
  form_->onKeyPress = [this](std::int16_t& k) {
    log_.push_back("form press " + std::to_string(k));
    if (k == 'q') k = 0;  // kept from the field
  };
  QTest::keyClick(edit_, Qt::Key_Q);
  EXPECT_EQ(TakeLog(),
            (std::vector<std::string>{"form down 81 0", "field down 81 0", "form press 113",
                                      "form up 81 0", "field up 81 0"}));
  EXPECT_EQ(field.Text(), u"");
}

TEST_F(InputTest, KeysGoToTheFocusWhicheverWidgetQtPicked) {
  TextBox& field = FieldOnForm();
  TextBox& second = form_->AddChild<TextBox>(u"Text2");
  second.Move(150, 600, 3000, 315);
  backend_->Sync();
  // Qt sends a key to the window (or a stale widget): the model's focus owner gets it.
  QTest::keyClicks(backend_->WidgetOf(*form_), "ok");
  QTest::keyClicks(Widget<QLineEdit>(second), "!");
  EXPECT_EQ(field.Text(), u"ok!");
  EXPECT_EQ(second.Text(), u"");
}

TEST_F(InputTest, KeysOnAFormWithoutFieldsGoToTheForm) {
  form_ = NewShownForm();
  form_->AddChild<Label>(u"Label1");
  backend_->Sync();
  LogKeys(*form_);
  QTest::keyClick(backend_->WidgetOf(*form_), Qt::Key_Escape);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"down 27 0", "press 27", "up 27 0"}));
}

TEST_F(InputTest, DraggingInAFocusedFieldSelects) {
  TextBox& field = FieldOnForm();
  field.SetText(u"25/12/2005");
  backend_->Sync();
  const QPoint start(edit_->contentsRect().left() + 1, edit_->height() / 2);
  const QPoint end(edit_->width() - 2, edit_->height() / 2);
  QTest::mousePress(edit_, Qt::LeftButton, {}, start);
  EXPECT_EQ(field.SelLength(), 0);
  QMouseEvent move(QEvent::MouseMove, end, edit_->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(edit_, &move);
  QTest::mouseRelease(edit_, Qt::LeftButton, {}, end);
  EXPECT_EQ(field.SelStart(), 0);
  EXPECT_EQ(field.SelLength(), 10);
  EXPECT_EQ(edit_->selectedText(), "25/12/2005");
  // The model's pointer followed the mouse, in screen pixels.
  Point pointer;
  ASSERT_TRUE(GetCursorPos(pointer));
  EXPECT_EQ(QPoint(pointer.x, pointer.y), edit_->mapToGlobal(end));
}

TEST_F(InputTest, ClicksOnLabelsAndFormsActivateButKeepTheFocus) {
  TextBox& field = FieldOnForm();
  Label& label = form_->AddChild<Label>(u"Label1");
  label.Move(150, 900, 1500, 255);
  label.SetCaption(u"Data");
  backend_->Sync();
  int labelClicks = 0, formClicks = 0;
  label.onClick = [&] { ++labelClicks; };
  form_->onClick = [&] { ++formClicks; };
  QTest::mouseClick(Widget<QWidget>(label), Qt::LeftButton);
  QTest::mouseClick(backend_->WidgetOf(*form_), Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_EQ(labelClicks, 1);
  EXPECT_EQ(formClicks, 1);
  EXPECT_TRUE(field.HasFocus());
}

TEST_F(InputTest, ClicksOnDisabledControlsDoNothing) {
  form_ = NewShownForm();
  auto& button = form_->AddChild<CommandButton>(u"Command1");
  button.Move(150, 150, 1500, 435);
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  button.SetEnabled(false);
  backend_->Sync();
  auto* widget = Widget<QPushButton>(button);
  // A disabled Qt widget gets no mouse events at all; send one anyway, as the model is
  // the one to refuse.
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
  EXPECT_EQ(clicks, 0);
}

TEST_F(InputTest, AccessKeyClicksTheButton) {
  TextBox& field = FieldOnForm();
  auto& button = form_->AddChild<CommandButton>(u"Command1");
  button.Move(150, 900, 1500, 435);
  button.SetCaption(u"&MsgBox");
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  backend_->Sync();
  QApplication::setActiveWindow(backend_->WidgetOf(*form_));  // shortcuts need it
  QTest::keyClick(edit_, Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button.HasFocus());
  EXPECT_EQ(field.Text(), u"");
}

TEST_F(InputTest, ChoosingFromTheListIsTheModelsChoice) {
  form_ = NewShownForm();
  auto& list = form_->AddChild<ComboBox>(u"cmbMese");
  list.Move(150, 150, 1500, 315);
  for (const char16_t* month : {u"gennaio", u"febbraio", u"marzo"}) list.AddItem(month);
  int clicks = 0;
  list.onClick = [&] { ++clicks; };
  backend_->Sync();
  auto* combo = Widget<QComboBox>(list);
  emit combo->activated(1);  // what Qt's list says when the user picks an entry
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(list.HasFocus());
  EXPECT_EQ(combo->currentIndex(), 1);
  // The wheel would change Qt's choice behind the model's back: it is ignored.
  QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(combo, &wheel);
  EXPECT_EQ(combo->currentIndex(), 1);
  // The model's own keys choose too.
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(clicks, 2);
}

TEST_F(InputTest, ClosingTheWindowAsksTheForm) {
  form_ = NewShownForm();
  std::vector<std::int16_t> modes;
  bool refuse = true;
  form_->onQueryUnload = [&](std::int16_t& cancel, std::int16_t mode) {
    modes.push_back(mode);
    if (refuse) cancel = 1;
  };
  QWidget* window = backend_->WidgetOf(*form_);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(form_->IsLoaded());
  EXPECT_TRUE(window->isVisible());
  refuse = false;
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(form_->IsLoaded());
  EXPECT_EQ(modes, (std::vector<std::int16_t>{unload_mode::kUserClose, unload_mode::kUserClose}));
}

TEST_F(InputTest, UserActivationActivatesTheForm) {
  auto first = NewShownForm();
  auto second = NewShownForm();
  std::vector<std::string> events;
  first->onActivate = [&] { events.push_back("first activate"); };
  second->onDeactivate = [&] { events.push_back("second deactivate"); };
  QCoreApplication::processEvents();  // the platform's own activations as windows show
  EXPECT_EQ(Desktop::Active(), second.get());
  EXPECT_TRUE(events.empty());
  // The user brings the first window forward.
  QWidget* firstWindow = backend_->WidgetOf(*first);
  firstWindow->activateWindow();
  QCoreApplication::processEvents();
  EXPECT_EQ(Desktop::Active(), first.get());
  EXPECT_EQ(events, (std::vector<std::string>{"second deactivate", "first activate"}));
}

TEST_F(InputTest, ModalFormRunsOnANestedQtLoop) {
  form_ = NewShownForm();
  auto& hostButton = form_->AddChild<CommandButton>(u"Command1");
  hostButton.Move(150, 150, 1500, 435);
  int hostClicks = 0;
  hostButton.onClick = [&] { ++hostClicks; };
  backend_->Sync();
  auto dialog = ze::ui::NewForm<HostForm>();
  dialog->SetClientSize(3000, 1500);
  dialog->SetKeyPreview(true);
  auto& answer = dialog->AddChild<TextBox>(u"Risposta");
  answer.Move(150, 150, 2000, 315);
  dialog->onKeyDown = [&](std::int16_t& k, std::int16_t) {
    if (k == keys::kEscape) dialog->Unload();
  };
  QTimer::singleShot(0, [&] {
    QWidget* window = backend_->WidgetOf(*dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isModal());
    // The form under a modal one takes no clicks.
    QTest::mouseClick(Widget<QPushButton>(hostButton), Qt::LeftButton);
    QTest::keyClicks(Widget<QLineEdit>(answer), "si");
    QTest::keyClick(Widget<QLineEdit>(answer), Qt::Key_Escape);
  });
  dialog->Show(kModal);
  EXPECT_FALSE(dialog->IsLoaded());
  EXPECT_EQ(answer.Text(), u"si");
  EXPECT_EQ(hostClicks, 0);
  EXPECT_EQ(Desktop::Active(), form_.get());
}

TEST_F(InputTest, ModelTimersFireFromQtsLoop) {
  form_ = NewShownForm();
  auto& timer = form_->AddChild<Timer>(u"Timer1");
  std::vector<std::int64_t> ticks;
  timer.onTimer = [&] { ticks.push_back(backend_->TickMs()); };
  // Armed by a host's own callback, outside any routed input.
  QTimer::singleShot(0, [&] { timer.SetInterval(20); });
  QElapsedTimer clock;
  clock.start();
  while (ticks.size() < 3 && clock.elapsed() < 5000) QTest::qWait(5);
  ASSERT_GE(ticks.size(), 3u);
  for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(ticks[i] - ticks[i - 1], 19);
  timer.SetEnabled(false);
  const std::size_t fired = ticks.size();
  QTest::qWait(60);
  EXPECT_EQ(ticks.size(), fired);
}

TEST_F(InputTest, SleepBlocksAndTimeRunsOn) {
  const std::int64_t before = backend_->TickMs();
  ze::ui::Sleep(30);
  EXPECT_GE(backend_->TickMs() - before, 30);
  const double now = ze::CurrentClock().Now().serial;
  const double system = ze::SystemClock().Now().serial;
  EXPECT_LT(std::abs(system - now), 1.0 / 86400);  // the system clock, within a second
}

TEST_F(InputTest, HandlerFailuresAreReportedNotThrownIntoQt) {
  form_ = NewShownForm();
  auto& button = form_->AddChild<CommandButton>(u"Command1");
  button.Move(150, 150, 1500, 435);
  int clicks = 0;
  button.onClick = [&] {
    ++clicks;
    ze::Raise(ze::errors::kInvalidProcedureCall);
  };
  backend_->Sync();
  QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
  QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
}

TEST_F(InputTest, RunEndsWhenTheLastFormUnloads) {
  EXPECT_EQ(backend_->Run(), 0);  // nothing to run
  form_ = NewShownForm();
  QTimer::singleShot(10, [&] { form_->Unload(); });
  EXPECT_EQ(backend_->Run(), 0);
  EXPECT_FALSE(form_->IsLoaded());
}

TEST_F(InputTest, QuittingQtUnloadsWhatIsLeft) {
  form_ = NewShownForm();
  auto dialog = ze::ui::NewForm<HostForm>();
  bool unloaded = false;
  form_->onUnload = [&](std::int16_t&) { unloaded = true; };
  // Quit while a modal form's loop runs: the modal loop ends, then Run.
  QTimer::singleShot(10, [&] { QCoreApplication::quit(); });
  QTimer::singleShot(0, [&] { dialog->Show(kModal); });
  backend_->Run();
  EXPECT_FALSE(dialog->IsLoaded());
  EXPECT_TRUE(unloaded);
  EXPECT_TRUE(Desktop::OpenForms().empty());
}

TEST_F(InputTest, AFormThatRefusesToCloseStopsTheQuit) {
  form_ = NewShownForm();
  std::vector<std::int16_t> modes;
  form_->onQueryUnload = [&](std::int16_t& cancel, std::int16_t mode) {
    modes.push_back(mode);
    if (mode == unload_mode::kSessionEnding) cancel = 1;
  };
  QTimer::singleShot(5, [] { QCoreApplication::quit(); });
  QTimer::singleShot(40, [&] { form_->Unload(); });
  EXPECT_EQ(backend_->Run(), 0);
  EXPECT_FALSE(form_->IsLoaded());
  // Asked once as the session ended (and refused), then unloaded from code.
  EXPECT_EQ(modes,
            (std::vector<std::int16_t>{unload_mode::kSessionEnding, unload_mode::kFormCode}));
}

}  // namespace
}  // namespace ze::qt::testing
