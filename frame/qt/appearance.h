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
// Pictures: the bytes of an image file (BMP, PNG, ICO, ...). A bitmap's white is its
// mask colour (the button face shows through), as command-button glyphs expect; an
// undecodable picture gives a null pixmap, never a failure.
#pragma once

#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QCursor>
#include <QtGui/QFont>
#include <QtGui/QPalette>
#include <QtGui/QPixmap>
#include <cstdint>
#include <optional>

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

// A picture as a pixmap (null when it cannot be decoded).
QPixmap PixmapOf(const ze::container::Picture& picture);

// The cursor of a MousePointer value (0..15, 99 with a MouseIcon); nothing for 0
// (the default: the widget's own cursor).
std::optional<QCursor> CursorOf(std::int16_t mousePointer, const ze::container::Picture* icon);

// Model lengths (twips) to pixels and back, at the model screen's twips per pixel.
int PixelsX(float twips);
int PixelsY(float twips);
float TwipsX(int pixels);
float TwipsY(int pixels);

}  // namespace ze::qt
