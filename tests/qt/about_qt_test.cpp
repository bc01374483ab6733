// The about box in real Qt widgets: its pictures on screen as drawn, and the pointing
// hand over its links.
#include <QtGui/QCursor>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QLabel>

#include "about/frm_info.h"
#include "about/pictures.h"
#include "frame/system/shell_execute.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

class AboutQtTest : public QtBackendTest {
 protected:
  void TearDown() override {
    ze::system::SetShellHandler(nullptr);
    QtBackendTest::TearDown();
  }
};

TEST_F(AboutQtTest, ImagesShowTheirPicturesAsDrawn) {
  auto box = zekalendo::FrmInfo::Create();
  box->Show();
  backend_->Sync();
  auto* icon = Widget<QLabel>(box->Image1);
  auto* banner = Widget<QLabel>(box->Image2);
  ASSERT_TRUE(icon && banner);
  EXPECT_EQ(icon->geometry(), QRect(480 / 15, 240 / 15, 615 / 15, 570 / 15));
  EXPECT_EQ(banner->geometry(), QRect(1440 / 15, 720 / 15, 265, 80));

  const QImage page = icon->pixmap().toImage();
  ASSERT_EQ(page.size(), QSize(32, 32));
  EXPECT_FALSE(icon->hasScaledContents());
  EXPECT_EQ(qAlpha(page.pixel(0, 31)), 0);             // the icon's mask: round the page is clear
  EXPECT_EQ(page.pixel(5, 7), qRgb(255, 0, 0));        // the month's heading
  EXPECT_EQ(page.pixel(27, 27), qRgb(255, 255, 255));  // the page

  const QImage shown = banner->pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(265, 80));
  // A picture shows its white: the first letter's bar stays white, not see-through.
  EXPECT_EQ(shown.pixel(30, 21), qRgb(255, 255, 255));
  // And the whole window draws it where the banner lies.
  const QImage window = backend_->RenderForm(*box);
  ASSERT_FALSE(window.isNull());
  EXPECT_EQ(window.pixel(banner->pos() + QPoint(30, 21)), qRgb(255, 255, 255));

  box->Image1.SetStretch(true);
  box->Image2.SetPicture(nullptr);
  backend_->Sync();
  EXPECT_TRUE(icon->hasScaledContents());
  EXPECT_TRUE(banner->pixmap().isNull());
}

TEST_F(AboutQtTest, LinksShowThePointingHandAtItsFingertip) {
  auto box = zekalendo::FrmInfo::Create();
  box->Show();
  backend_->Sync();
  for (const ze::ui::Label* link : {&box->Label3, &box->Label4}) {
    auto* label = Widget<QLabel>(*link);
    ASSERT_NE(label, nullptr);
    const QCursor cursor = label->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(),
              QPoint(zekalendo::pictures::kHandHotX, zekalendo::pictures::kHandHotY));
    const QImage hand = cursor.pixmap().toImage();
    ASSERT_EQ(hand.size(), QSize(32, 32));
    EXPECT_GT(qAlpha(hand.pixel(cursor.hotSpot())), 0) << "the hot spot is on the hand";
    EXPECT_EQ(qAlpha(hand.pixel(31, 31)), 0);
  }
  EXPECT_EQ(Widget<QLabel>(box->Label1)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(AboutQtTest, ClickedLinkShowsRedOnScreenWhileItsAddressIsOpened) {
  auto box = zekalendo::FrmInfo::Create();
  box->Show();
  backend_->Sync();
  auto* link = Widget<QLabel>(box->Label3);
  ASSERT_NE(link, nullptr);
  const QColor blue(0, 0, 255), red(255, 0, 0);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), blue);
  // The handler blocks the thread as a slow opener would: only what was shown before
  // the call is on screen meanwhile.
  std::vector<QColor> meanwhile;
  ze::system::SetShellHandler([&](const ze::system::ShellRequest&) {
    meanwhile.push_back(link->palette().color(QPalette::WindowText));
    return std::intptr_t{42};
  });
  QTest::mouseClick(link, Qt::LeftButton);
  ASSERT_EQ(meanwhile.size(), 1u);
  EXPECT_EQ(meanwhile[0], red);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), blue);
}

}  // namespace
}  // namespace ze::qt::testing
