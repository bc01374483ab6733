// The library's resources, as bytes built into it.
//
// Two small ones list Kalendo's interface chains for the object's own use:
// _IID_KALENDO (the default interface's four earlier IIDs, then the current one) and
// _SRCIID_KALENDO (the same for the event interface). Each is a 32-bit little-endian
// byte count (80) followed by five GUIDs in the standard 16-byte order.
//
// Bitmap 30000 is the toolbox picture that registration names in ToolboxBitmap32
// ("<path>, 30000"): a 16 by 15 pixel, 16-colour BMP file image (file header, info
// header, palette, rows bottom-up) of a small calendar page. Its lower left pixel is
// the background, which a toolbox shows as transparent.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "frame/com/guid.h"

namespace zekalendo::resources {

std::span<const std::uint8_t> IidKalendo();     // _IID_KALENDO
std::span<const std::uint8_t> SrcIidKalendo();  // _SRCIID_KALENDO
std::span<const std::uint8_t> ToolboxBitmap();  // bitmap 30000

// A numbered resource; empty when the library holds none of that number.
std::span<const std::uint8_t> Find(int id);

// The GUIDs a chain resource lists, oldest first; empty when the bytes are not one.
std::vector<ze::com::GUID> ReadChain(std::span<const std::uint8_t> resource);

}  // namespace zekalendo::resources
