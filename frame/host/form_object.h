// A form seen through IDispatch, as late-bound code sees a form it is handed: the
// window's place and size (Left, Top, Width, Height, twips), its client size
// (ScaleWidth, ScaleHeight, in the unit ScaleMode names: 1 twips, 3 pixels), its
// ScaleMode, Caption, WindowState, and its window handle and device context (hWnd, hDC,
// read-only). Reading any of them loads the form, as using a built-in property does.
//
// The object holds the form alive while a caller keeps it.
#pragma once

#include <memory>

#include "frame/automation/variant.h"
#include "frame/ui/form.h"

namespace ze::host {

// A Variant holding the form's object.
Variant FormObject(std::shared_ptr<ui::Form> form);

}  // namespace ze::host
