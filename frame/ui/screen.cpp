// Screen metrics and the pointer position.
#include "frame/ui/screen.h"

#include "frame/automation/error.h"
#include "frame/ui/cursor.h"
#include "frame/ui/desktop.h"
#include "frame/ui/focus.h"

namespace ze::ui {

namespace {

struct ScreenState {
  std::int32_t width = 1024;
  std::int32_t height = 768;
  float twipsX = 15;
  float twipsY = 15;
  Point pointer{512, 384};
  bool pointerAvailable = true;
  std::int16_t mousePointer = 0;
};

ScreenState& State() {
  static ScreenState state;
  return state;
}

}  // namespace

float Screen::Width() {
  return static_cast<float>(State().width) * State().twipsX;
}
float Screen::Height() {
  return static_cast<float>(State().height) * State().twipsY;
}
float Screen::TwipsPerPixelX() {
  return State().twipsX;
}
float Screen::TwipsPerPixelY() {
  return State().twipsY;
}
std::int32_t Screen::WidthPixels() {
  return State().width;
}
std::int32_t Screen::HeightPixels() {
  return State().height;
}

void Screen::SetSizePixels(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) Raise(errors::kInvalidProcedureCall);
  State().width = width;
  State().height = height;
}

void Screen::SetTwipsPerPixel(float x, float y) {
  if (!(x > 0) || !(y > 0)) Raise(errors::kInvalidProcedureCall);
  State().twipsX = x;
  State().twipsY = y;
}

Form* Screen::ActiveForm() {
  return Desktop::Active();
}
Control* Screen::ActiveControl() {
  return Desktop::Active() ? FocusManager::Focused() : nullptr;
}

std::int16_t Screen::MousePointer() {
  return State().mousePointer;
}

void Screen::SetMousePointer(std::int16_t pointer) {
  State().mousePointer = pointer;
}

void Screen::Reset() {
  State() = ScreenState{};
}

bool GetCursorPos(Point& point) {
  if (!State().pointerAvailable) return false;
  point = State().pointer;
  return true;
}

void SetCursorPos(std::int32_t x, std::int32_t y) {
  State().pointer = {x, y};
}

void SetCursorAvailable(bool available) {
  State().pointerAvailable = available;
}

}  // namespace ze::ui
