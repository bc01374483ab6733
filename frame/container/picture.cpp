// Picture sizes and kind names.
#include "frame/container/picture.h"

#include <cmath>

#include "frame/automation/error.h"

namespace ze::container {

namespace {
constexpr double kHiMetricPerPixel = 2540.0 / 96.0;

struct KindName {
  PictureKind kind;
  const char16_t* name;
};
constexpr KindName kKindNames[] = {{PictureKind::Bitmap, u"Bitmap"},
                                   {PictureKind::Metafile, u"Metafile"},
                                   {PictureKind::Icon, u"Icon"},
                                   {PictureKind::Cursor, u"Cursor"}};
}  // namespace

Picture::Picture(PictureKind kind, std::int32_t widthPx, std::int32_t heightPx, std::string data)
    : kind_(kind), width_(widthPx), height_(heightPx), data_(std::move(data)) {
  if (widthPx < 0 || heightPx < 0 || !PictureKindFromName(PictureKindName(kind)))
    Raise(errors::kInvalidPropertyValue);
}

std::int32_t Picture::Width() const {
  return static_cast<std::int32_t>(std::lround(width_ * kHiMetricPerPixel));
}
std::int32_t Picture::Height() const {
  return static_cast<std::int32_t>(std::lround(height_ * kHiMetricPerPixel));
}

String PictureKindName(PictureKind kind) {
  for (const auto& k : kKindNames)
    if (k.kind == kind) return k.name;
  return String();
}

std::optional<PictureKind> PictureKindFromName(std::u16string_view name) {
  for (const auto& k : kKindNames)
    if (name == k.name) return k.kind;
  return std::nullopt;
}

}  // namespace ze::container
