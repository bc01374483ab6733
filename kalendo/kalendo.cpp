// Kalendo's construction: the inner controls as designed, and the wiring of their
// events to the control's handlers.
#include "kalendo/kalendo.h"

#include "frame/container/pixel_picture.h"

namespace zekalendo {

namespace {

// The button's picture: 11 by 9 pixels, white (the mask colour, so the button face
// shows through) with a solid black triangle pointing down on rows 4 to 7, kept as a
// 24-bit bitmap file so every backend can draw it.
std::shared_ptr<ze::container::Picture> DownTriangle() {
  constexpr int kWidth = 11, kHeight = 9;
  constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;
  ze::container::PixelCanvas glyph(kWidth, kHeight, kWhite);
  const int widths[] = {7, 5, 3, 1};
  for (int row = 0; row < 4; ++row) {
    glyph.Fill((kWidth - widths[row]) / 2, 3 + row, widths[row], 1, kBlack);
  }
  return ze::container::BitmapPicture(glyph);
}

}  // namespace

Kalendo::Kalendo()
    : Text1(AddChild<ze::ui::TextBox>(u"Text1")),
      cmdpop(AddChild<ze::ui::CommandButton>(u"cmdpop")) {
  SetWidth(kDesignWidth);
  SetHeight(kDesignHeight);

  Text1.Move(0, 0, 2055, 315);
  Text1.SetMaxLength(10);
  Text1.SetTabIndex(0);

  cmdpop.SetTop(0);
  cmdpop.SetCaption(String());
  cmdpop.SetPicture(DownTriangle());
  cmdpop.SetTabIndex(1);

  Text1.onKeyPress = [this](std::int16_t& k) { Text1_KeyPress(k); };
  Text1.onKeyDown = [this](std::int16_t& k, std::int16_t shift) { Text1_KeyDown(k, shift); };
  Text1.onGotFocus = [this] { Text1_GotFocus(); };
  Text1.onLostFocus = [this] { Text1_LostFocus(); };
  Text1.onClick = [this] { Text1_Click(); };
  Text1.onDblClick = [this] { Text1_DblClick(); };
  Text1.onMouseDown = [this](std::int16_t& b, std::int16_t& s, float& x, float& y) {
    Text1_MouseDown(b, s, x, y);
  };
  Text1.onChange = [this] { Text1_Change(); };
  cmdpop.onClick = [this] { cmdpop_Click(); };
}

Kalendo::~Kalendo() = default;

}  // namespace zekalendo
