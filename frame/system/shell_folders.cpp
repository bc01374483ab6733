// Filling the store's Shell Folders key from the desktop's folders; see shell_folders.h.
#include "frame/system/shell_folders.h"

#include "frame/registry/store.h"
#include "frame/system/desktop_folders.h"
#include "frame/system/files.h"

namespace ze::system {
namespace {

// Whether the store's ANSI readers give `text` back exactly.
bool SurvivesCodePage(const String& text) {
  for (char16_t c : text)
    if (!ToAnsi(c)) return false;
  return true;
}

}  // namespace

std::vector<std::pair<String, String>> DesktopShellFolders(registry::Root root) {
  std::vector<std::pair<String, std::string>> native;
  if (root == registry::Root::CurrentUser) {
    const std::string data = DataHome();
    native = {
        {u"Personal", UserDir("DOCUMENTS")},
        {u"AppData", data},
        {u"Desktop", UserDir("DESKTOP")},
        {u"Startup", ConfigHome().empty() ? "" : ConfigHome() + "/autostart"},
        {u"Start Menu", data.empty() ? "" : data + "/applications"},
        {u"Programs", data.empty() ? "" : data + "/applications"},
        {u"My Pictures", UserDir("PICTURES")},
        {u"Fonts", data.empty() ? "" : data + "/fonts"},
        {u"Cache", CacheHome()},
    };
  } else if (root == registry::Root::LocalMachine) {
    native = {
        {u"Common AppData", "/usr/share"},
        {u"Common Startup", "/etc/xdg/autostart"},
        {u"Common Start Menu", "/usr/share/applications"},
        {u"Common Programs", "/usr/share/applications"},
    };
  }
  std::vector<std::pair<String, String>> folders;
  for (auto& [name, path] : native) {
    if (path.empty()) continue;
    String windows = WindowsPath(path);
    if (SurvivesCodePage(windows)) folders.emplace_back(std::move(name), std::move(windows));
  }
  return folders;
}

bool SeedShellFolders(registry::Root root) {
  using namespace ze::registry;
  const std::shared_ptr<Store> store = DefaultStore();
  const KeyId base = Store::RootKey(root);
  // The usual case, a key already there, costs one lookup and computes nothing.
  if (store->OpenKey(base, kShellFoldersKey, nullptr) != ERROR_FILE_NOT_FOUND) return false;
  const std::vector<std::pair<String, String>> folders = DesktopShellFolders(root);
  const LSTATUS st = store->Batch([&]() -> LSTATUS {
    // Another process may have filled it since the lookup above: then it is there too.
    if (store->OpenKey(base, kShellFoldersKey, nullptr) != ERROR_FILE_NOT_FOUND)
      return ERROR_SUCCESS;
    KeyId key;
    if (const LSTATUS rc = store->CreateKey(base, kShellFoldersKey, &key); rc != ERROR_SUCCESS)
      return rc;
    for (const auto& [name, folder] : folders)
      if (const LSTATUS rc = store->SetString(key, name, folder); rc != ERROR_SUCCESS) return rc;
    return ERROR_SUCCESS;
  });
  return st == ERROR_SUCCESS;
}

}  // namespace ze::system
