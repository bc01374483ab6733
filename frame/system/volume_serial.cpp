#include "frame/system/volume_serial.h"

#include <sys/vfs.h>

#include <cstring>

namespace ze::system {

std::optional<std::uint32_t> VolumeSerial(const std::string& nativePath) {
  struct statfs st;
  if (nativePath.empty() || ::statfs(nativePath.c_str(), &st) != 0) return std::nullopt;
  std::uint32_t halves[2];
  static_assert(sizeof st.f_fsid == sizeof halves);
  std::memcpy(halves, &st.f_fsid, sizeof halves);
  return halves[0] ^ halves[1];
}

}  // namespace ze::system
