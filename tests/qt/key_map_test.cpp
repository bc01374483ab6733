// Qt keys in the model's terms: virtual key codes, shift state and KeyPress codes.
#include "frame/qt/key_map.h"

#include <gtest/gtest.h>

#include <vector>

namespace ze::qt {
namespace {

std::vector<int> Codes(const QString& text) {
  std::vector<int> out;
  for (QChar c : text) out.push_back(static_cast<std::int16_t>(c.unicode()));
  return out;
}

struct KeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;  // what Qt reports as the key's text
  int virtualKey;
  std::vector<int> presses;
};

TEST(KeyMap, KeysAndTheCharactersTheyMake) {
  const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                                    alt = Qt::AltModifier, keypad = Qt::KeypadModifier;
  const KeyCase cases[] = {
      {"letter", Qt::Key_A, none, "a", 65, {97}},
      {"capital", Qt::Key_A, shift, "A", 65, {65}},
      {"ctrl+C copies", Qt::Key_C, ctrl, "c", 67, {3}},
      {"ctrl+shift+V pastes", Qt::Key_V, ctrl | shift, "V", 86, {22}},
      {"alt+M is a menu key", Qt::Key_M, alt, "m", 77, {}},
      {"ctrl+alt reaches a third level",
       Qt::Key_E,
       ctrl | alt,
       QString(QChar(0x20AC)),
       69,
       {static_cast<std::int16_t>(0x20AC)}},
      {"ctrl+digit makes nothing", Qt::Key_1, ctrl, "1", 49, {}},
      {"digit", Qt::Key_5, none, "5", 53, {53}},
      {"keypad digit", Qt::Key_5, keypad, "5", 101, {53}},
      {"keypad slash", Qt::Key_Slash, keypad, "/", 111, {47}},
      {"keypad comma as decimal", Qt::Key_Comma, keypad, ",", 110, {44}},
      {"slash", Qt::Key_Slash, none, "/", 191, {47}},
      {"question mark", Qt::Key_Question, shift, "?", 191, {63}},
      {"shifted digit", Qt::Key_Exclam, shift, "!", 49, {33}},
      {"backspace", Qt::Key_Backspace, none, "\b", 8, {8}},
      {"ctrl+backspace", Qt::Key_Backspace, ctrl, "", 8, {8}},
      {"enter", Qt::Key_Return, none, "\r", 13, {13}},
      {"keypad enter", Qt::Key_Enter, keypad, "\r", 13, {13}},
      {"escape", Qt::Key_Escape, none, "\x1b", 27, {27}},
      {"space", Qt::Key_Space, none, " ", 32, {32}},
      {"delete makes no character", Qt::Key_Delete, none, "\x7f", 46, {}},
      {"tab", Qt::Key_Tab, none, "\t", 9, {}},
      {"backtab", Qt::Key_Backtab, shift, "", 9, {}},
      {"home", Qt::Key_Home, none, "", 36, {}},
      {"left", Qt::Key_Left, none, "", 37, {}},
      {"down", Qt::Key_Down, shift, "", 40, {}},
      {"insert", Qt::Key_Insert, none, "", 45, {}},
      {"F1", Qt::Key_F1, none, "", 112, {}},
      {"F12", Qt::Key_F12, none, "", 123, {}},
      {"shift alone", Qt::Key_Shift, shift, "", 16, {}},
      {"national letter has no key code", Qt::Key_Egrave, none, QString(QChar(0xE8)), 0, {0xE8}},
      {"character outside the basic plane",
       Qt::Key_unknown,
       none,
       QString::fromUtf8("\xF0\x9F\x98\x80"),
       0,
       {static_cast<std::int16_t>(0xD83D), static_cast<std::int16_t>(0xDE00)}},
      {"a key the model does not know", Qt::Key_LaunchMail, none, "", 0, {}},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(VirtualKey(c.key, c.modifiers), c.virtualKey) << c.name;
    EXPECT_EQ(Codes(KeyPressText(c.key, c.modifiers, c.text)), c.presses) << c.name;
  }
}

TEST(KeyMap, EveryLetterAndDigitKeepsItsCode) {
  for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) {
    EXPECT_EQ(VirtualKey(key, {}), key);
    EXPECT_EQ(Codes(KeyPressText(key, Qt::ControlModifier, {})),
              std::vector<int>{key - Qt::Key_A + 1});
  }
  for (int key = Qt::Key_0; key <= Qt::Key_9; ++key) {
    EXPECT_EQ(VirtualKey(key, {}), key);
    EXPECT_EQ(VirtualKey(key, Qt::KeypadModifier), 96 + key - Qt::Key_0);
  }
}

TEST(KeyMap, ShiftStateOfEveryModifierCombination) {
  for (int bits = 0; bits < 8; ++bits) {
    Qt::KeyboardModifiers m = Qt::KeypadModifier | Qt::MetaModifier;  // neither counts
    if (bits & 1) m |= Qt::ShiftModifier;
    if (bits & 2) m |= Qt::ControlModifier;
    if (bits & 4) m |= Qt::AltModifier;
    EXPECT_EQ(ShiftState(m), bits);
  }
}

}  // namespace
}  // namespace ze::qt
