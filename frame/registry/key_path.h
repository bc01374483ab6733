// Registry roots and key paths.
//
// A key is named by a root and a path of components separated by "\"
// ("Software\zeKalendo\Settings"). Components are 1 to 255 UTF-16 units and never
// contain "\"; an empty component (a leading "\", or "\\" inside) is invalid,
// while one trailing "\" is tolerated. Names compare case-insensitively and keep
// the case they were created with: the comparison form of a name is its
// code-point-wise upper case (one character to one character, as the original
// platform's table does, so "ß" does not match "SS").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/errors.h"

namespace ze::registry {

// The predefined roots, numbered by their fixed handle values (HKEY_CLASSES_ROOT is
// 0x80000000), which code written against the registry calls compares with.
enum class Root : std::uint32_t {
  ClassesRoot = 0x80000000,
  CurrentUser = 0x80000001,
  LocalMachine = 0x80000002,
  Users = 0x80000003,
  CurrentConfig = 0x80000005,
};

inline constexpr Root kAllRoots[] = {Root::ClassesRoot, Root::CurrentUser, Root::LocalMachine,
                                     Root::Users, Root::CurrentConfig};

inline constexpr std::size_t kMaxKeyNameLength = 255;
// How many levels below its root a key may lie. Creating or importing a deeper key is
// refused (ERROR_INVALID_PARAMETER, with the reason in LastErrorDetail()): every tool
// that walks a tree must be able to hold one path of it, and 512 levels is far beyond
// any real registration.
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxValueNameLength = 16383;

// "HKEY_CLASSES_ROOT" ...
std::string RootName(Root root);
// "HKCR", "HKCU", "HKLM", "HKU", "HKCC".
std::string RootAbbreviation(Root root);
// A root from its full name or abbreviation, any case.
std::optional<Root> ParseRoot(std::u16string_view name);
// A root from its handle number (0x80000000 ...).
std::optional<Root> RootFromHandle(std::uint32_t handle);

// "HKCU\Software\X" or "HKEY_CURRENT_USER\Software\X" -> root and "Software\X".
struct RootedPath {
  Root root;
  String path;
};
std::optional<RootedPath> ParseRootedPath(std::u16string_view text);
// "HKEY_CURRENT_USER\Software\X" ("HKEY_CURRENT_USER" for an empty path).
String FullKeyName(Root root, std::u16string_view path);

// Splits a path into its components. An empty path (or one lone "\") gives no
// components. Fails with ERROR_INVALID_PARAMETER for an empty component, one
// longer than 255 units, or one holding an unpaired surrogate (such a name could
// not be stored and read back exactly).
LSTATUS SplitKeyPath(std::u16string_view path, std::vector<String>* components);

// Whether a name holds no unpaired surrogate.
bool IsWellFormed(std::u16string_view name);

// The comparison form of a key or value name.
String FoldName(std::u16string_view name);

}  // namespace ze::registry
