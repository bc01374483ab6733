// Label: a caption on the form. It never takes the focus; a click on it leaves the
// focus where it was. Refresh repaints it at once (counted, for views and tests).
#pragma once

#include <cstdint>

#include "frame/ui/control.h"

namespace ze::ui {

class Label : public Control {
 public:
  Label();
  String TypeName() const override { return u"Label"; }
  const std::type_info& ViewType() const override { return typeid(Label); }
  bool CanTakeFocus() const override { return false; }

  const String& Caption() const { return caption_; }
  void SetCaption(String caption);
  // 0 left, 1 right, 2 centred; others raise 380.
  std::int16_t Alignment() const { return alignment_; }
  void SetAlignment(std::int16_t alignment);
  // 0 none, 1 fixed single; others raise 380.
  std::int16_t BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(std::int16_t style);
  // 0 transparent, 1 opaque (default); others raise 380.
  std::int16_t BackStyle() const { return backStyle_; }
  void SetBackStyle(std::int16_t style);

  // What a screen reader says for the label; empty means its caption.
  const String& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(String name);

  void Refresh() { ++refreshCount_; }
  long RefreshCount() const { return refreshCount_; }

 protected:
  void CopySettingsFrom(const Control& other) override;

 private:
  String caption_;
  String accessibleName_;
  std::int16_t alignment_ = 0;
  std::int16_t borderStyle_ = 0;
  std::int16_t backStyle_ = 1;
  long refreshCount_ = 0;
};

}  // namespace ze::ui
