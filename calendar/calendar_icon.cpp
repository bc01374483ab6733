// The calendar form's icon (see calendar_icon.h).
#include "calendar/calendar_icon.h"

#include "frame/container/pixel_picture.h"

namespace zekalendo::pictures {

namespace {
// OLE_COLOR values (0x00BBGGRR).
constexpr std::uint32_t kBlack = 0x00000000, kWhite = 0x00FFFFFF, kRed = 0x000000FF;
constexpr std::uint32_t kGrey = 0x00A0A0A0, kYellow = 0x0000FFFF;
}  // namespace

ze::container::PictureRef CalendarPage() {
  ze::container::PixelCanvas icon(32, 32);
  icon.Fill(2, 3, 28, 27, kBlack);  // the page and its edge
  icon.Fill(3, 4, 26, 25, kWhite);
  icon.Fill(3, 4, 26, 5, kRed);  // the heading, where the month's name goes
  // Three rows of seven days, Monday first; the Sunday column in red, one day marked.
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 7; ++col) {
      const int left = 4 + 3 * col + col / 2, top = 12 + 5 * row;
      if (row == 1 && col == 3) icon.Fill(left - 1, top - 1, 4, 4, kYellow);
      icon.Fill(left, top, 2, 2, col == 6 ? kRed : kGrey);
    }
  return ze::container::IconPicture(icon);
}

}  // namespace zekalendo::pictures
