// The mouse pointer's position on the screen, in pixels.
//
// GetCursorPos can fail (a session with no interactive desktop); the model keeps that
// failure reachable so callers' fallbacks can be tested: while the pointer
// is made unavailable, GetCursorPos returns false and leaves the point unchanged.
#pragma once

#include <cstdint>

namespace ze::ui {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// True with the position; false (point untouched) when the pointer is unavailable.
bool GetCursorPos(Point& point);
void SetCursorPos(std::int32_t x, std::int32_t y);
void SetCursorAvailable(bool available);

}  // namespace ze::ui
