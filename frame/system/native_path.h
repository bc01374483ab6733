// Windows-form paths at the library's API, native paths at the operating system.
//
// Callers name files the way programs of the original platform do ("C:\dati\a.ini",
// "\dati\a.ini", "a.ini"); NativePath is the one place where such a name becomes a
// path the system can open. Both "\" and "/" separate folders. A drive letter maps
// to a native folder read from the registry store, HKEY_LOCAL_MACHINE
// "SOFTWARE\zeKalendo\Unita", a text value named after the drive ("C:", "D:" ...);
// C: maps to "/" when the store names no folder for it, other drives then have no
// mapping. A path rooted without a drive ("\dati") is on C:; a relative path stays
// relative to the working folder. Network names ("\\server\share") and text holding a
// NUL have no native form. The result is UTF-8, the file system's encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ze::system {

// The registry key that names the native folder of each drive letter.
inline constexpr char16_t kDriveKey[] = u"SOFTWARE\\zeKalendo\\Unita";

// The native path of `windowsPath`, or nothing when it has none (see above).
std::optional<std::string> NativePath(std::u16string_view windowsPath);

}  // namespace ze::system
