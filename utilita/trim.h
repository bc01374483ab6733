// Text helpers shared by zeUtilita's routines.
#pragma once

#include <string_view>

#include "frame/automation/string.h"

namespace zekalendo {

// The text without its leading and trailing spaces; only code 32, as Trim removes.
inline ze::String Trim(std::u16string_view s) {
  const std::size_t first = s.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  return ze::String(s.substr(first, s.find_last_not_of(u' ') - first + 1));
}

}  // namespace zekalendo
