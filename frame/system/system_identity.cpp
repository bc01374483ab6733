#include "frame/system/system_identity.h"

#include <sys/utsname.h>

#include <cctype>
#include <limits>

namespace ze::system {

void ReadReleaseNumbers(const std::string& release, SystemIdentity& identity) {
  std::int32_t* const parts[] = {&identity.major, &identity.minor, &identity.build};
  for (std::int32_t* part : parts) *part = 0;
  std::size_t at = 0;
  for (std::int32_t* part : parts) {
    if (at >= release.size() || !std::isdigit(static_cast<unsigned char>(release[at]))) break;
    std::int64_t value = 0;
    for (; at < release.size() && std::isdigit(static_cast<unsigned char>(release[at])); ++at) {
      value = std::min<std::int64_t>(value * 10 + (release[at] - '0'),
                                     std::numeric_limits<std::int32_t>::max());
    }
    *part = static_cast<std::int32_t>(value);
    if (at >= release.size() || release[at] != '.') break;
    ++at;
  }
}

std::optional<SystemIdentity> QuerySystemIdentity() {
  struct utsname u;
  if (::uname(&u) != 0) return std::nullopt;
  SystemIdentity identity{u.sysname, u.release, u.version};
  ReadReleaseNumbers(identity.release, identity);
  return identity;
}

}  // namespace ze::system
