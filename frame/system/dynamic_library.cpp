// Loading shared libraries with dlopen; see dynamic_library.h.
#include "frame/system/dynamic_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <filesystem>
#include <utility>

namespace ze::system {

DynamicLibrary::~DynamicLibrary() {
  Close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      error_(other.error_),
      message_(std::move(other.message_)),
      path_(std::move(other.path_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = other.error_;
    message_ = std::move(other.message_);
    path_ = std::move(other.path_);
  }
  return *this;
}

DynamicLibrary DynamicLibrary::Open(const std::string& path) {
  DynamicLibrary lib;
  lib.path_ = path;
  if (path.empty()) {
    lib.error_ = LoadError::InvalidPath;
    lib.message_ = "empty library path";
    return lib;
  }
  // Look at the file first: dlopen's message for a missing file and for a bad one
  // differ only in wording, and a caller must be able to tell them apart.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    lib.error_ = LoadError::NotFound;
    lib.message_ = path + ": no such file";
    return lib;
  }
  if (!S_ISREG(st.st_mode)) {
    lib.error_ = LoadError::NotLibrary;
    lib.message_ = path + ": not a regular file";
    return lib;
  }
  // A path without a slash would make dlopen search the library path instead of
  // loading this very file.
  std::string load_path = path;
  if (load_path.find('/') == std::string::npos) load_path = "./" + load_path;
  ::dlerror();  // clear any stale message
  lib.handle_ = ::dlopen(load_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (lib.handle_ == nullptr) {
    const char* why = ::dlerror();
    lib.error_ = LoadError::NotLibrary;
    lib.message_ = why != nullptr ? why : path + ": cannot be loaded";
  }
  return lib;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr || name == nullptr) return nullptr;
  ::dlerror();
  return ::dlsym(handle_, name);
}

void DynamicLibrary::Close() {
  if (handle_ != nullptr) {
    ::dlclose(handle_);
    handle_ = nullptr;
  }
}

std::string ModulePathOf(const void* address) {
  Dl_info info{};
  if (address == nullptr || ::dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(info.dli_fname, ec);
  if (ec) return info.dli_fname;
  return p.lexically_normal().string();
}

}  // namespace ze::system
