// The calendar in real Qt windows: opened by a real click on Kalendo's button, a
// top-level tool window where the pointer is, its colours and its drop-down list on
// screen, a day picked with the mouse, and closed by another window's activation.
#include <QtCore/QElapsedTimer>
#include <QtGui/QCursor>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

#include "calendar/frm_input_data.h"
#include "frame/ui/desktop.h"
#include "frame/ui/screen.h"
#include "kalendo/kalendo.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using zekalendo::FrmInputData;
using zekalendo::Kalendo;

FrmInputData* OpenCalendar() {
  for (ze::ui::Form* f : ze::ui::Desktop::OpenForms())
    if (auto* calendar = dynamic_cast<FrmInputData*>(f)) return calendar;
  return nullptr;
}

class CalendarQtTest : public QtBackendTest {
 protected:
  void SetUp() override {
    QtBackendTest::SetUp();
    form_ = ze::ui::NewForm<HostForm>();
    form_->SetClientSize(4680, 3195);
    form_->Move(4500, 3000, form_->Width(), form_->Height());  // away from the screen's edges
    kalendo_ = std::make_unique<Kalendo>();
    kalendo_->SetSite(&site_);
    form_->Place(*kalendo_, u"Kalendo1");
    kalendo_->Move(1680, 600, 1575, 315);
    kalendo_->InitNew();
    kalendo_->SetPopSelezione(true);
    kalendo_->Text1.SetText(u"15/08/2005");
    form_->Show();
    kalendo_->Paint();
    backend_->Sync();
  }
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    kalendo_.reset();
    form_.reset();
    QtBackendTest::TearDown();
  }
  // The button clicked with the pointer over it, as a user clicks it.
  FrmInputData* ClickButton() {
    auto* button = Widget<QPushButton>(kalendo_->cmdpop);
    if (!button) return nullptr;
    pointer_ = button->mapToGlobal(button->rect().center());
    QCursor::setPos(pointer_);
    QTest::mouseClick(button, Qt::LeftButton);
    backend_->Sync();
    return OpenCalendar();
  }
  QWidget* CellWidget(FrmInputData& f, int k) { return backend_->WidgetOf(f.lblGio[k]); }

  RecordingSite site_;
  std::shared_ptr<HostForm> form_;
  std::unique_ptr<Kalendo> kalendo_;
  QPoint pointer_;
};

TEST_F(CalendarQtTest, OpensAsATopLevelToolWindowAroundThePointer) {
  FrmInputData* f = ClickButton();
  ASSERT_NE(f, nullptr);
  QWidget* window = backend_->WidgetOf(*f);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowType(), Qt::Tool);
  EXPECT_EQ(window->windowTitle(), "Calendario");
  EXPECT_FALSE(window->windowIcon().isNull());
  // Centred across on the pointer, the pointer a third of the way down (inside the
  // screen, which is larger than the form here).
  const float tx = ze::ui::Screen::TwipsPerPixelX(), ty = ze::ui::Screen::TwipsPerPixelY();
  EXPECT_NEAR(f->Left(), pointer_.x() * tx - f->Width() / 2, 1);
  EXPECT_NEAR(f->Top(), pointer_.y() * ty - f->Height() / 3, 1);
  EXPECT_EQ(window->pos(), QPoint(qRound(f->Left() / tx), qRound(f->Top() / ty)));
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

TEST_F(CalendarQtTest, SundaysAreRedTheMarkedDayYellowAndCellsSayTheirDate) {
  FrmInputData* f = ClickButton();
  ASSERT_NE(f, nullptr);
  auto* heading = Widget<QLabel>(f->lblNomeGio[7]);
  auto* sunday = Widget<QLabel>(f->lblGio[7]);
  auto* marked = Widget<QLabel>(f->lblGio[15]);
  ASSERT_TRUE(heading && sunday && marked);
  EXPECT_EQ(heading->text(), "Dom");
  EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(sunday->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(marked->text(), "15");
  EXPECT_EQ(marked->accessibleName(), "15 agosto 2005");
  EXPECT_TRUE(Widget<QLabel>(f->lblGio[32])->accessibleName().isEmpty());
  // On screen: the marked cell's inside is yellow, its neighbour's white.
  const QImage shown = backend_->RenderForm(*f);
  ASSERT_FALSE(shown.isNull());
  const QPoint inside(3, 3);
  EXPECT_EQ(shown.pixel(marked->pos() + inside), qRgb(255, 255, 0));
  EXPECT_EQ(shown.pixel(Widget<QLabel>(f->lblGio[16])->pos() + inside), qRgb(255, 255, 255));
}

TEST_F(CalendarQtTest, TheMonthListIsARealDropDownThatKeepsTheCalendarOpen) {
  FrmInputData* f = ClickButton();
  ASSERT_NE(f, nullptr);
  auto* list = Widget<QComboBox>(f->cboMese);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->isEditable());
  EXPECT_EQ(list->count(), 12);
  EXPECT_EQ(list->currentText(), "AGOSTO");
  // Its list pops up over the calendar, which stays open past its timer's ticks.
  list->showPopup();
  QTest::qWait(250);
  EXPECT_EQ(OpenCalendar(), f);
  list->hidePopup();
  QTest::qWait(50);
  // The arrow key moves the choice on: September 2005 begins on a Thursday.
  QTest::keyClick(list, Qt::Key_Down);
  backend_->Sync();
  EXPECT_EQ(list->currentText(), "SETTEMBRE");
  EXPECT_EQ(Widget<QLabel>(f->lblGio[4])->text(), "1");
  EXPECT_EQ(OpenCalendar(), f);
}

TEST_F(CalendarQtTest, ADayClickedWithTheMouseReachesTheField) {
  FrmInputData* f = ClickButton();
  ASSERT_NE(f, nullptr);
  QTest::mouseClick(backend_->WidgetOf(f->cmdSuccessivo), Qt::LeftButton);
  backend_->Sync();
  QWidget* day = CellWidget(*f, 20);  // 17 September 2005
  ASSERT_NE(day, nullptr);
  QElapsedTimer held;
  held.start();
  QTest::mouseClick(day, Qt::LeftButton);
  EXPECT_GE(held.elapsed(), 300);
  backend_->Sync();
  EXPECT_EQ(OpenCalendar(), nullptr);
  EXPECT_EQ(kalendo_->Text1.Text(), u"17/09/2005");
}

TEST_F(CalendarQtTest, EscapeClosesWithoutAResult) {
  FrmInputData* f = ClickButton();
  ASSERT_NE(f, nullptr);
  QTest::keyClick(backend_->WidgetOf(f->cboMese), Qt::Key_Escape);
  backend_->Sync();
  EXPECT_EQ(OpenCalendar(), nullptr);
  EXPECT_EQ(kalendo_->Text1.Text(), u"15/08/2005");
}

TEST_F(CalendarQtTest, AnotherProgramsWindowClosesItWithinATick) {
  ASSERT_NE(ClickButton(), nullptr);
  QWidget elsewhere;  // a window that is no form's: another program's, to the model
  elsewhere.resize(200, 100);
  elsewhere.show();
  elsewhere.activateWindow();
  QTest::qWait(150);
  EXPECT_EQ(OpenCalendar(), nullptr);
  EXPECT_EQ(ze::ui::GetActiveWindow(), 0);
  EXPECT_EQ(kalendo_->Text1.Text(), u"15/08/2005");
}

TEST_F(CalendarQtTest, TheHostsWindowActivatedClosesIt) {
  ASSERT_NE(ClickButton(), nullptr);
  QWidget* host = backend_->WidgetOf(*form_);
  ASSERT_NE(host, nullptr);
  host->activateWindow();
  QTest::qWait(150);
  EXPECT_EQ(OpenCalendar(), nullptr);
  EXPECT_EQ(kalendo_->Text1.Text(), u"15/08/2005");
}

}  // namespace
}  // namespace ze::qt::testing
