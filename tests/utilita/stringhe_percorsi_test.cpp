// zeUtilita's strings and paths: the worked examples, the edges, the 16-bit limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/automation/error.h"
#include "frame/system/files.h"
#include "tests/utilita/error_of.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using ze::String;

const String kLungo(32768, u'x');
const String kMassimo(32767, u'x');

class StringheTest : public ::testing::Test {
 protected:
  void SetUp() override { ze::Err().Clear(); }
  std::vector<String> Split(const String& buf, const String& sep, bool* result = nullptr) {
    std::vector<String> tmp{u"vecchio", u"resto"};
    const bool split = u_.zeSplit(tmp, buf, sep);
    if (result != nullptr) *result = split;
    return tmp;
  }
  zeUtilita u_;
};

TEST_F(StringheTest, AggiungiSepDirTrimsAndEndsWithOneBackslashInTheCallersVariable) {
  struct Case {
    String in, out;
  } cases[] = {
      {u"  C:\\dati  ", u"C:\\dati\\"}, {u"C:\\", u"C:\\"}, {u"", u""}, {u"    ", u""},
      {u"C:/dati/", u"C:/dati/\\"},      // only "\" counts as the separator
      {u"\tC:\\dati", u"\tC:\\dati\\"},  // only blanks are trimmed
  };
  for (const Case& c : cases) {
    String percorso = c.in;
    EXPECT_EQ(u_.AggiungiSepDir(percorso), c.out);
    EXPECT_EQ(percorso, c.out);
  }
}

TEST_F(StringheTest, ZeReplaceScansLeftToRightWithoutOverlaps) {
  EXPECT_EQ(u_.zeReplace(u"4-9-2005", u"-", u"/"), u"4/9/2005");
  EXPECT_EQ(u_.zeReplace(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(u_.zeReplace(u"a-b-c", u"-", u""), u"abc");
  EXPECT_EQ(u_.zeReplace(u"abc", u"", u"x"), u"abc");
  EXPECT_EQ(u_.zeReplace(u"", u"a", u"x"), u"");
  EXPECT_EQ(u_.zeReplace(u"ab", u"abc", u"x"), u"ab");
  // A match near the end that runs past the text is no match.
  EXPECT_EQ(u_.zeReplace(u"xab", u"abc", u"x"), u"xab");
  // The replacement is not scanned again.
  EXPECT_EQ(u_.zeReplace(u"aa", u"a", u"aa"), u"aaaa");
  // Case matters.
  EXPECT_EQ(u_.zeReplace(u"Aa", u"a", u"b"), u"Ab");
}

TEST_F(StringheTest, ZeReplaceLimitsOnlyTheReplacementTo32767) {
  EXPECT_EQ(ErrorOf([&] { u_.zeReplace(u"a", u"a", kLungo); }), ze::errors::kOverflow);
  EXPECT_EQ(u_.zeReplace(u"a", u"a", kMassimo), kMassimo);
  EXPECT_EQ(u_.zeReplace(kLungo, u"x", u"y"), String(32768, u'y'));
}

TEST_F(StringheTest, ZeSplitCutsAtEverySeparatorIgnoringOneTrailingOne) {
  struct Case {
    String buf, sep;
    std::vector<String> out;
  } cases[] = {
      {u"a,b", u",", {u"a", u"b"}},       {u"a,b,", u",", {u"a", u"b"}},
      {u"a,,b", u",", {u"a", u"", u"b"}}, {u",a", u",", {u"", u"a"}},
      {u"a,,", u",", {u"a", u""}},        {u",", u",", {u""}},
      {u"abc", u",", {u"abc"}},           {u"a::b::", u"::", {u"a", u"b"}},
      {u"a:::b", u"::", {u"a", u":b"}},   {u"a:", u"::", {u"a:"}},
  };
  for (const Case& c : cases) {
    bool result = false;
    EXPECT_EQ(Split(c.buf, c.sep, &result), c.out) << ze::ToUtf8(c.buf);
    EXPECT_TRUE(result);
  }
}

TEST_F(StringheTest, ZeSplitOfAnEmptyTextOrSeparatorIsFalseWithOneEmptyElement) {
  bool result = true;
  EXPECT_EQ(Split(u"", u",", &result), std::vector<String>{u""});
  EXPECT_FALSE(result);
  result = true;
  EXPECT_EQ(Split(u"a,b", u"", &result), std::vector<String>{u""});
  EXPECT_FALSE(result);
}

TEST_F(StringheTest, ZeSplitLimitsTextAndSeparatorTo32767) {
  EXPECT_EQ(ErrorOf([&] { Split(kLungo, u","); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { Split(u"a", kLungo); }), ze::errors::kOverflow);
  EXPECT_EQ(Split(kMassimo, u",").front(), kMassimo);
}

TEST_F(StringheTest, PathsAreTakenApartAtTheirLastSeparator) {
  EXPECT_EQ(u_.DeterminaSoloFileName(u"C:\\dati\\archivio.mdb"), u"archivio.mdb");
  EXPECT_EQ(u_.DeterminaSoloFileName(u"dati/prova.txt"), u"prova.txt");
  EXPECT_EQ(u_.DeterminaSoloFileName(u"C:\\dati\\"), u"");
  EXPECT_EQ(u_.DeterminaSoloFileName(u"archivio"), u"archivio");
  EXPECT_EQ(u_.DeterminaSoloFileName(u""), u"");

  struct Case {
    String in, estensione, path;
  } cases[] = {
      {u"C:\\cartella.old\\file", u"old\\file", u"C:\\cartella.old\\"},
      {u"archivio.tar.gz", u"gz", u""},
      {u".profilo", u"", u""},
      {u"nome.", u"", u""},
      {u"\\file", u"", u""},
      {u"a.b\\", u"b\\", u"a.b\\"},
      {u"C:\\dati\\archivio.mdb", u"mdb", u"C:\\dati\\"},
      {u"dati/prova.txt", u"txt", u""},  // only "\" ends a folder here
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    String filename = c.in;
    EXPECT_EQ(u_.EstraiEstensione(filename), c.estensione) << ze::ToUtf8(c.in);
    EXPECT_EQ(u_.EstraiPath(filename), c.path) << ze::ToUtf8(c.in);
    EXPECT_EQ(filename, c.in);
  }
}

TEST_F(StringheTest, PathRoutinesFailPast32767Characters) {
  String lungo = kLungo;
  EXPECT_EQ(ErrorOf([&] { u_.DeterminaSoloFileName(lungo); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { u_.EstraiEstensione(lungo); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { u_.EstraiPath(lungo); }), ze::errors::kOverflow);
  EXPECT_EQ(ErrorOf([&] { u_.EspuraSpazi(lungo); }), ze::errors::kOverflow);
  String massimo = kMassimo;
  EXPECT_EQ(u_.DeterminaSoloFileName(massimo), kMassimo);
  EXPECT_EQ(u_.EstraiPath(massimo), u"");
}

TEST_F(StringheTest, EspuraSpaziRemovesOnlySpaces) {
  EXPECT_EQ(u_.EspuraSpazi(u" a b  c "), u"abc");
  EXPECT_EQ(u_.EspuraSpazi(u"a\tb\r\n"), u"a\tb\r\n");
  EXPECT_EQ(u_.EspuraSpazi(u""), u"");
  EXPECT_EQ(u_.EspuraSpazi(u"   "), u"");
}

TEST_F(StringheTest, StripTerminatorCutsAtTheFirstNul) {
  EXPECT_EQ(u_.StripTerminator(String(u"abc\0def\0", 8)), u"abc");
  EXPECT_EQ(u_.StripTerminator(String(u"\0abc", 4)), u"");
  EXPECT_EQ(u_.StripTerminator(u"abc"), u"abc");
  // Only a NUL beyond 32767 overflows: a long text without one, or with one early, is fine.
  EXPECT_EQ(u_.StripTerminator(kLungo), kLungo);
  EXPECT_EQ(u_.StripTerminator(String(u"a\0", 2) + kLungo), u"a");
  EXPECT_EQ(u_.StripTerminator(kMassimo.substr(1) + String(1, u'\0')), kMassimo.substr(1));
  EXPECT_EQ(ErrorOf([&] { u_.StripTerminator(kMassimo + String(1, u'\0')); }),
            ze::errors::kOverflow);
}

TEST_F(StringheTest, KeyMaiuscoloUpperCasesInTheAnsiCodePage) {
  struct Case {
    std::int16_t in, out;
  } cases[] = {
      {'a', 'A'},   {'z', 'Z'}, {'A', 'A'}, {'1', '1'}, {0, 0}, {0xE0, 0xC0},  // à -> À
      {0xFF, 0x9F},  // ÿ -> Ÿ, elsewhere in the code page
      {0x9A, 0x8A},  // š -> Š
      {0xB5, 0xB5},  // µ: its upper case is not in the code page
      {0xDF, 0xDF},  // ß has no single upper-case character
  };
  for (const Case& c : cases) {
    std::int16_t key = c.in;
    EXPECT_EQ(u_.KeyMaiuscolo(key), c.out) << c.in;
    EXPECT_EQ(key, c.in);
  }
  for (std::int16_t bad : {std::int16_t{-1}, std::int16_t{256}, std::int16_t{32767}}) {
    EXPECT_EQ(ErrorOf([&] { u_.KeyMaiuscolo(bad); }), ze::errors::kInvalidProcedureCall);
  }
}

// A file service that records folder changes, and can refuse the drive.
class RecordingFiles : public ze::system::DefaultFileService {
 public:
  String ModuleFile(const void*) override { return module; }
  bool ChangeDrive(const String& path) override {
    calls.push_back(u"drive " + path);
    return drive_ok;
  }
  bool ChangeDirectory(const String& folder) override {
    calls.push_back(u"dir " + folder);
    return false;
  }
  String module = u"C:\\opt\\zekalendo\\libzeKalendo.so.1";
  bool drive_ok = true;
  std::vector<String> calls;
};

TEST_F(StringheTest, CurDirAppTriesTheDriveThenTheFolderAndIgnoresFailures) {
  RecordingFiles files;
  ze::system::InstallFileService(&files);
  files.drive_ok = false;
  u_.CurDirApp();
  files.module = u"C:\\libzeKalendo.so";
  u_.CurDirApp();
  ze::system::InstallFileService(nullptr);
  EXPECT_EQ(files.calls,
            (std::vector<String>{u"drive C:\\opt\\zekalendo", u"dir C:\\opt\\zekalendo",
                                 u"drive C:\\", u"dir C:\\"}));
  EXPECT_EQ(ze::Err().Number, 0);
}

}  // namespace
}  // namespace zekalendo
