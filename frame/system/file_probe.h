// Small file operations of the version and system routines: a test file that proves
// a folder writable, whether a name is a plain file, and the owner's write permission.
// Paths are native; failures come back as the errno of the failing call (0: none).
#pragma once

#include <string>

namespace ze::system {

// Creates an empty file at `path` for writing and closes it, storing the name it got
// in `created`. The file is created exclusively and never through a link, so an
// existing file is never emptied: when `path` is taken, a unique name made from it
// (a random part before its extension) is used instead.
int CreateTestFile(const std::string& path, std::string& created);
int RemoveFile(const std::string& path);

// Whether `path` is a regular file that a listing without hidden files shows: its name
// does not begin with ".".
bool IsPlainVisibleFile(const std::string& path);
// Whether this process may open `path` for reading.
bool IsReadable(const std::string& path);

// Gives the owner write permission on `path` when it lacks it; other bits are kept.
int AddOwnerWrite(const std::string& path);

}  // namespace ze::system
