// The bytes of a zeprova script cut into its lines of text.
//
// A script is UTF-8; a line that is not (an invalid byte, a truncated sequence, an
// encoded surrogate) is refused with its number, so that a name in it never reaches a
// control or a file with U+FFFD in place of what was meant. A line ends at "\n"; a
// "\r" before it is kept (the host treats it as a blank).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"

namespace zeprova {

// The lines of `bytes`, or nothing with `problem` set ("line 3: not UTF-8 text").
std::optional<std::vector<ze::String>> ScriptLines(std::string_view bytes, std::string* problem);

}  // namespace zeprova
