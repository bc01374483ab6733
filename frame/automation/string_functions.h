// The automation string functions the components use: Len, Left, Mid, Right.
//
// Positions follow the automation convention (Mid counts from 1) and every function
// is total: a start or length past the end gives what is there, never an error, as
// the components' algorithms assume when they cut pieces out of a field's text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "frame/automation/string.h"

namespace ze {

inline std::int32_t Len(std::u16string_view s) { return static_cast<std::int32_t>(s.size()); }

inline String Left(std::u16string_view s, std::int32_t length) {
  if (length <= 0) return {};
  return String(s.substr(0, static_cast<size_t>(length)));
}

inline String Right(std::u16string_view s, std::int32_t length) {
  if (length <= 0) return {};
  const size_t n = std::min(s.size(), static_cast<size_t>(length));
  return String(s.substr(s.size() - n));
}

// Mid(s, start) and Mid(s, start, length), start counted from 1. A start below 1 is
// treated as 1 (the platform raises error 5 there; no caller relies on that).
inline String Mid(std::u16string_view s, std::int32_t start, std::int32_t length = -1) {
  if (start < 1) start = 1;
  const size_t from = static_cast<size_t>(start - 1);
  if (from >= s.size()) return {};
  if (length < 0) return String(s.substr(from));
  return String(s.substr(from, static_cast<size_t>(length)));
}

}  // namespace ze
