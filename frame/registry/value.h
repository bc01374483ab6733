// Registry values: a type and raw bytes, exactly as written.
//
// The store keeps whatever bytes a writer gave, whatever the type says; the
// helpers below build and read the usual layouts. Text is UTF-16LE, the layout every
// reader of these types expects: REG_SZ and REG_EXPAND_SZ end with one NUL unit,
// REG_MULTI_SZ is each string with its NUL followed by one more NUL. Numbers are
// little-endian (REG_DWORD 4 bytes, REG_QWORD 8 bytes).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/errors.h"

namespace ze::registry {

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_RESOURCE_LIST = 8;
inline constexpr DWORD REG_FULL_RESOURCE_DESCRIPTOR = 9;
inline constexpr DWORD REG_RESOURCE_REQUIREMENTS_LIST = 10;
inline constexpr DWORD REG_QWORD = 11;

using Bytes = std::vector<std::uint8_t>;

struct Value {
  DWORD type = REG_NONE;
  Bytes data;
  friend bool operator==(const Value&, const Value&) = default;
};

struct NamedValue {
  String name;  // "" is the key's default value
  Value value;
};

// "REG_SZ" for 1 ...; other numbers give "REG_0x%X" (as data may carry any type).
std::string TypeName(DWORD type);
// The type of a name such as "REG_DWORD" (upper case expected; case-insensitive).
std::optional<DWORD> ParseTypeName(std::string_view name);

Bytes EncodeString(std::u16string_view text);  // UTF-16LE with its NUL
Bytes EncodeMultiString(const std::vector<String>& items);
Bytes EncodeDword(std::uint32_t number);
Bytes EncodeQword(std::uint64_t number);

// The text of REG_SZ-style data: UTF-16LE units up to the first NUL (an odd last
// byte is ignored). Data without a NUL gives all of it.
String DecodeString(std::span<const std::uint8_t> data);
// The strings of REG_MULTI_SZ data, up to the empty string that ends the list.
std::vector<String> DecodeMultiString(std::span<const std::uint8_t> data);
// A number from exactly 4 (8) bytes; any other size gives nothing.
std::optional<std::uint32_t> DecodeDword(std::span<const std::uint8_t> data);
std::optional<std::uint64_t> DecodeQword(std::span<const std::uint8_t> data);

}  // namespace ze::registry
