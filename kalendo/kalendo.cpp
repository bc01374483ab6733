// Kalendo's construction: the inner controls as designed, and the wiring of their
// events to the control's handlers.
#include "kalendo/kalendo.h"

#include "frame/container/picture.h"

namespace zekalendo {

namespace {

// The button's picture: 11 by 9 pixels, white (the mask colour, so the button face
// shows through) with a solid black triangle pointing down on rows 4 to 7, kept as a
// 24-bit bitmap file so every backend can draw it.
std::shared_ptr<ze::container::Picture> DownTriangle() {
  constexpr int kWidth = 11, kHeight = 9;
  constexpr int kRowBytes = (kWidth * 3 + 3) / 4 * 4;  // rows padded to 4 bytes
  constexpr int kPixelBytes = kRowBytes * kHeight;
  constexpr int kHeaderBytes = 14 + 40;
  std::string bmp(kHeaderBytes + kPixelBytes, '\0');
  auto put = [&bmp](int at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bmp[0] = 'B', bmp[1] = 'M';
  put(2, kHeaderBytes + kPixelBytes, 4);
  put(10, kHeaderBytes, 4);
  put(14, 40, 4);        // info header size
  put(18, kWidth, 4);
  put(22, kHeight, 4);   // positive: bottom-up rows
  put(26, 1, 2);         // planes
  put(28, 24, 2);        // bits per pixel
  put(34, kPixelBytes, 4);
  const int widths[] = {7, 5, 3, 1};
  for (int y = 0; y < kHeight; ++y) {
    const int row = kHeaderBytes + (kHeight - 1 - y) * kRowBytes;
    const int black = (y >= 3 && y <= 6) ? widths[y - 3] : 0;
    const int first = (kWidth - black) / 2;
    for (int x = 0; x < kWidth; ++x) {
      const bool isBlack = x >= first && x < first + black;
      put(row + 3 * x, isBlack ? 0x000000 : 0xFFFFFF, 3);
    }
  }
  return std::make_shared<ze::container::Picture>(ze::container::PictureKind::Bitmap, kWidth,
                                                  kHeight, std::move(bmp));
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
