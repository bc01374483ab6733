// The model's appearance values in Qt's terms: colours, fonts, pictures, mouse
// pointers and lengths.
//
// Colours: an OLE_COLOR is 0x00BBGGRR, or a system colour index with the high bit set;
// the system colours come from the application palette (window background &H80000005
// is the palette's Base, window text &H80000008 its Text, button face &H8000000F its
// Button, and so on), so the windows follow the desktop's theme. An index the palette
// has no counterpart for falls back to the window colours. Bits 24..30 of a plain
// colour are ignored.
//
// Fonts: the model names Windows faces ("MS Sans Serif"); Qt gets the name and a
// style hint, so a face that is not installed falls back to the closest generic family
// (sans-serif, serif or monospace). Point sizes and weights pass unchanged (Qt 6 and
// the model both use the 100..900 weight scale).
//
// Pictures: the bytes of an image file (BMP, PNG, ICO, CUR, ...). A glyph bitmap's
// white is its mask colour (the button face shows through), as command-button glyphs
// expect; an image control shows a bitmap as drawn, white and all. An undecodable
// picture gives a null pixmap, never a failure. A custom pointer acts at the hot spot
// its cursor file names, or at the picture's centre when it has none.
#pragma once

#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QCursor>
#include <QtGui/QFont>
#include <QtGui/QPalette>
#include <QtGui/QPixmap>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"

namespace ze::qt {

// An automation String as a QString (both UTF-16: no conversion).
QString ToQString(std::u16string_view text);
ze::String FromQString(const QString& text);

// An OLE_COLOR as a colour, reading system colours from palette.
QColor ColorOf(std::uint32_t oleColor, const QPalette& palette);

// A model font as a Qt font.
QFont FontOf(const ze::container::Font& font);

// What a bitmap's white is: the glyph's mask colour, or white.
enum class BitmapWhite { Mask, Opaque };

// A picture as a pixmap (null when it cannot be decoded).
QPixmap PixmapOf(const ze::container::Picture& picture, BitmapWhite white = BitmapWhite::Mask);

// The cursor of a MousePointer value (0..15, 99 with a MouseIcon); nothing for 0
// (the default: the widget's own cursor).
std::optional<QCursor> CursorOf(std::int16_t mousePointer, const ze::container::Picture* icon);

// The conversions the view repeats for every widget it makes (the same glyph on every
// date field, the same few fonts on every control), remembered. A handful of entries
// each, the oldest going first; the pixmaps live no longer than the cache.
class AppearanceCache {
 public:
  // The screen's twips per pixel, read once for a whole sync.
  float twipsPerPixelX = 15;
  float twipsPerPixelY = 15;

  QPixmap Pixmap(const ze::container::Picture& picture, BitmapWhite white = BitmapWhite::Mask);
  const QFont& FontFor(const ze::container::Font& font);

 private:
  static constexpr std::size_t kEntries = 16;
  struct PictureKey {
    ze::container::PictureKind kind;
    BitmapWhite white;
    std::string data;
  };
  std::vector<std::pair<PictureKey, QPixmap>> pixmaps_;
  std::vector<std::pair<ze::container::Font, QFont>> fonts_;
};

// Model lengths (twips) to pixels and back, at the model screen's twips per pixel.
int PixelsX(float twips);
int PixelsY(float twips);
float TwipsX(int pixels);
float TwipsY(int pixels);

}  // namespace ze::qt
