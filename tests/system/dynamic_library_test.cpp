// Loading libraries: a real one, a missing file, a file that is not a library,
// and the path of the file that holds a given address.
#include "frame/system/dynamic_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/registry/temp_dir.h"

namespace ze::system {
namespace {

TEST(DynamicLibrary, LoadsALibraryAndFindsItsExports) {
  DynamicLibrary lib = DynamicLibrary::Open(ZE_TEST_COMPONENT);
  ASSERT_TRUE(lib.is_loaded()) << lib.message();
  EXPECT_EQ(lib.error(), LoadError::None);
  EXPECT_NE(lib.Symbol("DllGetClassObject"), nullptr);
  EXPECT_EQ(lib.Symbol("NonEsiste"), nullptr);
  EXPECT_EQ(lib.Symbol(nullptr), nullptr);
  // Moving hands the library over; closing twice is harmless.
  DynamicLibrary moved = std::move(lib);
  EXPECT_FALSE(lib.is_loaded());
  EXPECT_TRUE(moved.is_loaded());
  moved.Close();
  moved.Close();
  EXPECT_EQ(moved.Symbol("DllGetClassObject"), nullptr);
}

TEST(DynamicLibrary, TellsTheWaysALoadFails) {
  testing::TempDir dir;
  const struct {
    const char* name;
    std::string path;
    LoadError error;
  } cases[] = {
      {"missing", dir.File("assente.so"), LoadError::NotFound},
      {"text file", dir.Write("testo.so", "non sono una libreria"), LoadError::NotLibrary},
      {"empty file", dir.Write("vuoto.so", ""), LoadError::NotLibrary},
      {"truncated ELF",
       dir.Write("tronco.so",
                 "\x7f"
                 "ELF\x02\x01\x01"),
       LoadError::NotLibrary},
      {"folder", dir.path(), LoadError::NotLibrary},
      {"empty path", "", LoadError::InvalidPath},
  };
  for (const auto& c : cases) {
    DynamicLibrary lib = DynamicLibrary::Open(c.path);
    EXPECT_FALSE(lib.is_loaded()) << c.name;
    EXPECT_EQ(lib.error(), c.error) << c.name;
    EXPECT_FALSE(lib.message().empty()) << c.name;
  }
}

TEST(DynamicLibrary, ARelativePathNamesTheFileNotASearch) {
  const std::filesystem::path library = ZE_TEST_COMPONENT;
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(library.parent_path());
  DynamicLibrary lib = DynamicLibrary::Open(library.filename().string());
  std::filesystem::current_path(here);
  EXPECT_TRUE(lib.is_loaded()) << lib.message();
}

TEST(DynamicLibrary, ModulePathOfAnAddress) {
  static const int here = 0;
  char self[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  EXPECT_EQ(ModulePathOf(&here), std::filesystem::path(self).lexically_normal().string());
  EXPECT_EQ(ModulePathOf(nullptr), "");
}

}  // namespace
}  // namespace ze::system
