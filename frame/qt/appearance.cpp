// Colours, fonts, pictures, pointers and lengths for the Qt view (see appearance.h).
#include "frame/qt/appearance.h"

#include <QtCore/QByteArray>
#include <QtCore/QStringList>
#include <QtGui/QImage>
#include <algorithm>
#include <cmath>

#include "frame/container/pixel_picture.h"
#include "frame/ui/screen.h"

namespace ze::qt {

namespace {

constexpr std::uint32_t kSystemColorBit = 0x80000000u;

struct SystemColor {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The Windows system colour indexes 0..24 by what they paint.
constexpr SystemColor kSystemColors[] = {
    {QPalette::Active, QPalette::Button},             // 0 scroll bar
    {QPalette::Active, QPalette::Dark},               // 1 desktop
    {QPalette::Active, QPalette::Highlight},          // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},        // 3 inactive caption
    {QPalette::Active, QPalette::Window},             // 4 menu
    {QPalette::Active, QPalette::Base},               // 5 window background
    {QPalette::Active, QPalette::Shadow},             // 6 window frame
    {QPalette::Active, QPalette::WindowText},         // 7 menu text
    {QPalette::Active, QPalette::Text},               // 8 window text
    {QPalette::Active, QPalette::HighlightedText},    // 9 caption text
    {QPalette::Active, QPalette::Button},             // 10 active border
    {QPalette::Inactive, QPalette::Button},           // 11 inactive border
    {QPalette::Active, QPalette::Dark},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight},          // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},    // 14 highlighted text
    {QPalette::Active, QPalette::Button},             // 15 button face
    {QPalette::Active, QPalette::Dark},               // 16 button shadow
    {QPalette::Disabled, QPalette::Text},             // 17 grey text
    {QPalette::Active, QPalette::ButtonText},         // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText},  // 19 inactive caption text
    {QPalette::Active, QPalette::Light},              // 20 button highlight
    {QPalette::Active, QPalette::Shadow},             // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},           // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},        // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},        // 24 tooltip background
};

bool IsOneOf(const QString& name, std::initializer_list<const char*> faces) {
  for (const char* face : faces)
    if (name.compare(QLatin1String(face), Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

ze::String FromQString(const QString& text) {
  return ze::String(reinterpret_cast<const char16_t*>(text.constData()),
                    static_cast<std::size_t>(text.size()));
}

QColor ColorOf(std::uint32_t oleColor, const QPalette& palette) {
  if (oleColor & kSystemColorBit) {
    const std::uint32_t index = oleColor & 0xFFFFu;
    if (index < std::size(kSystemColors)) {
      const SystemColor& s = kSystemColors[index];
      return palette.color(s.group, s.role);
    }
    return palette.color(QPalette::Active, QPalette::Window);
  }
  return QColor(static_cast<int>(oleColor & 0xFF), static_cast<int>((oleColor >> 8) & 0xFF),
                static_cast<int>((oleColor >> 16) & 0xFF));
}

QFont FontOf(const ze::container::Font& font) {
  const QString name = ToQString(font.Name());
  // The generic family that stands in for a face that is not installed.
  // First the metric-compatible Liberation face of its kind: the forms were laid out
  // for the narrow faces of their time, and the generic sans-serif (DejaVu, as a rule)
  // is wide enough to clip a caption that was designed to fit.
  QFont::StyleHint hint = QFont::SansSerif;
  QString closest = QStringLiteral("Liberation Sans");
  QString generic = QStringLiteral("sans-serif");
  if (IsOneOf(name, {"Times New Roman", "MS Serif", "Times", "Georgia", "Garamond", "Book Antiqua",
                     "Century Schoolbook", "Roman"})) {
    hint = QFont::Serif;
    closest = QStringLiteral("Liberation Serif");
    generic = QStringLiteral("serif");
  } else if (IsOneOf(name, {"Courier New", "Courier", "Fixedsys", "Lucida Console", "Consolas",
                            "Terminal", "System Fixed"})) {
    hint = QFont::Monospace;
    closest = QStringLiteral("Liberation Mono");
    generic = QStringLiteral("monospace");
  }
  QFont out;
  out.setFamilies(QStringList{name, closest, generic});
  out.setStyleHint(hint);
  out.setPointSizeF(font.Size() > 0 ? font.Size() : 8.0);
  out.setWeight(static_cast<QFont::Weight>(std::clamp<int>(font.Weight(), 1, 1000)));
  out.setItalic(font.Italic());
  out.setUnderline(font.Underline());
  out.setStrikeOut(font.Strikethrough());
  return out;
}

QPixmap PixmapOf(const ze::container::Picture& picture, BitmapWhite white) {
  const std::string& data = picture.Data();
  if (data.empty()) return {};
  QImage image =
      QImage::fromData(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
  if (image.isNull()) return {};
  if (white == BitmapWhite::Mask && picture.Kind() == ze::container::PictureKind::Bitmap &&
      !image.hasAlphaChannel()) {
    // White is a glyph's mask colour: the button face shows through it.
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu) line[x] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

QPixmap AppearanceCache::Pixmap(const ze::container::Picture& picture, BitmapWhite white) {
  for (const auto& [key, pixmap] : pixmaps_)
    if (key.kind == picture.Kind() && key.white == white && key.data == picture.Data())
      return pixmap;
  if (pixmaps_.size() == kEntries) pixmaps_.erase(pixmaps_.begin());
  pixmaps_.emplace_back(PictureKey{picture.Kind(), white, picture.Data()},
                        PixmapOf(picture, white));
  return pixmaps_.back().second;
}

const QFont& AppearanceCache::FontFor(const ze::container::Font& font) {
  for (const auto& [key, qfont] : fonts_)
    if (key == font) return qfont;
  if (fonts_.size() == kEntries) fonts_.erase(fonts_.begin());
  fonts_.emplace_back(font, FontOf(font));
  return fonts_.back().second;
}

std::optional<QCursor> CursorOf(std::int16_t mousePointer, const ze::container::Picture* icon) {
  switch (mousePointer) {
    case 1:
    case 4:
      return QCursor(Qt::ArrowCursor);
    case 2:
      return QCursor(Qt::CrossCursor);
    case 3:
      return QCursor(Qt::IBeamCursor);
    case 5:
    case 15:
      return QCursor(Qt::SizeAllCursor);
    case 6:
      return QCursor(Qt::SizeBDiagCursor);
    case 7:
      return QCursor(Qt::SizeVerCursor);
    case 8:
      return QCursor(Qt::SizeFDiagCursor);
    case 9:
      return QCursor(Qt::SizeHorCursor);
    case 10:
      return QCursor(Qt::UpArrowCursor);
    case 11:
      return QCursor(Qt::WaitCursor);
    case 12:
      return QCursor(Qt::ForbiddenCursor);
    case 13:
      return QCursor(Qt::BusyCursor);
    case 14:
      return QCursor(Qt::WhatsThisCursor);
    case 99:
      if (icon) {
        QPixmap pixmap = PixmapOf(*icon);
        if (!pixmap.isNull()) {
          const auto hot = ze::container::CursorHotSpot(*icon);
          return hot ? QCursor(pixmap, hot->first, hot->second) : QCursor(pixmap);
        }
      }
      return QCursor(Qt::ArrowCursor);
    default:
      return std::nullopt;
  }
}

namespace {
// Qt's widget coordinates stay within 24 bits (QWIDGETSIZE_MAX); anything beyond, and
// a length that is no number at all, is clamped rather than wrapped. Halves round away
// from zero. (Called for every control at every sync: no library rounding call.)
int ToPixels(float twips, float twipsPerPixel) {
  constexpr double kLimit = 16777215.0;
  const double px = static_cast<double>(twips) / static_cast<double>(twipsPerPixel);
  if (!(px > -kLimit)) return px != px ? 0 : -static_cast<int>(kLimit);  // NaN, or below
  if (!(px < kLimit)) return static_cast<int>(kLimit);
  return px >= 0 ? static_cast<int>(px + 0.5) : -static_cast<int>(-px + 0.5);
}
}  // namespace

int PixelsX(float twips) {
  return ToPixels(twips, ze::ui::Screen::TwipsPerPixelX());
}
int PixelsY(float twips) {
  return ToPixels(twips, ze::ui::Screen::TwipsPerPixelY());
}
float TwipsX(int pixels) {
  return static_cast<float>(pixels) * ze::ui::Screen::TwipsPerPixelX();
}
float TwipsY(int pixels) {
  return static_cast<float>(pixels) * ze::ui::Screen::TwipsPerPixelY();
}

}  // namespace ze::qt
