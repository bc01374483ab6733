// The PE version-resource reader (see pe_version.h).
//
// Every multi-byte field is little-endian whatever the host. A read goes through
// Reader::Get, which refuses a range that does not lie wholly inside the file; offsets
// come from the file, so all arithmetic on them is done in 64 bits, where the sum of a
// 32-bit offset and a 32-bit size cannot wrap.
#include "frame/system/pe_version.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "frame/system/descriptor.h"

namespace ze::system {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;     // "MZ"
constexpr std::uint32_t kPeMagic = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t kPe32 = 0x10B;
constexpr std::uint16_t kPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;  // index among the data directories
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVsVersionInfo = 1;  // the version resource's usual id
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kHighBit = 0x80000000;

// The loader takes at most 96 sections; a resource directory of more entries than
// this is no real file's, and looking at the first ones is enough to find RT_VERSION.
constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint32_t kMaxEntries = 1024;

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
// VS_VERSIONINFO: wLength, wValueLength, wType, the key "VS_VERSION_INFO" with its NUL
// in UTF-16, padding to a 32-bit boundary, then the value: VS_FIXEDFILEINFO.
constexpr std::size_t kFixedInfoOffset = 40;
constexpr std::size_t kFixedInfoSize = 52;
constexpr char16_t kVersionKey[] = u"VS_VERSION_INFO";

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

class Reader {
 public:
  explicit Reader(const PeBytes& bytes) : bytes_(bytes), size_(bytes.Size()) {}

  bool Get(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > size_ || out.size() > size_ - offset) return false;
    // Nothing to read (a table of no entries) is no read at all.
    return out.empty() || bytes_.Read(offset, out);
  }

 private:
  const PeBytes& bytes_;
  std::uint64_t size_;
};

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

// Where `length` bytes at `rva` lie in the file: inside one section's raw data.
std::optional<std::uint64_t> FileOffsetOf(const std::vector<Section>& sections, std::uint32_t rva,
                                          std::uint64_t length) {
  for (const Section& s : sections) {
    if (rva < s.virtualAddress) continue;
    const std::uint64_t into = std::uint64_t{rva} - s.virtualAddress;
    if (into >= s.rawSize || length > s.rawSize - into) continue;
    return std::uint64_t{s.rawOffset} + into;
  }
  return std::nullopt;
}

// The resource tree: offsets inside it are relative to its start and must stay inside
// the size the optional header gives it (cut to the section that holds it).
struct ResourceTree {
  const Reader& reader;
  std::uint64_t base = 0;
  std::uint64_t size = 0;

  bool Get(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > size || out.size() > size - offset) return false;
    return reader.Get(base + offset, out);
  }

  // The entries of the directory at `offset`: (name or id, offset to data) pairs.
  // Named entries come first; `wantId`, when given, picks the id entry with that id,
  // otherwise the preferred id if present, else the first entry of any kind.
  std::optional<std::uint32_t> Pick(std::uint32_t offset, std::optional<std::uint32_t> wantId,
                                    std::optional<std::uint32_t> preferId) const {
    std::array<std::uint8_t, kDirectoryHeaderSize> header;
    if (!Get(offset, header)) return std::nullopt;
    const std::uint32_t named = U16(&header[12]);
    const std::uint32_t ids = U16(&header[14]);
    const std::uint32_t count = std::min(named + ids, kMaxEntries);
    if (count == 0) return std::nullopt;
    std::vector<std::uint8_t> entries(count * kEntrySize);
    if (!Get(std::uint64_t{offset} + kDirectoryHeaderSize, entries)) return std::nullopt;
    std::optional<std::uint32_t> first;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t name = U32(&entries[i * kEntrySize]);
      const std::uint32_t data = U32(&entries[i * kEntrySize + 4]);
      const bool isId = (name & kHighBit) == 0;
      if (wantId) {
        if (isId && name == *wantId) return data;
        continue;
      }
      if (preferId && isId && name == *preferId) return data;
      if (!first) first = data;
    }
    return wantId ? std::nullopt : first;
  }
};

// The fixed part of the version block at `offset` (its `size` bytes in the file).
std::optional<FileVersion> FixedFileInfo(const Reader& reader, std::uint64_t offset,
                                         std::uint32_t size) {
  std::array<std::uint8_t, kFixedInfoOffset + kFixedInfoSize> block;
  if (size < block.size() || !reader.Get(offset, block)) return std::nullopt;
  const std::uint16_t length = U16(&block[0]);
  const std::uint16_t valueLength = U16(&block[2]);
  if (length < block.size() || length > size || valueLength < kFixedInfoSize) return std::nullopt;
  for (std::size_t i = 0; i < std::size(kVersionKey); ++i) {
    if (U16(&block[6 + 2 * i]) != kVersionKey[i]) return std::nullopt;
  }
  const std::uint8_t* fixed = &block[kFixedInfoOffset];
  if (U32(fixed) != kFixedSignature) return std::nullopt;
  return FileVersion{U32(fixed + 8), U32(fixed + 12)};
}

class MemoryBytes final : public PeBytes {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> file) : file_(file) {}
  std::uint64_t Size() const override { return file_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset > file_.size() || out.size() > file_.size() - offset) return false;
    std::memcpy(out.data(), file_.data() + offset, out.size());
    return true;
  }

 private:
  std::span<const std::uint8_t> file_;
};

class FileBytes final : public PeBytes {
 public:
  FileBytes(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t got =
          ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  std::uint64_t size_;
};

}  // namespace

std::optional<FileVersion> ReadFileVersion(const PeBytes& bytes) {
  const Reader reader(bytes);

  // The DOS header: its magic and where the PE header starts.
  std::array<std::uint8_t, 64> dos;
  if (!reader.Get(0, dos) || U16(&dos[0]) != kDosMagic) return std::nullopt;
  const std::uint64_t pe = U32(&dos[0x3C]);

  // The PE signature and the COFF header.
  std::array<std::uint8_t, 24> coff;
  if (!reader.Get(pe, coff) || U32(&coff[0]) != kPeMagic) return std::nullopt;
  const std::uint32_t sectionCount = std::min<std::uint32_t>(U16(&coff[6]), kMaxSections);
  const std::uint32_t optionalSize = U16(&coff[20]);

  // The optional header: PE32 or PE32+, and the resource directory's RVA and size.
  std::vector<std::uint8_t> optional(optionalSize);
  if (optionalSize < 2 || !reader.Get(pe + coff.size(), optional)) return std::nullopt;
  std::size_t countAt = 0;
  switch (U16(&optional[0])) {
    case kPe32:
      countAt = 92;
      break;
    case kPe32Plus:
      countAt = 108;
      break;
    default:
      return std::nullopt;
  }
  const std::size_t directoriesAt = countAt + 4;
  const std::size_t resourceAt = directoriesAt + kResourceDirectory * 8;
  if (optional.size() < resourceAt + 8 || U32(&optional[countAt]) <= kResourceDirectory)
    return std::nullopt;
  const std::uint32_t resourceRva = U32(&optional[resourceAt]);
  const std::uint32_t resourceSize = U32(&optional[resourceAt + 4]);
  if (resourceRva == 0 || resourceSize == 0) return std::nullopt;

  // The section table, right after the optional header.
  std::vector<std::uint8_t> table(sectionCount * kSectionHeaderSize);
  if (!reader.Get(pe + coff.size() + optionalSize, table)) return std::nullopt;
  std::vector<Section> sections(sectionCount);
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::uint8_t* h = &table[i * kSectionHeaderSize];
    sections[i] = Section{U32(h + 12), U32(h + 16), U32(h + 20)};
  }

  // The resource tree: the type RT_VERSION, then the version resource (id 1 when there,
  // else the first), then its first language, which must be a data entry.
  // A directory size larger than its section's data is cut to what the section holds.
  std::optional<std::uint64_t> base;
  std::uint64_t treeSize = 0;
  for (const Section& s : sections) {
    if (resourceRva < s.virtualAddress) continue;
    const std::uint64_t into = std::uint64_t{resourceRva} - s.virtualAddress;
    if (into >= s.rawSize) continue;
    base = std::uint64_t{s.rawOffset} + into;
    treeSize = std::min<std::uint64_t>(resourceSize, s.rawSize - into);
    break;
  }
  if (!base) return std::nullopt;
  const ResourceTree tree{reader, *base, treeSize};
  const auto type = tree.Pick(0, kRtVersion, std::nullopt);
  if (!type || (*type & kHighBit) == 0) return std::nullopt;
  const auto name = tree.Pick(*type & ~kHighBit, std::nullopt, kVsVersionInfo);
  if (!name || (*name & kHighBit) == 0) return std::nullopt;
  const auto language = tree.Pick(*name & ~kHighBit, std::nullopt, std::nullopt);
  if (!language || (*language & kHighBit) != 0) return std::nullopt;
  std::array<std::uint8_t, kDataEntrySize> dataEntry;
  if (!tree.Get(*language, dataEntry)) return std::nullopt;
  const std::uint32_t dataRva = U32(&dataEntry[0]);
  const std::uint32_t dataSize = U32(&dataEntry[4]);

  // The version block itself, addressed by RVA like the tree.
  const auto block = FileOffsetOf(sections, dataRva, dataSize);
  if (!block) return std::nullopt;
  return FixedFileInfo(reader, *block, dataSize);
}

std::optional<FileVersion> ReadFileVersion(std::span<const std::uint8_t> file) {
  return ReadFileVersion(MemoryBytes(file));
}

std::optional<FileVersion> ReadFileVersion(const std::string& path) {
  // Non-blocking, so that opening a FIFO never waits for a writer; the descriptor is
  // only ever read with pread, so the flag changes nothing else.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return ReadFileVersion(FileBytes(fd.get(), static_cast<std::uint64_t>(st.st_size)));
}

}  // namespace ze::system
