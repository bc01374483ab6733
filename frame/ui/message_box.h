// Message boxes: MsgBox(prompt, style, title) and the sink that answers them.
//
// Without a screen nobody can press a button, so a message box goes to a sink that
// the host (or a test) installs: it sees the prompt, style and title and returns the
// button pressed. Without a sink the box is answered at once with its default button.
// An answer that is not one of the box's buttons counts as the default button.
#pragma once

#include <cstdint>
#include <functional>

#include "frame/automation/string.h"

namespace ze::ui {

namespace msgbox {
// Buttons (style & 7).
inline constexpr std::int32_t kOkOnly = 0;
inline constexpr std::int32_t kOkCancel = 1;
inline constexpr std::int32_t kAbortRetryIgnore = 2;
inline constexpr std::int32_t kYesNoCancel = 3;
inline constexpr std::int32_t kYesNo = 4;
inline constexpr std::int32_t kRetryCancel = 5;
// Icons.
inline constexpr std::int32_t kCritical = 16;
inline constexpr std::int32_t kQuestion = 32;
inline constexpr std::int32_t kExclamation = 48;
inline constexpr std::int32_t kInformation = 64;
// Default button.
inline constexpr std::int32_t kDefaultButton2 = 256;
inline constexpr std::int32_t kDefaultButton3 = 512;
// Answers.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace msgbox

struct MessageBoxRequest {
  String prompt;
  std::int32_t style = 0;
  String title;  // the application's title when the caller gave none
};

using MessageBoxSink = std::function<int(const MessageBoxRequest&)>;

// Installs the sink (an empty function restores the default answers).
void SetMessageBoxSink(MessageBoxSink sink);

// Shows a message box and returns the button pressed. A style whose button group is
// not 0 to 5 raises error 5.
int MsgBox(const String& prompt, std::int32_t style = 0, const String& title = String());

// The title of message boxes without one ("zeKalendo" unless the host sets another).
const String& ApplicationTitle();
void SetApplicationTitle(String title);

}  // namespace ze::ui
