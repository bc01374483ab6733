// Qt keys in the ui model's terms: virtual key codes (frame/ui/keys.h), shift-state bits
// (frame/ui/control.h shift::) and the character codes that KeyPress reports.
//
// Key codes follow a US keyboard, as the model's own input path does: letters and
// digits are their upper-case ASCII codes, punctuation the OEM codes 186..222 of the
// key that carries it, the keypad's digits and operators 96..111 when Qt marks them
// with the keypad modifier. A key the model has no code for (a letter with a diacritic
// on a national layout) maps to 0: it then arrives as a character only.
//
// Characters: the control keys make their own code whatever the modifiers (Backspace 8,
// Enter 13, Escape 27, Space 32), Ctrl+letter makes 1..26, Alt without Ctrl makes none
// (that is a menu key, not typing); otherwise the event's text, one UTF-16 unit at a
// time, without the C0 controls and DEL. A code above 0x7FFF wraps to a negative
// 16-bit value exactly as the model casts characters.
#pragma once

#include <QtCore/QString>
#include <QtCore/Qt>
#include <cstdint>

namespace ze::qt {

// The model's shift state for Qt's modifiers (Shift 1, Ctrl 2, Alt 4).
std::int16_t ShiftState(Qt::KeyboardModifiers modifiers);

// The virtual key code of a Qt key, or 0 when the model has none.
std::int16_t VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The KeyPress codes a key event makes, in order (usually one, none for keys that
// make no character, two for a character outside the basic plane).
QString KeyPressText(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace ze::qt
