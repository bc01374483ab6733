// Pictures drawn in code: a grid of pixels written out as the image file a Picture
// keeps (a BMP for a bitmap, an ICO for an icon, a CUR for a cursor). This is the one
// BMP writer: the component library's own bitmap resources are written here too.
//
// The components have no image files of their own to ship; their glyphs, icons and
// pointers are a few dozen lines of drawing each. Colours are OLE_COLOR (0x00BBGGRR);
// kClear marks a pixel that lets the background through. A bitmap has no mask: its
// clear pixels are written white, which is the mask colour of a command-button glyph.
// An icon or a cursor carries a mask, so its clear pixels are truly see-through.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/container/picture.h"

namespace ze::container {

class PixelCanvas {
 public:
  static constexpr std::uint32_t kClear = 0xFF000000u;

  // Both sides at least 1 pixel (error 380 otherwise); every pixel starts as fill.
  PixelCanvas(std::int32_t width, std::int32_t height, std::uint32_t fill = kClear);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // Outside the canvas: At gives kClear, Set and Fill draw nothing there.
  std::uint32_t At(std::int32_t x, std::int32_t y) const;
  void Set(std::int32_t x, std::int32_t y, std::uint32_t color);
  void Fill(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
            std::uint32_t color);
  // Draws rows of text art from (left, top): each character is one pixel, looked up in
  // palette as (character, colour) pairs; a character not in the palette draws nothing.
  void Draw(std::int32_t left, std::int32_t top, const std::vector<std::string_view>& rows,
            const std::vector<std::pair<char, std::uint32_t>>& palette);

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint32_t> pixels_;  // rows top to bottom
};

// A 24-bit BMP.
PictureRef BitmapPicture(const PixelCanvas& canvas);
// The file of a 16-colour BMP: each pixel is stored as its colour's index in palette (at
// most 16 OLE_COLORs, all of them written and counted as used). A pixel whose colour is
// not in the palette, kClear included, raises 380, as does a palette of more than 16.
std::string PalettedBitmapFile(const PixelCanvas& canvas, std::span<const std::uint32_t> palette);
// An ICO of one 32-bit image with its mask; at most 256 pixels a side (error 380).
PictureRef IconPicture(const PixelCanvas& canvas);
// A CUR like IconPicture, whose pointer acts at (hotX, hotY); a hot spot off the canvas
// raises 380.
PictureRef CursorPicture(const PixelCanvas& canvas, std::int32_t hotX, std::int32_t hotY);

// The hot spot of a cursor picture read from its file; nothing for other kinds and for
// data that is no cursor file.
std::optional<std::pair<std::int32_t, std::int32_t>> CursorHotSpot(const Picture& picture);

}  // namespace ze::container
