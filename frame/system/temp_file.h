// A new temporary file with a name no other file had: GetTempFileName.
//
// The name is the folder, the prefix, a number of one to four hexadecimal digits
// (upper case, no leading zeros) and ".TMP", as programs of the original platform know
// it ("C:\tmp\ze3A7F.TMP"). The file is created empty (mode 0600) with
// O_CREAT|O_EXCL|O_NOFOLLOW, so a file, a folder or a symbolic link that already has
// the name is never opened, followed or reused: the search moves on to the next
// number. The search starts at an unpredictable number and stops after every number
// of the range has been tried, or at the first failure that another number cannot
// cure (no such folder, no permission, a full disk).
#pragma once

#include <cstdint>
#include <optional>

#include "frame/automation/string.h"

namespace ze::system {

// The full name (Windows form) of the new empty file in `folder` (Windows form, with or
// without a final "\"), or "" when none could be created.
String GetTempFileName(const String& folder, const String& prefix);

// For tests: the next searches start at `number` (1 to 0xFFFF) instead of an
// unpredictable one; nothing restores the default.
void SetTempFileNumberStart(std::optional<std::uint16_t> number);

}  // namespace ze::system
