// A temporary folder for one test, removed with everything in it afterwards, and
// a helper that points the process's registry store at a file inside it (CTest
// runs test cases as separate processes, possibly at the same time, so each case
// uses a store of its own).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "frame/registry/store.h"

namespace ze::testing {

class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zekalendo-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes `bytes` to a file in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out << bytes;
    return File(name);
  }

 private:
  std::string path_;
};

// Points ZE_REGISTRO at `path` for the life of this object.
class DefaultStoreAt {
 public:
  explicit DefaultStoreAt(const std::string& path) {
    if (const char* old = std::getenv("ZE_REGISTRO")) old_ = old, had_ = true;
    ::setenv("ZE_REGISTRO", path.c_str(), 1);
    registry::ResetDefaultStore();
  }
  ~DefaultStoreAt() {
    if (had_) {
      ::setenv("ZE_REGISTRO", old_.c_str(), 1);
    } else {
      ::unsetenv("ZE_REGISTRO");
    }
    registry::ResetDefaultStore();
  }
  DefaultStoreAt(const DefaultStoreAt&) = delete;
  DefaultStoreAt& operator=(const DefaultStoreAt&) = delete;

 private:
  std::string old_;
  bool had_ = false;
};

}  // namespace ze::testing
