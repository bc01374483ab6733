// The iterative walk over a key tree; see key_tree.h.
#include "frame/registry/key_tree.h"

#include <unordered_set>
#include <utility>
#include <vector>

namespace ze::registry {

LSTATUS WalkKeyTree(Store& store, KeyId top, const String& topPath,
                    const std::function<LSTATUS(KeyId key, const String& path)>& visit) {
  struct Pending {
    KeyId key;
    String path;
  };
  std::vector<Pending> pending{{top, topPath}};
  std::unordered_set<std::int64_t> seen;
  std::vector<Subkey> subkeys;
  while (!pending.empty()) {
    Pending next = std::move(pending.back());
    pending.pop_back();
    if (!seen.insert(next.key.value).second) {
      SetLastErrorDetail(store.path() + ": the key " + ToUtf8(next.path) +
                         " lies below itself (a damaged store)");
      return ERROR_BADDB;
    }
    LSTATUS st = visit(next.key, next.path);
    if (st != ERROR_SUCCESS) return st;
    st = store.EnumSubkeys(next.key, &subkeys);
    if (st != ERROR_SUCCESS) return st;
    // Pushed last to first, so the first in name order comes out next.
    for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) {
      String path = next.path.empty() ? it->name : next.path + u"\\" + it->name;
      pending.push_back(Pending{it->id, std::move(path)});
    }
  }
  return ERROR_SUCCESS;
}

}  // namespace ze::registry
