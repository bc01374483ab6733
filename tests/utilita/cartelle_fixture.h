// What the folder tests share: a registry store, a home folder, XDG folders and a
// temporary folder of each test's own, with the environment put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/advapi.h"
#include "frame/system/native_path.h"
#include "tests/registry/temp_dir.h"
#include "utilita/ze_utilita.h"

namespace zekalendo::testing {

// Sets or unsets environment variables, each restored when this goes.
class EnvironmentGuard {
 public:
  ~EnvironmentGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        ::unsetenv(it->first.c_str());
      }
    }
  }
  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class CartelleTest : public ::testing::Test {
 protected:
  CartelleTest() {
    std::filesystem::create_directories(home_);
    env_.Set("HOME", home_);
    env_.Set("XDG_CONFIG_HOME", std::nullopt);
    env_.Set("XDG_DATA_HOME", std::nullopt);
    env_.Set("XDG_CACHE_HOME", std::nullopt);
    env_.Set("TMPDIR", std::nullopt);
  }

  // The Windows form of a native path with no drive mapped.
  static ze::String Windows(const std::string& native) {
    ze::String path = u"C:" + ze::FromUtf8(native);
    for (char16_t& c : path)
      if (c == u'/') c = u'\\';
    return path;
  }

  // Writes a text value as another program (or zereg) would.
  static void PutText(ze::registry::HKEY root, std::u16string_view key, std::u16string_view name,
                      std::u16string_view text) {
    using namespace ze::registry;
    HKEY h = 0;
    ASSERT_EQ(RegCreateKeyEx(root, ze::String(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &h, nullptr),
              ERROR_SUCCESS);
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    ASSERT_EQ(RegSetValueEx(h, ze::String(name).c_str(), 0, REG_SZ, bytes.data(),
                            static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(h);
  }

  // Maps a drive letter ("D:") to a native folder through the store.
  static void MapDrive(std::u16string_view drive, const std::string& native) {
    PutText(ze::registry::HKEY_LOCAL_MACHINE, ze::system::kDriveKey, drive, ze::FromUtf8(native));
  }

  ze::testing::TempDir dir_;
  ze::testing::DefaultStoreAt store_{dir_.File("registro.db")};
  std::string home_ = dir_.File("home");
  EnvironmentGuard env_;
  zeUtilita u_;
};

}  // namespace zekalendo::testing
