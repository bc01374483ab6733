// The automation error number a call fails with, 0 when it does not fail.
#pragma once

#include <cstdint>

#include "frame/automation/error.h"

namespace zekalendo {

template <class Call>
std::int32_t ErrorOf(Call call) {
  try {
    call();
  } catch (const ze::AutomationError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace zekalendo
