// The resources: the interface chains built from the identifiers, and the toolbox
// bitmap drawn here.
#include "server/kalendo_resources.h"

#include <array>

#include "server/kalendo_ids.h"

namespace zekalendo::resources {

namespace {

// Writes `value` little-endian into `size` bytes from `at`.
void PutLittleEndian(std::uint8_t* at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kGuids = 5;
constexpr std::size_t kBytes = 4 + 16 * kGuids;

std::array<std::uint8_t, kBytes> Build(const std::array<ze::com::GUID, kGuids>& chain) {
  std::array<std::uint8_t, kBytes> out{};
  PutLittleEndian(out.data(), 16 * kGuids, 4);
  for (std::size_t g = 0; g < kGuids; ++g) {
    const auto bytes = ze::com::GuidToBytes(chain[g]);
    std::copy(bytes.begin(), bytes.end(), out.begin() + 4 + 16 * g);
  }
  return out;
}

// The toolbox picture, a pixel a character, top row first: a calendar page with its
// two rings, a red heading and the days, one of them picked.
constexpr int kWidth = 16, kHeight = 15;
constexpr const char* kPicture[kHeight] = {
    "................",  //
    "....k......k....",  //
    ".kkkkkkkkkkkkkk.",  //
    ".krrkrrrrrrkrrk.",  //
    ".krrrrrrrrrrrrk.",  //
    ".kkkkkkkkkkkkkk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwnwnwnwnwnwwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwnwnwnwrrwnwk.",  //
    ".kwwwwwwwrrwwwk.",  //
    ".kwnwnwnwnwnwwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kkkkkkkkkkkkkk.",  //
    "................",  //
};

// The standard 16-colour palette as 0xRRGGBB, and which entry each character takes.
constexpr std::uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
std::uint8_t ColourOf(char c) {
  switch (c) {
    case 'k':
      return 0;  // black
    case 'n':
      return 4;  // navy
    case 'r':
      return 9;  // red
    case 'w':
      return 15;  // white
    default:
      return 7;  // the light grey background
  }
}

constexpr std::size_t kFileHeader = 14, kInfoHeader = 40, kPaletteBytes = 4 * 16;
constexpr std::size_t kRowBytes = (kWidth * 4 + 31) / 32 * 4;  // rows fill whole 32-bit words
constexpr std::size_t kPixelsAt = kFileHeader + kInfoHeader + kPaletteBytes;
constexpr std::size_t kBitmapBytes = kPixelsAt + kRowBytes * kHeight;

std::array<std::uint8_t, kBitmapBytes> BuildBitmap() {
  std::array<std::uint8_t, kBitmapBytes> out{};
  std::uint8_t* p = out.data();
  // BITMAPFILEHEADER
  p[0] = 'B';
  p[1] = 'M';
  PutLittleEndian(p + 2, kBitmapBytes, 4);
  PutLittleEndian(p + 10, kPixelsAt, 4);
  // BITMAPINFOHEADER: no compression, every palette entry used.
  p += kFileHeader;
  PutLittleEndian(p, kInfoHeader, 4);
  PutLittleEndian(p + 4, kWidth, 4);
  PutLittleEndian(p + 8, kHeight, 4);  // positive: the rows run bottom-up
  PutLittleEndian(p + 12, 1, 2);       // planes
  PutLittleEndian(p + 14, 4, 2);       // bits per pixel
  PutLittleEndian(p + 20, kRowBytes * kHeight, 4);
  PutLittleEndian(p + 32, 16, 4);
  // The palette, blue green red and a reserved byte each.
  p += kInfoHeader;
  for (std::uint32_t rgb : kPalette) {
    PutLittleEndian(p, rgb, 3);  // 0xRRGGBB little-endian is blue, green, red
    p += 4;
  }
  // Two pixels a byte, the left one in the high half.
  for (int row = 0; row < kHeight; ++row) {
    std::uint8_t* line = out.data() + kPixelsAt + kRowBytes * (kHeight - 1 - row);
    for (int x = 0; x < kWidth; ++x) {
      line[x / 2] |= ColourOf(kPicture[row][x]) << (x % 2 == 0 ? 4 : 0);
    }
  }
  return out;
}

}  // namespace

std::span<const std::uint8_t> IidKalendo() {
  static const auto resource = Build(ids::kIidChainKalendo);
  return resource;
}

std::span<const std::uint8_t> SrcIidKalendo() {
  static const auto resource = Build(ids::kIidChainKalendoEvents);
  return resource;
}

std::span<const std::uint8_t> ToolboxBitmap() {
  static const auto resource = BuildBitmap();
  return resource;
}

std::span<const std::uint8_t> Find(int id) {
  if (id == ids::kToolboxBitmapId) return ToolboxBitmap();
  return {};
}

std::vector<ze::com::GUID> ReadChain(std::span<const std::uint8_t> resource) {
  if (resource.size() < 4) return {};
  std::uint32_t count = 0;
  for (int i = 0; i < 4; ++i) count |= std::uint32_t{resource[i]} << (8 * i);
  if (count % 16 != 0 || count > resource.size() - 4) return {};
  std::vector<ze::com::GUID> chain;
  for (std::uint32_t at = 4; at < 4 + count; at += 16) {
    chain.push_back(ze::com::GuidFromBytes(resource.data() + at));
  }
  return chain;
}

}  // namespace zekalendo::resources
