// Value layouts; see value.h.
#include "frame/registry/value.h"

#include <cstdio>

namespace ze::registry {
namespace {

constexpr const char* kTypeNames[] = {
    "REG_NONE",
    "REG_SZ",
    "REG_EXPAND_SZ",
    "REG_BINARY",
    "REG_DWORD",
    "REG_DWORD_BIG_ENDIAN",
    "REG_LINK",
    "REG_MULTI_SZ",
    "REG_RESOURCE_LIST",
    "REG_FULL_RESOURCE_DESCRIPTOR",
    "REG_RESOURCE_REQUIREMENTS_LIST",
    "REG_QWORD",
};

void AppendUnits(Bytes& out, std::u16string_view text) {
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}

}  // namespace

std::string TypeName(DWORD type) {
  if (type < std::size(kTypeNames)) return kTypeNames[type];
  char text[24];
  std::snprintf(text, sizeof text, "REG_0x%X", type);
  return text;
}

std::optional<DWORD> ParseTypeName(std::string_view name) {
  for (DWORD t = 0; t < std::size(kTypeNames); ++t) {
    std::string_view known = kTypeNames[t];
    if (known.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < known.size() && same; ++i) {
      char c = name[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      same = c == known[i];
    }
    if (same) return t;
  }
  return std::nullopt;
}

Bytes EncodeString(std::u16string_view text) {
  Bytes out;
  out.reserve(2 * text.size() + 2);
  AppendUnits(out, text);
  out.push_back(0);
  out.push_back(0);
  return out;
}

Bytes EncodeMultiString(const std::vector<String>& items) {
  Bytes out;
  for (const String& item : items) {
    AppendUnits(out, item);
    out.push_back(0);
    out.push_back(0);
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

Bytes EncodeDword(std::uint32_t n) {
  return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
          static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
}

Bytes EncodeQword(std::uint64_t n) {
  Bytes out(8);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(n >> (8 * i));
  return out;
}

String DecodeString(std::span<const std::uint8_t> data) {
  String text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

std::vector<String> DecodeMultiString(std::span<const std::uint8_t> data) {
  std::vector<String> items;
  String current;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c != 0) {
      current += c;
      continue;
    }
    if (current.empty()) return items;  // the empty string ends the list
    items.push_back(std::move(current));
    current.clear();
  }
  if (!current.empty()) items.push_back(std::move(current));  // unterminated last item
  return items;
}

std::optional<std::uint32_t> DecodeDword(std::span<const std::uint8_t> data) {
  if (data.size() != 4) return std::nullopt;
  return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
         std::uint32_t{data[3]} << 24;
}

std::optional<std::uint64_t> DecodeQword(std::span<const std::uint8_t> data) {
  if (data.size() != 8) return std::nullopt;
  std::uint64_t n = 0;
  for (int i = 7; i >= 0; --i) n = (n << 8) | data[i];
  return n;
}

}  // namespace ze::registry
