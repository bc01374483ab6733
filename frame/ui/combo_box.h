// ComboBox in drop-down-list style: a choice from its list only, no typing.
//
// ListIndex is -1 (nothing chosen) or a position in the list. Setting it from code
// raises Click when it changes; a user's choice (input::Choose, the arrow keys) raises
// Click every time. Clear and RemoveItem never raise Click.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/ui/control.h"

namespace ze::ui {

class ComboBox : public Control {
 public:
  ComboBox();
  String TypeName() const override { return u"ComboBox"; }
  const std::type_info& ViewType() const override { return typeid(ComboBox); }

  void Clear();
  // Appends, or inserts at index (0..ListCount); another index raises error 5.
  void AddItem(String item, std::int32_t index = -1);
  // 0..ListCount-1; another index raises error 5.
  void RemoveItem(std::int32_t index);
  // -1..ListCount-1; another value raises 380.
  std::int32_t ListIndex() const { return listIndex_; }
  void SetListIndex(std::int32_t index);
  std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.size()); }
  // The entry at index; "" past the end; below -1 raises error 381. List(-1) is the
  // chosen entry's text.
  String List(std::int32_t index) const;
  void SetList(std::int32_t index, String item);
  std::int32_t ItemData(std::int32_t index) const;
  void SetItemData(std::int32_t index, std::int32_t data);
  // The chosen entry's text, "" when none. Setting it chooses the entry with that text
  // (ignoring case); a text not in the list raises 383 (read-only in this style).
  String Text() const;
  void SetText(const String& text);

  // A user's choice: sets the index and raises Click even when it did not change.
  void Choose(std::int32_t index);

 protected:
  void DefaultKeyDown(std::int16_t keyCode, std::int16_t shift) override;
  void DefaultKeyPress(std::int16_t keyAscii) override;
  void CopySettingsFrom(const Control& other) override;

 private:
  std::vector<String> items_;
  std::vector<std::int32_t> data_;
  std::int32_t listIndex_ = -1;
};

}  // namespace ze::ui
