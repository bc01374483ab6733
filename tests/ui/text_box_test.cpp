// TextBox: the default editing of keys no handler cancelled, cancellation at each
// stage, the Change notice (from the user and from code), and selection clamping.
#include "frame/ui/text_box.h"

#include <gtest/gtest.h>

#include "frame/automation/error.h"
#include "frame/ui/clipboard.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

class TextBoxTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm<Form>();
    box_ = &form_->AddChild<TextBox>(u"Text1");
    box_->onChange = [this] { ++changes_; };
    form_->Show();
    box_->SetFocus();
  }
  // Text with the selection from start, length.
  void Put(const char16_t* text, int start, int length = 0) {
    box_->SetText(text);
    box_->SetSelStart(start);
    box_->SetSelLength(length);
    changes_ = 0;
  }

  std::shared_ptr<Form> form_;
  TextBox* box_ = nullptr;
  int changes_ = 0;
};

struct EditCase {
  const char* name;
  const char16_t* text;
  int selStart, selLength;
  std::int16_t key;  // a key code, or 0 to type `typed`
  std::int16_t shiftState;
  const char16_t* typed;
  const char16_t* wantText;
  int wantStart, wantLength;
  int wantChanges;
};

TEST_F(TextBoxTest, DefaultEditingOfUncancelledKeys) {
  const EditCase cases[] = {
      {"insert at caret", u"abc", 1, 0, 0, 0, u"X", u"aXbc", 2, 0, 1},
      {"typing replaces the selection", u"abcdef", 1, 3, 0, 0, u"Z", u"aZef", 2, 0, 1},
      {"several characters", u"", 0, 0, 0, 0, u"25/12", u"25/12", 5, 0, 5},
      {"backspace deletes before caret", u"abc", 2, 0, keys::kBack, 0, nullptr, u"ac", 1, 0, 1},
      {"backspace at start does nothing", u"abc", 0, 0, keys::kBack, 0, nullptr, u"abc", 0, 0, 0},
      {"backspace deletes the selection", u"abcd", 1, 2, keys::kBack, 0, nullptr, u"ad", 1, 0, 1},
      {"delete deletes at caret", u"abc", 1, 0, keys::kDelete, 0, nullptr, u"ac", 1, 0, 1},
      {"delete at end does nothing", u"abc", 3, 0, keys::kDelete, 0, nullptr, u"abc", 3, 0, 0},
      {"delete deletes the selection", u"abcd", 0, 3, keys::kDelete, 0, nullptr, u"d", 0, 0, 1},
      {"left moves the caret", u"abc", 2, 0, keys::kLeft, 0, nullptr, u"abc", 1, 0, 0},
      {"left at start stays", u"abc", 0, 0, keys::kLeft, 0, nullptr, u"abc", 0, 0, 0},
      {"left collapses a selection to its start", u"abcd", 1, 2, keys::kLeft, 0, nullptr, u"abcd",
       1, 0, 0},
      {"right collapses a selection to its end", u"abcd", 1, 2, keys::kRight, 0, nullptr, u"abcd",
       3, 0, 0},
      {"right at end stays", u"abc", 3, 0, keys::kRight, 0, nullptr, u"abc", 3, 0, 0},
      {"home", u"abc", 2, 0, keys::kHome, 0, nullptr, u"abc", 0, 0, 0},
      {"end", u"abc", 1, 0, keys::kEnd, 0, nullptr, u"abc", 3, 0, 0},
      {"shift+right extends", u"abc", 1, 0, keys::kRight, shift::kShift, nullptr, u"abc", 1, 1, 0},
      {"shift+home selects back to start", u"abcd", 3, 0, keys::kHome, shift::kShift, nullptr,
       u"abcd", 0, 3, 0},
      {"shift+end selects to the end", u"abcd", 1, 0, keys::kEnd, shift::kShift, nullptr, u"abcd",
       1, 3, 0},
      {"ctrl+right jumps a word", u"ab cd", 0, 0, keys::kRight, shift::kCtrl, nullptr, u"ab cd", 3,
       0, 0},
      {"enter inserts nothing", u"abc", 1, 0, keys::kReturn, 0, nullptr, u"abc", 1, 0, 0},
      {"escape inserts nothing", u"abc", 1, 0, keys::kEscape, 0, nullptr, u"abc", 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.text, c.selStart, c.selLength);
    if (c.typed)
      input::Type(c.typed);
    else
      input::Key(c.key, c.shiftState);
    EXPECT_EQ(box_->Text(), c.wantText);
    EXPECT_EQ(box_->SelStart(), c.wantStart);
    EXPECT_EQ(box_->SelLength(), c.wantLength);
    EXPECT_EQ(changes_, c.wantChanges);
  }
}

TEST_F(TextBoxTest, ShiftSelectionMovesTheCaretEndOnly) {
  Put(u"abcdef", 3);
  input::Key(keys::kLeft, shift::kShift);
  input::Key(keys::kLeft, shift::kShift);
  EXPECT_EQ(box_->SelStart(), 1);
  EXPECT_EQ(box_->SelLength(), 2);
  input::Key(keys::kRight, shift::kShift);  // back towards the anchor
  input::Key(keys::kRight, shift::kShift);
  input::Key(keys::kRight, shift::kShift);  // and past it
  EXPECT_EQ(box_->SelStart(), 3);
  EXPECT_EQ(box_->SelLength(), 1);
  EXPECT_EQ(box_->SelText(), u"d");
}

TEST_F(TextBoxTest, MaxLengthLimitsTypingAndPastingButNotCode) {
  box_->SetMaxLength(4);
  Put(u"abc", 3);
  input::Type(u"de");
  EXPECT_EQ(box_->Text(), u"abcd");
  Put(u"abcd", 1, 2);  // replacing a selection makes room
  input::Type(u"XYZ");
  EXPECT_EQ(box_->Text(), u"aXYd");
  box_->SetText(u"abc");
  box_->SetSelStart(3);
  Clipboard::SetText(u"12345");  // a paste is cut to the room left
  input::Key('V', shift::kCtrl);
  EXPECT_EQ(box_->Text(), u"abc1");
  box_->SetText(u"longer than four");
  EXPECT_EQ(box_->Text(), u"longer than four");
  EXPECT_THROW(box_->SetMaxLength(-1), AutomationError);
}

TEST_F(TextBoxTest, LockedFieldNavigatesAndCopiesButNeverEdits) {
  Put(u"25/12/2005", 0, 2);
  box_->SetLocked(true);
  input::Type(u"7");
  input::Key(keys::kDelete);
  input::Key(keys::kBack);
  input::Key('X', shift::kCtrl);
  input::Key('V', shift::kCtrl);
  EXPECT_EQ(box_->Text(), u"25/12/2005");
  EXPECT_EQ(changes_, 0);
  input::Key('C', shift::kCtrl);
  EXPECT_EQ(Clipboard::Text(), u"25");
  input::Key(keys::kEnd);
  EXPECT_EQ(box_->SelStart(), 10);
}

TEST_F(TextBoxTest, ClipboardKeys) {
  Put(u"hello world", 0, 5);
  input::Key('X', shift::kCtrl);
  EXPECT_EQ(box_->Text(), u" world");
  EXPECT_EQ(Clipboard::Text(), u"hello");
  input::Key(keys::kEnd);
  input::Key('V', shift::kCtrl);
  EXPECT_EQ(box_->Text(), u" worldhello");
  Clipboard::SetText(u"one\r\ntwo");  // only the first line fits a one-line field
  box_->SetText(u"");
  input::Key('V', shift::kCtrl);
  EXPECT_EQ(box_->Text(), u"one");
}

TEST_F(TextBoxTest, KeyPressCancelledKeepsTheCharacterOut) {
  box_->onKeyPress = [](std::int16_t& k) {
    if (k >= '0' && k <= '9') return;
    k = 0;
  };
  Put(u"", 0);
  input::Type(u"1a2/b3");
  EXPECT_EQ(box_->Text(), u"123");
  EXPECT_EQ(changes_, 3);
  // Backspace's own action happens in KeyPress: cancelling it there keeps the text.
  input::Key(keys::kBack);
  EXPECT_EQ(box_->Text(), u"123");
}

TEST_F(TextBoxTest, KeyDownCancelledStopsItsActionButNotTheKeyPress) {
  std::vector<std::int16_t> pressed;
  box_->onKeyDown = [](std::int16_t& k, std::int16_t) { k = 0; };
  box_->onKeyPress = [&](std::int16_t& k) { pressed.push_back(k); };
  Put(u"abc", 1);
  input::Key(keys::kDelete);  // Delete acts in KeyDown: cancelled
  input::Key(keys::kRight);
  EXPECT_EQ(box_->Text(), u"abc");
  EXPECT_EQ(box_->SelStart(), 1);
  input::Type(u"x");  // its KeyPress still comes, and inserts
  EXPECT_EQ(box_->Text(), u"axbc");
  input::Key(keys::kReturn);
  EXPECT_EQ(pressed, (std::vector<std::int16_t>{'x', 13}));
}

TEST_F(TextBoxTest, HandlersSeeKeysInOrderWithCodesAndShift) {
  std::vector<std::string> seen;
  box_->onKeyDown = [&](std::int16_t& k, std::int16_t s) {
    seen.push_back("down " + std::to_string(k) + "/" + std::to_string(s));
  };
  box_->onKeyPress = [&](std::int16_t& k) { seen.push_back("press " + std::to_string(k)); };
  box_->onKeyUp = [&](std::int16_t& k, std::int16_t s) {
    seen.push_back("up " + std::to_string(k) + "/" + std::to_string(s));
  };
  input::Type(u"aA/");
  input::Key(keys::kDelete);
  const std::vector<std::string> want = {"down 65/0", "press 97",  "up 65/0",    "down 65/1",
                                         "press 65",  "up 65/1",   "down 191/0", "press 47",
                                         "up 191/0",  "down 46/0", "up 46/0"};
  EXPECT_EQ(seen, want);
}

TEST_F(TextBoxTest, ChangeFromCodeOnlyWhenTheTextChanges) {
  Put(u"abc", 0);
  box_->SetText(u"abc");
  EXPECT_EQ(changes_, 0);
  box_->SetText(u"abd");
  EXPECT_EQ(changes_, 1);
  box_->SetSelStart(1);
  box_->SetSelLength(1);
  box_->SetSelText(u"b");  // same text
  EXPECT_EQ(changes_, 1);
  box_->SetSelStart(1);
  box_->SetSelLength(1);
  box_->SetSelText(u"XY");
  EXPECT_EQ(changes_, 2);
  EXPECT_EQ(box_->Text(), u"aXYd");
  EXPECT_EQ(box_->SelStart(), 3);  // after the inserted text
  EXPECT_EQ(box_->SelLength(), 0);
}

TEST_F(TextBoxTest, ChangeHandlerSeesTheNewTextAndMayEditAgain) {
  // A handler that rewrites the text inside Change: the nested change is reported too,
  // and the outer edit does not undo it.
  std::vector<String> seen;
  box_->onChange = [&] {
    seen.push_back(box_->Text());
    if (box_->Text() == u"ab") box_->SetText(u"AB");
  };
  box_->SetText(u"a");
  box_->SetSelStart(1);
  input::Type(u"b");
  EXPECT_EQ(box_->Text(), u"AB");
  EXPECT_EQ(seen, (std::vector<String>{u"a", u"ab", u"AB"}));
}

TEST_F(TextBoxTest, SettingTextCollapsesTheSelectionAtTheStart) {
  Put(u"abcdef", 2, 3);
  box_->SetText(u"xyz");
  EXPECT_EQ(box_->SelStart(), 0);
  EXPECT_EQ(box_->SelLength(), 0);
}

TEST_F(TextBoxTest, SelectionClampsInsideTheText) {
  struct {
    int start, length, wantStart, wantLength;
  } cases[] = {{-5, 0, 0, 0}, {99, 0, 5, 0}, {2, 99, 2, 3},
               {2, -1, 2, 0}, {5, 1, 5, 0},  {0, 5, 0, 5}};
  for (const auto& c : cases) {
    box_->SetText(u"abcde");
    box_->SetSelStart(c.start);
    box_->SetSelLength(c.length);
    EXPECT_EQ(box_->SelStart(), c.wantStart) << c.start << "," << c.length;
    EXPECT_EQ(box_->SelLength(), c.wantLength) << c.start << "," << c.length;
  }
}

TEST_F(TextBoxTest, NoKeyReachesABoxWithoutTheFocus) {
  auto& other = form_->AddChild<TextBox>(u"Text2");
  other.SetFocus();
  Put(u"abc", 0);
  input::Type(u"x");
  EXPECT_EQ(box_->Text(), u"abc");
  EXPECT_EQ(other.Text(), u"x");
}

TEST_F(TextBoxTest, DoubleClickSelectsTheWordAndRightClickKeepsTheSelection) {
  Put(u"one two three", 5);
  input::DoubleClick(*box_, 5);
  EXPECT_EQ(box_->SelText(), u"two");
  input::RightClick(*box_);
  EXPECT_EQ(box_->SelText(), u"two");
  input::Click(*box_, 1);
  EXPECT_EQ(box_->SelStart(), 1);
  EXPECT_EQ(box_->SelLength(), 0);
}

TEST_F(TextBoxTest, AHandlerThatUnloadsTheFormEndsTheKeyQuietly) {
  box_->onKeyDown = [this](std::int16_t&, std::int16_t) { form_->Unload(); };
  int presses = 0;
  box_->onKeyPress = [&](std::int16_t&) { ++presses; };
  input::Type(u"a");
  EXPECT_FALSE(form_->IsLoaded());
  EXPECT_EQ(presses, 0);
  EXPECT_EQ(box_->Text(), u"");
}

}  // namespace
}  // namespace ze::ui
