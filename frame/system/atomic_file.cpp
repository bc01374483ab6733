// Atomic whole-file replacement; see atomic_file.h.
#include "frame/system/atomic_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "frame/system/descriptor.h"

namespace ze::system {
namespace {

std::atomic<int> injected_error{0};
std::atomic<int> injected_count{0};

WriteFailure Failure(const std::string& path, const char* what, int error) {
  return WriteFailure{error, path + ": " + what + ": " + std::strerror(error)};
}

// Twelve letters and digits from the kernel's random source: 62^12 names, so a name
// cannot be guessed in advance and a clash is only ever a planted file.
bool RandomSuffix(std::string* out) {
  static constexpr char kAlphabet[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char random[12];
  std::size_t got = 0;
  while (got < sizeof random) {
    const ssize_t n = ::getrandom(random + got, sizeof random - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  out->clear();
  for (unsigned char byte : random) *out += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return true;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    if (injected_count.load() > 0 && injected_count.fetch_sub(1) > 0) return injected_error.load();
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

}  // namespace

WriteFailure WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return Failure(path, "not a file name", EISDIR);

  // The folder is held open and every step names files relative to it, so the
  // temporary file, the rename and the flush all act on the same folder even if a
  // path component is swapped meanwhile.
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return Failure(path, "cannot open the folder", errno);

  struct stat old {};
  bool had_old = false;
  if (::fstatat(dir.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(old.st_mode)) return Failure(path, "is a folder", EISDIR);
    if (!S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode))
      return Failure(path, "not a regular file", EINVAL);
    had_old = S_ISREG(old.st_mode);
  } else if (errno != ENOENT) {
    return Failure(path, "cannot look at the file", errno);
  }

  // O_EXCL with O_CREAT fails on any existing name, a link included, so the file we
  // write is one we just made. A replaced file's temporary copy starts private and
  // takes the old mode below; a new file takes the umask's mode from the start.
  std::string temporary;
  Descriptor file;
  for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
    std::string suffix;
    if (!RandomSuffix(&suffix)) return Failure(path, "no random name", errno);
    temporary = "." + name + "." + suffix + ".tmp";
    const int fd =
        ::openat(dir.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 had_old ? S_IRUSR | S_IWUSR : 0666);
    if (fd >= 0) {
      file.Reset(fd);
      break;
    }
    if (errno != EEXIST) return Failure(path, "cannot create a temporary file", errno);
  }
  if (file.get() < 0) return Failure(path, "cannot create a temporary file", EEXIST);

  auto abandon = [&](const char* what, int error) {
    ::unlinkat(dir.get(), temporary.c_str(), 0);
    return Failure(path, what, error);
  };
  if (had_old) {
    // The owner first: changing it clears set-id bits, which the mode then restores.
    // Only a privileged process may give a file away; for others the file is theirs.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(file.get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
      return abandon("cannot keep the owner", errno);
    if (::fchmod(file.get(), old.st_mode & 07777) != 0)
      return abandon("cannot keep the mode", errno);
  }
  if (const int error = WriteAll(file.get(), bytes); error != 0)
    return abandon("cannot write", error);
  if (::fsync(file.get()) != 0) return abandon("cannot flush", errno);
  if (!file.Close()) return abandon("cannot write", errno);
  if (::renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0)
    return abandon("cannot replace the file", errno);
  // The rename lives in the folder: until the folder is flushed a power cut may
  // bring back the old name.
  if (::fsync(dir.get()) != 0 && errno != EINVAL)
    return Failure(path, "cannot flush the folder", errno);
  return {};
}

void InjectWriteFailures(int error, int count) {
  injected_error = error;
  injected_count = count;
}

}  // namespace ze::system
