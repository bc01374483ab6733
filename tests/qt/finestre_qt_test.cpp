// zeUtilita's window helpers on real windows: the fade as the window shows it, the
// topmost hint, a minimised window brought back.
#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "frame/host/form_object.h"
#include "tests/qt/qt_fixture.h"
#include "utilita/ze_utilita.h"

namespace ze::qt::testing {
namespace {

class FinestreQtTest : public QtBackendTest {
 protected:
  zekalendo::zeUtilita utilita_;
};

TEST_F(FinestreQtTest, TheFadeShowsInTheWindow) {
  // 40 x 600 pixels of client area: 60 bands of 10 pixels.
  auto form = NewShownForm(40 * 15, 600 * 15);
  ze::ObjectRef object = ze::host::FormObject(form).Get<ze::ObjectRef>();
  std::optional<Variant> defaults;
  utilita_.SfumaForm(object, defaults, defaults, defaults);
  backend_->Sync();
  QWidget* window = backend_->WidgetOf(*form);
  ASSERT_NE(window, nullptr);
  const QImage shown = window->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(40, 600));
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));  // band 1
  EXPECT_EQ(shown.pixel(39, 9), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(20, 10), qRgb(0, 0, 251));  // band 2
  EXPECT_EQ(shown.pixel(20, 595), qRgb(0, 0, 19));  // band 60
  EXPECT_EQ(shown.pixel(39, 599), qRgb(0, 0, 19));

  // A new fade in grey, and its wrap at band 34.
  std::optional<Variant> grey = Variant(std::int32_t{0x808080});
  utilita_.SfumaForm(object, grey, defaults, defaults);
  backend_->Sync();
  window = backend_->WidgetOf(*form);
  const QImage again = window->grab().toImage();
  EXPECT_EQ(again.pixel(5, 325), qRgb(0, 0, 0));        // band 33
  EXPECT_EQ(again.pixel(5, 335), qRgb(252, 252, 252));  // band 34
}

TEST_F(FinestreQtTest, TopMostAndRestoreReachTheWindow) {
  auto form = NewShownForm();
  form->SetCaption(u"Finestra di prova");
  std::int32_t h = form->Hwnd();
  std::optional<Variant> omitted;
  utilita_.FinetraTopMost(h, omitted);
  backend_->Sync();
  QWidget* window = backend_->WidgetOf(*form);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());
  std::optional<Variant> no = Variant(false);
  utilita_.FinetraTopMost(h, no);
  backend_->Sync();
  window = backend_->WidgetOf(*form);
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());

  form->SetWindowState(1);
  backend_->Sync();
  window = backend_->WidgetOf(*form);
  EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMinimized));
  String part = u"DI PROVA";
  EXPECT_TRUE(utilita_.ShowFinestraConTitolo(part));
  backend_->Sync();
  window = backend_->WidgetOf(*form);
  EXPECT_FALSE(window->windowState().testFlag(Qt::WindowMinimized));
}

}  // namespace
}  // namespace ze::qt::testing
