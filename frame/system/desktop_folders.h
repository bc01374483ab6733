// Where the desktop keeps the user's folders: the XDG base directories and the XDG
// user directories (Desktop, Documents, Pictures ...), as native paths.
//
// The user directories come from $XDG_CONFIG_HOME/user-dirs.dirs (else
// ~/.config/user-dirs.dirs), the file the desktop's own tool keeps, read by our own
// reader rather than by running a shell over it. Its lines are
//     XDG_DOCUMENTS_DIR="$HOME/Documenti"
// a name, "=", and a quoted value that is "$HOME" followed by a path, or an absolute
// path; a backslash inside the quotes takes the next character as it is. Blank lines
// and lines starting with "#" are comments; a value of any other form is ignored; a
// name given twice takes its last value. A name the file does not set (or a missing
// file) gives the desktop's default: $HOME/Desktop, $HOME/Documents, $HOME/Downloads,
// $HOME/Music, $HOME/Pictures, $HOME/Public, $HOME/Templates, $HOME/Videos.
//
// The home folder is $HOME when that is an absolute path, else the user's entry in the
// password database; every folder is "" when neither tells. Folders come back without a
// final "/" (except "/" itself) and are not checked for existence.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ze::system {

// $HOME, else the password database's home of the user; "" when neither tells.
std::string HomeFolder();
// The XDG base directories: the variable when it holds an absolute path, else the
// default under the home folder (~/.config, ~/.local/share, ~/.cache).
std::string ConfigHome();
std::string DataHome();
std::string CacheHome();

// The user directories a user-dirs.dirs text sets, by their short name ("DOCUMENTS"
// for XDG_DOCUMENTS_DIR), "$HOME" replaced by `home`.
std::map<std::string, std::string> ParseUserDirs(std::string_view text, std::string_view home);

// The user directory of a short name ("DESKTOP", "DOCUMENTS", "PICTURES" ...): the
// file's value, else the default above; "" for a name without a default that the file
// does not set, or without a home folder.
std::string UserDir(std::string_view name);

}  // namespace ze::system
