// TextBox: a one-line text field with the editing behaviour of a standard edit box.
//
// State: the text, and the selection as an anchor and a caret (the end that moves
// with Shift+arrows); SelStart/SelLength are the selection seen from its low end.
// Positions count UTF-16 units, 0 before the first character.
//
// Every change of the text, from code (Text, SelText) or from the user, goes through
// one path that raises Change once, and only when the text really changed.
//
// Keys a handler did not cancel get the edit box's own behaviour: in KeyDown, the
// arrows, Home, End (Shift extends the selection, Ctrl moves by words) and Delete; in
// KeyPress, printable characters (replace the selection, then insert, within MaxLength),
// Backspace, and Ctrl+C / Ctrl+X / Ctrl+V through the process clipboard. When Locked,
// navigation and copy still work and nothing edits the text.
#pragma once

#include <cstdint>
#include <functional>

#include "frame/ui/control.h"

namespace ze::ui {

class TextBox : public Control {
 public:
  TextBox();
  String TypeName() const override { return u"TextBox"; }
  const std::type_info& ViewType() const override { return typeid(TextBox); }

  const String& Text() const;
  // Replaces the text (MaxLength does not limit code), collapses the selection at 0,
  // raises Change when the text differs.
  void SetText(String text);
  // Clamped to 0..length; collapses the selection there.
  std::int32_t SelStart() const;
  void SetSelStart(std::int32_t start);
  // Clamped to 0..length-SelStart; the caret goes to the selection's end.
  std::int32_t SelLength() const;
  void SetSelLength(std::int32_t length);
  String SelText() const;
  // Replaces the selection; the caret ends after the inserted text.
  void SetSelText(String text);
  // 0 means no limit; negative raises 380. Limits typing and pasting only.
  std::int32_t MaxLength() const;
  void SetMaxLength(std::int32_t length);
  bool Locked() const;
  void SetLocked(bool locked);

  // The end of the selection that moves (for Shift-selection and for the view).
  std::int32_t Caret() const { return caret_; }
  // Puts the caret where the pointer landed (a backend maps pixels to a position);
  // extend keeps the anchor, as a Shift+click does.
  void PlaceCaret(std::int32_t pos, bool extend = false);

  std::function<void()> onChange;

 protected:
  void DefaultKeyDown(std::int16_t keyCode, std::int16_t shift) override;
  void DefaultKeyPress(std::int16_t keyAscii) override;
  void DefaultDblClick() override;
  void CopySettingsFrom(const Control& other) override;

 private:
  // The one edit path: replaces [from, from+count) with text, puts the caret after it
  // and raises Change when the text changed.
  void Replace(std::int32_t from, std::int32_t count, std::u16string_view text);
  void Select(std::int32_t anchor, std::int32_t caret);
  std::int32_t Length() const { return static_cast<std::int32_t>(text_.size()); }

  String text_;
  std::int32_t anchor_ = 0;
  std::int32_t caret_ = 0;
  std::int32_t maxLength_ = 0;
  bool locked_ = false;
};

}  // namespace ze::ui
