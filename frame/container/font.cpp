// Font attributes and their checks.
#include "frame/container/font.h"

#include <cmath>

#include "frame/automation/error.h"

namespace ze::container {

namespace {
// Currency keeps four decimals; a size is stored the way it would come back.
double ToCurrency(double v) {
  return std::round(v * 10000.0) / 10000.0;
}

// Font names compare without regard to ASCII case, as font lookup does.
bool SameName(const String& a, const String& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

Font::Font(String name, double size, bool bold, bool italic) : name_(std::move(name)) {
  SetSize(size);
  SetBold(bold);
  italic_ = italic;
}

void Font::SetSize(double points) {
  if (!(points > 0) || points >= 2160) Raise(errors::kInvalidPropertyValue);
  size_ = ToCurrency(points);
}

void Font::SetWeight(std::int16_t weight) {
  if (weight < 1 || weight > 1000) Raise(errors::kInvalidPropertyValue);
  weight_ = weight;
}

bool operator==(const Font& a, const Font& b) {
  return SameName(a.name_, b.name_) && a.size_ == b.size_ && a.weight_ == b.weight_ &&
         a.charset_ == b.charset_ && a.italic_ == b.italic_ && a.underline_ == b.underline_ &&
         a.strikethrough_ == b.strikethrough_;
}

FontRef DefaultFont() {
  return std::make_shared<Font>(u"MS Sans Serif", 8);
}

}  // namespace ze::container
