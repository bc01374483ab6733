// The calendar form on its own, opened for a stand-in control: the month grid over
// every month it can show, the single mark, no nested rebuild, and the failures that
// close it without a result.
#include <gtest/gtest.h>

#include "calendar/frm_input_data.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/locale.h"
#include "frame/ui/desktop.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"

namespace zekalendo {
namespace {

class Opener : public DataChiamante {
 public:
  ze::Date valore() const override { return value; }
  void SetValore(ze::Date d) override {
    value = d;
    ++writes;
  }
  ze::Date value{0};
  int writes = 0;
  std::shared_ptr<int> alive = std::make_shared<int>(0);
};

class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ze::Locale::SetCurrent("it_IT");
    backend_.Install();
    backend_.SetNow(ze::DateSerial(2024, 3, 10));
  }
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    backend_.Uninstall();
  }
  std::shared_ptr<FrmInputData> Open(ze::Date d) {
    opener_.value = d;
    auto f = FrmInputData::Create();
    f->SetChiamante(opener_, opener_.alive);
    f->Show();
    return f;
  }
  ze::ui::HeadlessBackend backend_;
  Opener opener_;
};

// The days of a month as the grid shows them: cell of day 1, cell of the last day,
// and the cells with a caption form one unbroken run between them.
struct Shown {
  int first = 0, last = 0, yellow = 0, yellowCount = 0;
};
Shown Read(FrmInputData& f) {
  Shown s;
  for (int k = 1; k <= 42; ++k) {
    const ze::ui::Label& c = f.lblGio[k];
    if (!c.Caption().empty()) {
      if (s.first == 0) s.first = k;
      s.last = k;
    }
    if (c.BackColor() == FrmInputData::kGiallo) {
      s.yellow = k;
      ++s.yellowCount;
    }
  }
  return s;
}

TEST_F(CalendarTest, EveryMonthFrom1900To3000LiesWhereItsWeekdaysSay) {
  auto f = Open(ze::DateSerial(1900, 1, 1));
  for (int year = 1900; year <= 3000; year += (year < 1910 || year > 2990) ? 1 : 37) {
    for (int month = 1; month <= 12; ++month) {
      const int day = 1 + (year * 7 + month * 11) % 28;
      f->ImpostaData(ze::DateSerial(year, month, day));
      const Shown s = Read(*f);
      const int monday = ze::Weekday(ze::DateSerial(year, month, 1), 2);  // Monday 1
      const int days = ze::Day(ze::DateAdd(u"d", -1, ze::DateSerial(year, month + 1, 1)));
      SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month));
      EXPECT_EQ(s.first, monday);
      EXPECT_EQ(s.last, monday + days - 1);
      EXPECT_EQ(f->lblGio[s.last].Caption(), ze::FromUtf8(std::to_string(days)));
      EXPECT_EQ(s.yellowCount, 1);
      EXPECT_EQ(s.yellow, monday + day - 1);
      EXPECT_EQ(f->cboMese.ListIndex(), month - 1);
      EXPECT_EQ(f->txtAnno.valore(), year);
      EXPECT_FALSE(f->InAggiornamento());
    }
  }
}

TEST_F(CalendarTest, SettingTheListAndTheYearFromImpostaDataNeverRebuildsTwice) {
  auto f = Open(ze::DateSerial(2024, 1, 31));
  // Were the list's Click to rebuild inside ImpostaData, 31 January shown for February
  // would carry on into March.
  f->ImpostaData(ze::DateSerial(2024, 2, 29));
  EXPECT_EQ(f->cboMese.ListIndex(), 1);
  EXPECT_EQ(f->Giorno(), 29);
}

TEST_F(CalendarTest, TheMonthListHoldsTwelveNamesAndTheLoadMarksTheFormCancelled) {
  auto f = Open(ze::Date(0));
  EXPECT_EQ(f->cboMese.ListCount(), 12);
  EXPECT_EQ(f->cboMese.List(0), u"GENNAIO");
  EXPECT_EQ(f->cboMese.List(11), u"DICEMBRE");
  EXPECT_TRUE(f->Annullato());
  // Today, from the virtual clock: 10 March 2024.
  EXPECT_EQ(f->cboMese.ListIndex(), 2);
  EXPECT_EQ(f->Giorno(), 10);
  EXPECT_EQ(f->Caption(), u"Calendario");
  EXPECT_TRUE(f->KeyPreview());
  EXPECT_NE(f->Icon(), nullptr);
  EXPECT_EQ(f->ScaleWidth(), 3150);
  EXPECT_EQ(f->ScaleHeight(), 4365);
}

TEST_F(CalendarTest, AnOpenerYearBeyondTheFieldFailsTheLoad) {
  opener_.value = ze::DateSerial(3001, 1, 1);
  auto f = FrmInputData::Create();
  f->SetChiamante(opener_, opener_.alive);
  EXPECT_THROW(f->Show(), ze::AutomationError);
  EXPECT_FALSE(f->IsLoaded());
}

TEST_F(CalendarTest, NextFromDecember3000ClosesWithoutAResult) {
  auto f = Open(ze::DateSerial(3000, 12, 20));
  ze::ui::input::Click(f->cmdSuccessivo);
  EXPECT_FALSE(f->IsLoaded());
  EXPECT_EQ(opener_.writes, 0);
}

TEST_F(CalendarTest, ATwoDigitYearLeftInTheFieldIsCompletedByTheDateRule) {
  auto f = Open(ze::DateSerial(2024, 5, 5));
  ze::ui::input::Focus(f->txtAnno.txtnumero);
  ze::ui::input::Type(u"20");
  ze::ui::input::Click(f->lblGio[10]);  // May 2024 begins on a Wednesday: day 8
  ASSERT_EQ(opener_.writes, 1);
  EXPECT_EQ(opener_.value.serial, ze::DateSerial(2020, 5, 8).serial);
}

TEST_F(CalendarTest, FocusLeavingTheFormClosesIt) {
  auto f = Open(ze::DateSerial(2024, 5, 5));
  auto other = ze::ui::NewForm<ze::ui::Form>();
  other->Show();
  EXPECT_FALSE(f->IsLoaded());
  EXPECT_EQ(opener_.writes, 0);
}

}  // namespace
}  // namespace zekalendo
