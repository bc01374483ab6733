// Timers on the virtual clock: order, Sleep, late ticks, restarts, and Now().
#include "frame/ui/timer.h"

#include <gtest/gtest.h>

#include "frame/automation/clock.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/form.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

class TimerTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm<Form>();
  }
  Timer& Add(const char* name, int interval) {
    Timer& t = form_->AddChild<Timer>(FromUtf8(name));
    t.SetInterval(interval);
    t.onTimer = [this, name, &t] {
      (void)t;
      Log(std::string(name) + "@" + std::to_string(backend_.TickMs()));
    };
    return t;
  }
  std::shared_ptr<Form> form_;
};

TEST_F(TimerTest, DueTimersFireInOrderAtTheirOwnTimes) {
  Add("a", 300);
  Add("b", 200);
  Add("c", 200);  // same due time as b: armed later, fires later
  form_->Load();
  backend_.Advance(650);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"b@200", "c@200", "a@300", "b@400", "c@400",
                                                 "a@600", "b@600", "c@600"}));
  EXPECT_EQ(backend_.TickMs(), 650);
}

TEST_F(TimerTest, NothingFiresWithoutTheLoop) {
  Add("a", 100);
  form_->Load();
  Sleep(1000);  // blocked: no tick
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(backend_.TickMs(), 1000);
  DoEvents();  // late: it fires once, not ten times
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"a@1000"});
  backend_.Advance(100);
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"a@1100"});
  EXPECT_THROW(Sleep(-1), AutomationError);
  EXPECT_THROW(backend_.Advance(-1), AutomationError);
}

TEST_F(TimerTest, OnlyLoadedFormsEnabledTimersWithAnIntervalRun) {
  Timer& t = Add("t", 100);
  backend_.Advance(500);  // the form is not loaded
  EXPECT_TRUE(TakeLog().empty());
  form_->Load();
  t.SetEnabled(false);
  backend_.Advance(500);
  t.SetEnabled(true);  // restarts the count
  backend_.Advance(150);
  t.SetInterval(0);
  backend_.Advance(500);
  t.SetInterval(50);
  backend_.Advance(60);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"t@1100", "t@1700"}));
  EXPECT_THROW(t.SetInterval(-1), AutomationError);
  EXPECT_THROW(t.SetInterval(65536), AutomationError);
  EXPECT_EQ(t.Interval(), 50);
  form_->Unload();
  backend_.Advance(500);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(TimerTest, AHandlerThatWaitsDoesNotReenterItself) {
  Timer& t = Add("t", 100);
  int depth = 0, maxDepth = 0;
  t.onTimer = [&] {
    maxDepth = std::max(maxDepth, ++depth);
    Log("t@" + std::to_string(backend_.TickMs()));
    if (backend_.TickMs() == 100) backend_.Advance(300);  // a nested wait
    --depth;
  };
  form_->Load();
  backend_.Advance(500);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"t@100", "t@500"}));
}

TEST_F(TimerTest, ATimerDestroyedInsideItsOwnHandler) {
  Timer* t = &Add("t", 100);
  t->onTimer = [&] {
    Log("tick");
    form_->Unload();
    form_.reset();  // destroys the form with the timer in it
  };
  form_->Load();
  form_->Unload();
  form_->Load();  // a reloaded form's timers start again
  backend_.Advance(1000);
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"tick"});
}

TEST_F(TimerTest, NowFollowsTheVirtualClock) {
  backend_.SetNow(ze::Date(38711.0));
  EXPECT_EQ(ze::CurrentClock().Now().serial, 38711.0);
  backend_.Advance(6 * 3600 * 1000);
  EXPECT_DOUBLE_EQ(ze::CurrentClock().Now().serial, 38711.25);
  // Before day 0 the time of day still counts forward: 06:00 on 29 December 1899 is
  // -1.25, and six hours later it is -1.5.
  backend_.SetNow(ze::Date(-1.25));
  backend_.Advance(6 * 3600 * 1000);
  EXPECT_DOUBLE_EQ(ze::CurrentClock().Now().serial, -1.5);
  backend_.Advance(12 * 3600 * 1000);  // past midnight into day 0
  EXPECT_DOUBLE_EQ(ze::CurrentClock().Now().serial, 0.0);
}

TEST_F(TimerTest, PostedTasksRunFromTheLoopInOrder) {
  EventLoop::Post([this] {
    Log("first");
    EventLoop::Post([this] { Log("posted by first"); });
  });
  EventLoop::Post([this] { Log("second"); });
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(DoEvents(), 0);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"first", "second"}));
  DoEvents();
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"posted by first"});
}

}  // namespace
}  // namespace ze::ui
