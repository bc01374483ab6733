// Replacing a file's whole content so that no reader and no crash ever sees half of it.
//
// Every file the project writes whole (property bags, .reg exports, INI files) goes
// through WriteFileAtomically: the bytes go to a new file with a unique, unguessable
// name in the target's own folder (so the final rename never crosses file systems),
// created exclusively and without following a link, so that a link planted at that
// name cannot redirect the write. The new file takes the old one's permission bits
// (and, where the process may, its owner), so a private file stays private; a new
// target gets the usual 0666 less the umask. The file and then its folder are flushed
// before and after the rename, so after a power cut the name holds the old bytes or
// the new ones, never a mix and never nothing.
//
// Caveats: a target that is a symbolic link is replaced by the new file (the link
// itself, not the file it points to), as rename does; a target that is a folder or
// another kind of special file is refused with EISDIR or EINVAL. A process killed
// between creating the temporary file and the rename leaves that file behind under a
// hidden name (".NAME.XXXXXX.tmp"); the target itself is untouched.
#pragma once

#include <string>
#include <string_view>

namespace ze::system {

struct WriteFailure {
  int error = 0;       // the errno of the step that failed; 0 on success
  std::string detail;  // "PATH: what failed: strerror" for people; "" on success
  explicit operator bool() const { return error != 0; }
};

// Makes `bytes` the whole content of the file at `path`. On failure the file at
// `path` is as it was and no temporary file stays, except when only the last flush
// of the folder failed: the new content is then in place but may not survive a
// power cut, and the failure says so.
WriteFailure WriteFileAtomically(const std::string& path, std::string_view bytes);

// For tests of the failure paths: the next `count` data writes of
// WriteFileAtomically in this process fail with `error` (ENOSPC for a full disk).
void InjectWriteFailures(int error, int count = 1);

}  // namespace ze::system
