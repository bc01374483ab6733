// Bounded reads of regular files.
#include "frame/system/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ze::system {

namespace {

ReadResult Failed(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return {ReadFailure::kMissing, error};
    case EACCES:
    case EPERM:
      return {ReadFailure::kDenied, error};
    case EISDIR:
      return {ReadFailure::kNotRegular, error};
    default:
      return {ReadFailure::kIo, error};
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

ReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  // Non-blocking, so that opening a FIFO with no writer returns at once; the check
  // below refuses it anyway.
  const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return Failed(errno);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return Failed(errno);
  if (!S_ISREG(st.st_mode)) return {ReadFailure::kNotRegular, 0};
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) return {ReadFailure::kTooLarge, 0};
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(errno);
    }
    if (n == 0) break;
    // The file may grow while it is read.
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return {ReadFailure::kTooLarge, 0};
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return {};
}

std::string Describe(ReadResult result, std::size_t maxBytes) {
  switch (result.failure) {
    case ReadFailure::kNone:
      return "was read";
    case ReadFailure::kMissing:
      return "does not exist";
    case ReadFailure::kDenied:
      return "cannot be read (permission denied)";
    case ReadFailure::kNotRegular:
      return "is not a regular file";
    case ReadFailure::kTooLarge:
      return "is larger than " + std::to_string(maxBytes) + " bytes";
    case ReadFailure::kIo:
      break;
  }
  return std::string("cannot be read: ") + std::strerror(result.error);
}

}  // namespace ze::system
