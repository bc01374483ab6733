// Key codes (as KeyDown and KeyUp report them) and the character codes of the control
// keys (as KeyPress reports them).
#pragma once

#include <cstdint>

namespace ze::ui::keys {

inline constexpr std::int16_t kBack = 8;
inline constexpr std::int16_t kTab = 9;
inline constexpr std::int16_t kReturn = 13;
inline constexpr std::int16_t kShift = 16;
inline constexpr std::int16_t kControl = 17;
inline constexpr std::int16_t kMenu = 18;
inline constexpr std::int16_t kEscape = 27;
inline constexpr std::int16_t kSpace = 32;
inline constexpr std::int16_t kPageUp = 33;
inline constexpr std::int16_t kPageDown = 34;
inline constexpr std::int16_t kEnd = 35;
inline constexpr std::int16_t kHome = 36;
inline constexpr std::int16_t kLeft = 37;
inline constexpr std::int16_t kUp = 38;
inline constexpr std::int16_t kRight = 39;
inline constexpr std::int16_t kDown = 40;
inline constexpr std::int16_t kInsert = 45;
inline constexpr std::int16_t kDelete = 46;
inline constexpr std::int16_t kF1 = 112;

// KeyPress codes of Ctrl+letter.
inline constexpr std::int16_t kCtrlC = 3;
inline constexpr std::int16_t kCtrlV = 22;
inline constexpr std::int16_t kCtrlX = 24;

}  // namespace ze::ui::keys
