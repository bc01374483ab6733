// The SZDD expander; see szdd.h.
#include "frame/system/szdd.h"

#include <array>
#include <cstdint>

namespace ze::system {

namespace {

constexpr std::string_view kSignature("SZDD\x88\xf0\x27\x33", 8);
constexpr char kMethodA = 'A';
constexpr std::size_t kWindowSize = 4096;
constexpr std::size_t kWindowMask = kWindowSize - 1;
constexpr std::size_t kWindowStart = kWindowSize - 16;
constexpr std::size_t kMinMatch = 3;
// The most a reference can give for its two bytes; a literal gives one for one.
constexpr std::size_t kMaxMatch = 18;

std::uint32_t Little32(std::string_view bytes) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[i]);
  return v;
}

}  // namespace

bool IsSzdd(std::string_view data) {
  return data.substr(0, kSignature.size()) == kSignature;
}

SzddResult ExpandSzdd(std::string_view data, std::size_t max_output, std::string& out) {
  if (!IsSzdd(data)) return SzddResult::kNotSzdd;
  if (data.size() < kSzddHeaderSize || data[8] != kMethodA) return SzddResult::kDamaged;
  const std::uint64_t length = Little32(data.substr(10, 4));
  if (length > max_output) return SzddResult::kTooLarge;
  const std::string_view stream = data.substr(kSzddHeaderSize);
  // Each two bytes of stream give at most 18 bytes; a length beyond that is a lie.
  if (length > (stream.size() / 2 + 1) * kMaxMatch) return SzddResult::kDamaged;

  out.clear();
  out.reserve(static_cast<std::size_t>(length));
  std::array<char, kWindowSize> window;
  window.fill(' ');
  std::size_t pos = kWindowStart;
  std::size_t in = 0;
  while (out.size() < length && in < stream.size()) {
    const auto flags = static_cast<std::uint8_t>(stream[in++]);
    for (int bit = 0; bit < 8 && out.size() < length; ++bit) {
      if (flags & (1u << bit)) {
        if (in >= stream.size()) return SzddResult::kDamaged;
        const char c = stream[in++];
        out.push_back(c);
        window[pos] = c;
        pos = (pos + 1) & kWindowMask;
        continue;
      }
      if (in + 2 > stream.size()) return SzddResult::kDamaged;
      const auto b0 = static_cast<std::uint8_t>(stream[in]);
      const auto b1 = static_cast<std::uint8_t>(stream[in + 1]);
      in += 2;
      std::size_t from = b0 | (static_cast<std::size_t>(b1 & 0xF0) << 4);
      const std::size_t count = (b1 & 0x0F) + kMinMatch;
      // Byte by byte: a reference may overlap the bytes it is producing.
      for (std::size_t k = 0; k < count && out.size() < length; ++k) {
        const char c = window[from];
        out.push_back(c);
        window[pos] = c;
        pos = (pos + 1) & kWindowMask;
        from = (from + 1) & kWindowMask;
      }
    }
  }
  return out.size() == length ? SzddResult::kExpanded : SzddResult::kDamaged;
}

}  // namespace ze::system
