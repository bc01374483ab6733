// Opening a document or an address with the desktop's associated program.
//
// ShellExecute hands the document or address to the desktop's opener (xdg-open),
// started as an argv vector, never through a shell, and does not wait for it. The
// result is a number above 32 on success and an error code at or below 32 otherwise,
// as callers of the original function expect:
//   2   (file not found) the document is not there, or its name has no native form
//   5   (access denied)  the document is there but this user may not read it
//   31  (no association) the desktop's type database names no program for the
//       document's type (xdg-mime finds no type or no default program, or fails as
//       xdg-utils programs fail when a tool is missing), or there is no opener
// A text that opens with a URL scheme ("https:", "mailto:", two letters or more before
// the colon; "C:" is a drive) is an address and goes to the opener as it is: the
// opener's own fallbacks (a BROWSER variable, the system's default browser) decide
// where it goes, which a type query cannot see. The opener's own exit status is not
// waited for: without a desktop session it runs the document's program in the
// foreground, and waiting would hold the caller until that program ended.
//
// Tests replace the opener with a handler of their own, so that nothing is started.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frame/automation/string.h"

namespace ze::system {

struct ShellRequest {
  std::intptr_t hwnd = 0;
  String operation;  // empty: the default action
  String file;       // a document path (Windows form) or an address
  String parameters;
  String directory;  // Windows form
  int showCommand = 1;
};

// The opener in force; returns the ShellExecute result.
using ShellHandler = std::function<std::intptr_t(const ShellRequest&)>;

// Replaces the opener (an empty handler restores xdg-open).
void SetShellHandler(ShellHandler handler);

std::intptr_t ShellExecute(const ShellRequest& request);

}  // namespace ze::system
