// Folders by Windows-form name: whether one exists, and making one.
//
// Both map the name with NativePath (native_path.h); a name without a native form
// (an unmapped drive, a network name) is a folder that does not exist and cannot be
// made. A final separator is allowed ("C:\dati\").
#pragma once

#include "frame/automation/string.h"

namespace ze::system {

// True when `folder` names an existing folder (a link to one counts; a file does not).
bool FolderExists(const String& folder);
// Makes one folder whose parent exists (mode 0777 less the umask). True when it was
// made, or when a folder of that name appeared meanwhile (another process making the
// same path); false for anything else of that name, or when it cannot be made.
bool CreateFolder(const String& folder);

}  // namespace ze::system
