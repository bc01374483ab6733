// The Italian texts of the run-time error numbers, as users of the library's programs
// have always read them (some end with a blank; they are kept so).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zekalendo {

// The message of `numero`, or nothing for a number the table does not hold.
std::optional<std::u16string_view> MessaggioItaliano(std::int32_t numero);

}  // namespace zekalendo
