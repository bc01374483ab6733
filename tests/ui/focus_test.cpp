// Focus: LostFocus before GotFocus, tab order, what can take the focus, and where the
// focus goes when its owner disappears.
#include "frame/ui/focus.h"

#include <gtest/gtest.h>

#include "frame/ui/command_button.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

class Pair : public UserControl {
 public:
  TextBox& Inner1 = AddChild<TextBox>(u"Inner1");
  TextBox& Inner2 = AddChild<TextBox>(u"Inner2");
};

class FocusTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm<Form>();
    a_ = &form_->AddChild<TextBox>(u"A");
    b_ = &form_->AddChild<TextBox>(u"B");
    c_ = &form_->AddChild<CommandButton>(u"C");
    for (Control* c :
         {static_cast<Control*>(a_), static_cast<Control*>(b_), static_cast<Control*>(c_)}) {
      const std::string name = ToUtf8(c->Name());
      c->onGotFocus = [this, name] { Log("got " + name); };
      c->onLostFocus = [this, name] { Log("lost " + name); };
    }
  }
  std::shared_ptr<Form> form_;
  TextBox* a_ = nullptr;
  TextBox* b_ = nullptr;
  CommandButton* c_ = nullptr;
};

TEST_F(FocusTest, ShowingAFormFocusesItsFirstTabStop) {
  form_->Show();
  EXPECT_TRUE(a_->HasFocus());
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"got A"});
}

TEST_F(FocusTest, LostFocusComesBeforeGotFocus) {
  form_->Show();
  TakeLog();
  b_->SetFocus();
  input::Click(*c_);
  input::Focus(*a_);
  EXPECT_EQ(TakeLog(),
            (std::vector<std::string>{"lost A", "got B", "lost B", "got C", "lost C", "got A"}));
  a_->SetFocus();  // already there: nothing happens
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(FocusTest, TheOldOwnerAlreadyLostTheFocusWhenItsLostFocusRuns) {
  form_->Show();
  bool aHadFocus = true;
  a_->onLostFocus = [&] { aHadFocus = a_->HasFocus(); };
  b_->SetFocus();
  EXPECT_FALSE(aHadFocus);
}

TEST_F(FocusTest, AMoveInsideLostFocusWins) {
  form_->Show();
  a_->onLostFocus = [this] {
    Log("lost A");
    c_->SetFocus();
  };
  TakeLog();
  b_->SetFocus();
  EXPECT_TRUE(c_->HasFocus());
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"lost A", "got C"}));
}

TEST_F(FocusTest, TabFollowsTabIndexAndWraps) {
  form_->Show();
  c_->SetTabIndex(0);  // C, A, B
  EXPECT_EQ(c_->TabIndex(), 0);
  EXPECT_EQ(a_->TabIndex(), 1);
  EXPECT_EQ(b_->TabIndex(), 2);
  c_->SetFocus();
  TakeLog();
  input::Key(keys::kTab);
  input::Key(keys::kTab);
  input::Key(keys::kTab);
  input::Key(keys::kTab, shift::kShift);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"lost C", "got A", "lost A", "got B", "lost B",
                                                 "got C", "lost C", "got B"}));
}

TEST_F(FocusTest, TabIndexBeyondTheEndGoesLastAndNegativeIsRefused) {
  a_->SetTabIndex(99);
  EXPECT_EQ(a_->TabIndex(), 2);
  EXPECT_EQ(b_->TabIndex(), 0);
  EXPECT_THROW(b_->SetTabIndex(-1), AutomationError);
  EXPECT_EQ(b_->TabIndex(), 0);
}

TEST_F(FocusTest, TabSkipsWhatCannotTakeTheFocus) {
  auto& label = form_->AddChild<Label>(u"L");
  label.SetTabIndex(1);
  b_->SetTabStop(false);
  form_->Show();
  TakeLog();
  input::Key(keys::kTab);  // A -> (label, B skipped) -> C
  EXPECT_TRUE(c_->HasFocus());
  c_->SetVisible(false);  // the focus moves on by itself
  EXPECT_TRUE(a_->HasFocus());
  input::Key(keys::kTab);  // C hidden, B no tab stop: back to A, nothing happens
  EXPECT_TRUE(a_->HasFocus());
  b_->SetFocus();  // code may still focus a control that is no tab stop
  EXPECT_TRUE(b_->HasFocus());
}

TEST_F(FocusTest, WhatCannotTakeTheFocusRaisesFive) {
  auto& label = form_->AddChild<Label>(u"L");
  EXPECT_THROW(a_->SetFocus(), AutomationError);  // the form is not shown
  form_->Show();
  b_->SetEnabled(false);
  c_->SetVisible(false);
  for (Control* c :
       {static_cast<Control*>(b_), static_cast<Control*>(c_), static_cast<Control*>(&label)}) {
    try {
      c->SetFocus();
      ADD_FAILURE() << ToUtf8(c->Name());
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 5);
    }
  }
  EXPECT_TRUE(a_->HasFocus());
}

TEST_F(FocusTest, ClickingALabelLeavesTheFocus) {
  auto& label = form_->AddChild<Label>(u"L");
  int clicks = 0;
  label.onClick = [&] { ++clicks; };
  form_->Show();
  input::Click(label);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(a_->HasFocus());
}

TEST_F(FocusTest, DisabledOrHiddenControlsIgnoreClicks) {
  int clicks = 0;
  c_->onClick = [&] { ++clicks; };
  form_->Show();
  c_->SetEnabled(false);
  EXPECT_FALSE(input::Click(*c_));
  c_->SetEnabled(true);
  c_->SetVisible(false);
  EXPECT_FALSE(input::Click(*c_));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(a_->HasFocus());
}

TEST_F(FocusTest, AUserControlStandsForItsChildrenInTheTabOrder) {
  auto& pair = form_->AddChild<Pair>(u"P");
  pair.SetTabIndex(1);  // A, P(Inner1, Inner2), B, C
  form_->Show();
  std::vector<std::string> order;
  for (Control* c : FocusManager::TabOrder(*form_, true)) order.push_back(ToUtf8(c->Name()));
  EXPECT_EQ(order, (std::vector<std::string>{"A", "Inner1", "Inner2", "B", "C"}));
  pair.SetFocus();  // a user control passes the focus to its first child
  EXPECT_TRUE(pair.Inner1.HasFocus());
  EXPECT_EQ(pair.Inner1.ParentForm(), form_.get());
  pair.SetEnabled(false);  // disabling the container moves the focus out of it
  EXPECT_TRUE(b_->HasFocus());
}

TEST_F(FocusTest, ADestroyedFocusOwnerLeavesNoDanglingFocus) {
  form_->Show();
  {
    Pair outside;  // a control owned elsewhere, placed on the form
    form_->Place(outside, u"Outside");
    outside.Inner2.SetFocus();
    EXPECT_EQ(FocusManager::Focused(), &outside.Inner2);
  }
  EXPECT_EQ(FocusManager::Focused(), nullptr);
  input::Type(u"x");  // goes to the form itself: nothing breaks
  b_->SetFocus();
  EXPECT_TRUE(b_->HasFocus());
}

}  // namespace
}  // namespace ze::ui
