// Input injection (the order of events is described in input.h).
#include "frame/ui/input.h"

#include <memory>

#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control.h"
#include "frame/ui/cursor.h"
#include "frame/ui/desktop.h"
#include "frame/ui/focus.h"
#include "frame/ui/form.h"
#include "frame/ui/keys.h"
#include "frame/ui/text_box.h"

namespace ze::ui::input {

Control* KeyTarget() {
  Form* active = Desktop::Active();
  if (!active) return nullptr;
  Control* focused = FocusManager::Focused();
  if (focused && focused->ParentForm() == active) return focused;
  return active;
}

bool Live(const std::weak_ptr<void>& alive, const Control& target) {
  if (alive.expired()) return false;
  Form* form = target.ParentForm();
  return form && form->IsLoaded();
}

bool Reachable(const Control& target) {
  Form* form = target.ParentForm();
  return form && Desktop::AcceptsInput(*form) && target.EffectivelyVisible() &&
         target.EffectivelyEnabled();
}

bool KeyUpListened() {
  Control* target = KeyTarget();
  if (!target) return false;
  Form* form = target->ParentForm();
  return target->onKeyUp || (form && form != target && form->KeyPreview() && form->onKeyUp);
}

namespace {

// The key code and shift state that produce a typed character (a US keyboard).
struct KeyStroke {
  std::int16_t code;
  std::int16_t shiftState;
};

KeyStroke StrokeFor(char16_t c) {
  if (c >= u'a' && c <= u'z') return {static_cast<std::int16_t>(c - 32), 0};
  if (c >= u'A' && c <= u'Z') return {static_cast<std::int16_t>(c), shift::kShift};
  if (c >= u'0' && c <= u'9') return {static_cast<std::int16_t>(c), 0};
  if (c == u' ') return {keys::kSpace, 0};
  struct Oem {
    char16_t plain, shifted;
    std::int16_t code;
  };
  static constexpr Oem kOem[] = {{u';', u':', 186}, {u'=', u'+', 187}, {u',', u'<', 188},
                                 {u'-', u'_', 189}, {u'.', u'>', 190}, {u'/', u'?', 191},
                                 {u'`', u'~', 192}, {u'[', u'{', 219}, {u'\\', u'|', 220},
                                 {u']', u'}', 221}, {u'\'', u'"', 222}};
  for (const auto& o : kOem) {
    if (c == o.plain) return {o.code, 0};
    if (c == o.shifted) return {o.code, shift::kShift};
  }
  static constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";
  for (int d = 0; d < 10; ++d)
    if (c == kShiftedDigits[d]) return {static_cast<std::int16_t>(u'0' + d), shift::kShift};
  // Characters without a key of their own arrive as a character only.
  return {0, 0};
}

// The character a key makes, if any.
std::optional<std::int16_t> CharacterOf(std::int16_t code, std::int16_t shiftState) {
  switch (code) {
    case keys::kBack:
    case keys::kReturn:
    case keys::kEscape:
    case keys::kSpace:
      return code;
    default:
      break;
  }
  if (code >= 'A' && code <= 'Z') {
    if (shiftState & shift::kCtrl) return static_cast<std::int16_t>(code - 'A' + 1);
    return (shiftState & shift::kShift) ? code : static_cast<std::int16_t>(code + 32);
  }
  if (code >= '0' && code <= '9' && !(shiftState & shift::kCtrl)) {
    if (!(shiftState & shift::kShift)) return code;
    static constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";
    return static_cast<std::int16_t>(kShiftedDigits[code - '0']);
  }
  return std::nullopt;
}

// Activation and focus for a mouse button press on target.
void PressOn(Control& target, bool takeFocus) {
  Form* form = target.ParentForm();
  if (takeFocus && target.CanFocusNow()) {
    if (!target.HasFocus()) FocusManager::SetFocus(target);
  } else if (Desktop::Active() != form) {
    Desktop::Activate(*form);
  }
}

}  // namespace

// The three stages, each to a given control; with KeyPreview its form sees the key
// first and may cancel it.
void KeyDownTo(Control& target, std::int16_t keyCode, std::int16_t shiftState) {
  std::weak_ptr<void> alive = target.AliveToken();
  Form* form = target.ParentForm();
  if (form && form != &target && form->KeyPreview()) {
    if (auto h = form->onKeyDown) h(keyCode, shiftState);
    if (keyCode == 0 || !Live(alive, target)) return;
  }
  target.RaiseKeyDown(keyCode, shiftState);
}

void KeyPressTo(Control& target, std::int16_t keyAscii) {
  std::weak_ptr<void> alive = target.AliveToken();
  Form* form = target.ParentForm();
  if (form && form != &target && form->KeyPreview()) {
    if (auto h = form->onKeyPress) h(keyAscii);
    if (keyAscii == 0 || !Live(alive, target)) return;
  }
  target.RaiseKeyPress(keyAscii);
}

void KeyUpTo(Control& target, std::int16_t keyCode, std::int16_t shiftState) {
  std::weak_ptr<void> alive = target.AliveToken();
  Form* form = target.ParentForm();
  if (form && form != &target && form->KeyPreview()) {
    if (auto h = form->onKeyUp) h(keyCode, shiftState);
    if (keyCode == 0 || !Live(alive, target)) return;
  }
  target.RaiseKeyUp(keyCode, shiftState);
}

namespace {

// KeyDown, then each character, to one target while it lives.
void KeyDownAndPressTo(Control& target, std::int16_t keyCode, std::int16_t shiftState,
                       std::u16string_view characters) {
  std::weak_ptr<void> alive = target.AliveToken();
  if (keyCode != 0) KeyDownTo(target, keyCode, shiftState);
  for (char16_t c : characters) {
    if (!Live(alive, target)) return;
    KeyPressTo(target, static_cast<std::int16_t>(c));
  }
}

}  // namespace

bool KeyDownWithCharacters(std::int16_t keyCode, std::int16_t shiftState,
                           std::u16string_view characters) {
  Control* target = KeyTarget();
  if (target) KeyDownAndPressTo(*target, keyCode, shiftState, characters);
  return target != nullptr;
}

bool KeyDown(std::int16_t keyCode, std::int16_t shiftState) {
  Control* target = KeyTarget();
  if (target) KeyDownTo(*target, keyCode, shiftState);
  return target != nullptr;
}

bool KeyPress(std::int16_t keyAscii) {
  Control* target = KeyTarget();
  if (target) KeyPressTo(*target, keyAscii);
  return target != nullptr;
}

bool KeyUp(std::int16_t keyCode, std::int16_t shiftState) {
  Control* target = KeyTarget();
  if (target) KeyUpTo(*target, keyCode, shiftState);
  return target != nullptr;
}

// All stages of one key go to the control that had the focus when the key went down,
// as the character message goes to the window that got the key: a KeyDown handler
// that moves the focus does not send the rest of the key elsewhere. A control that
// died or whose form unloaded gets nothing more.
bool Key(std::int16_t keyCode, std::int16_t shiftState) {
  if (keyCode == keys::kTab && !(shiftState & (shift::kCtrl | shift::kAlt))) {
    if (!Desktop::Active()) return false;
    FocusManager::TabNext((shiftState & shift::kShift) != 0);
    return true;
  }
  Control* target = KeyTarget();
  if (!target) return false;
  std::weak_ptr<void> alive = target->AliveToken();
  const auto c = CharacterOf(keyCode, shiftState);
  const char16_t character = c ? static_cast<char16_t>(*c) : u'\0';
  KeyDownAndPressTo(*target, keyCode, shiftState,
                    c ? std::u16string_view(&character, 1) : std::u16string_view());
  if (Live(alive, *target)) KeyUpTo(*target, keyCode, shiftState);
  return true;
}

bool Type(std::u16string_view text) {
  bool delivered = false;
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') {
      delivered |= Key(keys::kReturn);
      continue;
    }
    if (c == u'\t') {
      delivered |= Key(keys::kTab);
      continue;
    }
    if (c == u'\b') {
      delivered |= Key(keys::kBack);
      continue;
    }
    Control* target = KeyTarget();
    if (!target) return delivered;
    delivered = true;
    std::weak_ptr<void> alive = target->AliveToken();
    const KeyStroke stroke = StrokeFor(c);
    KeyDownAndPressTo(*target, stroke.code, stroke.shiftState, std::u16string_view(&c, 1));
    if (stroke.code != 0 && Live(alive, *target)) KeyUpTo(*target, stroke.code, stroke.shiftState);
  }
  return delivered;
}

bool Click(Control& target, std::optional<std::int32_t> caret) {
  if (!Reachable(target)) return false;
  std::weak_ptr<void> alive = target.AliveToken();
  // A click on a form's own surface activates it but leaves its focus where it was.
  PressOn(target, target.AsForm() == nullptr);
  if (!Live(alive, target)) return true;
  const float x = target.Width() / 2, y = target.Height() / 2;
  target.RaiseMouseDown(buttons::kLeft, 0, x, y);
  if (!Live(alive, target)) return true;
  if (caret)
    if (auto* box = dynamic_cast<TextBox*>(&target)) box->PlaceCaret(*caret);
  target.RaiseMouseUp(buttons::kLeft, 0, x, y);
  if (!Live(alive, target)) return true;
  target.RaiseClick();
  return true;
}

bool DoubleClick(Control& target, std::optional<std::int32_t> caret) {
  if (!Click(target, caret)) return false;
  std::weak_ptr<void> alive = target.AliveToken();
  if (!Live(alive, target)) return true;
  target.RaiseDblClick();
  if (!Live(alive, target)) return true;
  target.RaiseMouseUp(buttons::kLeft, 0, target.Width() / 2, target.Height() / 2);
  return true;
}

bool RightClick(Control& target) {
  if (!Reachable(target)) return false;
  std::weak_ptr<void> alive = target.AliveToken();
  // A button does not take the focus from the right button; a field does (its
  // context menu acts on it).
  PressOn(target, dynamic_cast<CommandButton*>(&target) == nullptr && target.AsForm() == nullptr);
  if (!Live(alive, target)) return true;
  const float x = target.Width() / 2, y = target.Height() / 2;
  target.RaiseMouseDown(buttons::kRight, 0, x, y);
  if (!Live(alive, target)) return true;
  target.RaiseMouseUp(buttons::kRight, 0, x, y);
  return true;
}

bool Focus(Control& target) {
  if (!Reachable(target) || !target.CanFocusNow()) return false;
  FocusManager::SetFocus(target);
  return true;
}

bool Choose(ComboBox& list, std::int32_t index) {
  if (!Reachable(list)) return false;
  std::weak_ptr<void> alive = list.AliveToken();
  PressOn(list, true);
  if (!Live(alive, list)) return true;
  list.Choose(index);
  return true;
}

void MovePointer(std::int32_t x, std::int32_t y) {
  SetCursorPos(x, y);
}

bool ActivateWindow(Form& form) {
  if (!Desktop::AcceptsInput(form)) return false;
  Desktop::Activate(form);
  return true;
}

bool CloseWindow(Form& form) {
  if (!Desktop::AcceptsInput(form)) return false;
  form.Unload(unload_mode::kUserClose);
  return true;
}

void SwitchToOtherApplication() {
  Desktop::LeaveApplication();
}
void SwitchBack() {
  Desktop::ReturnToApplication();
}
void FocusToOtherWidget() {
  if (!Desktop::Active()) return;
  FocusManager::Move(nullptr);
  if (FocusManager::Focused()) return;
  Desktop::LeaveApplication();
}

}  // namespace ze::ui::input
