// The default file service: POSIX calls, each result checked.
#include "frame/system/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace ze::system {

namespace {
bool HasDrive(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

FileService*& Installed() {
  static FileService* service = nullptr;
  return service;
}
}  // namespace

String WindowsPath(std::string_view native_path) {
  String path = FromUtf8(native_path);
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  if (!path.empty() && path.front() == u'\\') path = u"C:" + path;
  return path;
}

String DefaultFileService::ModuleFile(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  char* resolved = realpath(info.dli_fname, nullptr);
  if (resolved == nullptr) return {};
  String path = WindowsPath(resolved);
  std::free(resolved);
  return path;
}

String DefaultFileService::UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    return WindowsPath(data);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return WindowsPath(std::string(home) + "/.local/share");
  }
  return {};
}

bool DefaultFileService::IsFolderWritable(const String& folder) {
  const std::string native = NativePath(folder).value_or(std::string());
  return !native.empty() && access(native.c_str(), W_OK | X_OK) == 0;
}

bool DefaultFileService::ChangeDrive(const String& path) {
  // Every drive maps to the one root, so a drive letter is all there is to check.
  return HasDrive(path);
}

bool DefaultFileService::ChangeDirectory(const String& folder) {
  const std::string native = NativePath(folder).value_or(std::string());
  return !native.empty() && chdir(native.c_str()) == 0;
}

bool DefaultFileService::DeleteFile(const String& path) {
  const std::string native = NativePath(path).value_or(std::string());
  return !native.empty() && unlink(native.c_str()) == 0;
}

bool DefaultFileService::Append(const String& path, std::string_view bytes) {
  const std::string native = NativePath(path).value_or(std::string());
  if (native.empty()) return false;
  const int fd = open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  ssize_t written;
  do {
    written = write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  const bool whole = written == static_cast<ssize_t>(bytes.size());
  return (close(fd) == 0) && whole;
}

FileService& Files() {
  static DefaultFileService standard;
  FileService* installed = Installed();
  return installed != nullptr ? *installed : standard;
}

void InstallFileService(FileService* service) {
  Installed() = service;
}

}  // namespace ze::system
