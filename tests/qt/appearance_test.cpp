// Colours, fonts, pictures, pointers and lengths in Qt's terms.
#include "frame/qt/appearance.h"

#include <gtest/gtest.h>

#include <QtCore/QBuffer>
#include <QtGui/QFontInfo>
#include <QtGui/QImage>
#include <cmath>
#include <limits>

#include "frame/ui/screen.h"
#include "kalendo/kalendo.h"

namespace ze::qt {
namespace {

using ze::container::Font;
using ze::container::Picture;
using ze::container::PictureKind;

TEST(Appearance, PlainColoursAreBlueGreenRed) {
  const QPalette palette;
  EXPECT_EQ(ColorOf(0x000000FF, palette), QColor(255, 0, 0));
  EXPECT_EQ(ColorOf(0x0000FF00, palette), QColor(0, 255, 0));
  EXPECT_EQ(ColorOf(0x00FF0000, palette), QColor(0, 0, 255));
  EXPECT_EQ(ColorOf(0x00C0C0C0, palette), QColor(192, 192, 192));
  // Bits 24..30 are no part of a plain colour.
  EXPECT_EQ(ColorOf(0x7F345678, palette), QColor(0x78, 0x56, 0x34));
}

TEST(Appearance, SystemColoursComeFromThePalette) {
  // A palette whose every role has a colour of its own, to tell them apart.
  QPalette palette;
  const QPalette::ColorRole roles[] = {
      QPalette::Base,        QPalette::Text,       QPalette::Button,    QPalette::ButtonText,
      QPalette::Window,      QPalette::WindowText, QPalette::Highlight, QPalette::HighlightedText,
      QPalette::ToolTipBase, QPalette::ToolTipText};
  int shade = 10;
  for (QPalette::ColorRole role : roles) {
    palette.setColor(role, QColor(shade, 0, 0));
    shade += 20;
  }
  struct Case {
    const char* name;
    std::uint32_t color;
    QPalette::ColorRole role;
  };
  const Case cases[] = {
      {"window background", 0x80000005, QPalette::Base},
      {"window text", 0x80000008, QPalette::Text},
      {"button face", 0x8000000F, QPalette::Button},
      {"button text", 0x80000012, QPalette::ButtonText},
      {"menu", 0x80000004, QPalette::Window},
      {"highlight", 0x8000000D, QPalette::Highlight},
      {"highlighted text", 0x8000000E, QPalette::HighlightedText},
      {"tooltip", 0x80000018, QPalette::ToolTipBase},
      {"an index past the table", 0x80000040, QPalette::Window},
      {"an index far past the table", 0x8000FFFF, QPalette::Window},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorOf(c.color, palette), palette.color(QPalette::Active, c.role)) << c.name;
}

TEST(Appearance, FontsKeepSizeWeightAndStyleAndFallBackByFamily) {
  Font sans(u"MS Sans Serif", 9.75);
  QFont f = FontOf(sans);
  EXPECT_EQ(f.families().value(0), "MS Sans Serif");
  EXPECT_DOUBLE_EQ(f.pointSizeF(), 9.75);
  EXPECT_EQ(f.weight(), QFont::Normal);
  EXPECT_EQ(f.styleHint(), QFont::SansSerif);
  EXPECT_FALSE(QFontInfo(f).fixedPitch());

  Font mono(u"Courier New", 12, /*bold=*/true, /*italic=*/true);
  mono.SetUnderline(true);
  mono.SetStrikethrough(true);
  f = FontOf(mono);
  EXPECT_EQ(f.styleHint(), QFont::Monospace);
  EXPECT_EQ(f.weight(), QFont::Bold);
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(f.underline());
  EXPECT_TRUE(f.strikeOut());
  // Installed or not, a fixed-pitch face stands in for it.
  EXPECT_TRUE(QFontInfo(f).fixedPitch());

  EXPECT_EQ(FontOf(Font(u"times new roman", 10)).styleHint(), QFont::Serif);
  Font light(u"Tahoma", 8);
  light.SetWeight(300);
  EXPECT_EQ(FontOf(light).weight(), QFont::Light);
}

TEST(Appearance, KalendosGlyphDecodesWithWhiteAsMask) {
  zekalendo::Kalendo k;
  const auto picture = k.cmdpop.GetPicture();
  ASSERT_NE(picture, nullptr);
  const QImage glyph = PixmapOf(*picture).toImage();
  ASSERT_EQ(glyph.size(), QSize(11, 9));
  int opaque = 0;
  for (int y = 0; y < glyph.height(); ++y)
    for (int x = 0; x < glyph.width(); ++x) {
      const QRgb p = glyph.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      ++opaque;
      EXPECT_EQ(qRed(p) + qGreen(p) + qBlue(p), 0) << "only the black triangle shows";
    }
  EXPECT_EQ(opaque, 7 + 5 + 3 + 1);
}

TEST(Appearance, PicturesThatCannotBeDecodedGiveNothing) {
  EXPECT_TRUE(PixmapOf(Picture(PictureKind::Bitmap, 0, 0, "")).isNull());
  EXPECT_TRUE(PixmapOf(Picture(PictureKind::Bitmap, 4, 4, "not an image at all")).isNull());
  EXPECT_TRUE(PixmapOf(Picture(PictureKind::Icon, 4, 4, std::string("BM\0\0", 4))).isNull());
}

TEST(Appearance, OnlyGlyphBitmapsLoseTheirWhite) {
  QImage image(2, 1, QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(255, 255, 255));
  image.setPixel(1, 0, qRgb(254, 255, 255));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(image.save(&buffer, "PNG"));
  const std::string bytes(png.constData(), static_cast<std::size_t>(png.size()));
  const QImage bitmap = PixmapOf(Picture(PictureKind::Bitmap, 2, 1, bytes)).toImage();
  EXPECT_EQ(qAlpha(bitmap.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(bitmap.pixel(1, 0)), 255);  // almost white is a colour
  const QImage icon = PixmapOf(Picture(PictureKind::Icon, 2, 1, bytes)).toImage();
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 255);
  // A bitmap shown as a picture rather than as a glyph keeps its white.
  const Picture picture(PictureKind::Bitmap, 2, 1, bytes);
  EXPECT_EQ(PixmapOf(picture, BitmapWhite::Opaque).toImage().pixel(0, 0), qRgb(255, 255, 255));
  // The cache tells the two apart.
  AppearanceCache cache;
  EXPECT_EQ(qAlpha(cache.Pixmap(picture).toImage().pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(cache.Pixmap(picture, BitmapWhite::Opaque).toImage().pixel(0, 0)), 255);
}

TEST(Appearance, MousePointers) {
  struct Case {
    std::int16_t pointer;
    std::optional<Qt::CursorShape> shape;
  };
  const Case cases[] = {
      {0, std::nullopt},       {1, Qt::ArrowCursor},      {2, Qt::CrossCursor},
      {3, Qt::IBeamCursor},    {5, Qt::SizeAllCursor},    {6, Qt::SizeBDiagCursor},
      {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},
      {10, Qt::UpArrowCursor}, {11, Qt::WaitCursor},      {12, Qt::ForbiddenCursor},
      {13, Qt::BusyCursor},    {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
      {99, Qt::ArrowCursor},  // custom without an icon
      {16, std::nullopt},      {-1, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto cursor = CursorOf(c.pointer, nullptr);
    ASSERT_EQ(cursor.has_value(), c.shape.has_value()) << c.pointer;
    if (cursor) {
      EXPECT_EQ(cursor->shape(), *c.shape) << c.pointer;
    }
  }
  zekalendo::Kalendo k;
  const auto custom = CursorOf(99, k.cmdpop.GetPicture().get());
  ASSERT_TRUE(custom.has_value());
  EXPECT_EQ(custom->shape(), Qt::BitmapCursor);
}

TEST(Appearance, TwipsAndPixels) {
  ze::ui::Screen::Reset();  // 15 twips per pixel
  struct Case {
    float twips;
    int pixels;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {1215, 81},        {0, 0},          {7.4f, 0},
      {7.5f, 1},         {-30, -2},       {1e30f, 16777215},
      {-inf, -16777215}, {inf, 16777215}, {std::nanf(""), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PixelsX(c.twips), c.pixels) << c.twips;
    EXPECT_EQ(PixelsY(c.twips), c.pixels) << c.twips;
  }
  EXPECT_FLOAT_EQ(TwipsX(81), 1215);
  ze::ui::Screen::SetTwipsPerPixel(10, 12);
  EXPECT_EQ(PixelsX(1215), 122);
  EXPECT_EQ(PixelsY(1215), 101);
  EXPECT_FLOAT_EQ(TwipsY(10), 120);
  ze::ui::Screen::Reset();
}

TEST(Appearance, StringsCrossUnchanged) {
  const std::u16string text = u"Provix N\u00B0 2 \U0001F600";
  EXPECT_EQ(FromQString(ToQString(text)), text);
  EXPECT_EQ(ToQString(text).size(), static_cast<qsizetype>(text.size()));
  EXPECT_TRUE(ToQString(u"").isEmpty());
}

}  // namespace
}  // namespace ze::qt
