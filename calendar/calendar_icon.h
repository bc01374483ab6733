// The calendar form's icon, drawn in code: a small calendar page.
#pragma once

#include "frame/container/picture.h"

namespace zekalendo::pictures {

// A 32 x 32 icon: a torn-off page with a red heading band, a week of grey days and one
// day marked yellow, as the calendar marks the day it shows.
ze::container::PictureRef CalendarPage();

}  // namespace zekalendo::pictures
