// The image control: a picture on a form that never takes the focus.
#include "frame/ui/image.h"

#include <gtest/gtest.h>

#include "frame/ui/control_array.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/text_box.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

using container::PictureKind;

class Album : public Form {
 public:
  Album() {
    Text1.Move(0, 0, 1200, 300);
    foto[0].Move(120, 480, 615, 570);
    foto[0].SetStretch(true);
    foto[0].SetPicture(std::make_shared<Picture>(PictureKind::Icon, 32, 32, "icon"));
  }
  TextBox& Text1 = AddChild<TextBox>(u"Text1");
  ControlArray<Image> foto{*this, u"foto"};
  TextBox& Text2 = AddChild<TextBox>(u"Text2");
};

using ImageTest = testing::UiTest;

TEST_F(ImageTest, ClickedImageRaisesClickAndLeavesTheFocusAlone) {
  auto form = NewForm<Album>();
  int clicks = 0;
  form->foto.onClick = [&](std::int16_t index) { clicks += 1 + index; };
  form->Show();
  form->Text1.SetFocus();
  EXPECT_TRUE(input::Click(form->foto[0]));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(form->Text1.HasFocus());
  // Tab passes over it, and code cannot give it the focus either.
  input::Key(keys::kTab);
  EXPECT_TRUE(form->Text2.HasFocus());
  try {
    form->foto[0].SetFocus();
    ADD_FAILURE() << "an image took the focus";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

TEST_F(ImageTest, LoadedElementSharesThePictureAndTakesStretch) {
  auto form = NewForm<Album>();
  form->foto.Load(1);
  const Image& copy = form->foto[1];
  EXPECT_EQ(copy.GetPicture(), form->foto[0].GetPicture());
  EXPECT_TRUE(copy.Stretch());
  EXPECT_EQ(copy.Width(), 615);
  EXPECT_FALSE(copy.VisibleFlag());
  form->foto[1].SetPicture(nullptr);
  EXPECT_NE(form->foto[0].GetPicture(), nullptr);
}

}  // namespace
}  // namespace ze::ui
