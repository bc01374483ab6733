// Painting on a form: solid fills of pixel rectangles, the drawing of forms that paint
// their own background (a colour fade, bands).
//
// A form's device context is its window handle: FillRect on it adds the fill to the
// form's painting (Form::Paint), which the views draw under the form's controls.
// Rectangles are in pixels of the client area, right and bottom exclusive, as GDI
// takes them; colours are OLE_COLOR values 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace ze::ui {

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Covers(const PixelRect& o) const {
    return left <= o.left && top <= o.top && right >= o.right && bottom >= o.bottom;
  }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct FilledRect {
  PixelRect rect;
  std::uint32_t color = 0;  // 0x00BBGGRR
  friend bool operator==(const FilledRect&, const FilledRect&) = default;
};

// Fills `rect` on the form whose device context (window handle) is `hdc` with the solid
// colour `color` (its low 24 bits); false when no loaded form has that handle.
bool FillRect(std::int32_t hdc, const PixelRect& rect, std::uint32_t color);

}  // namespace ze::ui
