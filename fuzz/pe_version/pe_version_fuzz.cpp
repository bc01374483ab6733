// Fuzz target over the PE version reader: the input is the file.
//
// The reader must end in a version or none for any bytes, must only ever ask its byte
// source for ranges inside the file, must ask for a bounded amount whatever the file
// claims, and must give the same answer when bytes are added after the end (nothing it
// reads moves).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/system/pe_version.h"
#include "fuzz/fuzz_check.h"

namespace {

class CountingBytes final : public ze::system::PeBytes {
 public:
  explicit CountingBytes(std::span<const std::uint8_t> file) : file_(file) {}
  std::uint64_t Size() const override { return file_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    fuzz::Check(offset <= file_.size() && out.size() <= file_.size() - offset);
    read_ += out.size();
    std::memcpy(out.data(), file_.data() + offset, out.size());
    return true;
  }
  std::uint64_t BytesRead() const { return read_; }

 private:
  std::span<const std::uint8_t> file_;
  mutable std::uint64_t read_ = 0;
};

// The headers, a section table of at most 96 entries, three directories of at most
// 1024 entries and the version block's head.
constexpr std::uint64_t kMostBytesRead = 64 + 24 + 65535 + 96 * 40 + 3 * (16 + 1024 * 8) + 16 + 92;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const CountingBytes counted(file);
  const auto version = ze::system::ReadFileVersion(counted);
  fuzz::Check(counted.BytesRead() <= kMostBytesRead);
  fuzz::Check(ze::system::ReadFileVersion(file) == version);
  std::vector<std::uint8_t> longer(data, data + size);
  longer.resize(size + 64, 0xCC);
  fuzz::Check(ze::system::ReadFileVersion(std::span<const std::uint8_t>(longer)) == version);
  return 0;
}
