// GUID text and byte forms; see guid.h.
#include "frame/com/guid.h"

namespace ze::com {
namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Works on any character type so the narrow and the UTF-16 forms share it.
template <class Char>
std::optional<GUID> Parse(std::basic_string_view<Char> text) {
  if (text.size() == 38) {
    if (text.front() != Char('{') || text.back() != Char('}')) return std::nullopt;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  // Offsets of the 32 hex digits; the dashes sit at 8, 13, 18 and 23.
  std::uint8_t nibbles[32];
  int n = 0;
  for (std::size_t i = 0; i < 36; ++i) {
    const bool dash_place = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash_place) {
      if (text[i] != Char('-')) return std::nullopt;
      continue;
    }
    const auto c = static_cast<std::uint32_t>(text[i]);
    const int v = c < 0x80 ? HexValue(static_cast<char16_t>(c)) : -1;
    if (v < 0) return std::nullopt;
    nibbles[n++] = static_cast<std::uint8_t>(v);
  }
  auto take = [&](int from, int count) {
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i) v = (v << 4) | nibbles[from + i];
    return v;
  };
  GUID g;
  g.Data1 = take(0, 8);
  g.Data2 = static_cast<std::uint16_t>(take(8, 4));
  g.Data3 = static_cast<std::uint16_t>(take(12, 4));
  for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<std::uint8_t>(take(16 + 2 * i, 2));
  return g;
}

}  // namespace

std::optional<GUID> ParseGuid(std::string_view text) {
  return Parse(text);
}
std::optional<GUID> ParseGuid(std::u16string_view text) {
  return Parse(text);
}

std::string FormatGuid(const GUID& g) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s = "{";
  auto put = [&](std::uint32_t v, int digits) {
    for (int i = digits - 1; i >= 0; --i) s += kHex[(v >> (4 * i)) & 0xF];
  };
  put(g.Data1, 8);
  s += '-';
  put(g.Data2, 4);
  s += '-';
  put(g.Data3, 4);
  s += '-';
  put(g.Data4[0], 2);
  put(g.Data4[1], 2);
  s += '-';
  for (int i = 2; i < 8; ++i) put(g.Data4[i], 2);
  s += '}';
  return s;
}

String FormatGuidU(const GUID& guid) {
  const std::string narrow = FormatGuid(guid);
  return String(narrow.begin(), narrow.end());
}

std::array<std::uint8_t, 16> GuidToBytes(const GUID& g) {
  std::array<std::uint8_t, 16> b{};
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(g.Data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) b[4 + i] = static_cast<std::uint8_t>(g.Data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) b[6 + i] = static_cast<std::uint8_t>(g.Data3 >> (8 * i));
  for (int i = 0; i < 8; ++i) b[8 + i] = g.Data4[i];
  return b;
}

GUID GuidFromBytes(const std::uint8_t* b) {
  GUID g;
  g.Data1 = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
            std::uint32_t{b[3]} << 24;
  g.Data2 = static_cast<std::uint16_t>(b[4] | b[5] << 8);
  g.Data3 = static_cast<std::uint16_t>(b[6] | b[7] << 8);
  for (int i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
  return g;
}

}  // namespace ze::com
