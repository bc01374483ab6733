#include "frame/ui/clipboard.h"

namespace ze::ui {

namespace {
String& Store() {
  static String text;
  return text;
}
}  // namespace

const String& Clipboard::Text() {
  return Store();
}
void Clipboard::SetText(String text) {
  Store() = std::move(text);
}
void Clipboard::Clear() {
  Store().clear();
}

}  // namespace ze::ui
