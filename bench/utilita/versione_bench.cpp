// GetVersione beside plain reading of the same bytes, in the same run
// (bench/run_pair.h: speedup = peer time / our time).
//   GetVersione       zeUtilita's GetVersione of a windres-built DLL, against opening the
//                     file and reading with pread exactly the ranges the reader asks for
//                     (recorded once beforehand), then closing it   goal: speedup >= 0.5
//   GetVersioneLarge  the same DLL followed by 64 MiB of zeros: the reader still reads
//                     only its few ranges                            goal: speedup >= 0.5
// No packaged library reads PE version resources in-process, so the peer is the cost of
// the file reads alone, which no reader can avoid.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/run_pair.h"
#include "frame/system/pe_version.h"
#include "utilita/ze_utilita.h"

namespace {

constexpr std::size_t kBatch = 256;

// Records the ranges the reader asks for.
class Recorder final : public ze::system::PeBytes {
 public:
  explicit Recorder(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    ranges.emplace_back(offset, out.size());
    std::copy_n(bytes_.data() + offset, out.size(), out.data());
    return true;
  }
  mutable std::vector<std::pair<std::uint64_t, std::size_t>> ranges;

 private:
  std::string bytes_;
};

std::string Dll() {
  std::ifstream in(ZE_BENCH_DLL, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Run(benchmark::State& state, std::size_t padding) {
  std::string bytes = Dll();
  const std::string path = "/tmp/ze_bench_versione.dll";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    for (std::size_t i = 0; i < padding; i += 1 << 20) out << std::string(1 << 20, '\0');
  }
  Recorder recorder(bytes);
  if (!ze::system::ReadFileVersion(recorder)) state.SkipWithError("the DLL has no version");
  const auto ranges = recorder.ranges;
  std::vector<std::uint8_t> buffer(1 << 17);

  zekalendo::zeUtilita utilita;
  ze::String file = ze::FromUtf8(path);
  std::size_t sink = 0;
  ze::bench::RunPair(
      state, kBatch,
      [&] {
        for (std::size_t i = 0; i < kBatch; ++i) sink += utilita.GetVersione(file).size();
      },
      [&] {
        for (std::size_t i = 0; i < kBatch; ++i) {
          const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
          struct stat st;
          ::fstat(fd, &st);
          for (const auto& [offset, size] : ranges)
            sink += static_cast<std::size_t>(
                ::pread(fd, buffer.data(), size, static_cast<off_t>(offset)));
          ::close(fd);
        }
      });
  benchmark::DoNotOptimize(sink);
  std::remove(path.c_str());
}

void GetVersione(benchmark::State& state) {
  Run(state, 0);
}
void GetVersioneLarge(benchmark::State& state) {
  Run(state, std::size_t{64} << 20);
}

BENCHMARK(GetVersione);
BENCHMARK(GetVersioneLarge);

}  // namespace

BENCHMARK_MAIN();
