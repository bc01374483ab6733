// The system's own folders; see system_folders.h.
#include "frame/system/system_folders.h"

#include <cstdlib>
#include <string>

#include "frame/system/files.h"

#ifndef ZE_LIBRARY_ARCHITECTURE
#define ZE_LIBRARY_ARCHITECTURE ""
#endif

namespace ze::system {

String GetWindowsDirectory() { return WindowsPath("/etc"); }

String GetSystemDirectory() {
  const std::string architecture = ZE_LIBRARY_ARCHITECTURE;
  return WindowsPath(architecture.empty() ? "/usr/lib" : "/usr/lib/" + architecture);
}

String GetTempPath() {
  std::string folder = "/tmp";
  if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && tmpdir[0] == '/')
    folder = tmpdir;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return WindowsPath(folder);
}

}  // namespace ze::system
