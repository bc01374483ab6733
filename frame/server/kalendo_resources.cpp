// The interface-chain resources, built from the identifiers.
#include "frame/server/kalendo_resources.h"

#include <array>

#include "frame/server/kalendo_ids.h"

namespace zekalendo::resources {

namespace {

constexpr std::size_t kGuids = 5;
constexpr std::size_t kBytes = 4 + 16 * kGuids;

std::array<std::uint8_t, kBytes> Build(const std::array<ze::com::GUID, kGuids>& chain) {
  std::array<std::uint8_t, kBytes> out{};
  const std::uint32_t count = 16 * kGuids;
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(count >> (8 * i));
  for (std::size_t g = 0; g < kGuids; ++g) {
    const auto bytes = ze::com::GuidToBytes(chain[g]);
    std::copy(bytes.begin(), bytes.end(), out.begin() + 4 + 16 * g);
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
