#include "frame/system/file_in_use.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <memory>

namespace ze::system {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool IsNumber(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
  }
  return true;
}

// Whether one of the descriptors listed in `fdFolder` refers to dev/ino.
bool HoldsFile(int procFd, const char* pid, dev_t dev, ino_t ino) {
  const std::string folder = std::string(pid) + "/fd";
  const int fdFolder = ::openat(procFd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fdFolder < 0) return false;  // another user's process, or it just ended
  Dir fds(::fdopendir(fdFolder));
  if (!fds) {
    ::close(fdFolder);
    return false;
  }
  while (const dirent* e = ::readdir(fds.get())) {
    if (!IsNumber(e->d_name)) continue;
    struct stat st;
    // Following the descriptor's link reaches the open file itself.
    if (::fstatat(fdFolder, e->d_name, &st, 0) == 0 && st.st_dev == dev && st.st_ino == ino)
      return true;
  }
  return false;
}

}  // namespace

bool IsFileOpenAnywhere(const std::string& path) {
  struct stat target;
  if (::stat(path.c_str(), &target) != 0) return false;
  const int procFd = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (procFd < 0) return false;
  Dir proc(::fdopendir(procFd));
  if (!proc) {
    ::close(procFd);
    return false;
  }
  while (const dirent* e = ::readdir(proc.get())) {
    if (IsNumber(e->d_name) && HoldsFile(procFd, e->d_name, target.st_dev, target.st_ino))
      return true;
  }
  return false;
}

}  // namespace ze::system
