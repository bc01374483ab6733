// The process clipboard of the headless model: the text that Ctrl+C / Ctrl+X put and
// Ctrl+V takes. A real backend may mirror it to the desktop's clipboard.
#pragma once

#include "frame/automation/string.h"

namespace ze::ui {

class Clipboard {
 public:
  static const String& Text();
  static void SetText(String text);
  static void Clear();
};

}  // namespace ze::ui
