// The special folders: the store's Shell Folders values as the routines give them,
// and the key's one-time filling from the desktop's XDG folders.
#include <filesystem>
#include <fstream>

#include "frame/system/desktop_folders.h"
#include "frame/system/shell_folders.h"
#include "tests/utilita/cartelle_fixture.h"

namespace zekalendo::testing {
namespace {

using namespace ze::registry;
using ze::String;
using ze::system::kShellFoldersKey;

using Routine = String (zeUtilita::*)() const;

struct Folder {
  Routine routine;
  const char16_t* value;
  HKEY root;
};

constexpr Folder kFolders[] = {
    {&zeUtilita::CartellaDocumenti, u"Personal", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaDati, u"AppData", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaDatiCondivisi, u"Common AppData", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaDesktop, u"Desktop", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaDesktopTuttiUtenti, u"Common Desktop", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaEsecuzioneAutomatica, u"Startup", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaEsecuzioneAutomaticaTuttiUtenti, u"Common Startup", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaPreferitiTuttiUtenti, u"Common Favorites", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaMenuAvvio, u"Start Menu", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaMenuAvvioTuttiUtenti, u"Common Start Menu", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaSendTo, u"SendTo", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaRecenti, u"Recent", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaMenuProgrammi, u"Programs", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaMenuProgrammiTuttiUtenti, u"Common Programs", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaDocumentiCondivisi, u"Common Documents", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaRisorseRete, u"NetHood", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaImmagini, u"My Pictures", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaImmaginiTuttiUtenti, u"Common Pictures", HKEY_LOCAL_MACHINE},
    {&zeUtilita::CartellaCronologia, u"History", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaFonts, u"Fonts", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaPreferiti, u"Favorites", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaCookies, u"Cookies", HKEY_CURRENT_USER},
    {&zeUtilita::CartellaInternetTemp, u"Cache", HKEY_CURRENT_USER},
};

class ShellFoldersTest : public CartelleTest {
 protected:
  void Put(HKEY root, std::u16string_view name, std::u16string_view text) {
    PutText(root, kShellFoldersKey, name, text);
  }
  void PutRaw(HKEY root, std::u16string_view name, const std::vector<std::uint8_t>& bytes) {
    HKEY h = 0;
    ASSERT_EQ(RegCreateKeyEx(root, kShellFoldersKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                             nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(h, String(name).c_str(), 0, REG_SZ, bytes.data(),
                            static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(h);
  }
  // The value as the store holds it, or nothing.
  static std::optional<String> Stored(HKEY root, std::u16string_view name) {
    HKEY h = 0;
    if (RegOpenKeyEx(root, kShellFoldersKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return std::nullopt;
    std::vector<std::uint8_t> bytes(4096);
    DWORD size = bytes.size(), type = 0;
    const LSTATUS st = RegQueryValueEx(h, String(name).c_str(), nullptr, &type, bytes.data(), &size);
    RegCloseKey(h);
    if (st != ERROR_SUCCESS) return std::nullopt;
    String text;
    for (DWORD i = 0; i + 1 < size; i += 2) {
      const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
      if (c == 0) break;
      text.push_back(c);
    }
    return text;
  }
  void WriteUserDirs(const std::string& text) {
    std::filesystem::create_directories(home_ + "/.config");
    std::ofstream(home_ + "/.config/user-dirs.dirs", std::ios::binary) << text;
  }
};

TEST_F(ShellFoldersTest, EachRoutineReadsItsOwnValueUnderItsOwnRoot) {
  // Every value under both roots, each text naming its value and root, so a routine
  // that reads the wrong name or root gives itself away.
  for (const Folder& f : kFolders) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      Put(root, f.value, String(u"X:\\") + f.value + (root == HKEY_CURRENT_USER ? u" cu" : u" lm"));
  }
  for (const Folder& f : kFolders) {
    const String expected =
        String(u"X:\\") + f.value + (f.root == HKEY_CURRENT_USER ? u" cu\\" : u" lm\\");
    EXPECT_EQ((u_.*f.routine)(), expected) << ze::ToUtf8(f.value);
  }
}

TEST_F(ShellFoldersTest, ValuesGetOneFinalSeparatorAndMissingOnesAreEmpty) {
  Put(HKEY_CURRENT_USER, u"Personal", u"D:\\Docs");
  Put(HKEY_CURRENT_USER, u"Desktop", u"D:\\Scrivania\\");
  Put(HKEY_CURRENT_USER, u"AppData", u"  D:\\Dati  ");
  Put(HKEY_CURRENT_USER, u"Startup", u"");
  Put(HKEY_CURRENT_USER, u"Start Menu", u"   ");
  Put(HKEY_CURRENT_USER, u"Favorites", u"\\\\server\\share\\preferiti");
  EXPECT_EQ(u_.CartellaDocumenti(), u"D:\\Docs\\");
  EXPECT_EQ(u_.CartellaDesktop(), u"D:\\Scrivania\\");
  EXPECT_EQ(u_.CartellaDati(), u"D:\\Dati\\");
  EXPECT_EQ(u_.CartellaEsecuzioneAutomatica(), u"");
  EXPECT_EQ(u_.CartellaMenuAvvio(), u"");
  EXPECT_EQ(u_.CartellaPreferiti(), u"\\\\server\\share\\preferiti\\");
  EXPECT_EQ(u_.CartellaCookies(), u"") << "absent from a key that exists";
}

TEST_F(ShellFoldersTest, ValuesTheReaderCannotTakeAreEmptyNotErrors) {
  PutRaw(HKEY_CURRENT_USER, u"Personal", {});  // no data at all: the reader's error 5
  PutRaw(HKEY_CURRENT_USER, u"Desktop", std::vector<std::uint8_t>(2 * 1100, 'a'));  // too long
  EXPECT_EQ(u_.CartellaDocumenti(), u"");
  EXPECT_EQ(u_.CartellaDesktop(), u"");
}

TEST_F(ShellFoldersTest, AnEmptyStoreIsFilledFromTheUserDirsFile) {
  WriteUserDirs(
      "# written by the desktop\n"
      "XDG_DESKTOP_DIR=\"$HOME/Scrivania\"\n"
      "  XDG_DOCUMENTS_DIR=\"$HOME/Documenti/\"\n"
      "XDG_PICTURES_DIR=\"/srv/immagini\"\n"
      "XDG_MUSIC_DIR=\"relativa\"\n"
      "XDG_PICTURES_DIR=\"/srv/foto \\\"estate\\\"\"\n");
  EXPECT_EQ(u_.CartellaDocumenti(), Windows(home_ + "/Documenti") + u"\\");
  EXPECT_EQ(u_.CartellaDesktop(), Windows(home_ + "/Scrivania") + u"\\");
  EXPECT_EQ(u_.CartellaImmagini(), u"C:\\srv\\foto \"estate\"\\") << "the last line of a name wins";
  EXPECT_EQ(u_.CartellaDati(), Windows(home_ + "/.local/share") + u"\\");
  EXPECT_EQ(u_.CartellaEsecuzioneAutomatica(), Windows(home_ + "/.config/autostart") + u"\\");
  EXPECT_EQ(u_.CartellaMenuProgrammi(), Windows(home_ + "/.local/share/applications") + u"\\");
  EXPECT_EQ(u_.CartellaInternetTemp(), Windows(home_ + "/.cache") + u"\\");
  EXPECT_EQ(u_.CartellaSendTo(), u"") << "the desktop has no such folder";
  EXPECT_EQ(u_.CartellaCronologia(), u"");
  // What was filled is in the store, where zereg shows it.
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, u"Personal"), Windows(home_ + "/Documenti"));
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, u"SendTo"), std::nullopt);
}

TEST_F(ShellFoldersTest, WithoutAUserDirsFileTheDesktopDefaultsAndXdgVariablesCount) {
  env_.Set("XDG_DATA_HOME", dir_.File("dati"));
  env_.Set("XDG_CACHE_HOME", "relativa/non/conta");
  EXPECT_EQ(u_.CartellaDocumenti(), Windows(home_ + "/Documents") + u"\\");
  EXPECT_EQ(u_.CartellaDesktop(), Windows(home_ + "/Desktop") + u"\\");
  EXPECT_EQ(u_.CartellaImmagini(), Windows(home_ + "/Pictures") + u"\\");
  EXPECT_EQ(u_.CartellaDati(), Windows(dir_.File("dati")) + u"\\");
  EXPECT_EQ(u_.CartellaFonts(), Windows(dir_.File("dati") + "/fonts") + u"\\");
  EXPECT_EQ(u_.CartellaInternetTemp(), Windows(home_ + "/.cache") + u"\\");
}

TEST_F(ShellFoldersTest, TheAllUsersFoldersAreTheSystemsOwn) {
  EXPECT_EQ(u_.CartellaDatiCondivisi(), u"C:\\usr\\share\\");
  EXPECT_EQ(u_.CartellaEsecuzioneAutomaticaTuttiUtenti(), u"C:\\etc\\xdg\\autostart\\");
  EXPECT_EQ(u_.CartellaMenuAvvioTuttiUtenti(), u"C:\\usr\\share\\applications\\");
  EXPECT_EQ(u_.CartellaMenuProgrammiTuttiUtenti(), u"C:\\usr\\share\\applications\\");
  EXPECT_EQ(u_.CartellaDesktopTuttiUtenti(), u"");
  EXPECT_EQ(u_.CartellaDocumentiCondivisi(), u"");
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, u"Personal"), std::nullopt)
      << "each root is filled when it is first read";
}

TEST_F(ShellFoldersTest, TheKeyIsFilledOnceAndTheStoreWinsAfterwards) {
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Primo\"\n");
  EXPECT_EQ(u_.CartellaDocumenti(), Windows(home_ + "/Primo") + u"\\");
  // The desktop's file changes: the store keeps what it was given.
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Secondo\"\n");
  EXPECT_EQ(u_.CartellaDocumenti(), Windows(home_ + "/Primo") + u"\\");
  // A user's edit wins, and a deleted value stays deleted.
  Put(HKEY_CURRENT_USER, u"Personal", u"E:\\Miei");
  EXPECT_EQ(u_.CartellaDocumenti(), u"E:\\Miei\\");
  HKEY h = 0;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteValue(h, u"Desktop"), ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_EQ(u_.CartellaDesktop(), u"");
  // Only a key deleted whole is filled again, from the file as it is now.
  ASSERT_EQ(RegDeleteTree(HKEY_CURRENT_USER, kShellFoldersKey), ERROR_SUCCESS);
  EXPECT_EQ(u_.CartellaDocumenti(), Windows(home_ + "/Secondo") + u"\\");
}

TEST_F(ShellFoldersTest, AKeyAnotherProgramMadeIsNotTouched) {
  Put(HKEY_CURRENT_USER, u"Personal", u"D:\\Docs");
  EXPECT_EQ(u_.CartellaDesktop(), u"");
  EXPECT_EQ(Stored(HKEY_CURRENT_USER, u"Desktop"), std::nullopt);
}

TEST_F(ShellFoldersTest, FoldersTheAnsiReaderWouldGarbleAreNotFilled) {
  WriteUserDirs(
      "XDG_DOCUMENTS_DIR=\"$HOME/\xE3\x83\x89\xE3\x82\xAD\xE3\x83\xA5\"\n"  // Japanese
      "XDG_DESKTOP_DIR=\"$HOME/Scrivania caff\xC3\xA8\"\n");               // in Windows-1252
  EXPECT_EQ(u_.CartellaDocumenti(), u"");
  EXPECT_EQ(u_.CartellaDesktop(), Windows(home_ + "/Scrivania caff\xC3\xA8") + u"\\");
}

TEST_F(ShellFoldersTest, WithoutAHomeNoUserFolderIsFilled) {
  env_.Set("HOME", "relativa");
  // The password database may still name a home; either way nothing here is relative.
  const String documenti = u_.CartellaDocumenti();
  EXPECT_TRUE(documenti.empty() || documenti.starts_with(u"C:\\")) << ze::ToUtf8(documenti);
  EXPECT_EQ(u_.CartellaDatiCondivisi(), u"C:\\usr\\share\\");
}

TEST(UserDirsFile, LinesAndValuesAsTheDesktopWritesThem) {
  struct Case {
    const char* name;
    const char* text;
    std::map<std::string, std::string> expected;
  };
  const Case cases[] = {
      {"home and absolute", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_MUSIC_DIR=\"/m\"\n",
       {{"DESKTOP", "/h/Desktop"}, {"MUSIC", "/m"}}},
      {"home alone disables the folder: the home itself", "XDG_VIDEOS_DIR=\"$HOME\"\n",
       {{"VIDEOS", "/h"}}},
      {"$HOMEX is no $HOME", "XDG_VIDEOS_DIR=\"$HOMEX/v\"\n", {}},
      {"relative paths are ignored", "XDG_VIDEOS_DIR=\"Video\"\n", {}},
      {"comments, blanks, CR LF", "# c\n\n  \t# d\r\nXDG_A_DIR=\"/a\"\r\n", {{"A", "/a"}}},
      {"an unclosed quote is no value", "XDG_A_DIR=\"/a\n", {}},
      {"escapes", "XDG_A_DIR=\"/a\\\\b\\$c\"\n", {{"A", "/a\\b$c"}}},
      {"unquoted", "XDG_A_DIR=/a/b\n", {{"A", "/a/b"}}},
      {"final slashes go", "XDG_A_DIR=\"/a//\"\nXDG_R_DIR=\"/\"\n", {{"A", "/a"}, {"R", "/"}}},
      {"other names", "HOME=/x\nXDG_DIR=\"/x\"\nXDG_A_DIRS=\"/x\"\n", {}},
      {"no final line end", "XDG_A_DIR=\"/a\"", {{"A", "/a"}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ze::system::ParseUserDirs(c.text, "/h"), c.expected) << c.name;
}

}  // namespace
}  // namespace zekalendo::testing
