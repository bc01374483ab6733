// The two small resources that list Kalendo's interface chains for the object's own
// use: _IID_KALENDO (the default interface's four earlier IIDs, then the current one)
// and _SRCIID_KALENDO (the same for the event interface). Each is a 32-bit
// little-endian byte count (80) followed by five GUIDs in the standard 16-byte order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "frame/com/guid.h"

namespace zekalendo::resources {

std::span<const std::uint8_t> IidKalendo();     // _IID_KALENDO
std::span<const std::uint8_t> SrcIidKalendo();  // _SRCIID_KALENDO

// The GUIDs a chain resource lists, oldest first; empty when the bytes are not one.
std::vector<ze::com::GUID> ReadChain(std::span<const std::uint8_t> resource);

}  // namespace zekalendo::resources
