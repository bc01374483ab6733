// Whether anyone but this process's user (or the superuser) can change a file.
//
// Activation loads the library a store names and runs its code in the host, so the
// library file and the store file must be out of other users' reach: a file another
// user owns, or that its group or everyone may write, or that lies in a folder
// where they may replace it (a folder they own or may write, unless its sticky bit
// keeps them to their own files) could have been swapped for their code. Links are
// followed, since the file they lead to is the one loaded. Only the file and its
// own folder are looked at, not every folder above.
#pragma once

#include <string>

namespace ze::system {

// "" when only this user or the superuser can change the file at `path` (or when
// there is no such file: the caller reports that in its own words); otherwise the
// reason, as a sentence part ("can be written by its group").
std::string WhoElseCanChange(const std::string& path);

}  // namespace ze::system
