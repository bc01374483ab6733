// The system's own folders as programs of the original platform ask for them, in
// Windows form (files.h, WindowsPath) and without a final "\" (except at a drive root):
//
//   GetWindowsDirectory  /etc, the system's own settings, where the files such programs
//                        kept in the Windows folder (the system's INI files) have
//                        their counterparts: "C:\etc" with no drive mapped.
//   GetSystemDirectory   the folder of the system's shared libraries, the one the
//                        build's C library came from: /usr/lib/<multiarch> (for
//                        example "C:\usr\lib\x86_64-linux-gnu") where the build names
//                        an architecture, else /usr/lib.
//   GetTempPath          $TMPDIR when it holds an absolute path, else /tmp.
//
// None of them checks that the folder exists, as the original's do not.
#pragma once

#include "frame/automation/string.h"

namespace ze::system {

String GetWindowsDirectory();
String GetSystemDirectory();
String GetTempPath();

}  // namespace ze::system
