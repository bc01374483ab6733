// Font attributes and their checks.
#include "frame/container/font.h"

#include <cmath>

#include "frame/automation/error.h"
#include "frame/automation/string.h"

namespace ze::container {

namespace {
// Currency keeps four decimals; a size is stored the way it would come back.
double ToCurrency(double v) {
  return std::round(v * 10000.0) / 10000.0;
}

}  // namespace

Font::Font(String name, double size, bool bold, bool italic) : name_(std::move(name)) {
  SetSize(size);
  SetBold(bold);
  italic_ = italic;
}

namespace {
std::uint64_t fontRevision = 0;  // the ui thread's, as every font object is
}  // namespace

std::uint64_t Font::Revision() {
  return fontRevision;
}
void Font::Touch() {
  ++fontRevision;
}

void Font::SetSize(double points) {
  if (!(points > 0) || points >= 2160) Raise(errors::kInvalidPropertyValue);
  size_ = ToCurrency(points);
  Touch();
}

void Font::SetWeight(std::int16_t weight) {
  if (weight < 1 || weight > 1000) Raise(errors::kInvalidPropertyValue);
  weight_ = weight;
  Touch();
}

bool operator==(const Font& a, const Font& b) {
  // Font names compare without regard to ASCII case, as font lookup does.
  return EqualsIgnoringAsciiCase(a.name_, b.name_) && a.size_ == b.size_ &&
         a.weight_ == b.weight_ && a.charset_ == b.charset_ && a.italic_ == b.italic_ &&
         a.underline_ == b.underline_ && a.strikethrough_ == b.strikethrough_;
}

FontRef DefaultFont() {
  return std::make_shared<Font>(u"MS Sans Serif", 8);
}

}  // namespace ze::container
