// From starting provix2 to its first painted frame (on Qt's offscreen platform), beside
// a plain Qt program that opens a comparable window of QDateEdit fields, in the same
// run. Both are started as new processes, as a user starts them.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

int RunProgram(const std::string& path, std::vector<std::string> args) {
  std::vector<char*> argv;
  std::string program = path;
  argv.push_back(program.data());
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string BinDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

void Prepare() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static const std::string store =
      (std::filesystem::temp_directory_path() / "bench-provix2-registro.db").string();
  setenv("ZE_REGISTRO", store.c_str(), 1);
}

void BM_Provix2FirstFrame(benchmark::State& state) {
  Prepare();
  const std::string program = BinDir() + "/provix2";
  RunProgram(program, {"--first-frame"});  // the first run registers the library
  for (auto _ : state) {
    if (RunProgram(program, {"--first-frame"}) != 0) state.SkipWithError("provix2 failed");
  }
}
BENCHMARK(BM_Provix2FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_QtDateEditWindowFirstFrame(benchmark::State& state) {
  Prepare();
  const std::string program = BinDir() + "/first_frame_peer";
  for (auto _ : state) {
    if (RunProgram(program, {}) != 0) state.SkipWithError("the peer failed");
  }
}
BENCHMARK(BM_QtDateEditWindowFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
