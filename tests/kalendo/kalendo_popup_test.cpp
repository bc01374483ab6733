// The popup button: when the calendar opens, how it shows beside a host's modal window,
// what happens when it cannot show at all, and a control that goes while its calendar
// is open.
#include <gtest/gtest.h>

#include "calendar/frm_input_data.h"
#include "frame/automation/date_serial.h"
#include "frame/ui/cursor.h"
#include "frame/ui/desktop.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/screen.h"
#include "kalendo/popup_show.h"
#include "tests/kalendo/kalendo_fixture.h"

namespace zekalendo::testing {
namespace {

FrmInputData* OpenCalendar() {
  for (ze::ui::Form* f : ze::ui::Desktop::OpenForms())
    if (auto* calendar = dynamic_cast<FrmInputData*>(f)) return calendar;
  return nullptr;
}

class PopupTest : public KalendoTest {
 protected:
  void SetUp() override {
    KalendoTest::SetUp();
    ze::ui::Screen::Reset();
    ze::ui::SetCursorAvailable(true);
    ze::ui::SetCursorPos(512, 384);
    NewControl().SetPopSelezione(true);
  }
  void TearDown() override {
    ze::ui::SetCursorAvailable(true);
    KalendoTest::TearDown();
  }
  void ClickButton() { ze::ui::input::Click(control_->cmdpop); }
};

TEST_F(PopupTest, WithoutAPointerTheCalendarKeepsItsDesignedPlace) {
  ze::ui::SetCursorAvailable(false);
  ClickButton();
  FrmInputData* calendar = OpenCalendar();
  ASSERT_NE(calendar, nullptr);
  // The form's own place, the top left corner, not around the pointer in the middle.
  EXPECT_EQ(calendar->Left(), 0);
  EXPECT_EQ(calendar->Top(), 0);
  EXPECT_TRUE(calendar->IsActive());
}

TEST_F(PopupTest, UnderAHostsModalWindowTheCalendarOpensModal) {
  auto dialog = ze::ui::NewForm<HostForm>();
  // The host's own modal dialog holds a second control, whose button is clicked.
  auto inner = std::make_unique<Kalendo>();
  dialog->Place(*inner, u"K2");
  inner->InitNew();
  inner->SetPopSelezione(true);
  inner->Text1.SetText(u"15/08/2005");
  bool sawModal = false;
  std::vector<std::function<void()>> steps = {
      [&] { ze::ui::input::Click(inner->cmdpop); },
      [&] {
        FrmInputData* calendar = OpenCalendar();
        ASSERT_NE(calendar, nullptr);
        sawModal = calendar->IsModal();
        ze::ui::input::Click(calendar->lblGio[16]);
      },
      [&] { dialog->Unload(); },
  };
  std::size_t next = 0;
  backend_.SetInputDriver([&](ze::ui::Form&) {
    if (next >= steps.size()) return false;
    steps[next++]();
    return true;
  });
  dialog->Show(ze::ui::kModal);
  backend_.SetInputDriver(nullptr);
  EXPECT_TRUE(sawModal);
  EXPECT_EQ(inner->Text(), u"16/08/2005");
  EXPECT_EQ(OpenCalendar(), nullptr);
}

// A form that cannot load: both shows fail.
class FailingForm : public ze::ui::Form {
 public:
  FailingForm() {
    onLoad = [] { ze::Raise(ze::errors::kObjectNotSet); };
  }
};

TEST_F(PopupTest, WhenNeitherShowWorksTheFormGoesAndTheErrorReachesTheCaller) {
  auto form = ze::ui::NewForm<FailingForm>();
  try {
    MostraPopup(*form, *control_);
    FAIL() << "the failure should reach the caller";
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::errors::kObjectNotSet);
  }
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_TRUE(ze::ui::Desktop::OpenForms().size() == 1u);  // only the host's form
}

TEST_F(PopupTest, AControlDestroyedWhileItsCalendarIsOpenIsNeverWritten) {
  SetField(u"15/08/2005");
  ClickButton();
  FrmInputData* calendar = OpenCalendar();
  ASSERT_NE(calendar, nullptr);
  const std::weak_ptr<void> calendarAlive = calendar->AliveToken();
  control_.reset();
  // A pick now has nowhere to go: the calendar closes and writes nothing.
  ze::ui::input::Click(calendar->lblGio[20]);
  EXPECT_TRUE(calendarAlive.expired() || !calendar->IsLoaded());
}

TEST_F(PopupTest, ACalendarWhoseControlWentClosesAtTheNextTick) {
  ClickButton();
  ASSERT_NE(OpenCalendar(), nullptr);
  control_.reset();
  backend_.Advance(100);
  EXPECT_EQ(OpenCalendar(), nullptr);
}

TEST_F(PopupTest, LeavingTheApplicationClosesTheCalendarWithinATick) {
  SetField(u"15/08/2005");
  ClickButton();
  backend_.Advance(100);
  ASSERT_NE(OpenCalendar(), nullptr);
  ze::ui::input::SwitchToOtherApplication();
  backend_.Advance(99);
  EXPECT_NE(OpenCalendar(), nullptr);
  backend_.Advance(1);
  EXPECT_EQ(OpenCalendar(), nullptr);
  ze::ui::input::SwitchBack();
  EXPECT_EQ(control_->Text(), u"15/08/2005");
}

TEST_F(PopupTest, APickHoldsTheMarkForThreeHundredMilliseconds) {
  SetField(u"15/08/2005");
  ClickButton();
  FrmInputData* calendar = OpenCalendar();
  ASSERT_NE(calendar, nullptr);
  const std::shared_ptr<ze::ui::Form> keep = calendar->shared_from_this();
  const long refreshes = calendar->lblGio[3].RefreshCount();
  const auto before = backend_.TickMs();
  ze::ui::input::Click(calendar->lblGio[3]);
  EXPECT_EQ(backend_.TickMs() - before, 300);
  EXPECT_EQ(control_->Text(), u"03/08/2005");
  // Repainted at once, so that the mark shows during the pause.
  EXPECT_EQ(calendar->lblGio[3].RefreshCount(), refreshes + 1);
}

TEST_F(PopupTest, ACalendarWithoutItsOpenerFailsToLoad) {
  auto calendar = FrmInputData::Create();
  EXPECT_THROW(calendar->Show(), ze::AutomationError);
  EXPECT_FALSE(calendar->IsLoaded());
}

}  // namespace
}  // namespace zekalendo::testing
