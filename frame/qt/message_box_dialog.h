// Message boxes as real dialogs: the sink (frame/ui/message_box.h) that shows a
// QMessageBox with the style's buttons, icon, default button and the title, runs it
// modal over the given parent window and returns the button pressed.
//
// The prompt and title are plain text: a prompt that looks like markup is shown as
// written. A box closed without a button (the window's close box, Escape) answers with
// the button Qt treats as its escape button, which the model then checks against the
// box's buttons.
#pragma once

#include <QtWidgets/QMessageBox>
#include <functional>
#include <vector>

#include "frame/ui/message_box.h"

class QWidget;

namespace ze::qt {

// The buttons of a style's button group, in the order the box shows them.
std::vector<int> MessageBoxAnswers(std::int32_t style);

// Builds the dialog for a request (not shown), for the sink and for tests that look
// at it before answering.
void SetUpMessageBox(QMessageBox& box, const ze::ui::MessageBoxRequest& request);

// The model's answer for the button that closed a box built by SetUpMessageBox (0 when
// none).
int AnswerOf(const QMessageBox& box);

// A sink that shows each request over the window parent() returns (may be null).
ze::ui::MessageBoxSink MessageBoxDialogSink(std::function<QWidget*()> parent);

}  // namespace ze::qt
