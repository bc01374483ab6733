// The default file service: POSIX calls, each result checked.
#include "frame/system/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "frame/registry/advapi.h"

namespace ze::system {

namespace {
bool HasDrive(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

FileService*& Installed() {
  static FileService* service = nullptr;
  return service;
}

bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The drives the store maps (kDriveKey), each with its native folder less any final "/".
std::vector<std::pair<char16_t, std::string>> MappedDrives() {
  using namespace ze::registry;
  std::vector<std::pair<char16_t, std::string>> drives;
  HKEY key = 0;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kDriveKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return drives;
  for (DWORD i = 0;; ++i) {
    char16_t name[16] = {};
    DWORD name_length = 16;
    std::uint8_t data[4096] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LSTATUS st = RegEnumValue(key, i, name, &name_length, nullptr, &type, data, &size);
    if (st == ERROR_NO_MORE_ITEMS) break;
    if (st != ERROR_SUCCESS) continue;
    if (type != REG_SZ || name_length != 2 || name[1] != u':' || !IsLetter(name[0])) continue;
    String folder;
    for (DWORD b = 0; b + 1 < size; b += 2) {
      const char16_t c = static_cast<char16_t>(data[b] | (data[b + 1] << 8));
      if (c == 0) break;
      folder.push_back(c);
    }
    if (folder.empty()) continue;
    std::string native = ToUtf8(folder);
    while (!native.empty() && native.back() == '/') native.pop_back();
    drives.emplace_back(static_cast<char16_t>(name[0] & ~0x20), std::move(native));
  }
  RegCloseKey(key);
  return drives;
}

// The drive whose folder holds the absolute path `native` most closely, and the length
// of that folder. C: is "/" unless the store maps it elsewhere; a path that no drive
// holds is put on C: as it stands (it then has no true Windows form).
std::pair<char16_t, std::size_t> DriveHolding(std::string_view native) {
  std::vector<std::pair<char16_t, std::string>> drives = MappedDrives();
  if (std::none_of(drives.begin(), drives.end(), [](const auto& d) { return d.first == u'C'; }))
    drives.emplace_back(u'C', std::string());
  std::optional<std::pair<char16_t, std::size_t>> best;
  for (const auto& [letter, folder] : drives) {
    const bool holds = native.substr(0, folder.size()) == folder &&
                       (native.size() == folder.size() || native[folder.size()] == '/');
    // The longest folder wins; among equals, C:, then the first one listed.
    if (holds && (!best || folder.size() > best->second ||
                  (folder.size() == best->second && letter == u'C')))
      best = std::make_pair(letter, folder.size());
  }
  return best.value_or(std::make_pair(u'C', std::size_t{0}));
}
}  // namespace

String WindowsPath(std::string_view native_path) {
  std::string_view rest = native_path;
  String path;
  // An absolute path takes the drive whose folder holds it, so that NativePath maps
  // the result back to the same file; with no drive mapped that is C: for every path.
  if (!rest.empty() && rest.front() == '/') {
    const auto [letter, length] = DriveHolding(rest);
    path = String(1, letter) + u":";
    rest.remove_prefix(length);
    if (rest.empty()) path += u"\\";
  }
  path += FromUtf8(rest);
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

String DefaultFileService::ModuleFile(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  char* resolved = realpath(info.dli_fname, nullptr);
  if (resolved == nullptr) return {};
  String path = WindowsPath(resolved);
  std::free(resolved);
  return path;
}

String DefaultFileService::UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    return WindowsPath(data);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return WindowsPath(std::string(home) + "/.local/share");
  }
  return {};
}

bool DefaultFileService::IsFolderWritable(const String& folder) {
  const std::string native = NativePath(folder).value_or(std::string());
  return !native.empty() && access(native.c_str(), W_OK | X_OK) == 0;
}

bool DefaultFileService::ChangeDrive(const String& path) {
  // Every drive maps to the one root, so a drive letter is all there is to check.
  return HasDrive(path);
}

bool DefaultFileService::ChangeDirectory(const String& folder) {
  const std::string native = NativePath(folder).value_or(std::string());
  return !native.empty() && chdir(native.c_str()) == 0;
}

bool DefaultFileService::DeleteFile(const String& path) {
  const std::string native = NativePath(path).value_or(std::string());
  return !native.empty() && unlink(native.c_str()) == 0;
}

bool DefaultFileService::Append(const String& path, std::string_view bytes) {
  const std::string native = NativePath(path).value_or(std::string());
  if (native.empty()) return false;
  const int fd = open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  ssize_t written;
  do {
    written = write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  const bool whole = written == static_cast<ssize_t>(bytes.size());
  return (close(fd) == 0) && whole;
}

FileService& Files() {
  static DefaultFileService standard;
  FileService* installed = Installed();
  return installed != nullptr ? *installed : standard;
}

void InstallFileService(FileService* service) {
  Installed() = service;
}

}  // namespace ze::system
