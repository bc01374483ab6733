// Forms: loading on first use, modeless and modal Show with owners, activation
// notices, and unloading from anywhere (handlers, timers, owners) without dangling.
#include "frame/ui/form.h"

#include <gtest/gtest.h>

#include "frame/ui/command_button.h"
#include "frame/ui/desktop.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/focus.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/text_box.h"
#include "frame/ui/timer.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

// A form that reports its notices to the test's log under its name.
class LoggedForm : public Form {
 public:
  LoggedForm(testing::UiTest* test, std::string name, std::vector<std::string>* log)
      : name_(std::move(name)), log_(log) {
    SetCaption(FromUtf8(name_));  // designed settings do not load the form
    Text1.onGotFocus = [this] { Log("got " + name_ + ".Text1"); };
    Text1.onLostFocus = [this] { Log("lost " + name_ + ".Text1"); };
    onLoad = [this] { Log("load " + name_); };
    onActivate = [this] { Log("activate " + name_); };
    onDeactivate = [this] { Log("deactivate " + name_); };
    onUnload = [this](std::int16_t&) { Log("unload " + name_); };
    (void)test;
  }
  void Log(std::string s) { log_->push_back(std::move(s)); }

  TextBox& Text1 = AddChild<TextBox>(u"Text1");
  CommandButton& Command1 = AddChild<CommandButton>(u"Command1");
  Timer& Timer1 = AddChild<Timer>(u"Timer1");

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class FormTest : public testing::UiTest {
 protected:
  std::shared_ptr<LoggedForm> Make(const char* name) {
    return NewForm<LoggedForm>(this, name, &log_);
  }
};

TEST_F(FormTest, LoadsAtTheFirstUseOfABuiltInPropertyOnly) {
  auto f = Make("F");
  EXPECT_FALSE(f->IsLoaded());
  EXPECT_TRUE(TakeLog().empty());  // construction set Caption without loading
  const float width = f->Width();
  EXPECT_GT(width, 0);
  EXPECT_TRUE(f->IsLoaded());
  EXPECT_NE(f->Hwnd(), 0);
  f->SetLeft(100);
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"load F"});
  EXPECT_FALSE(f->VisibleFlag());
  EXPECT_EQ(Desktop::Active(), nullptr);
}

TEST_F(FormTest, AnUnloadedFormStaysUnloadedWhenItsPropertiesAreUsed) {
  auto f = Make("F");
  f->Show();
  f->Unload();
  TakeLog();
  EXPECT_EQ(f->Hwnd(), 0);
  f->SetCaption(u"still here");
  EXPECT_FALSE(f->IsLoaded());
  EXPECT_TRUE(TakeLog().empty());
  f->Show();  // Show brings it back
  EXPECT_TRUE(f->IsLoaded());
}

TEST_F(FormTest, ShowActivatesAndDeactivatesInOrder) {
  auto f = Make("F");
  auto g = Make("G");
  f->Show();
  g->Show();
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"load F", "activate F", "got F.Text1", "load G",
                                                 "lost F.Text1", "deactivate F", "activate G",
                                                 "got G.Text1"}));
  EXPECT_EQ(GetActiveWindow(), g->Hwnd());
  input::Click(f->Command1);  // clicking the other form activates it
  // F.Text1 lost the focus when F was deactivated; it gets no second LostFocus.
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"lost G.Text1", "deactivate G", "activate F"}));
  EXPECT_TRUE(f->Command1.HasFocus());
  EXPECT_EQ(Desktop::OpenForms().front(), f.get());
}

TEST_F(FormTest, ADeactivateHandlerMayUnloadItsForm) {
  auto host = Make("Host");
  auto popup = Make("Popup");
  LoggedForm* raw = popup.get();
  popup->onDeactivate = [raw] {
    raw->Log("deactivate Popup");
    raw->Unload();  // the form may be gone once this returns
  };
  host->Show();
  popup->Show(kModeless, host.get());
  TakeLog();
  std::weak_ptr<LoggedForm> watch = popup;
  popup.reset();  // the desktop alone keeps it now
  input::Click(host->Text1);
  EXPECT_EQ(TakeLog(),
            (std::vector<std::string>{"lost Popup.Text1", "deactivate Popup", "unload Popup",
                                      "activate Host", "got Host.Text1"}));
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(GetActiveWindow(), host->Hwnd());
}

TEST_F(FormTest, UnloadingTheActiveFormActivatesItsOwner) {
  auto a = Make("A");
  auto b = Make("B");
  auto c = Make("C");
  a->Show();
  b->Show();
  c->Show(kModeless, a.get());
  TakeLog();
  c->Unload();
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"unload C", "activate A", "got A.Text1"}));
  EXPECT_EQ(Desktop::Active(), a.get());
}

TEST_F(FormTest, OwnedFormsUnloadWithTheirOwner) {
  auto owner = Make("Owner");
  auto owned = Make("Owned");
  owner->Show();
  owned->Show(kModeless, &owner->Command1);  // a control's form becomes the owner
  EXPECT_EQ(owned->Owner(), owner.get());
  TakeLog();
  owner->Unload();
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"unload Owner", "unload Owned"}));
  EXPECT_FALSE(owned->IsLoaded());
  EXPECT_EQ(GetActiveWindow(), 0);
}

TEST_F(FormTest, UnloadCanBeCancelledExceptByTheOwner) {
  auto f = Make("F");
  f->onQueryUnload = [](std::int16_t& cancel, std::int16_t mode) {
    if (mode == unload_mode::kUserClose) cancel = 1;
  };
  f->Show();
  input::CloseWindow(*f);
  EXPECT_TRUE(f->IsLoaded());
  EXPECT_TRUE(f->Unload());
  EXPECT_FALSE(f->IsLoaded());
}

TEST_F(FormTest, UnloadFromInsideItsOwnHandlers) {
  auto f = Make("F");
  f->Show();
  std::weak_ptr<LoggedForm> watch = f;
  f->Text1.onKeyPress = [&](std::int16_t&) { watch.lock()->Unload(); };
  f.reset();
  input::Type(u"abc");  // the first key unloads; the rest find no window
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(Desktop::OpenForms().size(), 0u);

  auto g = Make("G");
  g->Show();
  watch = g;
  g->Command1.onClick = [&] {
    watch.lock()->Unload();
    input::Type(u"x");  // a handler going on after Unload finds no target
  };
  g.reset();
  input::Click(watch.lock()->Command1);
  EXPECT_TRUE(watch.expired());
}

TEST_F(FormTest, UnloadInsideFormLoadAbortsTheShow) {
  auto f = Make("F");
  f->onLoad = [&] { f->Unload(); };
  try {
    f->Show();
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 364);
  }
  EXPECT_FALSE(f->IsLoaded());
}

TEST_F(FormTest, AFailingFormLoadLeavesNothingLoaded) {
  auto f = Make("F");
  bool unloadRan = false;
  f->onLoad = [] { Raise(errors::kInvalidPropertyValue); };
  f->onUnload = [&](std::int16_t&) { unloadRan = true; };
  EXPECT_THROW(f->Width(), AutomationError);
  EXPECT_FALSE(f->IsLoaded());
  EXPECT_FALSE(unloadRan);
  EXPECT_TRUE(Desktop::OpenForms().empty());
}

TEST_F(FormTest, ModalShowRunsANestedLoopUntilTheFormUnloads) {
  auto host = Make("Host");
  auto dialog = Make("Dialog");
  host->Show();
  int steps = 0;
  backend_.SetInputDriver([&](Form& modal) {
    ++steps;
    EXPECT_EQ(&modal, dialog.get());
    EXPECT_FALSE(input::Click(host->Command1));  // the owner takes no input meanwhile
    EXPECT_THROW(host->Text1.SetFocus(), AutomationError);
    EXPECT_THROW(Make("Other")->Show(), AutomationError);  // 401: no modeless now
    if (steps == 2) input::Click(dialog->Command1);
    return true;
  });
  dialog->Command1.onClick = [&] { dialog->Unload(); };
  TakeLog();
  dialog->Show(kModal, host.get());
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(Desktop::ModalDepth(), 0);
  EXPECT_EQ(Desktop::Active(), host.get());
  EXPECT_TRUE(input::Click(host->Command1));
}

TEST_F(FormTest, ModelessShowInsideAModalLoopRaises401) {
  auto dialog = Make("Dialog");
  auto other = Make("Other");
  int steps = 0;
  backend_.SetInputDriver([&](Form& modal) {
    if (++steps == 1) {
      EXPECT_EQ(&modal, dialog.get());
      try {
        other->Show();
        ADD_FAILURE();
      } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 401);
      }
      other->Show(kModal);  // a modal one may open on top of it
      EXPECT_FALSE(other->IsLoaded());
    }
    return false;  // no more input: each loop closes its form
  });
  dialog->Show(kModal);
  EXPECT_EQ(steps, 2);
  EXPECT_FALSE(dialog->IsLoaded());
  EXPECT_EQ(Desktop::ModalDepth(), 0);
}

TEST_F(FormTest, AModalFormWithoutAnyInputSourceClosesInsteadOfHanging) {
  auto dialog = Make("Dialog");
  dialog->Show(kModal);
  EXPECT_FALSE(dialog->IsLoaded());
  EXPECT_THROW(dialog->Show(7), AutomationError);
}

TEST_F(FormTest, AModalFormOpenedFromATimer) {
  auto host = Make("Host");
  host->Timer1.SetInterval(100);
  std::shared_ptr<LoggedForm> dialog;
  int ticks = 0;
  host->Timer1.onTimer = [&] {
    ++ticks;
    dialog = Make("Dialog");
    dialog->Show(kModal, host.get());  // the host's timer does not fire inside its handler
  };
  host->Show();
  backend_.SetInputDriver([&](Form&) {
    backend_.Advance(250);
    dialog->Unload();
    return true;
  });
  backend_.Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(dialog->IsLoaded());
  backend_.Advance(100);  // once the handler returned, the timer ticks again
  EXPECT_EQ(ticks, 2);
}

TEST_F(FormTest, ATimerThatUnloadsItsForm) {
  auto f = Make("F");
  std::weak_ptr<LoggedForm> watch = f;
  int ticks = 0;
  f->Timer1.SetInterval(100);
  f->Timer1.onTimer = [&] {
    ++ticks;
    if (GetActiveWindow() != watch.lock()->Hwnd()) watch.lock()->Unload();
  };
  f->Show();
  f.reset();
  backend_.Advance(350);
  EXPECT_EQ(ticks, 3);  // active: the timer leaves it open
  input::SwitchToOtherApplication();
  backend_.Advance(100);
  EXPECT_EQ(ticks, 4);
  EXPECT_TRUE(watch.expired());
  backend_.Advance(1000);
  EXPECT_EQ(ticks, 4);
}

TEST_F(FormTest, LeavingTheApplicationChangesTheActiveWindowWithoutEvents) {
  auto f = Make("F");
  f->Show();
  TakeLog();
  input::SwitchToOtherApplication();
  EXPECT_EQ(GetActiveWindow(), 0);
  input::SwitchBack();
  EXPECT_EQ(GetActiveWindow(), f->Hwnd());
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_TRUE(f->Text1.HasFocus());
}

TEST_F(FormTest, KeyPreviewSeesKeysFirstAndMayCancelThem) {
  auto f = Make("F");
  f->SetKeyPreview(true);
  std::vector<std::string> seen;
  f->onKeyPress = [&](std::int16_t& k) {
    seen.push_back("form " + std::to_string(k));
    if (k == 'x') k = 0;
  };
  f->Text1.onKeyPress = [&](std::int16_t& k) { seen.push_back("text " + std::to_string(k)); };
  f->Show();
  input::Type(u"ax");
  EXPECT_EQ(seen, (std::vector<std::string>{"form 97", "text 97", "form 120"}));
  EXPECT_EQ(f->Text1.Text(), u"a");
  f->onKeyPress = [&](std::int16_t& k) {
    if (k == keys::kEscape) f->Unload();
  };
  input::Key(keys::kEscape);  // Escape closes it from the preview, whatever has focus
  EXPECT_FALSE(f->IsLoaded());
}

TEST_F(FormTest, AFormWithNothingFocusableHoldsTheFocusItself) {
  auto bare = NewForm<Form>();
  auto other = Make("Other");
  bare->onGotFocus = [this] { Log("got bare"); };
  bare->onLostFocus = [this] { Log("lost bare"); };
  bare->onDeactivate = [this] { Log("deactivate bare"); };
  bare->Show();
  other->Show();
  EXPECT_EQ(TakeLog(),
            (std::vector<std::string>{"got bare", "load Other", "lost bare", "deactivate bare",
                                      "activate Other", "got Other.Text1"}));
}

TEST_F(FormTest, VisibleFromCodeShowsAndHides) {
  auto f = Make("F");
  auto g = Make("G");
  f->Show();
  g->SetVisible(true);  // as Show: loads, shows, activates
  EXPECT_TRUE(g->IsLoaded());
  EXPECT_EQ(Desktop::Active(), g.get());
  TakeLog();
  g->SetVisible(false);  // as Hide: still loaded, the activation moves on
  EXPECT_TRUE(g->IsLoaded());
  EXPECT_FALSE(g->Visible());
  EXPECT_EQ(Desktop::Active(), f.get());
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"activate F", "got F.Text1"}));
}

TEST_F(FormTest, NamesAndTheNewestInstance) {
  class FrmInputData : public Form {
   public:
    String TypeName() const override { return u"FrmInputData"; }
  };
  auto first = NewForm<FrmInputData>();
  auto second = NewForm<FrmInputData>();
  EXPECT_EQ(first->Name(), u"FrmInputData");
  second->Show();
  first->Show();
  EXPECT_GT(first->LoadSerial(), second->LoadSerial());  // loaded later
  EXPECT_EQ(Desktop::OpenForms().front(), first.get());  // and in front
  first->SetName(u"Calendario");
  EXPECT_EQ(first->Name(), u"Calendario");
}

TEST_F(FormTest, ClientSizeAndFrame) {
  auto f = Make("F");
  f->SetClientSize(3150, 4365);
  EXPECT_EQ(f->ScaleWidth(), 3150);
  EXPECT_EQ(f->ScaleHeight(), 4365);
  EXPECT_GT(f->Width(), 3150);
  f->SetBorderStyle(0);
  EXPECT_EQ(f->Width(), 3150);
  EXPECT_EQ(f->ScaleHeight(), 4365);
  EXPECT_THROW(f->SetBorderStyle(6), AutomationError);
}

TEST_F(FormTest, UnloadAllClosesEvenFormsThatRefuse) {
  auto f = Make("F");
  f->onQueryUnload = [](std::int16_t& cancel, std::int16_t) { cancel = 1; };
  f->Show();
  Desktop::UnloadAll();
  EXPECT_FALSE(f->IsLoaded());
}

}  // namespace
}  // namespace ze::ui
