// The SZDD expander: streams made by hand for the format's corners, files compressed by
// an independent tool (mscompress) expanded byte for byte, and damaged files.
#include "frame/system/szdd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "tests/registry/temp_dir.h"

namespace ze::system {
namespace {

using namespace std::string_literals;

std::string Header(std::uint32_t length, char method = 'A') {
  std::string h = "SZDD\x88\xf0\x27\x33"s;
  h.push_back(method);
  h.push_back('t');
  for (int i = 0; i < 4; ++i) h.push_back(static_cast<char>(length >> (8 * i)));
  return h;
}

// A reference to window position `pos`, `count` bytes long.
std::string Ref(unsigned pos, unsigned count) {
  return {static_cast<char>(pos & 0xFF), static_cast<char>(((pos >> 4) & 0xF0) | (count - 3))};
}

TEST(Szdd, ExpandsLiteralsAndReferences) {
  struct Case {
    const char* name;
    std::string stream;
    std::string expected;
  } cases[] = {
      {"literals only",
       "\xff"
       "abcdefgh"s,
       "abcdefgh"},
      // The window starts as blanks: a reference before anything is written gives them.
      {"initial window is blanks", "\x00"s + Ref(0, 3), "   "},
      // Writing starts at 4080: a literal lands there, and a reference to it overlaps
      // the bytes it is producing.
      {"overlapping run", "\x01"s + "a" + Ref(4080, 18), std::string(19, 'a')},
      // Seventeen literals fill 4080 to 4095 and wrap to 0; the reference reads across
      // the end and then a byte it wrote itself.
      {"reference wraps the window end",
       "\xff"
       "abcdefgh"
       "\xff"
       "ijklmnop"
       "\x01"
       "q"s +
           Ref(4094, 4),
       "abcdefghijklmnopqopqo"},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(ExpandSzdd(Header(c.expected.size()) + c.stream, 1000, out), SzddResult::kExpanded)
        << c.name;
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

TEST(Szdd, TheHeaderLengthBoundsTheOutput) {
  std::string out;
  // More stream than the header promises: the rest is not expanded.
  EXPECT_EQ(ExpandSzdd(Header(3) + "\xff"
                                   "abcdefgh"s,
                       1000, out),
            SzddResult::kExpanded);
  EXPECT_EQ(out, "abc");
  // A reference is cut where the length ends.
  EXPECT_EQ(ExpandSzdd(Header(5) + "\x01"s + "a" + Ref(4080, 18), 1000, out),
            SzddResult::kExpanded);
  EXPECT_EQ(out, "aaaaa");
  EXPECT_EQ(ExpandSzdd(Header(0) + "\x01\x00"s, 1000, out), SzddResult::kExpanded);
  EXPECT_EQ(out, "");
}

TEST(Szdd, RefusesDamagedAndHostileFiles) {
  std::string out;
  struct Case {
    const char* name;
    std::string file;
    std::size_t limit;
    SzddResult expected;
  } cases[] = {
      {"no signature", "MZ\x90\x00 plain bytes"s, 1000, SzddResult::kNotSzdd},
      {"empty file", "", 1000, SzddResult::kNotSzdd},
      {"signature only", "SZDD\x88\xf0\x27\x33"s, 1000, SzddResult::kDamaged},
      {"header cut short", Header(4).substr(0, 12), 1000, SzddResult::kDamaged},
      {"unknown method",
       Header(8, 'B') + "\xff"
                        "abcdefgh"s,
       1000, SzddResult::kDamaged},
      {"length larger than the stream",
       Header(9) + "\xff"
                   "abcdefgh"s,
       1000, SzddResult::kDamaged},
      {"literal missing at the end",
       Header(2) + "\xff"
                   "a"s,
       1000, SzddResult::kDamaged},
      {"reference cut in half",
       Header(4) + "\x01"
                   "a\xf0"s,
       1000, SzddResult::kDamaged},
      // A length no stream of this size can give is refused before anything is reserved.
      {"huge length", Header(0xFFFFFFFFu) + "\x01\x00"s, SIZE_MAX, SzddResult::kDamaged},
      {"above the caller's limit",
       Header(2000) + "\xff"
                      "abcdefgh"s,
       1000, SzddResult::kTooLarge},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandSzdd(c.file, c.limit, out), c.expected) << c.name;
  }
}

// Files compressed by mscompress (Debian's package of the same name), made here.
class MscompressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v mscompress >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "mscompress is missing (scripts/install-deps.sh installs it)";
  }
  std::string Compress(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.Write(name, bytes);
    const std::string command = "mscompress '" + path + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(path + "_", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  ze::testing::TempDir dir_;
};

TEST_F(MscompressTest, ExpandsItsFilesByteForByte) {
  std::mt19937 random(20051204);
  std::string noise(70000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += "riga " + std::to_string(i % 97) + " del file di prova\r\n";
  std::string runs = std::string(5000, ' ') + std::string(5000, 'z') + "fine";
  const std::pair<const char*, std::string> inputs[] = {
      {"noise.bin", noise},
      {"text.txt", text},
      {"runs.bin", runs},
      // mscompress itself mangles files shorter than 16 bytes (its own expander gives the
      // same wrong bytes back), so the shortest file here has 16.
      {"short.bin", "sedici caratteri"}};
  for (const auto& [name, bytes] : inputs) {
    const std::string compressed = Compress(name, bytes);
    ASSERT_TRUE(IsSzdd(compressed)) << name;
    std::string out;
    EXPECT_EQ(ExpandSzdd(compressed, 1 << 20, out), SzddResult::kExpanded) << name;
    EXPECT_TRUE(out == bytes) << name << ": " << out.size() << " bytes instead of " << bytes.size();
  }
}

// Every cut of a compressed file short of its end is a failure, never a short success.
TEST_F(MscompressTest, EveryTruncationFails) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "abc" + std::to_string(i * i);
  const std::string compressed = Compress("cut.txt", text);
  std::string out;
  for (std::size_t n = 0; n < compressed.size(); ++n) {
    EXPECT_NE(ExpandSzdd(compressed.substr(0, n), 1 << 20, out), SzddResult::kExpanded) << n;
  }
  EXPECT_EQ(ExpandSzdd(compressed, 1 << 20, out), SzddResult::kExpanded);
  EXPECT_EQ(out, text);
}

}  // namespace
}  // namespace ze::system
