// Dynamic libraries: loading a shared object by path, finding its exports, and
// naming the file a loaded address belongs to.
//
// A thin owner over dlopen/dlsym/dlclose. Opening tells apart the three ways a
// load fails, because an activation error must say which one happened: the file is
// not there, the file is there but is not a loadable library (wrong format, missing
// dependency, unresolved symbol), or the path is empty. The message keeps the
// loader's own text. Libraries load with RTLD_NOW so a missing symbol fails here
// and not later in the middle of a call, and RTLD_LOCAL so two component libraries
// never see each other's symbols.
#pragma once

#include <string>

namespace ze::system {

enum class LoadError {
  None,
  NotFound,     // no file at the path
  NotLibrary,   // the file exists but the loader refused it
  InvalidPath,  // empty path
};

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`. On failure the result is not loaded and error()
  // and message() say why.
  static DynamicLibrary Open(const std::string& path);

  bool is_loaded() const { return handle_ != nullptr; }
  LoadError error() const { return error_; }
  // The loader's explanation of the last failure ("" when none).
  const std::string& message() const { return message_; }
  const std::string& path() const { return path_; }

  // The address of an exported symbol, or nullptr when the library has none
  // (or is not loaded).
  void* Symbol(const char* name) const;

  // Typed form of Symbol for function exports.
  template <class Fn>
  Fn Function(const char* name) const {
    return reinterpret_cast<Fn>(Symbol(name));
  }

  // Unloads now (dlclose). Safe to call twice. The caller must know that no code or
  // data of the library is still in use.
  void Close();

 private:
  void* handle_ = nullptr;
  LoadError error_ = LoadError::None;
  std::string message_;
  std::string path_;
};

// The absolute path of the loaded file (program or shared library) that holds
// `address`, or "" when the address belongs to none. A library uses it with the
// address of one of its own functions to find where it was loaded from.
std::string ModulePathOf(const void* address);

}  // namespace ze::system
