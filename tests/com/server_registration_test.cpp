// Registration entries of an in-process server: the layout written, a removal
// that takes exactly those entries, one transaction whatever fails, and two
// processes registering at the same time.
#include "frame/com/server_registration.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "frame/registry/reg_file.h"
#include "tests/registry/temp_dir.h"

namespace ze::com {
namespace {

using registry::ERROR_SUCCESS;
using registry::Root;
using registry::Store;
using registry::StoreOptions;

constexpr GUID kLib{0x1dd699fe, 0xb33c, 0x11d4, {0x8b, 0x18, 0xd5, 0x2a, 0x72, 0xd1, 0xf0, 0x30}};
constexpr GUID kClass{0x1dd699fa, 0xb33c, 0x11d4, {0x8b, 0x18, 0xd5, 0x2a, 0x72, 0xd1, 0xf0, 0x30}};
constexpr GUID kIface{0x1072c55b, 0x1d22, 0x11da, {0x9f, 0xab, 0x00, 0x05, 0x5d, 0x33, 0xbb, 0xe7}};
constexpr GUID kEvents{
    0x1072c55c, 0x1d22, 0x11da, {0x9f, 0xab, 0x00, 0x05, 0x5d, 0x33, 0xbb, 0xe7}};
constexpr GUID kCategory{
    0x40fc6ed4, 0x2438, 0x11cf, {0xa3, 0xdb, 0x08, 0x00, 0x36, 0xf1, 0x25, 0x02}};

TypeLibRecord Library() {
  TypeLibRecord r;
  r.attr.libid = kLib;
  r.attr.majorVersion = 1;
  r.attr.minorVersion = 4;
  r.attr.flags = LIBFLAG_FCONTROL;
  r.attr.help = u"zeKalendo";
  r.interfaces = {InterfaceRecord{kIface, u"_Kalendo", true},
                  InterfaceRecord{kEvents, u"__Kalendo", false}};
  return r;
}

ClassRecord Class(const GUID& clsid = kClass, const String& progid = u"zeKalendo.Kalendo") {
  ClassRecord c;
  c.clsid = clsid;
  c.progId = progid;
  c.description = u"Kalendo";
  c.majorVersion = 1;
  c.minorVersion = 4;
  c.miscStatus = 0x20191;
  c.toolboxBitmapId = 30000;
  c.control = true;
  c.implementedCategories = {kCategory};
  return c;
}

class RegistrationTest : public ::testing::Test {
 protected:
  std::shared_ptr<Store> Open(StoreOptions options = {}) {
    return Store::Open(dir.File("registro.db"), options);
  }
  String Export(Store& s) {
    String text;
    EXPECT_EQ(registry::ExportRegText(s, Root::ClassesRoot, u"", &text), ERROR_SUCCESS);
    return text;
  }
  void Import(Store& s, std::u16string_view text) {
    const registry::RegFileParse parsed = registry::ParseRegText(text);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    ASSERT_EQ(registry::ApplyRegFile(s, parsed.changes), ERROR_SUCCESS);
  }

  testing::TempDir dir;
  const std::string library = "/opt/ze/lib/libzeKalendo.so";
  const std::vector<ClassRecord> classes{Class()};
};

constexpr char16_t kEmpty[] =
    u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT]\r\n\r\n";

TEST_F(RegistrationTest, WritesTheEntriesOfTheOriginalPlatform) {
  auto store = Open();
  ASSERT_EQ(RegisterServer(*store, library, Library(), classes), S_OK);
  const String expected =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CLASSES_ROOT]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}]\r\n"
      u"@=\"Kalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\Control]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\Implemented "
      u"Categories]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\Implemented Categories\\"
      u"{40FC6ED4-2438-11CF-A3DB-080036F12502}]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\InprocServer32]\r\n"
      u"@=\"/opt/ze/lib/libzeKalendo.so\"\r\n"
      u"\"ThreadingModel\"=\"Apartment\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\MiscStatus]\r\n"
      u"@=\"0\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\MiscStatus\\1]\r\n"
      u"@=\"131473\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\ProgID]\r\n"
      u"@=\"zeKalendo.Kalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\ToolboxBitmap32]\r\n"
      u"@=\"/opt/ze/lib/libzeKalendo.so, 30000\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\TypeLib]\r\n"
      u"@=\"{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\Version]\r\n"
      u"@=\"1.4\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}]\r\n"
      u"@=\"_Kalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}\\ProxyStubClsid]\r\n"
      u"@=\"{00020424-0000-0000-C000-000000000046}\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}\\ProxyStubClsid32]"
      u"\r\n"
      u"@=\"{00020424-0000-0000-C000-000000000046}\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}\\TypeLib]\r\n"
      u"@=\"{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\"\r\n"
      u"\"Version\"=\"1.4\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}]\r\n"
      u"@=\"__Kalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}\\ProxyStubClsid]\r\n"
      u"@=\"{00020420-0000-0000-C000-000000000046}\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}\\ProxyStubClsid32]"
      u"\r\n"
      u"@=\"{00020420-0000-0000-C000-000000000046}\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}\\TypeLib]\r\n"
      u"@=\"{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\"\r\n"
      u"\"Version\"=\"1.4\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.4]\r\n"
      u"@=\"zeKalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.4\\0]\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.4\\0\\linux]\r\n"
      u"@=\"/opt/ze/lib/libzeKalendo.so\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.4\\FLAGS]\r\n"
      u"@=\"2\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.4\\HELPDIR]\r\n"
      u"@=\"/opt/ze/lib\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\zeKalendo.Kalendo]\r\n"
      u"@=\"Kalendo\"\r\n\r\n"
      u"[HKEY_CLASSES_ROOT\\zeKalendo.Kalendo\\CLSID]\r\n"
      u"@=\"{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\"\r\n\r\n";
  EXPECT_EQ(ToUtf8(Export(*store)), ToUtf8(expected));
  // Registering again changes nothing.
  ASSERT_EQ(RegisterServer(*store, library, Library(), classes), S_OK);
  EXPECT_EQ(Export(*store), expected);
}

TEST_F(RegistrationTest, VersionsOfTypeLibrariesAreHex) {
  auto store = Open();
  TypeLibRecord lib = Library();
  lib.attr.minorVersion = 10;
  lib.attr.lcid = 0x410;
  ASSERT_EQ(RegisterServer(*store, library, lib, {}), S_OK);
  registry::KeyId key;
  EXPECT_EQ(
      store->OpenKey(Store::RootKey(Root::ClassesRoot),
                     u"TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.a\\410\\linux", &key),
      ERROR_SUCCESS);
  String version;
  ASSERT_EQ(store->OpenKey(Store::RootKey(Root::ClassesRoot),
                           u"Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}\\TypeLib", &key),
            ERROR_SUCCESS);
  ASSERT_EQ(store->GetString(key, u"Version", &version), ERROR_SUCCESS);
  EXPECT_EQ(version, u"1.10");
}

TEST_F(RegistrationTest, RelativeLibraryPathsAreWrittenAbsolute) {
  auto store = Open();
  ASSERT_EQ(RegisterServer(*store, "lib/./x/../libprova.so", Library(), classes), S_OK);
  registry::KeyId key;
  String path;
  ASSERT_EQ(store->OpenKey(Store::RootKey(Root::ClassesRoot),
                           u"CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\InprocServer32", &key),
            ERROR_SUCCESS);
  ASSERT_EQ(store->GetString(key, u"", &path), ERROR_SUCCESS);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), u'/');
  EXPECT_EQ(path.substr(path.size() - 16), u"/lib/libprova.so");
}

// Entries of other servers, some of them next to ours.
constexpr char16_t kOthers[] =
    u"Windows Registry Editor Version 5.00\r\n"
    u"[HKEY_CLASSES_ROOT\\Altro.Server]\r\n@=\"Altro\"\r\n"
    u"[HKEY_CLASSES_ROOT\\Altro.Server\\CLSID]\r\n@=\"{00000001-0000-0000-0000-000000000001}\"\r\n"
    u"[HKEY_CLASSES_ROOT\\CLSID\\{00000001-0000-0000-0000-000000000001}\\InprocServer32]\r\n"
    u"@=\"/usr/lib/altro.so\"\r\n"
    u"[HKEY_CLASSES_ROOT\\TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}\\1.3\\0\\linux]\r\n"
    u"@=\"/opt/vecchio/libzeKalendo.so\"\r\n"
    u"[HKEY_CLASSES_ROOT\\Interface\\{00000002-0000-0000-0000-000000000002}\\TypeLib]\r\n"
    u"@=\"{00000003-0000-0000-0000-000000000003}\"\r\n"
    u"[HKEY_CURRENT_USER\\Software\\Impostazioni]\r\n\"Lingua\"=\"it\"\r\n";

TEST_F(RegistrationTest, UnregisteringRemovesExactlyWhatRegisteringWrote) {
  auto store = Open();
  ASSERT_EQ(UnregisterServer(*store, library, Library(), classes), S_OK) << "nothing to remove";
  Import(*store, kOthers);
  const String before = Export(*store);
  String user_before;
  ASSERT_EQ(registry::ExportRegText(*store, Root::CurrentUser, u"", &user_before), ERROR_SUCCESS);
  ASSERT_EQ(RegisterServer(*store, library, Library(), classes), S_OK);
  EXPECT_NE(Export(*store), before);
  ASSERT_EQ(UnregisterServer(*store, library, Library(), classes), S_OK);
  EXPECT_EQ(ToUtf8(Export(*store)), ToUtf8(before));
  String user_after;
  ASSERT_EQ(registry::ExportRegText(*store, Root::CurrentUser, u"", &user_after), ERROR_SUCCESS);
  EXPECT_EQ(user_after, user_before);
}

TEST_F(RegistrationTest, UnregisteringLeavesEntriesThatAreNoLongerOurs) {
  auto store = Open();
  ASSERT_EQ(RegisterServer(*store, library, Library(), classes), S_OK);
  // Another installation took over the ProgID, the class and one interface.
  Import(*store,
         u"Windows Registry Editor Version 5.00\r\n"
         u"[HKEY_CLASSES_ROOT\\zeKalendo.Kalendo\\CLSID]\r\n"
         u"@=\"{00000009-0000-0000-0000-000000000009}\"\r\n"
         u"[HKEY_CLASSES_ROOT\\CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\InprocServer32]\r\n"
         u"@=\"/altrove/libzeKalendo.so\"\r\n"
         u"[HKEY_CLASSES_ROOT\\Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}\\TypeLib]\r\n"
         u"@=\"{00000009-0000-0000-0000-000000000009}\"\r\n");
  ASSERT_EQ(UnregisterServer(*store, library, Library(), classes), S_OK);
  const auto exists = [&](const char16_t* path) {
    registry::KeyId key;
    return store->OpenKey(Store::RootKey(Root::ClassesRoot), path, &key) == ERROR_SUCCESS;
  };
  EXPECT_TRUE(exists(u"zeKalendo.Kalendo"));
  EXPECT_TRUE(exists(u"CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}\\Version"));
  EXPECT_TRUE(exists(u"Interface\\{1072C55C-1D22-11DA-9FAB-00055D33BBE7}"));
  EXPECT_FALSE(exists(u"Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}"));
  EXPECT_FALSE(exists(u"TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}"));
}

TEST_F(RegistrationTest, BadRecordsWriteNothing) {
  auto store = Open();
  const struct {
    const char* name;
    String progid;
  } cases[] = {
      {"too long", String(40, u'a')},
      {"starts with a digit", u"1Prova.Classe"},
      {"blank", u"Prova Classe"},
      {"backslash", u"Prova\\Classe"},
  };
  for (const auto& c : cases) {
    const std::vector<ClassRecord> bad{Class(kClass, c.progid)};
    EXPECT_EQ(RegisterServer(*store, library, Library(), bad), E_INVALIDARG) << c.name;
  }
  EXPECT_EQ(RegisterServer(*store, "", Library(), classes), E_INVALIDARG);
  EXPECT_EQ(Export(*store), kEmpty);
}

TEST_F(RegistrationTest, AFailureAnywhereLeavesNoHalfRegistration) {
  // Let each write in turn be the one that fails: whichever it is, the store is
  // left exactly as it was, and the result says which part failed.
  bool saw_typelib = false, saw_class = false;
  int k = 0;
  for (;; ++k) {
    ASSERT_LT(k, 500) << "registration never succeeded";
    std::filesystem::remove(dir.File("registro.db"));
    StoreOptions options;
    options.failWriteNumber = k;
    auto store = Open(options);
    const HRESULT hr = RegisterServer(*store, library, Library(), classes);
    if (hr == S_OK) break;
    saw_typelib |= hr == SELFREG_E_TYPELIB;
    saw_class |= hr == SELFREG_E_CLASS;
    EXPECT_TRUE(hr == SELFREG_E_TYPELIB || hr == SELFREG_E_CLASS) << k;
    EXPECT_EQ(Export(*Open()), kEmpty) << "failing write " << k;
  }
  EXPECT_TRUE(saw_typelib && saw_class);
  EXPECT_GT(k, 30);

  // The same for unregistering a complete registration.
  const String registered = Export(*Open());
  for (int j = 0;; ++j) {
    ASSERT_LT(j, 100);
    StoreOptions options;
    options.failWriteNumber = j;
    auto store = Open(options);
    const HRESULT hr = UnregisterServer(*store, library, Library(), classes);
    if (hr == S_OK) break;
    EXPECT_EQ(Export(*Open()), registered) << "failing write " << j;
  }
  // The parents that every server shares stay.
  EXPECT_EQ(Export(*Open()),
            u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT]\r\n\r\n"
            u"[HKEY_CLASSES_ROOT\\CLSID]\r\n\r\n[HKEY_CLASSES_ROOT\\Interface]\r\n\r\n"
            u"[HKEY_CLASSES_ROOT\\TypeLib]\r\n\r\n");
}

TEST_F(RegistrationTest, AStoreThatCannotBeWrittenFails) {
  { ASSERT_EQ(Open()->Status(), ERROR_SUCCESS); }
  StoreOptions read_only;
  read_only.readOnly = true;
  EXPECT_EQ(RegisterServer(*Open(read_only), library, Library(), classes), SELFREG_E_CLASS);
  EXPECT_EQ(UnregisterServer(*Open(read_only), library, Library(), classes), SELFREG_E_CLASS);
  auto garbage = Store::Open(dir.Write("rotto.db", std::string(2048, '\x7f')));
  EXPECT_EQ(RegisterServer(*garbage, library, Library(), classes), SELFREG_E_CLASS);
  EXPECT_EQ(registry::LastErrorDetail().find("rotto.db") != std::string::npos, true);
}

TEST_F(RegistrationTest, TwoProcessesRegisteringAtOnceBothSucceed) {
  { ASSERT_EQ(Open()->Status(), ERROR_SUCCESS); }
  // Each child registers its own server 20 times, and the shared one as well.
  auto child = [&](int which) {
    auto store = Open();
    const GUID own{0x70000000u + static_cast<unsigned>(which), 0, 0, {}};
    const std::vector<ClassRecord> mine{
        Class(own, which == 0 ? u"Primo.Server" : u"Secondo.Server")};
    for (int i = 0; i < 20; ++i) {
      if (RegisterServer(*store, "/srv/" + std::to_string(which) + ".so", Library(), mine) != S_OK)
        return 1;
      if (RegisterServer(*store, library, Library(), classes) != S_OK) return 2;
    }
    return 0;
  };
  pid_t pids[2];
  for (int which = 0; which < 2; ++which) {
    pids[which] = ::fork();
    ASSERT_GE(pids[which], 0);
    if (pids[which] == 0) ::_exit(child(which));
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  auto store = Open();
  for (const char16_t* progid : {u"Primo.Server", u"Secondo.Server", u"zeKalendo.Kalendo"}) {
    registry::KeyId key;
    EXPECT_EQ(store->OpenKey(Store::RootKey(Root::ClassesRoot), String(progid) + u"\\CLSID", &key),
              ERROR_SUCCESS)
        << ToUtf8(progid);
  }
}

}  // namespace
}  // namespace ze::com
