// The about box's pictures, drawn in code: the program icon, the banner with the
// product's name, and the pointing hand over the links.
#pragma once

#include "frame/container/picture.h"

namespace zekalendo::pictures {

// A 32 x 32 icon: a calendar page with its red heading, two rings and the days.
ze::container::PictureRef ProgramIcon();
// A 265 x 80 bitmap: the product's name in white blocks on blue, over a row of days.
ze::container::PictureRef Banner();
// A 32 x 32 cursor: a pointing hand, its hot spot at the fingertip.
ze::container::PictureRef PointingHand();

// Where the hand points.
inline constexpr int kHandHotX = 5, kHandHotY = 0;

}  // namespace zekalendo::pictures
