// CommandButton.
#include "frame/ui/command_button.h"

#include "frame/ui/keys.h"

namespace ze::ui {

CommandButton::CommandButton() {
  SetBackColor(colors::kButtonFace);
  SetForeColor(colors::kButtonText);
}

const String& CommandButton::Caption() const {
  return caption_;
}
void CommandButton::SetCaption(String caption) {
  caption_ = std::move(caption);
  Notify(Aspect::Content);
}
std::shared_ptr<Picture> CommandButton::GetPicture() const {
  return picture_;
}
void CommandButton::SetPicture(std::shared_ptr<Picture> picture) {
  picture_ = std::move(picture);
  Notify(Aspect::Content);
}

void CommandButton::DefaultKeyPress(std::int16_t keyAscii) {
  // Space and Enter press a focused button.
  if (keyAscii == keys::kSpace || keyAscii == keys::kReturn) RaiseClick();
}

void CommandButton::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* b = dynamic_cast<const CommandButton*>(&other)) {
    caption_ = b->caption_;
    picture_ = b->picture_;
    Notify(Aspect::Content);
  }
}

}  // namespace ze::ui
