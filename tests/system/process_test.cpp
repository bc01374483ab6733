// Starting programs: what the child inherits, waiting for it, finding it, reading its
// output; and the desktop opener's failure codes, told by stand-ins for the xdg tools.
#include "frame/system/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "frame/system/shell_execute.h"
#include "tests/fixtures/await_file.h"
#include "tests/registry/temp_dir.h"

namespace ze::system {
namespace {

using ze::fixtures::AwaitFile;
using ze::fixtures::ReadFile;

void MakeScript(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
  ::chmod(path.c_str(), 0755);
}

// PATH set to `folder` for the life of the object.
class PathAt {
 public:
  explicit PathAt(const std::string& folder) {
    if (const char* old = std::getenv("PATH")) old_ = old;
    ::setenv("PATH", folder.c_str(), 1);
  }
  ~PathAt() { ::setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(Process, TheChildHoldsOnlyTheStandardDescriptors) {
  ze::testing::TempDir dir;
  // Descriptors of the parent, one of them opened without close-on-exec.
  const int leaky = ::open("/dev/null", O_RDONLY);
  const int tidy = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(leaky, 3);
  const std::string out = dir.File("fd");
  int error = 0;
  const pid_t pid = Spawn(ZE_PROCESSO_PROVA, {"processo_prova", "fd", out}, &error);
  ASSERT_GT(pid, 0) << error;
  const int status = WaitForExit(pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFile(out), "0 1 2");
  ::close(leaky);
  ::close(tidy);
}

TEST(Process, WaitsThroughSignalsUntilTheEnd) {
  ze::testing::TempDir dir;
  const std::string out = dir.File("dormi");
  // A signal arrives while the wait is on; the wait goes on until the child is done.
  struct sigaction action {};
  action.sa_handler = [](int) {};
  struct sigaction old {};
  ::sigaction(SIGUSR1, &action, &old);
  const pid_t pid = Spawn(ZE_PROCESSO_PROVA, {"processo_prova", "dormi", "300", out}, nullptr);
  ASSERT_GT(pid, 0);
  const pthread_t waiter = ::pthread_self();
  std::thread interrupter([waiter] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::pthread_kill(waiter, SIGUSR1);
  });
  const int status = WaitForExit(pid);
  interrupter.join();
  ::sigaction(SIGUSR1, &old, nullptr);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(ReadFile(out), "fine");
  EXPECT_EQ(WaitForExit(pid), -1);  // collected once, no child any more
}

TEST(Process, FindsProgramsByPathOrOnPath) {
  ze::testing::TempDir dir;
  MakeScript(dir.File("strumento"), "#!/bin/sh\nexit 0\n");
  std::ofstream(dir.File("testo")) << "not executable";
  {
    PathAt path("/nonexistent::" + dir.path());
    EXPECT_EQ(FindProgram(u"strumento"), dir.File("strumento"));
    EXPECT_EQ(FindProgram(u"testo"), std::nullopt);
    EXPECT_EQ(FindProgram(u"assente"), std::nullopt);
  }
  // A path is a Windows-form name; a folder, a missing file and an empty name are no program.
  EXPECT_EQ(FindProgram(FromUtf8(dir.File("strumento"))), dir.File("strumento"));
  String windows = u"C:" + FromUtf8(dir.File("strumento"));
  for (char16_t& c : windows)
    if (c == u'/') c = u'\\';
  EXPECT_EQ(FindProgram(windows), dir.File("strumento"));
  EXPECT_EQ(FindProgram(FromUtf8(dir.path())), std::nullopt);
  EXPECT_EQ(FindProgram(FromUtf8(dir.File("assente"))), std::nullopt);
  EXPECT_EQ(FindProgram(u""), std::nullopt);
}

TEST(Process, ReadsAProgramsOutput) {
  ze::testing::TempDir dir;
  MakeScript(dir.File("parla"), "#!/bin/sh\nprintf 'uno\\ndue'\necho rumore >&2\nexit 3\n");
  int status = 0;
  EXPECT_EQ(RunForOutput(dir.File("parla"), {"parla"}, 100, &status), "uno\ndue");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
  EXPECT_EQ(RunForOutput(dir.File("parla"), {"parla"}, 2, &status), "un");
  EXPECT_EQ(RunForOutput(dir.File("assente"), {"assente"}, 100, &status), std::nullopt);
}

// The opener's codes: xdg-mime and xdg-open replaced by scripts in a PATH of the
// test's own. The type query names "application/x-EXT" for a file of extension EXT;
// only "ignoto" has no default program, and "rotto" makes the query fail as xdg-mime
// does when a tool is missing. The opener writes what it was given to $ZE_PROVA_OUT.
class OpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeScript(dir_.File("xdg-mime"),
               "#!/bin/sh\n"
               "case \"$2\" in\n"
               "  filetype) case \"$3\" in *.rotto) exit 3;; esac;"
               " echo \"application/x-${3##*.}; charset=binary\";;\n"
               "  default) [ \"$3\" = application/x-ignoto ] || echo prova.desktop;;\n"
               "esac\n");
    MakeScript(dir_.File("xdg-open"), "#!/bin/sh\nprintf '%s' \"$1\" > \"$ZE_PROVA_OUT\"\n");
    ::setenv("ZE_PROVA_OUT", dir_.File("aperto").c_str(), 1);
  }
  void TearDown() override { ::unsetenv("ZE_PROVA_OUT"); }
  std::intptr_t Open(const std::string& native) {
    ShellRequest request;
    request.file = FromUtf8(native);
    return ShellExecute(request);
  }
  std::string Document(const std::string& name) { return dir_.Write(name, "contenuto"); }

  ze::testing::TempDir dir_;
  PathAt path_{dir_.path()};
};

TEST_F(OpenerTest, OpensADocumentOfAKnownType) {
  const std::string doc = Document("lettera.txt");
  EXPECT_GT(Open(doc), 32);
  EXPECT_EQ(AwaitFile(dir_.File("aperto")), doc);
}

TEST_F(OpenerTest, TellsTheFailuresApart) {
  EXPECT_EQ(Open(dir_.File("assente.txt")), 2);
  EXPECT_EQ(Open(dir_.File("cartella/assente.txt")), 2);
  EXPECT_EQ(Open(""), 2);
  EXPECT_EQ(Open(Document("dati.ignoto")), 31);
  EXPECT_EQ(Open(Document("dati.rotto")), 31);
  if (::geteuid() != 0) {
    const std::string secret = Document("segreto.txt");
    ::chmod(secret.c_str(), 0);
    EXPECT_EQ(Open(secret), 5);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("aperto")));
}

TEST_F(OpenerTest, AnAddressGoesToTheOpenerAsItIs) {
  EXPECT_GT(Open("Mailto:a@b.example?subject=x%20y"), 32);
  EXPECT_EQ(AwaitFile(dir_.File("aperto")), "Mailto:a@b.example?subject=x%20y");
}

TEST_F(OpenerTest, NoOpenerIsNoAssociation) {
  const std::string doc = Document("lettera.txt");
  std::filesystem::remove(dir_.File("xdg-open"));
  EXPECT_EQ(Open(doc), 31);
  std::filesystem::remove(dir_.File("xdg-mime"));
  EXPECT_EQ(Open(doc), 31);
}

}  // namespace
}  // namespace ze::system
