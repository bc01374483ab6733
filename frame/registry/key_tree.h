// Walking a key and everything below it.
//
// The walk is iterative, so no depth of tree can exhaust the stack, and it visits
// each key once: a key met a second time means the parents in a damaged store form
// a cycle, and the walk stops with ERROR_BADDB instead of going round for ever. Keys
// come depth first, each before its subkeys, subkeys in name order (the order of an
// export and of a recursive query).
#pragma once

#include <functional>

#include "frame/automation/string.h"
#include "frame/registry/store.h"

namespace ze::registry {

// Calls `visit` with the id and the path of `top` (named `topPath`) and of every key
// below it, the path growing by "\" and the stored name at each level. Stops at the
// first failure, of the store or of `visit`, and returns it.
LSTATUS WalkKeyTree(Store& store, KeyId top, const String& topPath,
                    const std::function<LSTATUS(KeyId key, const String& path)>& visit);

}  // namespace ze::registry
