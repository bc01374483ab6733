// The Windows, system and temporary folders, temporary files and the network check.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "frame/system/files.h"
#include "frame/system/temp_file.h"
#include "tests/utilita/cartelle_fixture.h"

namespace zekalendo::testing {
namespace {

namespace fs = std::filesystem;
using ze::String;

class SistemaTest : public CartelleTest {
 protected:
  SistemaTest() {
    fs::create_directories(temp_);
    env_.Set("TMPDIR", temp_);
  }
  ~SistemaTest() override { ze::system::SetTempFileNumberStart(std::nullopt); }

  static std::string NativeOf(const String& windows) {
    return ze::system::NativePath(windows).value_or("<none>");
  }
  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string temp_ = dir_.File("temp");
};

TEST_F(SistemaTest, TheSystemsFoldersEndInOneSeparator) {
  EXPECT_EQ(u_.CartellaWindows(), u"C:\\etc\\");
  const String sistema = u_.GetWindowsSysDir();
  EXPECT_TRUE(sistema.starts_with(u"C:\\usr\\lib")) << ze::ToUtf8(sistema);
  EXPECT_TRUE(sistema.ends_with(u"\\") && !sistema.ends_with(u"\\\\")) << ze::ToUtf8(sistema);
  EXPECT_TRUE(fs::is_directory(NativeOf(sistema))) << "the build's own library folder";
}

TEST_F(SistemaTest, TheTemporaryFolderIsTmpdirOrTmp) {
  EXPECT_EQ(u_.GetDirectoryTemp(), Windows(temp_) + u"\\");
  env_.Set("TMPDIR", temp_ + "//");
  EXPECT_EQ(u_.GetDirectoryTemp(), Windows(temp_) + u"\\");
  env_.Set("TMPDIR", "relativa");
  EXPECT_EQ(u_.GetDirectoryTemp(), u"C:\\tmp\\");
  env_.Set("TMPDIR", std::nullopt);
  EXPECT_EQ(u_.GetDirectoryTemp(), u"C:\\tmp\\");
}

TEST_F(SistemaTest, FoldersUnderAMappedDriveComeBackOnThatDrive) {
  MapDrive(u"D:", dir_.path());
  EXPECT_EQ(u_.GetDirectoryTemp(), u"D:\\temp\\");
  const String nome = u_.GetFileTemporaneo();
  EXPECT_TRUE(nome.starts_with(u"D:\\temp\\ze")) << ze::ToUtf8(nome);
  EXPECT_TRUE(fs::exists(NativeOf(nome))) << "the name leads back to the file made";
  // The drive of the closest folder wins; folders no drive holds stay on C:.
  MapDrive(u"E:", temp_ + "/");
  EXPECT_EQ(u_.GetDirectoryTemp(), u"E:\\");
  EXPECT_EQ(u_.CartellaWindows(), u"C:\\etc\\");
}

TEST_F(SistemaTest, TemporaryFilesAreNewEmptyAndDistinct) {
  const String a = u_.GetFileTemporaneo();
  const String b = u_.GetFileTemporaneo();
  EXPECT_NE(a, b);
  const std::wregex form(L"ze[0-9A-F]{1,4}\\.TMP");
  for (const String& nome : {a, b}) {
    const String dir = Windows(temp_) + u"\\";
    ASSERT_TRUE(nome.starts_with(dir)) << ze::ToUtf8(nome);
    const String file = nome.substr(dir.size());
    EXPECT_TRUE(std::regex_match(std::wstring(file.begin(), file.end()), form)) << ze::ToUtf8(file);
    const std::string native = NativeOf(nome);
    EXPECT_TRUE(fs::is_regular_file(native));
    EXPECT_EQ(fs::file_size(native), 0u);
    struct stat info{};
    ASSERT_EQ(::stat(native.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "private to its user";
  }
}

TEST_F(SistemaTest, NamesTakenByFilesLinksOrFoldersAreNeverReused) {
  const std::string outside = dir_.File("fuori");
  const std::string planted = temp_ + "/ze100.TMP";
  std::ofstream(planted) << "mio";
  fs::create_symlink(outside, temp_ + "/ze101.TMP");  // dangling: a create through it would make `outside`
  fs::create_symlink(planted, temp_ + "/ze102.TMP");
  fs::create_directory(temp_ + "/ze103.TMP");
  ze::system::SetTempFileNumberStart(0x100);
  EXPECT_EQ(u_.GetFileTemporaneo(), Windows(temp_) + u"\\ze104.TMP");
  EXPECT_EQ(Read(planted), "mio");
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_TRUE(fs::is_symlink(temp_ + "/ze101.TMP"));
}

TEST_F(SistemaTest, TheNumberWrapsAroundPastFFFF) {
  std::ofstream(temp_ + "/zeFFFF.TMP");
  ze::system::SetTempFileNumberStart(0xFFFF);
  EXPECT_EQ(u_.GetFileTemporaneo(), Windows(temp_) + u"\\ze1.TMP");
}

TEST_F(SistemaTest, WhereNoFileCanBeMadeTheFallbackNameComesAndNoFile) {
  env_.Set("TMPDIR", temp_ + "/manca");
  EXPECT_EQ(u_.GetFileTemporaneo(), Windows(temp_) + u"\\manca\\ze12345.tmp");
  EXPECT_FALSE(fs::exists(temp_ + "/manca"));
  MapDrive(u"C:", dir_.File("non-esiste"));
  env_.Set("TMPDIR", std::nullopt);
  EXPECT_EQ(u_.GetFileTemporaneo(), u"C:\\tmp\\ze12345.tmp");
}

// A library loaded from a folder the test names.
class LibraryAt final : public ze::system::DefaultFileService {
 public:
  String ModuleFile(const void*) override { return file; }
  String file;
};

TEST_F(SistemaTest, DirectoryReteTellsAShareFromALocalFolder) {
  LibraryAt library;
  ze::system::InstallFileService(&library);
  struct Case {
    const char16_t* file;
    bool rete;
  };
  const Case cases[] = {
      {u"\\\\server\\share\\lib\\libzeKalendo.so", true},
      {u"C:\\lib\\libzeKalendo.so", false},
      {u"\\lib\\libzeKalendo.so", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    library.file = c.file;
    EXPECT_EQ(u_.DirectoryRete(), c.rete) << ze::ToUtf8(c.file);
  }
  ze::system::InstallFileService(nullptr);
  EXPECT_FALSE(u_.DirectoryRete()) << "the tests' own library is local";
}

}  // namespace
}  // namespace zekalendo::testing
