// Starting programs; see process.h.
#include "frame/system/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include "frame/system/descriptor.h"
#include "frame/system/native_path.h"

extern char** environ;

namespace ze::system {

namespace {

constexpr char kDefaultPath[] = "/usr/local/bin:/usr/bin:/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> SearchPath(const std::string& name) {
  const char* env = std::getenv("PATH");
  const std::string_view folders = env != nullptr ? env : kDefaultPath;
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string_view::npos) end = folders.size();
    const std::string_view folder = folders.substr(start, end - start);
    // An empty entry would mean the current folder; only a folder PATH spells out counts.
    if (!folder.empty()) {
      std::string candidate(folder);
      if (candidate.back() != '/') candidate.push_back('/');
      candidate += name;
      if (IsExecutableFile(candidate)) return candidate;
    }
    start = end + 1;
  }
  return std::nullopt;
}

class FileActions {
 public:
  FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& a : argv) pointers.push_back(const_cast<char*>(a.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::optional<std::string> FindProgram(std::u16string_view name) {
  if (name.empty() || name.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  if (name.find_first_of(u"\\/:") == std::u16string_view::npos) {
    return SearchPath(ToUtf8(name));
  }
  std::optional<std::string> native = NativePath(name);
  if (!native || !IsExecutableFile(*native)) return std::nullopt;
  return native;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& argv, int* error,
            int stdout_fd, bool quiet) {
  int ignored = 0;
  if (error == nullptr) error = &ignored;
  *error = 0;
  if (argv.empty()) {
    *error = EINVAL;
    return -1;
  }
  FileActions actions;
  if (!actions.ok()) {
    *error = ENOMEM;
    return -1;
  }
  int rc = 0;
  if (stdout_fd >= 0) rc = posix_spawn_file_actions_adddup2(actions.get(), stdout_fd, 1);
  if (rc == 0 && quiet) {
    rc = posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
  }
  // Whatever the parent holds open beyond the standard three stays with the parent.
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
  if (rc != 0) {
    *error = rc;
    return -1;
  }
  std::vector<char*> pointers = ArgvPointers(argv);
  pid_t pid = -1;
  rc = posix_spawn(&pid, program.c_str(), actions.get(), nullptr, pointers.data(), environ);
  if (rc != 0) {
    *error = rc;
    return -1;
  }
  return pid;
}

int WaitForExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& argv) {
  int error = 0;
  const pid_t pid = Spawn(program, argv, &error);
  if (pid < 0) return false;
  try {
    std::thread([pid] { WaitForExit(pid); }).detach();
  } catch (...) {
    // No thread to spare: the child runs on and is collected when this process ends.
  }
  return true;
}

std::optional<std::string> RunForOutput(const std::string& program,
                                        const std::vector<std::string>& argv, std::size_t max_bytes,
                                        int* status) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  Descriptor reader(fds[0]);
  Descriptor writer(fds[1]);
  int error = 0;
  const pid_t pid = Spawn(program, argv, &error, writer.get(), /*quiet=*/true);
  writer.Reset(-1);
  if (pid < 0) return std::nullopt;
  std::string output;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(reader.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const std::size_t room = max_bytes - std::min(max_bytes, output.size());
    output.append(buffer, std::min<std::size_t>(room, static_cast<std::size_t>(n)));
  }
  const int exit_status = WaitForExit(pid);
  if (status != nullptr) *status = exit_status;
  return output;
}

std::string RunningProgramPath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(n));
  return path;
}

}  // namespace ze::system
