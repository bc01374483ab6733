// ShellExecute on the desktop's opener; see shell_execute.h.
#include "frame/system/shell_execute.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "frame/system/native_path.h"
#include "frame/system/process.h"

namespace ze::system {

namespace {

constexpr std::intptr_t kSuccess = 42;        // any value above 32
constexpr std::intptr_t kFileNotFound = 2;    // ERROR_FILE_NOT_FOUND
constexpr std::intptr_t kAccessDenied = 5;    // ERROR_ACCESS_DENIED
constexpr std::intptr_t kNoAssociation = 31;  // SE_ERR_NOASSOC

// What an xdg-utils program's exit status says: 2 a missing file, 3 a missing tool,
// 4 a failed action.
constexpr int kXdgFileNotFound = 2;

constexpr std::size_t kQueryOutputLimit = 4096;

ShellHandler& Handler() {
  static ShellHandler handler;
  return handler;
}

// Strips the trailing NULs that callers of the original function append.
String WithoutTerminators(const String& text) {
  String t = text;
  while (!t.empty() && t.back() == u'\0') t.pop_back();
  return t;
}

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// "https://...", "mailto:...": a scheme of two characters or more, then a colon.
bool IsAddress(std::u16string_view text) {
  const std::size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    const char16_t c = text[i];
    if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
      return false;
  }
  return true;
}

// The first line of a query's answer, without the parameters after a ";".
std::string FirstWord(const std::string& text) {
  std::string word = text.substr(0, text.find_first_of("\n;"));
  while (!word.empty() && (word.back() == ' ' || word.back() == '\r' || word.back() == '\t'))
    word.pop_back();
  return word;
}

// Asks xdg-mime one question; the exit status's meaning comes back as a ShellExecute
// code when the answer is missing.
std::intptr_t Query(const std::string& xdg_mime, std::vector<std::string> argv,
                    std::string* answer) {
  int status = 0;
  const std::optional<std::string> out = RunForOutput(xdg_mime, argv, kQueryOutputLimit, &status);
  if (!out) return kNoAssociation;
  if (WIFEXITED(status) && WEXITSTATUS(status) == kXdgFileNotFound) return kFileNotFound;
  *answer = FirstWord(*out);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer->empty()) return kNoAssociation;
  return kSuccess;
}

// Whether the document at `native` is there, readable, and of a type some program opens.
std::intptr_t CheckDocument(const std::string& native) {
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? kFileNotFound : kAccessDenied;
  }
  if (::access(native.c_str(), R_OK) != 0) return kAccessDenied;
  const std::optional<std::string> xdg_mime = FindProgram(u"xdg-mime");
  if (!xdg_mime) return kNoAssociation;
  std::string type;
  std::intptr_t code = Query(*xdg_mime, {"xdg-mime", "query", "filetype", native}, &type);
  if (code != kSuccess) return code;
  std::string program;
  return Query(*xdg_mime, {"xdg-mime", "query", "default", type}, &program);
}

std::intptr_t OpenWithDesktop(const ShellRequest& request) {
  const String file = WithoutTerminators(request.file);
  if (file.empty()) return kFileNotFound;
  std::string target;
  if (IsAddress(file)) {
    target = ToUtf8(file);
  } else {
    const std::optional<std::string> native = NativePath(file);
    if (!native) return kFileNotFound;
    // A name that opens with "-" would be read as an option.
    target = native->front() == '-' ? "./" + *native : *native;
    const std::intptr_t code = CheckDocument(target);
    if (code != kSuccess) return code;
  }
  const std::optional<std::string> opener = FindProgram(u"xdg-open");
  if (!opener) return kNoAssociation;
  return StartDetached(*opener, {"xdg-open", target}) ? kSuccess : kNoAssociation;
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
