// Qt keys to virtual key codes and KeyPress characters (see key_map.h).
#include "frame/qt/key_map.h"

#include "frame/ui/control.h"
#include "frame/ui/keys.h"

namespace ze::qt {

namespace {

namespace k = ze::ui::keys;

struct Pair {
  int qt;
  std::int16_t vk;
};

// Keys with a code of their own, independent of the layout.
constexpr Pair kNamed[] = {
    {Qt::Key_Backspace, k::kBack},
    {Qt::Key_Tab, k::kTab},
    {Qt::Key_Backtab, k::kTab},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, k::kReturn},
    {Qt::Key_Enter, k::kReturn},
    {Qt::Key_Shift, k::kShift},
    {Qt::Key_Control, k::kControl},
    {Qt::Key_Alt, k::kMenu},
    {Qt::Key_AltGr, k::kMenu},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, k::kEscape},
    {Qt::Key_Space, k::kSpace},
    {Qt::Key_PageUp, k::kPageUp},
    {Qt::Key_PageDown, k::kPageDown},
    {Qt::Key_End, k::kEnd},
    {Qt::Key_Home, k::kHome},
    {Qt::Key_Left, k::kLeft},
    {Qt::Key_Up, k::kUp},
    {Qt::Key_Right, k::kRight},
    {Qt::Key_Down, k::kDown},
    {Qt::Key_Select, 41},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, k::kInsert},
    {Qt::Key_Delete, k::kDelete},
    {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
};

// Punctuation by the US key that carries it, unshifted and shifted.
constexpr Pair kOem[] = {
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits on the digit keys.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// The keypad's operators (with the keypad modifier).
constexpr Pair kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

template <std::size_t N>
std::int16_t Find(const Pair (&table)[N], int key) {
  for (const Pair& p : table)
    if (p.qt == key) return p.vk;
  return 0;
}

}  // namespace

std::int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
  std::int16_t state = 0;
  if (modifiers & Qt::ShiftModifier) state |= ze::ui::shift::kShift;
  if (modifiers & Qt::ControlModifier) state |= ze::ui::shift::kCtrl;
  if (modifiers & Qt::AltModifier) state |= ze::ui::shift::kAlt;
  return state;
}

std::int16_t VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::int16_t>(qtKey);
  const bool keypad = (modifiers & Qt::KeypadModifier) != 0;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<std::int16_t>(keypad ? 96 + (qtKey - Qt::Key_0) : qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<std::int16_t>(k::kF1 + (qtKey - Qt::Key_F1));
  if (std::int16_t vk = Find(kNamed, qtKey)) return vk;
  if (keypad)
    if (std::int16_t vk = Find(kKeypad, qtKey)) return vk;
  return Find(kOem, qtKey);
}

QString KeyPressText(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  // The control keys make their own code, as the model's input path has them.
  switch (qtKey) {
    case Qt::Key_Backspace:
      return QString(QChar(k::kBack));
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QString(QChar(k::kReturn));
    case Qt::Key_Escape:
      return QString(QChar(k::kEscape));
    default:
      break;
  }
  const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
  const bool alt = (modifiers & Qt::AltModifier) != 0;
  // Alt alone makes menu keys; Ctrl+Alt is how some layouts reach their third level.
  if (alt && !ctrl) return {};
  if (qtKey == Qt::Key_Space) return QStringLiteral(" ");
  if (ctrl && !alt) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return QString(QChar(qtKey - Qt::Key_A + 1));
    return {};
  }
  QString out;
  out.reserve(text.size());
  for (QChar c : text)
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) out.append(c);
  return out;
}

}  // namespace ze::qt
