// Opening a document or an address with the desktop's associated program.
//
// ShellExecute hands the address to the desktop's opener (xdg-open), started as an
// argv vector, never through a shell, and does not wait for it. The result is a
// number above 32 on success and an error code at or below 32 otherwise, as callers
// of the original function expect; most callers ignore it.
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
