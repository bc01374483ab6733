// The property bag: the default rule both ways, names, the text form and files.
#include "frame/container/property_bag.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "frame/automation/error.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"
#include "frame/system/atomic_file.h"
#include "tests/fixtures/child_process.h"

namespace ze::container {
namespace {

Variant FontValue(const char16_t* name, double size, bool bold = false) {
  return ObjectRef(std::make_shared<Font>(name, size, bold));
}

TEST(PropertyBagRule, ReadGivesTheStoredValueOrTheDefault) {
  PropertyBag bag;
  EXPECT_EQ(bag.ReadProperty(u"Locked", false), Variant(false));
  EXPECT_TRUE(bag.ReadProperty(u"Locked").IsEmpty());
  bag.WriteProperty(u"Locked", u"yes");  // a value of another kind comes back as stored
  EXPECT_EQ(bag.ReadProperty(u"Locked", false), Variant(u"yes"));
  EXPECT_EQ(bag.ReadProperty(u"LOCKED", false), Variant(u"yes"));  // names ignore case
}

TEST(PropertyBagRule, WriteStoresNothingWhenTheValueEqualsTheDefault) {
  const auto picture = std::make_shared<Picture>(PictureKind::Icon, 32, 32, "data");
  struct {
    const char* name;
    Variant value, def;
    bool stored;
  } cases[] = {
      {"same Long", std::int32_t(0x80000005u), std::int32_t(0x80000005u), false},
      {"other Long", std::int32_t{255}, std::int32_t(0x80000005u), true},
      {"Integer against Long zero", std::int16_t{0}, std::int32_t{0}, false},
      {"Double against Integer", 3.0, std::int16_t{3}, false},
      {"Single against Double", 0.5f, 0.5, false},
      {"Boolean True against -1", true, std::int16_t{-1}, false},
      {"Boolean False against False", false, false, false},
      {"Boolean True against False", true, false, true},
      {"same text", u"00/00/0000", u"00/00/0000", false},
      {"text differing in case", u"abc", u"ABC", true},
      {"text against number", u"0", std::int16_t{0}, true},
      {"equal fonts, two objects", FontValue(u"MS Sans Serif", 8), FontValue(u"ms sans serif", 8),
       false},
      {"fonts differing in Bold", FontValue(u"MS Sans Serif", 8, true),
       FontValue(u"MS Sans Serif", 8), true},
      {"Nothing against Nothing", Variant::Nothing(), Variant::Nothing(), false},
      {"picture against Nothing", ObjectRef(picture), Variant::Nothing(), true},
      {"equal pictures", ObjectRef(picture),
       ObjectRef(std::make_shared<Picture>(PictureKind::Icon, 32, 32, "data")), false},
      {"Empty against Empty", Variant(), Variant(), false},
      {"Null against Empty", Variant::Null(), Variant(), true},
      {"Date against its serial", ze::Date(5), 5.0, true},
  };
  for (const auto& c : cases) {
    PropertyBag bag;
    bag.WriteProperty(u"P", c.value, c.def);
    EXPECT_EQ(bag.Contains(u"P"), c.stored) << c.name;
    EXPECT_TRUE(SameStoredValue(bag.ReadProperty(u"P", c.def), c.value)) << c.name;
  }
}

TEST(PropertyBagRule, WriteWithoutADefaultAlwaysStores) {
  PropertyBag bag;
  bag.WriteProperty(u"PopSelezione", false);
  bag.WriteProperty(u"Empty", Variant());
  EXPECT_TRUE(bag.Contains(u"PopSelezione"));
  EXPECT_TRUE(bag.Contains(u"Empty"));
  EXPECT_EQ(bag.ReadProperty(u"PopSelezione", true), Variant(false));
}

TEST(PropertyBagRule, WritingTheDefaultDropsAStaleEntry) {
  PropertyBag bag;
  bag.WriteProperty(u"Locked", true, false);
  bag.WriteProperty(u"Locked", false, false);
  EXPECT_FALSE(bag.Contains(u"Locked"));
  EXPECT_EQ(bag.ReadProperty(u"Locked", false), Variant(false));
}

TEST(PropertyBagRule, EntriesKeepTheirOrderAndFirstSpelling) {
  PropertyBag bag;
  bag.WriteProperty(u"BackColor", std::int32_t{1});
  bag.WriteProperty(u"Font", FontValue(u"Arial", 9));
  bag.WriteProperty(u"backcolor", std::int32_t{2});
  ASSERT_EQ(bag.size(), 2u);
  EXPECT_EQ(bag.Entries()[0].name, u"BackColor");
  EXPECT_EQ(bag.Entries()[0].value, Variant(std::int32_t{2}));
  EXPECT_EQ(bag.Entries()[1].name, u"Font");
}

PropertyBag EveryKind() {
  PropertyBag bag;
  bag.WriteProperty(u"BackColor", std::int32_t(0x80000005u));
  bag.WriteProperty(u"Font", ObjectRef(std::make_shared<Font>(u"MS Sans Serif", 9.75, true)));
  bag.WriteProperty(u"ForeColor", std::int32_t{255});
  bag.WriteProperty(u"Locked", true);
  bag.WriteProperty(u"MouseIcon",
                    ObjectRef(std::make_shared<Picture>(PictureKind::Icon, 32, 32, "\x01\x02")));
  bag.WriteProperty(u"MousePointer", std::int16_t{99});
  bag.WriteProperty(u"Text", u"say \"25/12/2005\"\r\n");
  bag.WriteProperty(u"Massimo", 3000.0);
  bag.WriteProperty(u"Ratio", 0.1f);
  bag.WriteProperty(u"Giorno", ze::Date(38711.5));
  bag.WriteProperty(u"Nessuno", Variant::Nothing());
  bag.WriteProperty(u"Vuoto", Variant::Null());
  bag.WriteProperty(u"with space", u"any name");
  return bag;
}

void ExpectSame(const PropertyBag& a, const PropertyBag& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a.Entries()[i].name, b.Entries()[i].name);
    EXPECT_EQ(a.Entries()[i].value.type(), b.Entries()[i].value.type()) << i;
    EXPECT_TRUE(SameStoredValue(a.Entries()[i].value, b.Entries()[i].value)) << i;
  }
}

TEST(PropertyBagText, FormatReadsBackKindsAndAll) {
  const PropertyBag bag = EveryKind();
  const String text = bag.Format();
  EXPECT_NE(text.find(u"BackColor = -2147483643\n"), String::npos);
  EXPECT_NE(text.find(u"Font = Font(\"MS Sans Serif\", 9.75, Bold)\n"), String::npos);
  EXPECT_NE(text.find(u"ForeColor = 255&\n"), String::npos);
  EXPECT_NE(text.find(u"\"with space\" = \"any name\"\n"), String::npos);
  PropertyBag back;
  back.Parse(text);
  ExpectSame(bag, back);
}

TEST(PropertyBagText, ReadsHandWrittenText) {
  PropertyBag bag;
  bag.Parse(
      u"\uFEFF# a comment\r\n"
      u"\r\n"
      u"  BackColor = &H80000005&\r\n"
      u"Font=Font(\"Arial\", 10, Italic)\r\n"
      u"' another comment\n"
      u"Text = \"01/01/2000\"");  // no final newline
  EXPECT_EQ(bag.size(), 3u);
  EXPECT_EQ(bag.ReadProperty(u"BackColor"), Variant(std::int32_t(0x80000005u)));
  EXPECT_EQ(bag.ReadProperty(u"Text"), Variant(u"01/01/2000"));
}

TEST(PropertyBagText, ABadLineIsNamedAndNothingIsLoaded) {
  using namespace std::string_literals;
  struct {
    String text;
    const char* line;
  } cases[] = {
      {u"A = 1\nB = \"open\nC = 3\n"s, "line 2"},  // truncated string
      {u"A = 1\nB = Bogus(1)\n"s, "line 2"},       // unknown kind
      {u"A = 1\n\n= 5\n"s, "line 3"},              // no name
      {u"A 1\n"s, "line 1"},                       // no =
      {u"A = 1\nB = #2005-02-30#\n"s, "line 2"},   // no such date
      {u"A = 1\nB = \n"s, "line 2"},               // no value
      {u"A = 1\na = 2\n"s, "line 2"},              // the same name twice
      {u"A = 1\nB = 2\u0001\n"s, "line 2"},        // a control character: not text
      {u"A = 1\nB = \"x\"\0C = 2\n"s, "line 2"},   // a NUL: not text
  };
  for (const auto& c : cases) {
    PropertyBag bag = EveryKind();
    try {
      bag.Parse(c.text);
      ADD_FAILURE() << ToUtf8(c.text);
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 321);
      EXPECT_NE(ToUtf8(e.description()).find(c.line), std::string::npos) << ToUtf8(e.description());
    }
    ExpectSame(bag, EveryKind());
  }
}

// A key with a tab or a quote is written as a string literal, and reads back.
TEST(PropertyBagText, KeysThatAreNoNamesReadBack) {
  PropertyBag bag;
  bag.WriteProperty(u"\t\tdue tab", std::int32_t{1});
  bag.WriteProperty(u"say \"hi\"", std::int32_t{2});
  bag.WriteProperty(u"a = b", std::int32_t{3});
  bag.WriteProperty(u"Chr", std::int32_t{4});
  PropertyBag back;
  back.Parse(bag.Format());
  ExpectSame(bag, back);
}

// A large bag reads in time proportional to its size (each name is looked up once,
// not compared with every earlier one), and a repeated name far down is still found.
TEST(PropertyBagText, ALargeBagReadsWholeAndFindsALateDuplicate) {
  constexpr int kEntries = 50000;
  String text;
  for (int i = 0; i < kEntries; ++i) text += u"P" + FromUtf8(std::to_string(i)) + u" = 1\n";
  PropertyBag bag;
  bag.Parse(text);
  EXPECT_EQ(bag.size(), std::size_t{kEntries});
  EXPECT_TRUE(bag.Contains(u"p49999"));
  try {
    bag.Parse(text + u"p5 = 2\n");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_NE(ToUtf8(e.description()).find("line 50001: the name p5 comes twice"),
              std::string::npos)
        << ToUtf8(e.description());
  }
  EXPECT_EQ(bag.size(), std::size_t{kEntries});
}

class PropertyBagFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ze-bag-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const char* name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::path dir_;
};

TEST_F(PropertyBagFile, RoundTrip) {
  const PropertyBag bag = EveryKind();
  bag.SaveFile(Path("k1.bag"));
  PropertyBag back;
  back.LoadFile(Path("k1.bag"));
  ExpectSame(bag, back);
  EXPECT_FALSE(std::filesystem::exists(Path("k1.bag.tmp~")));
  bag.SaveFile(Path("k1.bag"));  // saving over an existing file
  back.LoadFile(Path("k1.bag"));
  ExpectSame(bag, back);
}

TEST_F(PropertyBagFile, FilesThatCannotBeRead) {
  Write("binary.bag", std::string("A = 1\nB = \xFF\xFE\n", 14));
  Write("truncated.bag", "A = 1\nB = Font(\"Arial\", 9");
  // A FIFO with no writer would block a plain read forever; /dev/zero never ends.
  ASSERT_EQ(mkfifo(Path("fifo.bag").c_str(), 0600), 0);
  Write("huge.bag", "");
  std::filesystem::resize_file(Path("huge.bag"), std::uintmax_t{1} << 30);  // sparse
  struct {
    const char* name;
    std::int32_t number;
    const char* says;
  } cases[] = {
      {"missing.bag", errors::kFileNotFound, ""},
      {"binary.bag", 321, "line 2: not text"},
      {"truncated.bag", 321, "line 2"},
      {"", 75, "is not a regular file"},  // the folder itself
      {"fifo.bag", 75, "is not a regular file"},
      {"/dev/zero", 75, "is not a regular file"},
      {"huge.bag", 75, "is larger than"},
  };
  for (const auto& c : cases) {
    PropertyBag bag = EveryKind();
    try {
      bag.LoadFile(c.name[0] == '/' ? std::string(c.name) : Path(c.name));
      ADD_FAILURE() << c.name;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.name;
      EXPECT_NE(ToUtf8(e.description()).find(c.says), std::string::npos) << c.name;
    }
    ExpectSame(bag, EveryKind());
  }
  EXPECT_THROW(EveryKind().SaveFile(Path("no/such/folder.bag")), AutomationError);
}

// A save killed at any moment leaves the old file or the new one, never a mix: every
// round the file reads back as one of the two bags the writer alternates between.
TEST_F(PropertyBagFile, ASaveKilledAnywhereLeavesTheOldFileOrTheNew) {
  PropertyBag small;
  small.WriteProperty(u"Caption", String(u"piccolo"));
  PropertyBag large = EveryKind();
  for (int i = 0; i < 2000; ++i)
    large.WriteProperty(u"P" + FromUtf8(std::to_string(i)), String(40, u'x'));
  const String smallText = small.Format(), largeText = large.Format();
  const std::string path = Path("k.bag");
  small.SaveFile(path);
  std::mt19937 random(50);
  for (int round = 0; round < 50; ++round) {
    const pid_t child = ze::fixtures::StartChild([&] {
      for (int i = 0;; ++i) (i % 2 ? small : large).SaveFile(path);
      return true;
    });
    ASSERT_GT(child, 0);
    ze::fixtures::KillChildAfter(child, std::chrono::microseconds(random() % 20000));
    PropertyBag back;
    back.LoadFile(path);
    const String text = back.Format();
    EXPECT_TRUE(text == smallText || text == largeText) << "round " << round;
  }
}

// Saving replaces the file whole without following anything planted beside it, keeps
// a private file private, and names a full disk as such.
TEST_F(PropertyBagFile, SavingIsSafeAgainstLinksAndKeepsTheMode) {
  const mode_t old_umask = ::umask(022);
  const std::string victim = Path("vittima");
  Write("vittima", "intatta");
  std::filesystem::create_symlink(victim, Path("k1.bag.tmp~"));
  EveryKind().SaveFile(Path("k1.bag"));
  EXPECT_EQ(Slurp(victim), "intatta") << "a link at the old temporary name is not followed";
  EXPECT_FALSE(std::filesystem::is_symlink(Path("k1.bag")));

  ASSERT_EQ(::chmod(Path("k1.bag").c_str(), 0600), 0);
  EveryKind().SaveFile(Path("k1.bag"));
  EXPECT_EQ(std::filesystem::status(Path("k1.bag")).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ::umask(old_umask);

  const std::string before = Slurp(Path("k1.bag"));
  PropertyBag changed = EveryKind();
  changed.WriteProperty(u"Nuova", 1);
  for (int error : {ENOSPC, EDQUOT}) {
    system::InjectWriteFailures(error);
    try {
      changed.SaveFile(Path("k1.bag"));
      ADD_FAILURE() << "a failed write was reported as a save";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 61) << error;
      EXPECT_EQ(e.description(), u"Disk full");
    }
    system::InjectWriteFailures(0, 0);
    EXPECT_EQ(Slurp(Path("k1.bag")), before) << "the old file stays whole";
  }
}

}  // namespace
}  // namespace ze::container
