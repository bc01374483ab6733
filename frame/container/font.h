// Font: the automation font object that controls, the ambient properties and the
// property bag share.
//
// A font is a value with reference semantics, as the automation font object is: a
// control's Font property hands out the very object it draws with, so a caller that
// changes Bold on it changes the control. Two fonts are equal when every attribute is
// equal (not only when they are one object); the property bag relies on that to leave
// out a font that equals the ambient one.
//
// Size is in points, kept as the automation Currency keeps it (four decimals). Bold and
// Weight are one attribute seen twice: Bold is Weight >= 700, and setting Bold sets
// Weight to 700 or 400.
//
// A font does not know the controls that draw with it; instead every change of any font
// counts in Revision(), which a view compares to find out whether a font it shows may
// have changed.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

class Font : public ze::Object {
 public:
  static constexpr std::int16_t kNormalWeight = 400;
  static constexpr std::int16_t kBoldWeight = 700;

  Font() = default;
  Font(String name, double size, bool bold = false, bool italic = false);

  // A new font with the same attributes (the object the caller gets is its own).
  std::shared_ptr<Font> Clone() const { return std::make_shared<Font>(*this); }

  String TypeName() const override { return u"Font"; }

  const String& Name() const { return name_; }
  void SetName(String name) { name_ = std::move(name), Touch(); }
  double Size() const { return size_; }
  // Sizes must be positive and below 2160 points; others raise error 380.
  void SetSize(double points);
  bool Bold() const { return weight_ >= kBoldWeight; }
  void SetBold(bool bold) { weight_ = bold ? kBoldWeight : kNormalWeight, Touch(); }
  bool Italic() const { return italic_; }
  void SetItalic(bool v) { italic_ = v, Touch(); }
  bool Underline() const { return underline_; }
  void SetUnderline(bool v) { underline_ = v, Touch(); }
  bool Strikethrough() const { return strikethrough_; }
  void SetStrikethrough(bool v) { strikethrough_ = v, Touch(); }
  std::int16_t Weight() const { return weight_; }
  // 1 to 1000; others raise error 380.
  void SetWeight(std::int16_t weight);
  std::int16_t Charset() const { return charset_; }
  void SetCharset(std::int16_t charset) { charset_ = charset, Touch(); }

  friend bool operator==(const Font& a, const Font& b);

  // Counts the changes of every font object of the process (starts at 0).
  static std::uint64_t Revision();

 private:
  static void Touch();

  String name_ = u"MS Sans Serif";
  double size_ = 8;
  std::int16_t weight_ = kNormalWeight;
  std::int16_t charset_ = 0;
  bool italic_ = false;
  bool underline_ = false;
  bool strikethrough_ = false;
};

using FontRef = std::shared_ptr<Font>;

// The font a container offers when nothing else is known: MS Sans Serif, 8 points.
FontRef DefaultFont();

}  // namespace ze::container
