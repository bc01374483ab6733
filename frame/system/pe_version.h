// The file version stamped in a PE file (program, library, control): the fixed part
// of its version resource.
//
// A PE file is read the way the loader finds its resources: the DOS header gives the
// PE header, whose optional header names the resource directory by its RVA; the
// section table turns that RVA into a file offset; three levels of the resource tree
// (type RT_VERSION, then the name, then the language) lead to the version block,
// VS_VERSIONINFO, whose value is the 52-byte VS_FIXEDFILEINFO, recognised by its
// signature 0xFEEF04BD. Both PE32 and PE32+ files are read.
//
// Only the few structures on that path are read, each through bounds checked against
// the file's size (and, inside the resources, against the resource directory's own
// size), with fixed limits on the sections and directory entries looked at; a file of
// any content, truncated or hostile, gives a result or "no version", never a read out
// of bounds or a loop. The file is read with pread, so a large file costs only the
// bytes on the path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ze::system {

// The two 32-bit words of the file version: the major and minor numbers in `ms` (high
// and low 16 bits), the build and revision numbers in `ls`.
struct FileVersion {
  std::uint32_t ms = 0;
  std::uint32_t ls = 0;
  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// Where the reader takes a PE file's bytes from.
class PeBytes {
 public:
  virtual ~PeBytes() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` from `offset`; false when that is not all inside the file or the read
  // fails. The reader only asks for ranges inside Size().
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// The version stamped in the PE file held by `bytes`; nothing for a file that is not a
// PE file, has no version resource, or whose resource is malformed.
std::optional<FileVersion> ReadFileVersion(const PeBytes& bytes);

// The same for a file in memory (the fuzzer's and the tests' way in).
std::optional<FileVersion> ReadFileVersion(std::span<const std::uint8_t> file);

// The same for the native file `path`: nothing also for a missing or unreadable file
// and for anything but a regular file (a FIFO or device is never opened for reading).
std::optional<FileVersion> ReadFileVersion(const std::string& path);

}  // namespace ze::system
