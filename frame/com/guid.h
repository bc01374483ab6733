// GUID: the 128-bit identifier of interfaces (IID), classes (CLSID) and type
// libraries (LIBID).
//
// Held as the four fields of the public COM model: Data1 (32 bits), Data2 and Data3
// (16 bits each) and Data4 (8 bytes). The text form is
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the three fields in hex, then Data4's
// first two bytes, then its last six. Formatting writes upper-case hex, the form
// registry entries and exported files hold; parsing accepts either case, with or
// without the braces. The 16-byte form is the standard byte order: the first three
// fields little-endian, Data4 as it stands.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "frame/automation/string.h"

namespace ze::com {

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
  friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

inline constexpr GUID GUID_NULL{};
inline constexpr GUID IID_NULL{};

// Parses "{1dd699fa-b33c-11d4-8b18-d52a72d1f030}" or the same without braces.
// Anything else (wrong length, a non-hex digit, misplaced dashes, one brace
// only, blanks around it) gives nothing.
std::optional<GUID> ParseGuid(std::string_view text);
std::optional<GUID> ParseGuid(std::u16string_view text);

// "{1DD699FA-B33C-11D4-8B18-D52A72D1F030}"
std::string FormatGuid(const GUID& guid);
String FormatGuidU(const GUID& guid);

// The standard 16-byte form and back.
std::array<std::uint8_t, 16> GuidToBytes(const GUID& guid);
GUID GuidFromBytes(const std::uint8_t* bytes16);

}  // namespace ze::com

template <>
struct std::hash<ze::com::GUID> {
  std::size_t operator()(const ze::com::GUID& g) const noexcept {
    std::uint64_t a = (std::uint64_t{g.Data1} << 32) | (std::uint64_t{g.Data2} << 16) | g.Data3;
    std::uint64_t b = 0;
    for (std::uint8_t byte : g.Data4) b = (b << 8) | byte;
    return std::hash<std::uint64_t>{}(a ^ (b * 0x9E3779B97F4A7C15ull));
  }
};
