// TextBox: the selection model, the one edit path and the default key behaviour.
#include "frame/ui/text_box.h"

#include <algorithm>

#include "frame/automation/error.h"
#include "frame/ui/clipboard.h"
#include "frame/ui/keys.h"

namespace ze::ui {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

TextBox::TextBox() {
  SetBackColor(colors::kWindowBackground);
  SetForeColor(colors::kWindowText);
}

const String& TextBox::Text() const {
  return text_;
}

void TextBox::SetText(String text) {
  if (text == text_) {
    Select(0, 0);
    return;
  }
  text_ = std::move(text);
  anchor_ = caret_ = 0;
  Notify(Aspect::Content);
  if (auto h = onChange) h();
}

std::int32_t TextBox::SelStart() const {
  return std::min(anchor_, caret_);
}

void TextBox::SetSelStart(std::int32_t start) {
  start = std::clamp(start, 0, Length());
  Select(start, start);
}

std::int32_t TextBox::SelLength() const {
  return std::abs(caret_ - anchor_);
}

void TextBox::SetSelLength(std::int32_t length) {
  const std::int32_t start = SelStart();
  length = std::clamp(length, 0, Length() - start);
  Select(start, start + length);
}

String TextBox::SelText() const {
  return text_.substr(SelStart(), SelLength());
}

void TextBox::SetSelText(String text) {
  Replace(SelStart(), SelLength(), text);
}

std::int32_t TextBox::MaxLength() const {
  return maxLength_;
}

void TextBox::SetMaxLength(std::int32_t length) {
  if (length < 0) Raise(errors::kInvalidPropertyValue);
  maxLength_ = length;
}

bool TextBox::Locked() const {
  return locked_;
}
void TextBox::SetLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  Notify(Aspect::Content);
}

void TextBox::Select(std::int32_t anchor, std::int32_t caret) {
  anchor = std::clamp(anchor, 0, Length());
  caret = std::clamp(caret, 0, Length());
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  Notify(Aspect::Selection);
}

void TextBox::Replace(std::int32_t from, std::int32_t count, std::u16string_view text) {
  from = std::clamp(from, 0, Length());
  count = std::clamp(count, 0, Length() - from);
  const bool same =
      text_.compare(static_cast<std::size_t>(from), static_cast<std::size_t>(count), text) == 0;
  if (!same) text_.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(count), text);
  const auto after = from + static_cast<std::int32_t>(text.size());
  if (!same || anchor_ != after || caret_ != after)
    Notify(same ? Aspect::Selection : Aspect::Content);
  anchor_ = caret_ = after;
  if (!same)
    if (auto h = onChange) h();
}

// ---- the user's editing ---------------------------------------------------------------

void TextBox::DefaultKeyDown(std::int16_t keyCode, std::int16_t shiftState) {
  const bool extend = (shiftState & shift::kShift) != 0;
  const bool word = (shiftState & shift::kCtrl) != 0;
  auto moveTo = [&](std::int32_t pos) { Select(extend ? anchor_ : pos, pos); };
  auto wordLeft = [&](std::int32_t pos) {
    while (pos > 0 && IsBlank(text_[pos - 1])) --pos;
    while (pos > 0 && !IsBlank(text_[pos - 1])) --pos;
    return pos;
  };
  auto wordRight = [&](std::int32_t pos) {
    while (pos < Length() && !IsBlank(text_[pos])) ++pos;
    while (pos < Length() && IsBlank(text_[pos])) ++pos;
    return pos;
  };
  switch (keyCode) {
    case keys::kLeft:
    case keys::kUp:
      // Without Shift a selection collapses to its start; otherwise the caret moves.
      if (!extend && anchor_ != caret_)
        moveTo(SelStart());
      else
        moveTo(word ? wordLeft(caret_) : std::max(caret_ - 1, 0));
      break;
    case keys::kRight:
    case keys::kDown:
      if (!extend && anchor_ != caret_)
        moveTo(SelStart() + SelLength());
      else
        moveTo(word ? wordRight(caret_) : std::min(caret_ + 1, Length()));
      break;
    case keys::kHome:
      moveTo(0);
      break;
    case keys::kEnd:
      moveTo(Length());
      break;
    case keys::kDelete:
      if (locked_) break;
      if (extend) {  // Shift+Delete cuts
        if (anchor_ != caret_) {
          Clipboard::SetText(SelText());
          Replace(SelStart(), SelLength(), u"");
        }
      } else if (anchor_ != caret_) {
        Replace(SelStart(), SelLength(), u"");
      } else if (caret_ < Length()) {
        Replace(caret_, 1, u"");
      }
      break;
    default:
      break;
  }
}

void TextBox::DefaultKeyPress(std::int16_t keyAscii) {
  switch (keyAscii) {
    case keys::kCtrlC:
      if (anchor_ != caret_) Clipboard::SetText(SelText());
      return;
    case keys::kCtrlX:
      if (anchor_ == caret_) return;
      Clipboard::SetText(SelText());
      if (!locked_) Replace(SelStart(), SelLength(), u"");
      return;
    case keys::kCtrlV: {
      if (locked_) return;
      // Only the first line of the clipboard fits a one-line field.
      String text = Clipboard::Text();
      const auto eol = text.find_first_of(u"\r\n");
      if (eol != String::npos) text.resize(eol);
      const auto room =
          maxLength_ == 0
              ? text.size()
              : static_cast<std::size_t>(std::max(0, maxLength_ - (Length() - SelLength())));
      if (text.size() > room) text.resize(room);
      Replace(SelStart(), SelLength(), text);
      return;
    }
    case keys::kBack:
      if (locked_) return;
      if (anchor_ != caret_)
        Replace(SelStart(), SelLength(), u"");
      else if (caret_ > 0)
        Replace(caret_ - 1, 1, u"");
      return;
    default:
      break;
  }
  // The other control characters (Enter, Escape, Tab, other Ctrl keys) insert nothing.
  const auto code = static_cast<std::uint16_t>(keyAscii);
  if (code < 32 || code == 127) return;
  if (locked_) return;
  // MaxLength counts the text that stays once the selection is replaced.
  if (maxLength_ != 0 && Length() - SelLength() + 1 > maxLength_) return;
  const char16_t c = static_cast<char16_t>(code);
  Replace(SelStart(), SelLength(), std::u16string_view(&c, 1));
}

void TextBox::PlaceCaret(std::int32_t pos, bool extend) {
  pos = std::clamp(pos, 0, Length());
  Select(extend ? anchor_ : pos, pos);
}

void TextBox::DefaultDblClick() {
  // A double click selects the word under the caret (blanks delimit words).
  std::int32_t from = caret_, to = caret_;
  while (from > 0 && !IsBlank(text_[from - 1])) --from;
  while (to < Length() && !IsBlank(text_[to])) ++to;
  Select(from, to);
}

void TextBox::CopySettingsFrom(const Control& other) {
  Control::CopySettingsFrom(other);
  if (auto* t = dynamic_cast<const TextBox*>(&other)) {
    text_ = t->text_;
    maxLength_ = t->maxLength_;
    locked_ = t->locked_;
    anchor_ = caret_ = 0;
    Notify(Aspect::Content);
  }
}

}  // namespace ze::ui
