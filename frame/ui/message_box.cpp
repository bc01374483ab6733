// Message boxes and their sink.
#include "frame/ui/message_box.h"

#include <vector>

#include "frame/automation/error.h"

namespace ze::ui {

namespace {

struct BoxState {
  MessageBoxSink sink;
  String title = u"zeKalendo";
};

BoxState& State() {
  static BoxState state;
  return state;
}

std::vector<int> ButtonsOf(std::int32_t style) {
  using namespace msgbox;
  switch (style & 7) {
    case kOkOnly:
      return {kOk};
    case kOkCancel:
      return {kOk, kCancel};
    case kAbortRetryIgnore:
      return {kAbort, kRetry, kIgnore};
    case kYesNoCancel:
      return {kYes, kNo, kCancel};
    case kYesNo:
      return {kYes, kNo};
    case kRetryCancel:
      return {kRetry, kCancel};
    default:
      return {};
  }
}

}  // namespace

void SetMessageBoxSink(MessageBoxSink sink) {
  State().sink = std::move(sink);
}

int MsgBox(const String& prompt, std::int32_t style, const String& title) {
  const std::vector<int> buttons = ButtonsOf(style);
  if (buttons.empty() || style < 0) Raise(errors::kInvalidProcedureCall);
  const std::size_t which = static_cast<std::size_t>((style >> 8) & 3);
  const int fallback = which < buttons.size() ? buttons[which] : buttons.front();
  MessageBoxRequest request{prompt, style, title.empty() ? State().title : title};
  auto sink = State().sink;  // the sink may replace itself
  if (!sink) return fallback;
  const int answer = sink(request);
  for (int b : buttons)
    if (b == answer) return answer;
  return fallback;
}

const String& ApplicationTitle() {
  return State().title;
}
void SetApplicationTitle(String title) {
  State().title = std::move(title);
}

}  // namespace ze::ui
