// What a fuzz target asserts: a property that fails stops the run at once, as a crash
// the fuzzer records with its input, in every build (no assert that NDEBUG removes).
#pragma once

namespace fuzz {

inline void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace fuzz
