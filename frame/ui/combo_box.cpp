// ComboBox (drop-down list).
#include "frame/ui/combo_box.h"

#include <algorithm>

#include "frame/automation/error.h"
#include "frame/automation/string.h"
#include "frame/ui/keys.h"

namespace ze::ui {

namespace {
constexpr std::int32_t kInvalidArrayIndex = 381;
constexpr std::int32_t kReadOnly = 383;

}  // namespace

ComboBox::ComboBox() {
  SetBackColor(colors::kWindowBackground);
  SetForeColor(colors::kWindowText);
}

void ComboBox::Clear() {
  items_.clear();
  data_.clear();
  listIndex_ = -1;
  Notify(Aspect::Content);
}

void ComboBox::AddItem(String item, std::int32_t index) {
  if (index == -1) index = ListCount();
  if (index < 0 || index > ListCount()) Raise(errors::kInvalidProcedureCall);
  items_.insert(items_.begin() + index, std::move(item));
  data_.insert(data_.begin() + index, 0);
  if (listIndex_ >= index) ++listIndex_;
  Notify(Aspect::Content);
}

void ComboBox::RemoveItem(std::int32_t index) {
  if (index < 0 || index >= ListCount()) Raise(errors::kInvalidProcedureCall);
  items_.erase(items_.begin() + index);
  data_.erase(data_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Notify(Aspect::Content);
}

void ComboBox::SetListIndex(std::int32_t index) {
  if (index < -1 || index >= ListCount()) Raise(errors::kInvalidPropertyValue);
  if (index == listIndex_) return;
  listIndex_ = index;
  Notify(Aspect::Content);
  RaiseClick();
}

void ComboBox::Choose(std::int32_t index) {
  if (index < -1 || index >= ListCount()) Raise(errors::kInvalidPropertyValue);
  listIndex_ = index;
  Notify(Aspect::Content);
  RaiseClick();
}

String ComboBox::List(std::int32_t index) const {
  if (index < -1) Raise(kInvalidArrayIndex, u"Invalid property array index");
  if (index == -1) return Text();
  return index < ListCount() ? items_[static_cast<std::size_t>(index)] : String();
}

void ComboBox::SetList(std::int32_t index, String item) {
  if (index < 0 || index >= ListCount()) Raise(kInvalidArrayIndex, u"Invalid property array index");
  items_[static_cast<std::size_t>(index)] = std::move(item);
  Notify(Aspect::Content);
}

std::int32_t ComboBox::ItemData(std::int32_t index) const {
  if (index < 0 || index >= ListCount()) Raise(kInvalidArrayIndex, u"Invalid property array index");
  return data_[static_cast<std::size_t>(index)];
}

void ComboBox::SetItemData(std::int32_t index, std::int32_t data) {
  if (index < 0 || index >= ListCount()) Raise(kInvalidArrayIndex, u"Invalid property array index");
  data_[static_cast<std::size_t>(index)] = data;
}

String ComboBox::Text() const {
  return listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)] : String();
}

void ComboBox::SetText(const String& text) {
  for (std::int32_t i = 0; i < ListCount(); ++i)
    if (EqualsIgnoringAsciiCase(items_[static_cast<std::size_t>(i)], text)) {
      SetListIndex(i);
      return;
    }
  Raise(kReadOnly, u"Can't set property: property is read-only");
}

void ComboBox::DefaultKeyDown(std::int16_t keyCode, std::int16_t) {
  if (items_.empty()) return;
  const std::int32_t last = ListCount() - 1;
  std::int32_t to = listIndex_;
  switch (keyCode) {
    case keys::kUp:
    case keys::kLeft:
      to = std::max(listIndex_ - 1, 0);
      break;
    case keys::kDown:
    case keys::kRight:
      to = std::min(listIndex_ + 1, last);
      break;
    case keys::kHome:
      to = 0;
      break;
    case keys::kEnd:
      to = last;
      break;
    default:
      return;
  }
  if (to != listIndex_) Choose(to);
}

void ComboBox::DefaultKeyPress(std::int16_t keyAscii) {
  // A character chooses the next entry that starts with it (ignoring case).
  if (keyAscii < 32 || items_.empty()) return;
  const char16_t c = LowerAscii(static_cast<char16_t>(keyAscii));
  const std::int32_t n = ListCount();
  for (std::int32_t step = 1; step <= n; ++step) {
    const std::int32_t i = (listIndex_ + step + n) % n;
    const String& item = items_[static_cast<std::size_t>(i)];
    if (!item.empty() && LowerAscii(item[0]) == c) {
      if (i != listIndex_) Choose(i);
      return;
    }
  }
}

void ComboBox::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* c = dynamic_cast<const ComboBox*>(&other)) {
    items_ = c->items_;
    data_ = c->data_;
    listIndex_ = c->listIndex_;
  }
}

}  // namespace ze::ui
