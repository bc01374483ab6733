// The about box on the headless backend: its designed layout and pictures, its caption
// after loading, and its links handing their addresses to the desktop's opener.
#include "about/frm_info.h"

#include <gtest/gtest.h>

#include <optional>

#include "about/pictures.h"
#include "frame/container/pixel_picture.h"
#include "frame/system/shell_execute.h"
#include "frame/ui/input.h"
#include "tests/ui/ui_fixture.h"

namespace zekalendo {
namespace {

using ze::container::PictureKind;
using ze::system::ShellRequest;

constexpr std::uint32_t kBlue = 0x00FF0000, kRed = 0x000000FF;

// What the opener was asked, and the link's colour at that moment.
struct Opened {
  ShellRequest request;
  std::uint32_t colorMeanwhile = 0;
  std::int64_t tickMeanwhile = 0;
};

class FrmInfoTest : public ze::ui::testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    box_ = FrmInfo::Create();
  }
  void TearDown() override {
    ze::system::SetShellHandler(nullptr);
    UiTest::TearDown();
  }

  // Replaces the opener with one that records the request and answers result.
  void RecordOpens(const ze::ui::Label& link, std::intptr_t result = 42) {
    ze::system::SetShellHandler([this, &link, result](const ShellRequest& r) {
      opened_.push_back({r, link.ForeColor(), backend_.TickMs()});
      return result;
    });
  }

  std::shared_ptr<FrmInfo> box_;
  std::vector<Opened> opened_;
};

void ExpectPlace(const ze::ui::Control& c, float left, float top, float width, float height) {
  EXPECT_EQ(c.Left(), left) << ze::ToUtf8(c.Name());
  EXPECT_EQ(c.Top(), top) << ze::ToUtf8(c.Name());
  EXPECT_EQ(c.Width(), width) << ze::ToUtf8(c.Name());
  EXPECT_EQ(c.Height(), height) << ze::ToUtf8(c.Name());
}

TEST_F(FrmInfoTest, ImagesSitAtTheirDesignedPlacesWithTheirPictures) {
  ExpectPlace(box_->Image1, 480, 240, 615, 570);
  ExpectPlace(box_->Image2, 1440, 720, 3975, 1200);
  const auto icon = box_->Image1.GetPicture();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Kind(), PictureKind::Icon);
  EXPECT_EQ(icon->WidthPixels(), 32);
  EXPECT_EQ(icon->HeightPixels(), 32);
  const auto banner = box_->Image2.GetPicture();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(banner->WidthPixels(), 265);
  EXPECT_EQ(banner->HeightPixels(), 80);
  // The banner fills its place exactly at 15 twips a pixel; the icon fits in its own.
  EXPECT_EQ(box_->Image2.Width(), 265 * 15);
  EXPECT_EQ(box_->Image2.Height(), 80 * 15);
  EXPECT_LE(icon->WidthPixels() * 15, box_->Image1.Width());
  EXPECT_LE(icon->HeightPixels() * 15, box_->Image1.Height());
  EXPECT_FALSE(box_->Image1.Stretch());
  EXPECT_FALSE(box_->Image2.Stretch());
}

TEST_F(FrmInfoTest, LoadWritesNameAndVersionWithoutLeadingZeros) {
  EXPECT_TRUE(box_->Label1.Caption().empty());
  box_->Load();
  EXPECT_EQ(box_->Label1.Caption(), u"zeKalendo v2.0.2");
  // Centred on the screen.
  EXPECT_EQ(box_->Left() * 2 + box_->Width(), ze::ui::Screen::Width());
}

TEST_F(FrmInfoTest, WebLinkTurnsRedWhileTheAddressIsOpened) {
  RecordOpens(box_->Label3);
  box_->Show();
  const std::int64_t before = backend_.TickMs();
  ASSERT_TRUE(ze::ui::input::Click(box_->Label3));
  ASSERT_EQ(opened_.size(), 1u);
  const Opened& o = opened_[0];
  EXPECT_EQ(o.colorMeanwhile, kRed);
  EXPECT_EQ(o.request.hwnd, box_->Hwnd());
  EXPECT_NE(o.request.hwnd, 0);
  EXPECT_TRUE(o.request.operation.empty());
  EXPECT_EQ(o.request.file, FrmInfo::kWebAddress);  // no stray NUL after it
  EXPECT_EQ(o.request.directory, u"C:\\");
  EXPECT_EQ(o.request.showCommand, 1);
  // Red for a moment after the hand-over, then blue again.
  EXPECT_EQ(backend_.TickMs() - o.tickMeanwhile, 100);
  EXPECT_EQ(o.tickMeanwhile, before);
  EXPECT_EQ(box_->Label3.ForeColor(), kBlue);
  EXPECT_TRUE(box_->Command1.HasFocus());  // a link takes no focus
}

TEST_F(FrmInfoTest, MailLinkRestoresItsOwnColourEvenWhenNothingOpens) {
  RecordOpens(box_->Label4, 31);  // no mail program
  box_->Show();
  box_->Label4.SetForeColor(0x00008000);  // whatever the link shows is what comes back
  ASSERT_TRUE(ze::ui::input::Click(box_->Label4));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0].colorMeanwhile, kRed);
  EXPECT_EQ(opened_[0].request.file, ze::String(u"Mailto:") + FrmInfo::kSupportMail);
  EXPECT_EQ(opened_[0].request.showCommand, 1);
  EXPECT_EQ(box_->Label4.ForeColor(), 0x00008000u);
  EXPECT_EQ(box_->Label3.ForeColor(), kBlue);  // the other link is left alone
}

TEST_F(FrmInfoTest, LinksPointWithTheHand) {
  for (const ze::ui::Label* link : {&box_->Label3, &box_->Label4}) {
    EXPECT_EQ(link->MousePointer(), 99);
    const auto hand = link->MouseIcon();
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->Kind(), PictureKind::Cursor);
    EXPECT_EQ(ze::container::CursorHotSpot(*hand),
              std::make_pair(pictures::kHandHotX, pictures::kHandHotY));
  }
  EXPECT_EQ(box_->Label3.MouseIcon(), box_->Label4.MouseIcon());
  EXPECT_EQ(box_->Label1.MousePointer(), 0);
}

}  // namespace
}  // namespace zekalendo
