// CommandButton: a push button with a caption or a picture. It takes the focus when
// clicked; Space pressed while it has the focus clicks it.
#pragma once

#include <memory>

#include "frame/ui/control.h"

namespace ze::ui {

class CommandButton : public Control {
 public:
  CommandButton();
  String TypeName() const override { return u"CommandButton"; }
  const std::type_info& ViewType() const override { return typeid(CommandButton); }

  const String& Caption() const;
  void SetCaption(String caption);
  std::shared_ptr<Picture> GetPicture() const;
  void SetPicture(std::shared_ptr<Picture> picture);

 protected:
  void DefaultKeyPress(std::int16_t keyAscii) override;
  void CopySettingsFrom(const Control& other) override;

 private:
  String caption_;
  std::shared_ptr<Picture> picture_;
};

}  // namespace ze::ui
