// The identity of the file system that holds a path, as a 32-bit volume serial number.
//
// The kernel's file-system id (statfs f_fsid) is 64 bits; its two 32-bit halves are
// folded together with exclusive or. For ext4, XFS and btrfs it comes from the file
// system's UUID, so it stays the same across mounts and boots and differs between
// volumes; a file system without a UUID (tmpfs, proc) gets one from its device number,
// which can change at the next mount.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ze::system {

// Nothing when the path does not exist or cannot be reached.
std::optional<std::uint32_t> VolumeSerial(const std::string& nativePath);

}  // namespace ze::system
