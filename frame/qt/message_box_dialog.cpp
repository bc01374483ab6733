// The QMessageBox sink (see message_box_dialog.h).
#include "frame/qt/message_box_dialog.h"

#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QPushButton>

#include "frame/qt/appearance.h"

namespace ze::qt {

namespace {

namespace mb = ze::ui::msgbox;

constexpr const char* kAnswerProperty = "zeMsgBoxAnswer";

QMessageBox::StandardButton StandardButtonOf(int answer) {
  switch (answer) {
    case mb::kOk:
      return QMessageBox::Ok;
    case mb::kCancel:
      return QMessageBox::Cancel;
    case mb::kAbort:
      return QMessageBox::Abort;
    case mb::kRetry:
      return QMessageBox::Retry;
    case mb::kIgnore:
      return QMessageBox::Ignore;
    case mb::kYes:
      return QMessageBox::Yes;
    case mb::kNo:
      return QMessageBox::No;
    default:
      return QMessageBox::NoButton;
  }
}

QMessageBox::Icon IconOf(std::int32_t style) {
  switch (style & 0x70) {
    case mb::kCritical:
      return QMessageBox::Critical;
    case mb::kQuestion:
      return QMessageBox::Question;
    case mb::kExclamation:
      return QMessageBox::Warning;
    case mb::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::vector<int> MessageBoxAnswers(std::int32_t style) {
  switch (style & 7) {
    case mb::kOkOnly:
      return {mb::kOk};
    case mb::kOkCancel:
      return {mb::kOk, mb::kCancel};
    case mb::kAbortRetryIgnore:
      return {mb::kAbort, mb::kRetry, mb::kIgnore};
    case mb::kYesNoCancel:
      return {mb::kYes, mb::kNo, mb::kCancel};
    case mb::kYesNo:
      return {mb::kYes, mb::kNo};
    case mb::kRetryCancel:
      return {mb::kRetry, mb::kCancel};
    default:
      return {mb::kOk};
  }
}

void SetUpMessageBox(QMessageBox& box, const ze::ui::MessageBoxRequest& request) {
  box.setWindowTitle(ToQString(request.title));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(request.prompt));
  box.setIcon(IconOf(request.style));
  const std::vector<int> answers = MessageBoxAnswers(request.style);
  std::vector<QPushButton*> buttons;
  for (int answer : answers) {
    QPushButton* button = box.addButton(StandardButtonOf(answer));
    button->setProperty(kAnswerProperty, answer);
    buttons.push_back(button);
    // Escape answers as Cancel where the box has one, and as OK in a box with OK only.
    if (answer == mb::kCancel || answers.size() == 1) box.setEscapeButton(button);
  }
  const std::size_t which = static_cast<std::size_t>((request.style >> 8) & 3);
  box.setDefaultButton(which < buttons.size() ? buttons[which] : buttons.front());
}

int AnswerOf(const QMessageBox& box) {
  const QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return 0;
  return clicked->property(kAnswerProperty).toInt();
}

ze::ui::MessageBoxSink MessageBoxDialogSink(std::function<QWidget*()> parent) {
  return [parent = std::move(parent)](const ze::ui::MessageBoxRequest& request) {
    QMessageBox box(parent ? parent() : nullptr);
    SetUpMessageBox(box, request);
    box.exec();
    return AnswerOf(box);
  };
}

}  // namespace ze::qt
