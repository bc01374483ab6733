// The resources: the interface chains built from the identifiers, and the toolbox
// bitmap drawn here.
#include "server/kalendo_resources.h"

#include <array>

#include "frame/container/pixel_picture.h"
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

// The standard 16-colour palette as OLE_COLOR, and the colour of each character.
constexpr std::uint32_t kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                        0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
std::uint32_t ColourOf(char c) {
  switch (c) {
    case 'k':
      return kPalette[0];  // black
    case 'n':
      return kPalette[4];  // navy
    case 'r':
      return kPalette[9];  // red
    case 'w':
      return kPalette[15];  // white
    default:
      return kPalette[7];  // the light grey background
  }
}

std::string BuildBitmap() {
  ze::container::PixelCanvas canvas(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) canvas.Set(x, y, ColourOf(kPicture[y][x]));
  }
  return ze::container::PalettedBitmapFile(canvas, kPalette);
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
  static const std::string resource = BuildBitmap();
  return {reinterpret_cast<const std::uint8_t*>(resource.data()), resource.size()};
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
