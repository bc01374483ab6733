// Pixel canvases and their BMP, ICO and CUR files (see pixel_picture.h).
#include "frame/container/pixel_picture.h"

#include <algorithm>
#include <string>

#include "frame/automation/error.h"

namespace ze::container {

namespace {

constexpr std::int32_t kFileHeaderBytes = 14;     // "BM" header of a BMP file
constexpr std::int32_t kInfoHeaderBytes = 40;     // BITMAPINFOHEADER
constexpr std::int32_t kDirectoryBytes = 6 + 16;  // ICO/CUR header and its one entry
constexpr std::int32_t kMaxIconSide = 256;
constexpr std::uint16_t kIconType = 1, kCursorType = 2;

// Little-endian fields into a file under construction.
class Writer {
 public:
  explicit Writer(std::size_t size) : bytes_(size, '\0') {}
  void Put(std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
      bytes_[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  void SetBit(std::size_t at, int bit) { SetBits(at, 0x80u >> bit); }
  void SetBits(std::size_t at, std::uint32_t bits) {
    bytes_[at] = static_cast<char>(static_cast<unsigned char>(bytes_[at]) | (bits & 0xFF));
  }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

std::uint32_t Read(const std::string& data, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i)
    value |= static_cast<std::uint32_t>(
                 static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]))
             << (8 * i);
  return value;
}

// Rows of a device-independent bitmap are padded to whole 32-bit words.
std::int32_t RowBytes(std::int32_t width, int bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// The BMP file header: the file's size and where its pixels start.
void PutFileHeader(Writer& out, std::int32_t pixelsAt, std::int32_t fileBytes) {
  out.Put(0, 'B', 1);
  out.Put(1, 'M', 1);
  out.Put(2, static_cast<std::uint32_t>(fileBytes), 4);
  out.Put(10, static_cast<std::uint32_t>(pixelsAt), 4);
}

// The info header and the colour rows, bottom row first, from at. A bitmap has 24 bits a
// pixel and writes its clear pixels white; an icon has 32, its clear pixels black and
// with no opacity. (Readers of icons take either the opacity or the mask, and some
// ignore the mask of any icon of more than 8 bits a pixel.) heightField is the
// header's height: an icon's counts its mask too.
void PutDib(Writer& out, std::size_t at, const PixelCanvas& canvas, int bits,
            std::int32_t heightField, std::int32_t imageBytes) {
  const std::int32_t w = canvas.Width(), h = canvas.Height();
  out.Put(at, kInfoHeaderBytes, 4);
  out.Put(at + 4, static_cast<std::uint32_t>(w), 4);
  out.Put(at + 8, static_cast<std::uint32_t>(heightField), 4);  // positive: bottom-up rows
  out.Put(at + 12, 1, 2);                                       // planes
  out.Put(at + 14, static_cast<std::uint32_t>(bits), 2);
  out.Put(at + 20, static_cast<std::uint32_t>(imageBytes), 4);
  const std::size_t pixels = at + kInfoHeaderBytes;
  const std::int32_t rowBytes = RowBytes(w, bits);
  const int pixelBytes = bits / 8;
  for (std::int32_t y = 0; y < h; ++y) {
    const std::size_t row = pixels + static_cast<std::size_t>((h - 1 - y) * rowBytes);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::uint32_t c = canvas.At(x, y);
      // OLE_COLOR is red in the low byte; a DIB stores blue, green, red (and opacity).
      std::uint32_t stored = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      if (c == PixelCanvas::kClear)
        stored = bits == 32 ? 0 : 0xFFFFFF;
      else if (bits == 32)
        stored |= 0xFF000000u;
      out.Put(row + static_cast<std::size_t>(pixelBytes * x), stored, pixelBytes);
    }
  }
}

PictureRef IconFile(const PixelCanvas& canvas, std::uint16_t type, std::uint16_t field1,
                    std::uint16_t field2, PictureKind kind) {
  const std::int32_t w = canvas.Width(), h = canvas.Height();
  if (w > kMaxIconSide || h > kMaxIconSide) Raise(errors::kInvalidPropertyValue);
  const std::int32_t colorBytes = RowBytes(w, 32) * h;
  const std::int32_t maskRowBytes = RowBytes(w, 1);
  const std::int32_t imageBytes = kInfoHeaderBytes + colorBytes + maskRowBytes * h;
  Writer out(static_cast<std::size_t>(kDirectoryBytes + imageBytes));
  out.Put(2, type, 2);
  out.Put(4, 1, 2);                                    // one image
  out.Put(6, static_cast<std::uint32_t>(w % 256), 1);  // 0 stands for 256
  out.Put(7, static_cast<std::uint32_t>(h % 256), 1);
  out.Put(10, field1, 2);  // planes of an icon, hot spot x of a cursor
  out.Put(12, field2, 2);  // bits per pixel of an icon, hot spot y of a cursor
  out.Put(14, static_cast<std::uint32_t>(imageBytes), 4);
  out.Put(18, kDirectoryBytes, 4);
  // Clear pixels are black under a set mask bit: the screen shows through unchanged.
  PutDib(out, kDirectoryBytes, canvas, 32, 2 * h, colorBytes + maskRowBytes * h);
  const std::size_t mask =
      kDirectoryBytes + kInfoHeaderBytes + static_cast<std::size_t>(colorBytes);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::size_t row = mask + static_cast<std::size_t>((h - 1 - y) * maskRowBytes);
    for (std::int32_t x = 0; x < w; ++x)
      if (canvas.At(x, y) == PixelCanvas::kClear)
        out.SetBit(row + static_cast<std::size_t>(x / 8), x % 8);
  }
  return std::make_shared<Picture>(kind, w, h, out.Take());
}

}  // namespace

PixelCanvas::PixelCanvas(std::int32_t width, std::int32_t height, std::uint32_t fill)
    : width_(width), height_(height) {
  if (width < 1 || height < 1) Raise(errors::kInvalidPropertyValue);
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

std::uint32_t PixelCanvas::At(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kClear;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void PixelCanvas::Set(std::int32_t x, std::int32_t y, std::uint32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = color;
}

void PixelCanvas::Fill(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                       std::uint32_t color) {
  const std::int32_t x0 = std::max(left, 0), y0 = std::max(top, 0);
  const auto x1 =
      static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{left} + width, width_));
  const auto y1 =
      static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{top} + height, height_));
  for (std::int32_t y = y0; y < y1; ++y)
    for (std::int32_t x = x0; x < x1; ++x) Set(x, y, color);
}

void PixelCanvas::Draw(std::int32_t left, std::int32_t top,
                       const std::vector<std::string_view>& rows,
                       const std::vector<std::pair<char, std::uint32_t>>& palette) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      for (const auto& [ch, color] : palette) {
        if (ch != rows[r][c]) continue;
        Set(left + static_cast<std::int32_t>(c), top + static_cast<std::int32_t>(r), color);
        break;
      }
    }
  }
}

PictureRef BitmapPicture(const PixelCanvas& canvas) {
  const std::int32_t pixelBytes = RowBytes(canvas.Width(), 24) * canvas.Height();
  const std::int32_t offset = kFileHeaderBytes + kInfoHeaderBytes;
  Writer out(static_cast<std::size_t>(offset + pixelBytes));
  PutFileHeader(out, offset, offset + pixelBytes);
  PutDib(out, kFileHeaderBytes, canvas, 24, canvas.Height(), pixelBytes);
  return std::make_shared<Picture>(PictureKind::Bitmap, canvas.Width(), canvas.Height(),
                                   out.Take());
}

std::string PalettedBitmapFile(const PixelCanvas& canvas,
                               std::span<const std::uint32_t> palette) {
  constexpr std::size_t kMaxColours = 16;
  if (palette.size() > kMaxColours) Raise(errors::kInvalidPropertyValue);
  const std::int32_t w = canvas.Width(), h = canvas.Height();
  const std::int32_t rowBytes = RowBytes(w, 4);
  const auto paletteBytes = static_cast<std::int32_t>(4 * palette.size());
  const std::int32_t pixelsAt = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
  Writer out(static_cast<std::size_t>(pixelsAt + rowBytes * h));
  PutFileHeader(out, pixelsAt, pixelsAt + rowBytes * h);
  const std::size_t info = kFileHeaderBytes;
  out.Put(info, kInfoHeaderBytes, 4);
  out.Put(info + 4, static_cast<std::uint32_t>(w), 4);
  out.Put(info + 8, static_cast<std::uint32_t>(h), 4);  // positive: bottom-up rows
  out.Put(info + 12, 1, 2);                              // planes
  out.Put(info + 14, 4, 2);                              // bits per pixel
  out.Put(info + 20, static_cast<std::uint32_t>(rowBytes * h), 4);
  out.Put(info + 32, static_cast<std::uint32_t>(palette.size()), 4);  // colours used
  // The palette as blue, green, red and a reserved byte: OLE_COLOR's bytes reversed.
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const std::uint32_t c = palette[i];
    out.Put(info + kInfoHeaderBytes + 4 * i,
            ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF), 4);
  }
  // Two pixels a byte, the left one in the high half.
  for (std::int32_t y = 0; y < h; ++y) {
    const std::size_t row = static_cast<std::size_t>(pixelsAt + (h - 1 - y) * rowBytes);
    for (std::int32_t x = 0; x < w; ++x) {
      const auto found = std::find(palette.begin(), palette.end(), canvas.At(x, y));
      if (found == palette.end()) Raise(errors::kInvalidPropertyValue);
      const auto index = static_cast<std::uint32_t>(found - palette.begin());
      const std::size_t at = row + static_cast<std::size_t>(x / 2);
      out.SetBits(at, index << (x % 2 == 0 ? 4 : 0));
    }
  }
  return out.Take();
}

PictureRef IconPicture(const PixelCanvas& canvas) {
  return IconFile(canvas, kIconType, 1, 32, PictureKind::Icon);
}

PictureRef CursorPicture(const PixelCanvas& canvas, std::int32_t hotX, std::int32_t hotY) {
  if (hotX < 0 || hotY < 0 || hotX >= canvas.Width() || hotY >= canvas.Height())
    Raise(errors::kInvalidPropertyValue);
  return IconFile(canvas, kCursorType, static_cast<std::uint16_t>(hotX),
                  static_cast<std::uint16_t>(hotY), PictureKind::Cursor);
}

std::optional<std::pair<std::int32_t, std::int32_t>> CursorHotSpot(const Picture& picture) {
  const std::string& data = picture.Data();
  if (picture.Kind() != PictureKind::Cursor || data.size() < kDirectoryBytes) return std::nullopt;
  if (Read(data, 0, 2) != 0 || Read(data, 2, 2) != kCursorType || Read(data, 4, 2) < 1)
    return std::nullopt;
  return std::pair<std::int32_t, std::int32_t>(static_cast<std::int32_t>(Read(data, 10, 2)),
                                               static_cast<std::int32_t>(Read(data, 12, 2)));
}

}  // namespace ze::container
