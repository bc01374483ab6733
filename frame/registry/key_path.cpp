// Roots, path splitting and name folding; see key_path.h.
#include "frame/registry/key_path.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace ze::registry {
namespace {

struct RootNames {
  Root root;
  const char* full;
  const char* abbreviation;
};

constexpr RootNames kRoots[] = {
    {Root::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {Root::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {Root::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {Root::Users, "HKEY_USERS", "HKU"},
    {Root::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

bool EqualsAsciiNoCase(std::u16string_view text, std::string_view ascii) {
  if (text.size() != ascii.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != static_cast<unsigned char>(ascii[i])) return false;
  }
  return true;
}

}  // namespace

std::string RootName(Root root) {
  for (const RootNames& r : kRoots)
    if (r.root == root) return r.full;
  return "";
}

std::string RootAbbreviation(Root root) {
  for (const RootNames& r : kRoots)
    if (r.root == root) return r.abbreviation;
  return "";
}

std::optional<Root> ParseRoot(std::u16string_view name) {
  for (const RootNames& r : kRoots)
    if (EqualsAsciiNoCase(name, r.full) || EqualsAsciiNoCase(name, r.abbreviation)) return r.root;
  return std::nullopt;
}

std::optional<Root> RootFromHandle(std::uint32_t handle) {
  for (const RootNames& r : kRoots)
    if (static_cast<std::uint32_t>(r.root) == handle) return r.root;
  return std::nullopt;
}

std::optional<RootedPath> ParseRootedPath(std::u16string_view text) {
  const std::size_t slash = text.find(u'\\');
  const std::u16string_view head = text.substr(0, slash);
  const std::optional<Root> root = ParseRoot(head);
  if (!root) return std::nullopt;
  RootedPath result{*root, {}};
  if (slash != std::u16string_view::npos) result.path = String(text.substr(slash + 1));
  return result;
}

String FullKeyName(Root root, std::u16string_view path) {
  String name = FromUtf8(RootName(root));
  if (!path.empty()) {
    name += u'\\';
    name += path;
  }
  return name;
}

LSTATUS SplitKeyPath(std::u16string_view path, std::vector<String>* components) {
  components->clear();
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  if (path.empty()) return ERROR_SUCCESS;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(u'\\', start);
    const std::u16string_view part = path.substr(
        start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    if (part.empty() || part.size() > kMaxKeyNameLength || !IsWellFormed(part)) {
      components->clear();
      return ERROR_INVALID_PARAMETER;
    }
    components->emplace_back(part);
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
  return ERROR_SUCCESS;
}

bool IsWellFormed(std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (U16_IS_LEAD(c)) {
      if (i + 1 == name.size() || !U16_IS_TRAIL(name[i + 1])) return false;
      ++i;
    } else if (U16_IS_TRAIL(c)) {
      return false;
    }
  }
  return true;
}

String FoldName(std::u16string_view name) {
  String folded;
  folded.reserve(name.size());
  std::size_t i = 0;
  while (i < name.size()) {
    UChar32 c;
    U16_NEXT(name.data(), i, name.size(), c);
    const UChar32 upper = u_toupper(c);
    if (U_IS_BMP(upper)) {
      folded += static_cast<char16_t>(upper);
    } else {
      folded += static_cast<char16_t>(U16_LEAD(upper));
      folded += static_cast<char16_t>(U16_TRAIL(upper));
    }
  }
  return folded;
}

}  // namespace ze::registry
