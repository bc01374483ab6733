// Reading and writing INI files by name, with the profile functions' results.
//
// The file's text rules (sections, keys, blanks, quotes, comments, duplicates, line
// endings) are in ini_text.h; this file adds the file itself. Names are Windows-form
// and mapped by NativePath.
//
// Reading never fails: a missing or unreadable file, section or key gives the default.
// A write replaces the file whole through WriteFileAtomically, so a reader or a crash
// sees the old file or the new one, never a mix. Writers hold an exclusive lock on the
// file's folder from before the read until after the rename: the lock has to outlive
// the file it guards (the rename puts a new file under the name), and the folder is
// the one thing that does, without leaving a lock file beside every INI file. Two
// processes writing different keys of one file at once therefore keep both. The
// price is that writers of different INI files in one folder wait for one another,
// for the few milliseconds a write takes.
//
// A file that exists but that the process may not write, or whose permission bits
// allow nobody to write (the read-only attribute of the original platform, which
// holds even for the superuser), is not replaced and the write fails.
#pragma once

#include <cstddef>
#include <string_view>

#include "frame/automation/string.h"

namespace ze::system {

// Copies the value of `key` in `section` of `fileName` (or `defaultText` when there is
// none) into `returned`, cut to `size` - 1 characters, and returns the number of
// characters copied. A size of 0 copies nothing.
std::size_t GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultText, String& returned,
                                    std::size_t size, std::u16string_view fileName);

// Sets `key` in `section` of `fileName` to `text`, creating the file, section or key
// as needed. False when the path has no native form, the names or text cannot be
// written as a line (ini_text.h), the file is read-only, or any step of the write fails.
bool WritePrivateProfileString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view text, std::u16string_view fileName);

}  // namespace ze::system
