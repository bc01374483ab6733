// The PE version reader against files built by mingw-w64 and against hand-made
// headers, sound and hostile.
#include "frame/system/pe_version.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/fixtures/mingw_pe.h"

namespace ze::system {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = v >> 8;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

// Where the parts of the hand-made file lie, for the tests that damage one of them.
namespace at {
constexpr std::size_t kPe = 0x40;
constexpr std::size_t kCoff = kPe + 4;
constexpr std::size_t kOptional = kPe + 24;
constexpr std::size_t kRaw = 0x200;  // the .rsrc section's data
constexpr std::size_t kTypeDir = kRaw;
constexpr std::size_t kNameDir = kRaw + 0x18;
constexpr std::size_t kLanguageDir = kRaw + 0x30;
constexpr std::size_t kDataEntry = kRaw + 0x48;
constexpr std::size_t kBlock = kRaw + 0x58;
constexpr std::size_t kFixed = kBlock + 40;
}  // namespace at
constexpr std::uint32_t kRva = 0x1000;
constexpr std::size_t kBlockSize = 92;
constexpr std::size_t kFileSize = at::kBlock + kBlockSize;

constexpr std::size_t OptionalSize(bool plus) {
  return plus ? 240 : 224;
}
constexpr std::size_t SectionTable(bool plus) {
  return at::kOptional + OptionalSize(plus);
}

// A PE file with one section, .rsrc, holding a version resource stamped ms/ls, laid
// out as a linker lays it out.
Bytes MakePe(bool plus, std::uint32_t ms, std::uint32_t ls) {
  Bytes b(kFileSize, 0);
  Put16(b, 0, 0x5A4D);
  Put32(b, 0x3C, at::kPe);
  Put32(b, at::kPe, 0x4550);
  Put16(b, at::kCoff, plus ? 0x8664 : 0x14C);
  Put16(b, at::kCoff + 2, 1);
  Put16(b, at::kCoff + 16, static_cast<std::uint16_t>(OptionalSize(plus)));
  Put16(b, at::kOptional, plus ? 0x20B : 0x10B);
  const std::size_t count = at::kOptional + (plus ? 108 : 92);
  Put32(b, count, 16);
  Put32(b, count + 4 + 2 * 8, kRva);
  Put32(b, count + 4 + 2 * 8 + 4, kFileSize - at::kRaw);
  const std::size_t section = SectionTable(plus);
  std::memcpy(&b[section], ".rsrc", 5);
  Put32(b, section + 8, kFileSize - at::kRaw);
  Put32(b, section + 12, kRva);
  Put32(b, section + 16, kFileSize - at::kRaw);
  Put32(b, section + 20, at::kRaw);
  // Type RT_VERSION, name 1, language 0x410, each a directory of one id entry.
  Put16(b, at::kTypeDir + 14, 1);
  Put32(b, at::kTypeDir + 16, 16);
  Put32(b, at::kTypeDir + 20, 0x80000000 | (at::kNameDir - at::kRaw));
  Put16(b, at::kNameDir + 14, 1);
  Put32(b, at::kNameDir + 16, 1);
  Put32(b, at::kNameDir + 20, 0x80000000 | (at::kLanguageDir - at::kRaw));
  Put16(b, at::kLanguageDir + 14, 1);
  Put32(b, at::kLanguageDir + 16, 0x410);
  Put32(b, at::kLanguageDir + 20, at::kDataEntry - at::kRaw);
  Put32(b, at::kDataEntry, kRva + (at::kBlock - at::kRaw));
  Put32(b, at::kDataEntry + 4, kBlockSize);
  Put16(b, at::kBlock, kBlockSize);
  Put16(b, at::kBlock + 2, 52);
  const char16_t key[] = u"VS_VERSION_INFO";
  for (std::size_t i = 0; i < std::size(key); ++i) Put16(b, at::kBlock + 6 + 2 * i, key[i]);
  Put32(b, at::kFixed, 0xFEEF04BD);
  Put32(b, at::kFixed + 4, 0x10000);
  Put32(b, at::kFixed + 8, ms);
  Put32(b, at::kFixed + 12, ls);
  return b;
}

std::optional<FileVersion> Read(const Bytes& b) {
  return ReadFileVersion(std::span(b));
}

TEST(PeVersion, HandMadeFilesOfBothFormatsRead) {
  for (const bool plus : {false, true}) {
    EXPECT_EQ(Read(MakePe(plus, 0x00020000, 0x00000002)), (FileVersion{0x00020000, 2})) << plus;
    EXPECT_EQ(Read(MakePe(plus, 0xFFFF8000, 0x7FFF0001)), (FileVersion{0xFFFF8000, 0x7FFF0001}));
  }
}

TEST(PeVersion, EveryTruncationIsNoVersion) {
  const Bytes whole = MakePe(true, 0x00010002, 0x00030004);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    EXPECT_FALSE(Read(Bytes(whole.begin(), whole.begin() + size))) << size;
  }
}

struct Damage {
  const char* name;
  void (*apply)(Bytes&);
};

TEST(PeVersion, DamagedOrHostileHeadersAreNoVersion) {
  // In the PE32 file the damage is done to.
  static constexpr std::size_t s_section = SectionTable(false);
  static constexpr std::size_t s_resource = at::kOptional + 96 + 2 * 8;
  const Damage cases[] = {
      {"no MZ", [](Bytes& b) { b[0] = 'Z'; }},
      {"PE header past the end", [](Bytes& b) { Put32(b, 0x3C, 0xFFFFFFF0); }},
      {"PE header at the very end", [](Bytes& b) { Put32(b, 0x3C, kFileSize - 4); }},
      {"no PE signature", [](Bytes& b) { b[at::kPe + 1] = 'X'; }},
      {"unknown optional magic", [](Bytes& b) { Put16(b, at::kOptional, 0x107); }},
      {"optional header too short", [](Bytes& b) { Put16(b, at::kCoff + 16, 1); }},
      {"optional header past the end", [](Bytes& b) { Put16(b, at::kCoff + 16, 0xFFFF); }},
      {"two data directories only", [](Bytes& b) { Put32(b, at::kOptional + 92, 2); }},
      {"no resource directory", [](Bytes& b) { Put32(b, s_resource, 0); }},
      {"resource RVA in no section", [](Bytes& b) { Put32(b, s_resource, 0x9000); }},
      {"65535 sections", [](Bytes& b) { Put16(b, at::kCoff + 2, 0xFFFF); }},
      {"section data past the end", [](Bytes& b) { Put32(b, s_section + 20, 0xFFFFFF00); }},
      {"no version type", [](Bytes& b) { Put32(b, at::kTypeDir + 16, 3); }},
      {"version type named, not numbered",
       [](Bytes& b) { Put32(b, at::kTypeDir + 16, 0x80000010); }},
      {"65535 entries", [](Bytes& b) { Put16(b, at::kTypeDir + 14, 0xFFFF); }},
      {"type entry is data, not a directory",
       [](Bytes& b) { Put32(b, at::kTypeDir + 20, at::kDataEntry - at::kRaw); }},
      {"directory that points at itself",
       [](Bytes& b) { Put32(b, at::kNameDir + 20, 0x80000000 | (at::kNameDir - at::kRaw)); }},
      {"directory past the tree", [](Bytes& b) { Put32(b, at::kTypeDir + 20, 0x8FFFFFF0); }},
      {"language is a directory", [](Bytes& b) { Put32(b, at::kLanguageDir + 20, 0x80000000); }},
      {"data RVA in no section", [](Bytes& b) { Put32(b, at::kDataEntry, 0x10); }},
      {"data larger than the file", [](Bytes& b) { Put32(b, at::kDataEntry + 4, 0xFFFFFFFF); }},
      {"data smaller than a block", [](Bytes& b) { Put32(b, at::kDataEntry + 4, 60); }},
      {"block longer than its data", [](Bytes& b) { Put16(b, at::kBlock, kBlockSize + 4); }},
      {"no fixed part", [](Bytes& b) { Put16(b, at::kBlock + 2, 0); }},
      {"another key", [](Bytes& b) { Put16(b, at::kBlock + 6, u'W'); }},
      {"no signature", [](Bytes& b) { Put32(b, at::kFixed, 0xFEEF04BE); }},
  };
  for (const Damage& d : cases) {
    Bytes b = MakePe(false, 0x00010002, 0x00030004);
    d.apply(b);
    EXPECT_FALSE(Read(b)) << d.name;
  }
}

TEST(PeVersion, NotPeFilesAreNoVersion) {
  const std::string text = "MZ is not enough: this is a text file\r\n";
  EXPECT_FALSE(
      ReadFileVersion(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
  EXPECT_FALSE(ReadFileVersion(std::string("/nonexistent/file.dll")));
  EXPECT_FALSE(ReadFileVersion(std::string("/dev/null")));
  EXPECT_FALSE(ReadFileVersion(std::string("/tmp")));
}

class MingwPe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ze::fixtures::MingwAvailable())
      GTEST_SKIP() << "mingw-w64 (windres, gcc) is not installed: scripts/install-deps.sh";
    char name[] = "/tmp/pe_version_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  std::optional<FileVersion> Build(const char* name, fixtures::PeKind kind,
                                   std::optional<std::array<unsigned, 4>> version) {
    const auto path = fixtures::BuildPe(folder_, name, kind, version);
    if (!path) {
      ADD_FAILURE() << "mingw-w64 could not build " << name;
      return std::nullopt;
    }
    return ReadFileVersion(*path);
  }
  std::string folder_;
};

TEST_F(MingwPe, StampedVersionsReadExactly) {
  using fixtures::PeKind;
  EXPECT_EQ(Build("v2002.dll", PeKind::kDll, std::array<unsigned, 4>{2, 0, 0, 2}),
            (FileVersion{0x00020000, 0x00000002}));
  EXPECT_EQ(Build("high.dll", PeKind::kDll, std::array<unsigned, 4>{40000, 65535, 32768, 7}),
            (FileVersion{0x9C40FFFF, 0x80000007}));
  EXPECT_EQ(Build("program.exe", PeKind::kExe, std::array<unsigned, 4>{1, 2, 3, 4}),
            (FileVersion{0x00010002, 0x00030004}));
  EXPECT_EQ(Build("bare.dll", PeKind::kDll, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace ze::system
