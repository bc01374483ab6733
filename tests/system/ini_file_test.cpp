// INI files by name: defaults, the caller's buffer, read-only files, Windows-form
// names, writers racing on one file, and writers killed halfway.
#include "frame/system/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "frame/system/ini_text.h"
#include "frame/system/native_path.h"
#include "tests/registry/temp_dir.h"

namespace ze::system {
namespace {

// The Windows form of a native absolute path, on drive C: (which maps to "/").
String Windows(const std::string& native) {
  String path = u"C:" + FromUtf8(native);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

String Read(const String& file, std::u16string_view section, std::u16string_view key,
            std::size_t size = 2000, std::size_t* copied = nullptr) {
  String out = u"garbage";
  const std::size_t n = GetPrivateProfileString(section, key, u"dflt", out, size, file);
  if (copied != nullptr) *copied = n;
  return out;
}

class IniFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGiveTheDefault) {
  const String file = Windows(dir_.Write("a.ini", "[a]\r\nk=v\r\n"));
  EXPECT_EQ(Read(Windows(dir_.File("none.ini")), u"a", u"k"), u"dflt");
  EXPECT_EQ(Read(Windows(dir_.File("no/such/folder.ini")), u"a", u"k"), u"dflt");
  EXPECT_EQ(Read(file, u"b", u"k"), u"dflt");
  EXPECT_EQ(Read(file, u"a", u"j"), u"dflt");
  EXPECT_EQ(Read(file, u"A", u"K"), u"v");
  // A folder where the file should be reads as no file.
  EXPECT_EQ(Read(Windows(dir_.path()), u"a", u"k"), u"dflt");
}

TEST_F(IniFileTest, TheCallersSizeCutsTheCopy) {
  const String file = Windows(dir_.Write("a.ini", "[a]\nk=abcdef\n"));
  std::size_t n = 0;
  EXPECT_EQ(Read(file, u"a", u"k", 4, &n), u"abc");
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(Read(file, u"a", u"k", 7, &n), u"abcdef");
  EXPECT_EQ(n, 6u);
  EXPECT_EQ(Read(file, u"a", u"missing", 3, &n), u"df");
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(Read(file, u"a", u"k", 0, &n), u"");
  EXPECT_EQ(n, 0u);
}

TEST_F(IniFileTest, AWriteKeepsTheRestOfTheFileAndItsMode) {
  const std::string native = dir_.Write("a.ini", "; keep me\r\n[a]\r\nk=1\r\n\r\n[b]\r\nx=2");
  ASSERT_EQ(::chmod(native.c_str(), 0640), 0);
  ASSERT_TRUE(WritePrivateProfileString(u"a", u"k", u"new", Windows(native)));
  ASSERT_TRUE(WritePrivateProfileString(u"c", u"y", u"3", Windows(native)));
  std::string bytes;
  {
    std::ifstream in(native, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(bytes, "; keep me\r\n[a]\r\nk=new\r\n\r\n[b]\r\nx=2\r\n[c]\r\ny=3\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(native.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(IniFileTest, ReadOnlyFilesAndMissingFoldersAreNotWritten) {
  const std::string native = dir_.Write("ro.ini", "[a]\nk=1\n");
  ASSERT_EQ(::chmod(native.c_str(), 0444), 0);
  // The missing write bits stop even a superuser, as the read-only attribute does.
  EXPECT_FALSE(WritePrivateProfileString(u"a", u"k", u"2", Windows(native)));
  EXPECT_EQ(Read(Windows(native), u"a", u"k"), u"1");
  EXPECT_FALSE(WritePrivateProfileString(u"a", u"k", u"2", Windows(dir_.File("none/a.ini"))));
  EXPECT_FALSE(WritePrivateProfileString(u"a", u"k", u"2", Windows(dir_.path())));
  EXPECT_FALSE(WritePrivateProfileString(u"a", u"k", u"2\r\n[b]", Windows(dir_.File("n.ini"))));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("n.ini")));
}

TEST(NativePath, MapsWindowsFormNames) {
  struct Case {
    std::u16string_view windows;
    std::optional<std::string> native;
  };
  const Case cases[] = {
      {u"C:\\dati\\a.ini", "/dati/a.ini"},
      {u"c:/dati/a.ini", "/dati/a.ini"},
      {u"C:a.ini", "/a.ini"},
      {u"C:\\", "/"},
      {u"\\dati\\a.ini", "/dati/a.ini"},
      {u"dati\\a.ini", "dati/a.ini"},
      {u"a.ini", "a.ini"},
      {u"C:\\caff\u00E8.ini", "/caff\xC3\xA8.ini"},
      {u"Q:\\a.ini", std::nullopt},
      {u"\\\\server\\share\\a.ini", std::nullopt},
      {u"", std::nullopt},
      {std::u16string_view(u"C:\\a\0b", 6), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.windows));
    EXPECT_EQ(NativePath(c.windows), c.native);
  }
}

// Each child sets its own keys, one write each, while the other does the same.
TEST_F(IniFileTest, TwoProcessesWritingAtOnceLoseNoKey) {
  const String file = Windows(dir_.Write("shared.ini", "[a]\r\n"));
  constexpr int kKeys = 25;
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = ::fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      bool ok = true;
      for (int i = 0; i < kKeys; ++i) {
        const String key = FromUtf8("p" + std::to_string(p) + "k" + std::to_string(i));
        ok = WritePrivateProfileString(u"a", key, FromUtf8(std::to_string(i)), file) && ok;
      }
      ::_exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int p = 0; p < 2; ++p)
    for (int i = 0; i < kKeys; ++i) {
      const String key = FromUtf8("p" + std::to_string(p) + "k" + std::to_string(i));
      EXPECT_EQ(Read(file, u"a", key), FromUtf8(std::to_string(i))) << ToUtf8(key);
    }
}

// A writer killed at a random moment leaves the file as one of its whole versions.
TEST_F(IniFileTest, AWriterKilledAnywhereLeavesAWholeFile) {
  std::string base = "; a file big enough that a write takes a while\r\n[a]\r\nk=start\r\n";
  for (int i = 0; i < 3000; ++i) base += "filler" + std::to_string(i) + "=some text here\r\n";
  const std::string native = dir_.Write("kill.ini", base);
  const String file = Windows(native);
  const String one(500, u'1');
  const String two(500, u'2');
  const std::string versionOne = *SetProfileValue(base, u"a", u"k", one);
  const std::string versionTwo = *SetProfileValue(base, u"a", u"k", two);

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> delay(0, 4000);
  for (int round = 0; round < 50; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) WritePrivateProfileString(u"a", u"k", i % 2 ? one : two, file);
    }
    ::usleep(static_cast<useconds_t>(delay(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    std::ifstream in(native, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(bytes == base || bytes == versionOne || bytes == versionTwo)
        << "round " << round << ": " << bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace ze::system
