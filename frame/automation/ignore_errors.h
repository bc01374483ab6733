// IgnoringErrors: runs one step whose automation failure is to be dropped, so that the
// steps after it still run (a layout that goes on past a size the field refused, a
// focus that a hidden control cannot take). Only automation errors are dropped;
// anything else, such as running out of memory, goes on to the caller.
#pragma once

#include "frame/automation/error.h"

namespace ze {

template <class Step>
void IgnoringErrors(Step&& step) {
  try {
    step();
  } catch (const AutomationError&) {
  }
}

}  // namespace ze
