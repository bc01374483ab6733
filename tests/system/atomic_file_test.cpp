// Replacing a file whole: the content and the mode, what a failure leaves behind,
// links at the target, and writers racing on one file.
#include "frame/system/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/registry/temp_dir.h"

namespace ze::system {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The names in the folder, so a test can tell that no temporary file stayed.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override { old_umask_ = ::umask(022); }
  void TearDown() override { ::umask(old_umask_); }
  testing::TempDir dir;
  mode_t old_umask_ = 0;
};

TEST_F(AtomicFile, WritesANewFileAndReplacesAnOldOneKeepingItsMode) {
  const std::string path = dir.File("dati.txt");
  ASSERT_FALSE(WriteFileAtomically(path, "primo")) << "a new file";
  EXPECT_EQ(Slurp(path), "primo");
  EXPECT_EQ(ModeOf(path), 0644u) << "a new file follows the umask";

  for (mode_t mode : {0600u, 0640u, 0400u, 0755u}) {
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_FALSE(WriteFileAtomically(path, "modo " + std::to_string(mode)));
    EXPECT_EQ(Slurp(path), "modo " + std::to_string(mode));
    EXPECT_EQ(ModeOf(path), mode) << "the old file's mode is kept, never widened";
  }
  ASSERT_FALSE(WriteFileAtomically(path, ""));
  EXPECT_EQ(Slurp(path), "") << "empty content is content too";
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"dati.txt"}) << "no temporary stays";

  // A name without a folder is in the current folder.
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const WriteFailure relative = WriteFileAtomically("qui.txt", "qui");
  std::filesystem::current_path(here);
  ASSERT_FALSE(relative) << relative.detail;
  EXPECT_EQ(Slurp(dir.File("qui.txt")), "qui");
}

TEST_F(AtomicFile, ALinkAtTheTargetIsReplacedNotFollowed) {
  const std::string victim = dir.Write("vittima.txt", "intatta");
  const std::string path = dir.File("salvato.txt");
  std::filesystem::create_symlink(victim, path);
  ASSERT_FALSE(WriteFileAtomically(path, "nuovo"));
  EXPECT_EQ(Slurp(victim), "intatta");
  EXPECT_FALSE(std::filesystem::is_symlink(path));
  EXPECT_EQ(Slurp(path), "nuovo");
}

TEST_F(AtomicFile, AFailureLeavesTheOldFileAndNoTemporary) {
  const std::string path = dir.Write("tenere.txt", "vecchio");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const struct {
    const char* name;
    int injected;
    std::string path;
    int error;
  } cases[] = {
      {"disk full", ENOSPC, path, ENOSPC},
      {"quota", EDQUOT, path, EDQUOT},
      {"I/O error", EIO, path, EIO},
      {"missing folder", 0, dir.File("manca/file.txt"), ENOENT},
      {"folder is a file", 0, path + "/file.txt", ENOTDIR},
      {"target is a folder", 0, dir.path(), EISDIR},
      {"no name", 0, dir.path() + "/", EISDIR},
      {"special file", 0, "/dev/null", EINVAL},
  };
  for (const auto& c : cases) {
    if (c.injected != 0) InjectWriteFailures(c.injected);
    const WriteFailure failure = WriteFileAtomically(c.path, std::string(100000, 'x'));
    InjectWriteFailures(0, 0);
    EXPECT_EQ(failure.error, c.error) << c.name << ": " << failure.detail;
    EXPECT_NE(failure.detail.find(c.path), std::string::npos) << c.name;
    EXPECT_EQ(Slurp(path), "vecchio") << c.name;
    EXPECT_EQ(ModeOf(path), 0600u) << c.name;
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"tenere.txt"}) << c.name;
  }
}

TEST_F(AtomicFile, RacingWritersLeaveOneWholeContent) {
  // With a fixed temporary name two writers would write into one file and rename it
  // from under each other.
  const std::string path = dir.File("conteso.txt");
  const std::string a(200000, 'a'), b(300000, 'b');
  int failures = 0;
  auto writer = [&](const std::string& content) {
    for (int i = 0; i < 20; ++i)
      if (WriteFileAtomically(path, content)) ++failures;
  };
  std::thread first(writer, a), second(writer, b);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
  const std::string last = Slurp(path);
  EXPECT_TRUE(last == a || last == b) << last.size() << " bytes";
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"conteso.txt"});
}

}  // namespace
}  // namespace ze::system
