#include "frame/system/file_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace ze::system {

namespace {
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

int CloseAll(int fd) {
  return ::close(fd) == 0 ? 0 : errno;
}
}  // namespace

int CreateTestFile(const std::string& path, std::string& created) {
  created.clear();
  int fd = ::open(path.c_str(), kCreateFlags, 0666);
  if (fd >= 0) {
    created = path;
    return CloseAll(fd);
  }
  if (errno != EEXIST) return errno;
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string extension = hasExtension ? path.substr(dot) : std::string();
  std::string name = (hasExtension ? path.substr(0, dot) : path) + "XXXXXX" + extension;
  fd = ::mkostemps(name.data(), static_cast<int>(extension.size()), O_CLOEXEC);
  if (fd < 0) return errno;
  created = name;
  return CloseAll(fd);
}

int RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

bool IsPlainVisibleFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const std::size_t slash = path.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  return start < path.size() && path[start] != '.';
}

bool IsReadable(const std::string& path) {
  return ::access(path.c_str(), R_OK) == 0;
}

int AddOwnerWrite(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno;
  if ((st.st_mode & S_IWUSR) != 0) return 0;
  return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0 ? 0 : errno;
}

}  // namespace ze::system
