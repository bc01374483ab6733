// Image: a picture on the form. Like a label it never takes the focus (a click on it
// leaves the focus where it was) and has no colours of its own: the form shows around
// and through the picture.
//
// Without Stretch the picture shows at its own size from the control's top-left
// corner, clipped to the control; with Stretch it is scaled to fill the control. The
// control keeps the size it was given either way, so a designed layout stays as
// designed whatever picture goes in. Nothing (no picture) shows nothing.
#pragma once

#include <memory>

#include "frame/ui/control.h"

namespace ze::ui {

class Image : public Control {
 public:
  Image();
  String TypeName() const override { return u"Image"; }
  const std::type_info& ViewType() const override { return typeid(Image); }
  bool CanTakeFocus() const override { return false; }

  std::shared_ptr<Picture> GetPicture() const { return picture_; }
  void SetPicture(std::shared_ptr<Picture> picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);

 protected:
  void CopySettingsFrom(const Control& other) override;

 private:
  std::shared_ptr<Picture> picture_;
  bool stretch_ = false;
};

}  // namespace ze::ui
