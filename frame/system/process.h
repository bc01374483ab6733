// Starting programs from an argument vector, never through a shell.
//
// A program is named by its native path and gets its arguments as they are; nothing
// in them is expanded or split again. The child keeps the parent's standard input,
// output and error and no other descriptor: every descriptor above 2 is closed in the
// child before the program runs, whether or not whoever opened it asked for
// close-on-exec, so a started program never holds a store, a log or a socket of its
// parent. The environment is the parent's.
//
// All functions report failure by their result and never throw.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"

namespace ze::system {

// The native path of the program `name` names: a name without a folder (no "\", "/"
// or ":") is looked up in the folders of PATH, as a shell would, but never in the
// current folder unless PATH names it; any other name is a Windows-form path, mapped
// with NativePath. Nothing when no executable regular file is there.
std::optional<std::string> FindProgram(std::u16string_view name);

// Starts `program` with `argv` (argv[0] included). `stdout_fd`, when not -1, becomes
// the child's standard output; `quiet` sends its standard error to /dev/null. The
// child's id, or -1 with the reason in `error` (an errno value).
pid_t Spawn(const std::string& program, const std::vector<std::string>& argv, int* error,
            int stdout_fd = -1, bool quiet = false);

// Waits until the child `pid` has ended, however many signals interrupt the wait, and
// returns its wait status (see waitpid); -1 when `pid` is no child of this process.
int WaitForExit(pid_t pid);

// Starts `program` without waiting for it; a thread of its own collects the child's
// exit, so no ended child stays behind as a zombie. False when it could not start.
bool StartDetached(const std::string& program, const std::vector<std::string>& argv);

// Runs `program` to its end and gives what it wrote on its standard output (at most
// `max_bytes`; the rest is read and dropped) and, in `status`, its wait status.
// Nothing when it could not start.
std::optional<std::string> RunForOutput(const std::string& program,
                                        const std::vector<std::string>& argv, std::size_t max_bytes,
                                        int* status);

// The native path of the running program's file (the link /proc/self/exe), "" when
// the system does not tell.
std::string RunningProgramPath();

}  // namespace ze::system
