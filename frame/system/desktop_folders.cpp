// The XDG base and user directories; see desktop_folders.h.
#include "frame/system/desktop_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ze::system {
namespace {

constexpr std::string_view kHomeVariable = "$HOME";

std::string AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value != nullptr && value[0] == '/') return value;
  return {};
}

std::string WithoutFinalSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Under the home folder, or "" without one.
std::string InHome(std::string_view relative) {
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return WithoutFinalSlash(home) + "/" + std::string(relative);
}

std::string BaseDir(const char* variable, std::string_view fallback) {
  std::string value = AbsoluteVariable(variable);
  if (!value.empty()) return WithoutFinalSlash(std::move(value));
  return InHome(fallback);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The value after "=": a quoted text with backslash escapes, or a bare word; nothing
// when the quotes are not closed.
bool ReadValue(std::string_view rest, std::string& value) {
  value.clear();
  if (rest.empty() || rest.front() != '"') {
    const std::size_t end = rest.find_first_of(" \t\r");
    value = std::string(rest.substr(0, end));
    return true;
  }
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') return true;
    if (c == '\\' && i + 1 < rest.size()) {
      value.push_back(rest[++i]);
    } else {
      value.push_back(c);
    }
  }
  return false;
}

}  // namespace

std::string HomeFolder() {
  std::string home = AbsoluteVariable("HOME");
  if (!home.empty()) return WithoutFinalSlash(std::move(home));
  if (const passwd* entry = ::getpwuid(::getuid());
      entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/')
    return WithoutFinalSlash(entry->pw_dir);
  return {};
}

std::string ConfigHome() { return BaseDir("XDG_CONFIG_HOME", ".config"); }
std::string DataHome() { return BaseDir("XDG_DATA_HOME", ".local/share"); }
std::string CacheHome() { return BaseDir("XDG_CACHE_HOME", ".cache"); }

std::map<std::string, std::string> ParseUserDirs(std::string_view text, std::string_view home) {
  std::map<std::string, std::string> dirs;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, equals);
    if (!name.starts_with("XDG_") || !name.ends_with("_DIR") || name.size() <= 8) continue;
    std::string value;
    if (!ReadValue(line.substr(equals + 1), value)) continue;
    std::string path;
    if (value.starts_with(kHomeVariable) &&
        (value.size() == kHomeVariable.size() || value[kHomeVariable.size()] == '/')) {
      if (home.empty()) continue;
      path = std::string(home) + value.substr(kHomeVariable.size());
    } else if (value.starts_with('/')) {
      path = value;
    } else {
      continue;  // relative paths mean nothing here, as for the desktop's own tool
    }
    dirs[std::string(name.substr(4, name.size() - 8))] = WithoutFinalSlash(std::move(path));
  }
  return dirs;
}

std::string UserDir(std::string_view name) {
  static const std::map<std::string, std::string, std::less<>> kDefaults = {
      {"DESKTOP", "Desktop"},     {"DOCUMENTS", "Documents"}, {"DOWNLOAD", "Downloads"},
      {"MUSIC", "Music"},         {"PICTURES", "Pictures"},   {"PUBLICSHARE", "Public"},
      {"TEMPLATES", "Templates"}, {"VIDEOS", "Videos"}};
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  const std::string config = ConfigHome();
  if (!config.empty()) {
    std::ifstream file(config + "/user-dirs.dirs", std::ios::binary);
    if (file) {
      std::ostringstream text;
      text << file.rdbuf();
      const auto dirs = ParseUserDirs(text.str(), home);
      if (auto it = dirs.find(std::string(name)); it != dirs.end()) return it->second;
    }
  }
  if (auto it = kDefaults.find(name); it != kDefaults.end()) return home + "/" + it->second;
  return {};
}

}  // namespace ze::system
