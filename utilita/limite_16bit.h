// The 16-bit character counts of zeUtilita's text routines.
//
// The routines were written with lengths and positions held in 16-bit integers, so
// a text longer than 32767 characters fails with the overflow error (6) instead of
// giving a result; callers may rely on that failure, so it is kept.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/automation/error.h"

namespace zekalendo {

inline constexpr std::size_t kMaxLunghezza16 = 32767;

// Error 6 when `length` does not fit in a 16-bit count.
inline void RichiediLunghezza16(std::size_t length) {
  if (length > kMaxLunghezza16) ze::Raise(ze::errors::kOverflow);
}

}  // namespace zekalendo
