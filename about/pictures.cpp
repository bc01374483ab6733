// The about box's pictures (see pictures.h).
#include "about/pictures.h"

#include <string_view>
#include <vector>

#include "frame/container/pixel_picture.h"

namespace zekalendo::pictures {

namespace {

using ze::container::PixelCanvas;

// OLE_COLOR values (0x00BBGGRR).
constexpr std::uint32_t kBlack = 0x00000000, kWhite = 0x00FFFFFF, kRed = 0x000000FF;
constexpr std::uint32_t kGrey = 0x00808080, kPale = 0x00F0E0D0;
constexpr std::uint32_t kNavy = 0x00803010, kSky = 0x00C06030;

// The letters of the product's name, 5 x 7 blocks each.
struct Glyph {
  char letter;
  std::string_view rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'d', {"....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
};
constexpr int kGlyphWidth = 5, kGlyphHeight = 7;

const Glyph* GlyphOf(char letter) {
  for (const Glyph& g : kGlyphs)
    if (g.letter == letter) return &g;
  return nullptr;
}

// Writes text in blocks of scale pixels, a block's gap between letters.
void DrawWord(PixelCanvas& canvas, int left, int top, std::string_view text, int scale,
              std::uint32_t color) {
  for (char letter : text) {
    if (const Glyph* g = GlyphOf(letter)) {
      for (int r = 0; r < kGlyphHeight; ++r)
        for (int c = 0; c < kGlyphWidth; ++c)
          if (g->rows[r][static_cast<std::size_t>(c)] == '#')
            canvas.Fill(left + c * scale, top + r * scale, scale, scale, color);
    }
    left += (kGlyphWidth + 1) * scale;
  }
}

int WordWidth(std::string_view text, int scale) {
  return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

}  // namespace

ze::container::PictureRef ProgramIcon() {
  PixelCanvas icon(32, 32);
  icon.Fill(3, 4, 26, 26, kBlack);  // the page and its edge
  icon.Fill(4, 5, 24, 24, kWhite);
  icon.Fill(4, 5, 24, 6, kRed);  // the month's heading
  for (int ring : {9, 21}) icon.Fill(ring, 2, 2, 5, kBlack);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 5; ++col)
      icon.Fill(6 + 4 * col, 13 + 4 * row, 3, 3, row == 2 && col == 3 ? kRed : kGrey);
  return ze::container::IconPicture(icon);
}

ze::container::PictureRef Banner() {
  constexpr int kWidth = 265, kHeight = 80, kScale = 4;
  PixelCanvas banner(kWidth, kHeight);
  // Navy at the top to sky blue at the bottom, channel by channel.
  for (int y = 0; y < kHeight; ++y) {
    std::uint32_t color = 0;
    for (int shift : {0, 8, 16}) {
      const int from = static_cast<int>((kNavy >> shift) & 0xFF);
      const int to = static_cast<int>((kSky >> shift) & 0xFF);
      color |= static_cast<std::uint32_t>(from + (to - from) * y / (kHeight - 1)) << shift;
    }
    banner.Fill(0, y, kWidth, 1, color);
  }
  constexpr std::string_view kName = "zeKalendo";
  DrawWord(banner, (kWidth - WordWidth(kName, kScale)) / 2, 12, kName, kScale, kWhite);
  // A week of days under the name, one of them picked.
  constexpr int kDays = 7, kDayWidth = 20, kPitch = 24;
  const int first = (kWidth - (kDays * kPitch - (kPitch - kDayWidth))) / 2;
  for (int d = 0; d < kDays; ++d)
    banner.Fill(first + d * kPitch, 54, kDayWidth, 12, d == 4 ? kRed : kPale);
  return ze::container::BitmapPicture(banner);
}

ze::container::PictureRef PointingHand() {
  PixelCanvas hand(32, 32);
  hand.Draw(0, 0,
            {".....##..........",  // the fingertip: the hot spot
             "....#oo#.........", "....#oo#.........", "....#oo#.........", "....#oo#.........",
             "....#oo###.......", "....#oo#oo###....", "....#oo#oo#oo##..", ".##.#oo#oo#oo#o#.",
             "#oo##oo#oo#oo#o#.", "#ooo#ooooooooooo#", ".#oo#ooooooooooo#", "..#oooooooooooo#.",
             "..#ooooooooooooo#", "...#ooooooooooo#.", "...#ooooooooooo#.", "....#ooooooooo#..",
             "....#ooooooooo#..", "....#ooooooooo#..", "....###########.."},
            {{'#', kBlack}, {'o', kWhite}});
  return ze::container::CursorPicture(hand, kHandHotX, kHandHotY);
}

}  // namespace zekalendo::pictures
