// Whether a file is open in some process, as far as this system lets one see.
//
// Linux has no sharing modes to ask with: a program that holds a file open does not
// stop others from opening it. What can be seen is each process's open descriptors
// under /proc/<pid>/fd, which are compared with the file by device and inode (so
// another name or a hard link of the same file counts as the same file). Limits:
//   - only the processes whose /proc entries this one may read are looked at: those
//     of the same user, or all of them for a privileged process;
//   - a file that a process only maps into memory (a running program, a loaded
//     library) without keeping a descriptor is not seen, nor one opened from another
//     machine over a network file system;
//   - the answer can be out of date as soon as it is given.
// The calling process's own descriptors count too, as an open handle of its own keeps
// a file from being opened exclusively on the original platform.
#pragma once

#include <string>

namespace ze::system {

// True when a descriptor of some visible process refers to the file `path` (native).
// False when none does or the file cannot be looked at.
bool IsFileOpenAnywhere(const std::string& path);

}  // namespace ze::system
