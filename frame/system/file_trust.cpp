// Who may change a file; see file_trust.h.
#include "frame/system/file_trust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace ze::system {
namespace {

bool OwnedByUsOrTheSuperuser(const struct stat& st) {
  return st.st_uid == ::geteuid() || st.st_uid == 0;
}

}  // namespace

std::string WhoElseCanChange(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
  if (real == nullptr) return "";
  const std::string file = real.get();
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return "";
  if (!OwnedByUsOrTheSuperuser(st)) return "belongs to user " + std::to_string(st.st_uid);
  if ((st.st_mode & S_IWOTH) != 0) return "can be written by every user";
  if ((st.st_mode & S_IWGRP) != 0) return "can be written by its group";

  const std::string folder = file.substr(0, std::max<std::size_t>(file.rfind('/'), 1));
  if (::stat(folder.c_str(), &st) != 0) return "";
  if (!OwnedByUsOrTheSuperuser(st))
    return "lies in the folder " + folder + " of user " + std::to_string(st.st_uid);
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0)
    return "lies in the folder " + folder + ", which others can write";
  return "";
}

}  // namespace ze::system
