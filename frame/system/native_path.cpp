// Windows-form paths to native ones; see native_path.h.
#include "frame/system/native_path.h"

#include <array>

#include "frame/automation/string.h"
#include "frame/registry/advapi.h"

namespace ze::system {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The native folder of drive `letter` as the registry store names it, or nothing.
std::optional<std::string> StoredDriveFolder(char16_t letter) {
  using namespace ze::registry;
  HKEY key = 0;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kDriveKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  const char16_t name[] = {static_cast<char16_t>(letter & ~0x20), u':', 0};
  std::array<std::uint8_t, 4096> data{};
  DWORD size = data.size();
  DWORD type = 0;
  const LSTATUS status = RegQueryValueEx(key, name, nullptr, &type, data.data(), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  std::u16string folder;
  for (DWORD i = 0; i + 1 < size; i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    folder.push_back(c);
  }
  if (folder.empty()) return std::nullopt;
  return ToUtf8(folder);
}

std::optional<std::string> DriveFolder(char16_t letter) {
  if (auto stored = StoredDriveFolder(letter)) return stored;
  if (letter == u'C' || letter == u'c') return std::string("/");
  return std::nullopt;
}

}  // namespace

std::optional<std::string> NativePath(std::u16string_view windowsPath) {
  if (windowsPath.empty() || windowsPath.find(u'\0') != std::u16string_view::npos)
    return std::nullopt;
  if (windowsPath.size() >= 2 && IsSeparator(windowsPath[0]) && IsSeparator(windowsPath[1]))
    return std::nullopt;

  std::string native;
  std::u16string_view rest = windowsPath;
  if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == u':') {
    std::optional<std::string> folder = DriveFolder(rest[0]);
    if (!folder) return std::nullopt;
    native = *folder;
    rest.remove_prefix(2);
    // "C:a.ini" is taken from the drive's root: there is no per-drive working folder.
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
    if (native.empty() || native.back() != '/') native.push_back('/');
  } else if (IsSeparator(rest.front())) {
    std::optional<std::string> folder = DriveFolder(u'C');
    if (!folder) return std::nullopt;
    native = *folder;
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
    if (native.empty() || native.back() != '/') native.push_back('/');
  }

  std::u16string tail(rest);
  for (char16_t& c : tail)
    if (c == u'\\') c = u'/';
  native += ToUtf8(tail);
  return native;
}

}  // namespace ze::system
