// Image.
#include "frame/ui/image.h"

namespace ze::ui {

Image::Image() {
  SetTabStop(false);
}

void Image::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* i = dynamic_cast<const Image*>(&other)) {
    picture_ = i->picture_;  // pictures are shared, as an assignment shares them
    stretch_ = i->stretch_;
  }
}

}  // namespace ze::ui
