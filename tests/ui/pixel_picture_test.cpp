// Pictures drawn in code, read back from the image files they are kept as.
#include "frame/container/pixel_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/automation/error.h"

namespace ze::container {
namespace {

std::uint32_t Field(const std::string& data, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data.at(at + i))) << (8 * i);
  return v;
}

// The colour at (x, y), counted from the top, of the rows of bits-per-pixel that start
// at pixels, stored bottom row first: OLE_COLOR again, with a 32-bit pixel's opacity in
// the top byte.
std::uint32_t PixelAt(const std::string& data, std::size_t pixels, int width, int height, int x,
                      int y, int bits = 24) {
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t at =
      pixels + static_cast<std::size_t>(height - 1 - y) * rowBytes + bits / 8u * x;
  const std::uint32_t stored = Field(data, at, bits / 8);
  return (stored & 0xFF000000u) | ((stored & 0xFF) << 16) | (stored & 0xFF00) |
         ((stored >> 16) & 0xFF);
}

TEST(PixelPicture, BitmapRowsRunBottomUpPaddedToWords) {
  // 5 pixels of 3 bytes need one byte of padding a row: a wrong stride shears the picture.
  PixelCanvas canvas(5, 3, 0x00FFFFFF);
  canvas.Set(0, 0, 0x000000FF);  // red, top left
  canvas.Set(4, 2, 0x00FF0000);  // blue, bottom right
  canvas.Set(2, 1, PixelCanvas::kClear);
  const auto picture = BitmapPicture(canvas);
  EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
  EXPECT_EQ(picture->WidthPixels(), 5);
  EXPECT_EQ(picture->HeightPixels(), 3);
  const std::string& bmp = picture->Data();
  ASSERT_EQ(bmp.size(), 54u + 3 * 16);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Field(bmp, 2, 4), bmp.size());
  EXPECT_EQ(Field(bmp, 10, 4), 54u);
  EXPECT_EQ(Field(bmp, 22, 4), 3u);
  EXPECT_EQ(Field(bmp, 28, 2), 24u);
  EXPECT_EQ(PixelAt(bmp, 54, 5, 3, 0, 0), 0x000000FFu);
  EXPECT_EQ(PixelAt(bmp, 54, 5, 3, 4, 2), 0x00FF0000u);
  EXPECT_EQ(PixelAt(bmp, 54, 5, 3, 2, 1), 0x00FFFFFFu);  // clear is white in a bitmap
  EXPECT_EQ(PixelAt(bmp, 54, 5, 3, 4, 0), 0x00FFFFFFu);
}

TEST(PixelPicture, PalettedBitmapStoresIndicesTwoAPixel) {
  // 3 pixels of 4 bits need 2 bytes and 2 of padding a row; the left pixel is the high half.
  const std::uint32_t palette[] = {0x000000, 0x0000FF, 0xFFFFFF};
  PixelCanvas canvas(3, 2, 0xFFFFFF);
  canvas.Set(0, 0, 0x0000FF);  // red, top left
  canvas.Set(2, 1, 0x000000);  // black, bottom right
  const std::string bmp = PalettedBitmapFile(canvas, palette);
  ASSERT_EQ(bmp.size(), 54u + 4 * 3 + 2 * 4);
  EXPECT_EQ(Field(bmp, 2, 4), bmp.size());
  EXPECT_EQ(Field(bmp, 10, 4), 66u);
  EXPECT_EQ(Field(bmp, 28, 2), 4u);
  EXPECT_EQ(Field(bmp, 46, 4), 3u) << "colours used";
  EXPECT_EQ(Field(bmp, 54 + 4, 4), 0x00FF0000u) << "red stored blue, green, red";
  EXPECT_EQ(static_cast<unsigned char>(bmp[66]), 0x22) << "bottom row: white, white";
  EXPECT_EQ(static_cast<unsigned char>(bmp[67]), 0x00) << "then black";
  EXPECT_EQ(static_cast<unsigned char>(bmp[70]), 0x12) << "top row: red, white";
  EXPECT_EQ(static_cast<unsigned char>(bmp[71]), 0x20);
  // A colour the palette lacks, a clear pixel, or more than 16 colours: error 380.
  canvas.Set(1, 1, 0x00FF00);
  EXPECT_THROW(PalettedBitmapFile(canvas, palette), AutomationError);
  EXPECT_THROW(PalettedBitmapFile(PixelCanvas(1, 1), palette), AutomationError);
  const std::vector<std::uint32_t> many(17, 0);
  EXPECT_THROW(PalettedBitmapFile(PixelCanvas(1, 1, 0), many), AutomationError);
}

TEST(PixelPicture, IconMasksItsClearPixelsTwice) {
  // 9 pixels wide: the mask's rows take two bytes and are padded to four.
  PixelCanvas canvas(9, 2);
  canvas.Fill(0, 0, 9, 1, 0x0000FF00);
  canvas.Set(8, 1, 0x000000FF);
  const auto picture = IconPicture(canvas);
  EXPECT_EQ(picture->Kind(), PictureKind::Icon);
  const std::string& ico = picture->Data();
  EXPECT_EQ(Field(ico, 2, 2), 1u);  // an icon
  EXPECT_EQ(Field(ico, 4, 2), 1u);  // one image
  EXPECT_EQ(Field(ico, 6, 1), 9u);
  EXPECT_EQ(Field(ico, 7, 1), 2u);
  const std::size_t dib = Field(ico, 18, 4);
  EXPECT_EQ(Field(ico, 14, 4), ico.size() - dib);
  EXPECT_EQ(Field(ico, dib + 8, 4), 4u);  // colour rows and mask rows
  EXPECT_EQ(Field(ico, dib + 14, 2), 32u);
  // Clear pixels have no opacity, for readers that go by it...
  const std::size_t colour = dib + 40, colourBytes = 2 * 9 * 4;
  EXPECT_EQ(PixelAt(ico, colour, 9, 2, 3, 0, 32), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(ico, colour, 9, 2, 8, 1, 32), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(ico, colour, 9, 2, 0, 1, 32), 0u);
  // ...and a set mask bit, for those that go by the mask.
  ASSERT_EQ(ico.size(), colour + colourBytes + 2 * 4);
  const std::size_t mask = colour + colourBytes;
  // Bottom row (y = 1) first: all clear but its last pixel; then the full top row.
  EXPECT_EQ(Field(ico, mask, 2), 0x00FFu);
  EXPECT_EQ(Field(ico, mask + 4, 2), 0u);
}

TEST(PixelPicture, CursorKeepsItsHotSpot) {
  PixelCanvas canvas(32, 32);
  const auto hand = CursorPicture(canvas, 5, 31);
  EXPECT_EQ(hand->Kind(), PictureKind::Cursor);
  EXPECT_EQ(CursorHotSpot(*hand), std::make_pair(5, 31));
  EXPECT_THROW(CursorPicture(canvas, 32, 0), AutomationError);
  EXPECT_THROW(CursorPicture(canvas, 0, -1), AutomationError);
  // Only a cursor file has one.
  EXPECT_FALSE(CursorHotSpot(*IconPicture(canvas)));
  EXPECT_FALSE(CursorHotSpot(Picture(PictureKind::Cursor, 32, 32, "short")));
  std::string wrongType = hand->Data();
  wrongType[2] = 1;
  EXPECT_FALSE(CursorHotSpot(Picture(PictureKind::Cursor, 32, 32, wrongType)));
}

TEST(PixelPicture, CanvasLimits) {
  EXPECT_THROW(PixelCanvas(0, 4), AutomationError);
  EXPECT_THROW(PixelCanvas(4, -1), AutomationError);
  EXPECT_THROW(IconPicture(PixelCanvas(257, 16)), AutomationError);
  // A 256-pixel side is written as 0 in the directory.
  EXPECT_EQ(IconPicture(PixelCanvas(256, 1))->Data()[6], '\0');
  // Drawing past the edges is clipped, never out of bounds.
  PixelCanvas c(4, 4, 0);
  c.Fill(-2, 2, 100, 100, 7);
  c.Set(4, 0, 9);
  c.Draw(3, -1, {"ab", "ba"}, {{'a', 5}});
  EXPECT_EQ(c.At(0, 1), 0u);
  EXPECT_EQ(c.At(0, 2), 7u);
  EXPECT_EQ(c.At(3, 3), 7u);
  EXPECT_EQ(c.At(3, 0), 0u);  // 'b' is not in the palette
  EXPECT_EQ(c.At(-1, 0), PixelCanvas::kClear);
  c.Draw(2, 0, {"ab"}, {{'a', 5}});
  EXPECT_EQ(c.At(2, 0), 5u);
}

}  // namespace
}  // namespace ze::container
