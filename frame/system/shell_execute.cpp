// ShellExecute on the desktop's opener.
#include "frame/system/shell_execute.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace ze::system {

namespace {

constexpr std::intptr_t kSuccess = 42;        // any value above 32
constexpr std::intptr_t kFileNotFound = 2;    // ERROR_FILE_NOT_FOUND
constexpr std::intptr_t kNoAssociation = 31;  // SE_ERR_NOASSOC

ShellHandler& Handler() {
  static ShellHandler handler;
  return handler;
}

// Strips the trailing NULs that callers of the original function append.
std::string Argument(const String& text) {
  String t = text;
  while (!t.empty() && t.back() == u'\0') t.pop_back();
  return ToUtf8(t);
}

std::intptr_t OpenWithDesktop(const ShellRequest& request) {
  const std::string target = Argument(request.file);
  if (target.empty()) return kFileNotFound;
  std::vector<std::string> args = {"xdg-open", target};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The opener is detached: a grandchild runs it, so no zombie is left behind.
  const pid_t child = fork();
  if (child < 0) return kNoAssociation;
  if (child == 0) {
    pid_t grandchild = 0;
    const int rc = posix_spawnp(&grandchild, argv[0], nullptr, nullptr, argv.data(), environ);
    _exit(rc == 0 ? 0 : 1);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kNoAssociation;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? kSuccess : kNoAssociation;
}

}  // namespace

void SetShellHandler(ShellHandler handler) {
  Handler() = std::move(handler);
}

std::intptr_t ShellExecute(const ShellRequest& request) {
  if (Handler()) return Handler()(request);
  return OpenWithDesktop(request);
}

}  // namespace ze::system
