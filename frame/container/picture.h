// Picture: the automation picture object (command-button glyphs, mouse icons).
//
// The headless system never decodes images: a picture is its kind, its size in pixels
// and the bytes of the image file it came from, kept so that a property bag can store
// it and give it back unchanged. Two pictures are equal when kind, size and bytes are.
// "No picture" is a null reference (Nothing), never an empty Picture object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

enum class PictureKind : std::int16_t {
  Bitmap = 1,
  Metafile = 2,
  Icon = 3,
  Cursor = 4,
};

class Picture : public ze::Object {
 public:
  // Width and height in pixels, at least 0; data is the image file's bytes.
  Picture(PictureKind kind, std::int32_t widthPx, std::int32_t heightPx, std::string data);

  String TypeName() const override { return u"Picture"; }

  PictureKind Kind() const { return kind_; }
  std::int32_t WidthPixels() const { return width_; }
  std::int32_t HeightPixels() const { return height_; }
  // Size in HiMetric (hundredths of a millimetre), as the automation object reports it,
  // at 96 pixels per inch.
  std::int32_t Width() const;
  std::int32_t Height() const;
  const std::string& Data() const { return data_; }

  friend bool operator==(const Picture& a, const Picture& b) {
    return a.kind_ == b.kind_ && a.width_ == b.width_ && a.height_ == b.height_ &&
           a.data_ == b.data_;
  }

 private:
  PictureKind kind_;
  std::int32_t width_;
  std::int32_t height_;
  std::string data_;
};

using PictureRef = std::shared_ptr<Picture>;

// The name of a kind ("Bitmap") and back; an unknown name gives nothing.
String PictureKindName(PictureKind kind);
std::optional<PictureKind> PictureKindFromName(std::u16string_view name);

}  // namespace ze::container
