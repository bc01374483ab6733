// The screen: its size (kept in pixels, reported in twips), twips per pixel, and the
// active form and control as the Screen object reports them. Defaults: 1024 x 768
// pixels at 15 twips per pixel. Hosts and tests set the size; the Qt backend sets it
// from the real screen.
#pragma once

#include <cstdint>

namespace ze::ui {

class Control;
class Form;

class Screen {
 public:
  static float Width();   // twips
  static float Height();  // twips
  static float TwipsPerPixelX();
  static float TwipsPerPixelY();
  static std::int32_t WidthPixels();
  static std::int32_t HeightPixels();
  // Sizes must be positive; others raise error 5.
  static void SetSizePixels(std::int32_t width, std::int32_t height);
  static void SetTwipsPerPixel(float x, float y);
  static Form* ActiveForm();
  static Control* ActiveControl();
  // The application-wide mouse pointer shape (0, the default, to 15; 11 the hourglass)
  // that shows over every form while it is not 0.
  static std::int16_t MousePointer();
  static void SetMousePointer(std::int16_t pointer);
  // Restores the defaults.
  static void Reset();
};

}  // namespace ze::ui
