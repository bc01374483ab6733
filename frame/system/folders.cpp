// Folder existence and creation; see folders.h.
#include "frame/system/folders.h"

#include <sys/stat.h>

#include <cerrno>

#include "frame/system/native_path.h"

namespace ze::system {

bool FolderExists(const String& folder) {
  const std::optional<std::string> native = NativePath(folder);
  struct stat info{};
  return native && ::stat(native->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateFolder(const String& folder) {
  const std::optional<std::string> native = NativePath(folder);
  if (!native) return false;
  if (::mkdir(native->c_str(), 0777) == 0) return true;
  return errno == EEXIST && FolderExists(folder);
}

}  // namespace ze::system
