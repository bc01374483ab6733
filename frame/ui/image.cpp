// Image.
#include "frame/ui/image.h"

namespace ze::ui {

Image::Image() {
  SetTabStop(false);
}

void Image::SetPicture(std::shared_ptr<Picture> picture) {
  picture_ = std::move(picture);
  Notify(Aspect::Content);
}

void Image::SetStretch(bool stretch) {
  if (stretch == stretch_) return;
  stretch_ = stretch;
  Notify(Aspect::Content);
}

void Image::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* i = dynamic_cast<const Image*>(&other)) {
    picture_ = i->picture_;  // pictures are shared, as an assignment shares them
    stretch_ = i->stretch_;
    Notify(Aspect::Content);
  }
}

}  // namespace ze::ui
