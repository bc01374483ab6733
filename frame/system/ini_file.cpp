// INI files by name; see ini_file.h.
#include "frame/system/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "frame/system/atomic_file.h"
#include "frame/system/descriptor.h"
#include "frame/system/ini_text.h"
#include "frame/system/native_path.h"

namespace ze::system {
namespace {

enum class Read { Ok, Missing, Failed };

// The whole file at `path` into `bytes`; `info` describes it when it exists.
Read ReadWhole(const std::string& path, std::string& bytes, struct stat& info) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return errno == ENOENT ? Read::Missing : Read::Failed;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return Read::Failed;
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Read::Failed;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return Read::Ok;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// An exclusive lock on a folder, held while the object lives.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_.get() < 0) return;
    int rc;
    do rc = ::flock(fd_.get(), LOCK_EX);
    while (rc != 0 && errno == EINTR);
    held_ = rc == 0;
  }
  // Closing the folder's descriptor releases the lock.
  bool held() const { return held_; }

 private:
  Descriptor fd_;
  bool held_ = false;
};

}  // namespace

std::size_t GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultText, String& returned,
                                    std::size_t size, std::u16string_view fileName) {
  std::optional<String> value;
  if (const std::optional<std::string> path = NativePath(fileName)) {
    std::string bytes;
    struct stat info {};
    if (ReadWhole(*path, bytes, info) == Read::Ok) value = FindProfileValue(bytes, section, key);
  }
  const std::u16string_view chosen = value ? std::u16string_view(*value) : defaultText;
  const std::size_t copied = size == 0 ? 0 : std::min(chosen.size(), size - 1);
  returned.assign(chosen.substr(0, copied));
  return copied;
}

bool WritePrivateProfileString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view text, std::u16string_view fileName) {
  const std::optional<std::string> path = NativePath(fileName);
  if (!path) return false;
  const FolderLock lock(FolderOf(*path));
  if (!lock.held()) return false;

  std::string bytes;
  struct stat info {};
  switch (ReadWhole(*path, bytes, info)) {
    case Read::Failed:
      return false;
    case Read::Ok:
      if ((info.st_mode & 0222) == 0 || ::access(path->c_str(), W_OK) != 0) return false;
      break;
    case Read::Missing:
      break;
  }
  const std::optional<std::string> updated = SetProfileValue(bytes, section, key, text);
  if (!updated) return false;
  if (*updated == bytes) return true;
  return !WriteFileAtomically(*path, *updated);
}

}  // namespace ze::system
