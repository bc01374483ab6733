// Input injection: the one path by which user input reaches the ui model.
//
// The headless backend's tests and the test container call these functions; the Qt
// backend translates Qt's events into the same calls, so the components cannot tell
// where input came from. Each function does what the user's action does, in this
// order:
//
//   keys     go to the control with the focus (or the active form itself). With
//            KeyPreview the form sees KeyDown / KeyPress / KeyUp first; a form handler
//            that sets the code to 0 keeps it from the control. KeyDown, then (for keys
//            that make a character) KeyPress, then KeyUp. Cancelling KeyDown cancels the
//            control's own KeyDown action (Delete, arrows) but not the KeyPress that
//            follows (a handler that wants neither cancels both). Tab and Shift+Tab
//            move the focus along the tab order and reach no handler.
//   clicks   a click on a form that a modal form blocks, or on a hidden or disabled
//            control, does nothing. Otherwise the form is activated, a control that
//            takes the focus gets it (LostFocus of the old owner first), then
//            MouseDown, MouseUp, Click. A double click adds DblClick and a second
//            MouseUp; a right click raises MouseDown and MouseUp with button 2 and no
//            Click.
//
// Every function returns whether the input was delivered to a target.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace ze::ui {

class Control;
class ComboBox;
class Form;

namespace input {

// Types each character: Enter, Tab and Backspace for "\r" or "\n", "\t" and "\b".
bool Type(std::u16string_view text);
// Presses and releases one key (keys.h), with shift state bits (control.h shift::).
bool Key(std::int16_t keyCode, std::int16_t shiftState = 0);
// The three stages separately, for backends that get them separately.
bool KeyDown(std::int16_t keyCode, std::int16_t shiftState);
bool KeyPress(std::int16_t keyAscii);
bool KeyUp(std::int16_t keyCode, std::int16_t shiftState);
// One key going down with the characters a toolkit made of it: KeyDown (none for code
// 0), then a KeyPress per character, all to the control that had the focus when the
// key went down (see Key), each while that control lives on a loaded form.
bool KeyDownWithCharacters(std::int16_t keyCode, std::int16_t shiftState,
                           std::u16string_view characters);

// Mouse actions on a control (or a form's own surface). x and y are twips inside the
// target, the centre when not given; caret, for a text box, is where the click puts
// the caret (a backend maps the pointer to it); without it the selection stays.
bool Click(Control& target, std::optional<std::int32_t> caret = std::nullopt);
bool RightClick(Control& target);
bool DoubleClick(Control& target, std::optional<std::int32_t> caret = std::nullopt);
// Gives the focus as a user would (clicking or tabbing there).
bool Focus(Control& target);
// Picks entry index of a drop-down list as a user would.
bool Choose(ComboBox& list, std::int32_t index);
// The pointer moves to (x, y) screen pixels.
void MovePointer(std::int32_t x, std::int32_t y);

// Window actions: the user clicks a form's title bar, closes it with its close box,
// or activates another application (and comes back).
bool ActivateWindow(Form& form);
bool CloseWindow(Form& form);
void SwitchToOtherApplication();
void SwitchBack();
// The keyboard went to a widget outside every form (a toolkit widget of the host's own
// beside a form embedded in the host's window): the focus owner hears LostFocus, then
// the application is left as by SwitchToOtherApplication. A LostFocus handler that
// takes the focus back keeps the application active.
void FocusToOtherWidget();

// The input path's own checks, for a backend that routes its toolkit's input.
//
// The receiver of keyboard input now: the active form's focus owner, or the active
// form itself; null when no form of the process is active.
Control* KeyTarget();
// Whether a mouse gesture can reach the control: its form takes input (no modal form
// above it) and the control shows and is enabled, with its containers.
bool Reachable(const Control& target);
// Whether the target of an input still takes the rest of it: alive (by the token taken
// when the input began) and on a loaded form.
bool Live(const std::weak_ptr<void>& alive, const Control& target);
// Whether a KeyUp now reaches a handler: the key target's, or its form's with
// KeyPreview. Without one a KeyUp changes nothing that shows.
bool KeyUpListened();

}  // namespace input
}  // namespace ze::ui
