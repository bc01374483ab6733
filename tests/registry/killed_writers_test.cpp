// zereg export and .reg import killed with SIGKILL at random moments, 50 times each:
// afterwards the exported file holds the old content or the new, whole, and the
// store holds the state before the import or after it, never a mix. The writer runs
// in a forked child (zereg's own entry point, without an exec, so that a round is
// quick); the moment of the kill is spread over the time a whole run takes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "frame/registry/reg_file.h"
#include "tests/registry/temp_dir.h"
#include "tools/zereg/zereg.h"

namespace ze::registry {
namespace {

constexpr int kRounds = 50;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Starts zereg with `args` in a child.
pid_t Start(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::istringstream in;
    std::ostringstream out, err;
    ::_exit(zereg::Run(args, in, out, err));
  }
  return pid;
}

// Runs zereg with `args` and kills it after `delay` unless it ended first. Returns
// whether it was still running when killed.
bool RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay) {
  const pid_t pid = Start(args);
  std::this_thread::sleep_for(delay);
  int status = 0;
  const bool running = ::waitpid(pid, &status, WNOHANG) == 0;
  if (running) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  return running;
}

// How long a whole run takes, run to its end.
std::chrono::microseconds TimeOf(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(Start(args), &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

class KilledWriters : public ::testing::Test {
 protected:
  // HKCU\Dati with `values` values, written directly.
  void Fill(const String& key_path, int values, const String& text) {
    auto store = Store::Open(path);
    ASSERT_EQ(store->Batch([&]() -> LSTATUS {
      KeyId key;
      LSTATUS st = store->CreateKey(Store::RootKey(Root::CurrentUser), key_path, &key);
      for (int i = 0; i < values && st == ERROR_SUCCESS; ++i)
        st = store->SetString(key, FromUtf8("v" + std::to_string(i)), text);
      return st;
    }),
              ERROR_SUCCESS);
  }
  String Export(const String& key_path) {
    String text;
    auto store = Store::Open(path);
    EXPECT_EQ(ExportRegText(*store, Root::CurrentUser, key_path, &text), ERROR_SUCCESS);
    return text;
  }
  // Removes what killed writers left under hidden temporary names; returns how many.
  int SweepTemporaries() {
    int left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 4 && name[0] == '.' && name.ends_with(".tmp")) {
        std::filesystem::remove(entry.path());
        ++left;
      }
    }
    return left;
  }
  std::chrono::microseconds RandomDelay(std::chrono::microseconds whole) {
    return std::chrono::microseconds(
        std::uniform_int_distribution<std::int64_t>(0, whole.count() * 5 / 4)(random));
  }

  testing::TempDir dir;
  const std::string path = dir.File("registro.db");
  testing::DefaultStoreAt store_at{path};
  std::mt19937_64 random{std::random_device{}()};
};

TEST_F(KilledWriters, AnExportLeavesTheOldFileOrTheNew) {
  Fill(u"Dati", 600, u"un valore di qualche lunghezza, perche' il file sia grande");
  const std::string file = dir.File("uscita.reg");
  const std::string old_bytes = EncodeRegFile(u"Windows Registry Editor Version 5.00\r\n\r\n");
  const std::string new_bytes = EncodeRegFile(Export(u"Dati"));
  const std::vector<std::string> args{"export", "HKCU\\Dati", file, "/y"};
  const auto whole = TimeOf(args);
  ASSERT_EQ(Slurp(file), new_bytes) << "an export that is not killed";
  int killed = 0, old_seen = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << old_bytes;
    killed += RunAndKill(args, RandomDelay(whole));
    const std::string now = Slurp(file);
    ASSERT_TRUE(now == old_bytes || now == new_bytes)
        << "round " << round << ": a file of " << now.size() << " bytes";
    old_seen += now == old_bytes;
    SweepTemporaries();
  }
  std::cout << killed << " of " << kRounds << " exports killed while running, " << old_seen
            << " before the rename (a whole run takes " << whole.count() << " us)\n";
}

TEST_F(KilledWriters, AnImportLeavesTheOldStoreOrTheNew) {
  Fill(u"Dati\\Vecchi", 200, u"vecchio");
  String reg = String(kRegFileHeader) + u"\r\n\r\n[-HKEY_CURRENT_USER\\Dati\\Vecchi]\r\n\r\n";
  for (int k = 0; k < 8; ++k) {
    reg += u"[HKEY_CURRENT_USER\\Dati\\Nuovi" + FromUtf8(std::to_string(k)) + u"]\r\n";
    for (int i = 0; i < 100; ++i) reg += u"\"v" + FromUtf8(std::to_string(i)) + u"\"=\"nuovo\"\r\n";
  }
  const std::string file = dir.Write("nuovi.reg", EncodeRegFile(reg));
  const std::string before = Slurp(path);
  const String old_state = Export(u"Dati");
  const std::vector<std::string> args{"import", file};
  const auto whole = TimeOf(args);
  const String new_state = Export(u"Dati");
  ASSERT_NE(new_state, old_state);
  int killed = 0, old_seen = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
      std::filesystem::remove(path + suffix);
    std::ofstream(path, std::ios::binary) << before;
    killed += RunAndKill(args, RandomDelay(whole));
    // A kill may leave a hot journal; the next reader rolls it back, as it must.
    const String now = Export(u"Dati");
    ASSERT_TRUE(now == old_state || now == new_state) << "round " << round;
    old_seen += now == old_state;
  }
  std::cout << killed << " of " << kRounds << " imports killed while running, " << old_seen
            << " before the commit (a whole run takes " << whole.count() << " us)\n";
}

}  // namespace
}  // namespace ze::registry
