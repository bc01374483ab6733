// Label.
#include "frame/ui/label.h"

#include "frame/automation/error.h"

namespace ze::ui {

Label::Label() {
  SetBackColor(colors::kButtonFace);
  SetForeColor(colors::kButtonText);
  SetTabStop(false);
}

void Label::SetCaption(String caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Aspect::Content);
}

void Label::SetAccessibleName(String name) {
  if (name == accessibleName_) return;
  accessibleName_ = std::move(name);
  Notify(Aspect::Content);
}

void Label::SetAlignment(std::int16_t alignment) {
  if (alignment < 0 || alignment > 2) Raise(errors::kInvalidPropertyValue);
  alignment_ = alignment;
  Notify(Aspect::Content);
}

void Label::SetBorderStyle(std::int16_t style) {
  if (style < 0 || style > 1) Raise(errors::kInvalidPropertyValue);
  borderStyle_ = style;
  Notify(Aspect::Content);
}

void Label::SetBackStyle(std::int16_t style) {
  if (style < 0 || style > 1) Raise(errors::kInvalidPropertyValue);
  backStyle_ = style;
  Notify(Aspect::Appearance);
}

void Label::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* l = dynamic_cast<const Label*>(&other)) {
    caption_ = l->caption_;
    accessibleName_ = l->accessibleName_;
    alignment_ = l->alignment_;
    borderStyle_ = l->borderStyle_;
    backStyle_ = l->backStyle_;
    Notify(Aspect::Content);
  }
}

}  // namespace ze::ui
