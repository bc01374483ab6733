// The registry store's "Shell Folders" key, filled once from the desktop's own folders.
//
// Programs of the original platform find the user's and the all-users' special folders
// as text values of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", which that
// platform fills. Here SeedShellFolders fills it, the first time a root's key is
// looked for and found missing, from the desktop's folders (desktop_folders.h) in
// Windows form (files.h, WindowsPath), in one transaction. From then on the key is
// the store's like any other: a value a user changes with zereg stays changed, a value
// deleted stays deleted (its folder then reads as not found), and only deleting the
// whole key makes the next look fill it again.
//
// HKEY_CURRENT_USER (the XDG names as in desktop_folders.h):
//   Personal     XDG_DOCUMENTS_DIR          Desktop      XDG_DESKTOP_DIR
//   My Pictures  XDG_PICTURES_DIR           AppData      $XDG_DATA_HOME
//   Startup      $XDG_CONFIG_HOME/autostart Start Menu   $XDG_DATA_HOME/applications
//   Programs     $XDG_DATA_HOME/applications
//   Fonts        $XDG_DATA_HOME/fonts       Cache        $XDG_CACHE_HOME
// HKEY_LOCAL_MACHINE:
//   Common AppData    /usr/share            Common Startup  /etc/xdg/autostart
//   Common Start Menu /usr/share/applications
//   Common Programs   /usr/share/applications
// Not filled, because the desktop has no folder of that kind: SendTo, Recent, NetHood,
// History, Favorites, Cookies, Common Desktop, Common Favorites, Common Documents,
// Common Pictures. Neither is a value whose folder the store's ANSI readers could not
// give back exactly (a character outside Windows-1252), nor any user folder when the
// user has no home folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/key_path.h"

namespace ze::system {

inline constexpr char16_t kShellFoldersKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The values SeedShellFolders would write under `root` now: name and Windows-form folder.
std::vector<std::pair<String, String>> DesktopShellFolders(registry::Root root);

// Creates the root's Shell Folders key with DesktopShellFolders(root) when the store has
// no such key, and tells whether the key is there now because of it (or of another
// process filling it at the same time); does nothing, and gives false, when it had
// one. A store that cannot be written is left as it is, and gives false.
bool SeedShellFolders(registry::Root root);

}  // namespace ze::system
