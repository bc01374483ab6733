// The handle-based functions: open and create with dispositions, sizes and
// ERROR_MORE_DATA, enumeration to ERROR_NO_MORE_ITEMS, access rights, handles.
#include "frame/registry/advapi.h"

#include <gtest/gtest.h>

#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

class AdvapiTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(OpenKeyHandleCount(), handles_at_start); }

  testing::TempDir dir;
  testing::DefaultStoreAt store_at{dir.File("registro.db")};
  std::size_t handles_at_start = OpenKeyHandleCount();
};

TEST_F(AdvapiTest, CreateOpenSetQueryClose) {
  HKEY key = 0;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, u"Software\\Prova", 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const Bytes text = EncodeString(u"ciao");
  ASSERT_EQ(RegSetValueEx(key, u"Saluto", 0, REG_SZ, text.data(), static_cast<DWORD>(text.size())),
            ERROR_SUCCESS);
  const Bytes number = EncodeDword(300);
  ASSERT_EQ(RegSetValueEx(key, nullptr, 0, REG_DWORD, number.data(), 4), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

  HKEY again = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, u"software\\PROVA", 0, nullptr, 0, KEY_READ, nullptr,
                           &again, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(again);

  HKEY read = 0;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Prova", 0, KEY_READ, &read), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  // The size alone, then a buffer too small, then one that fits.
  ASSERT_EQ(RegQueryValueEx(read, u"saluto", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 10u);
  std::uint8_t buffer[16] = {};
  size = 9;
  EXPECT_EQ(RegQueryValueEx(read, u"Saluto", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 10u);
  size = sizeof buffer;
  ASSERT_EQ(RegQueryValueEx(read, u"Saluto", nullptr, &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(Bytes(buffer, buffer + size), text);
  size = sizeof buffer;
  ASSERT_EQ(RegQueryValueEx(read, u"", nullptr, &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(DecodeDword({buffer, size}), 300u);
  EXPECT_EQ(RegQueryValueEx(read, u"Assente", nullptr, &type, buffer, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueEx(read, u"Saluto", nullptr, &type, buffer, nullptr),
            ERROR_INVALID_PARAMETER);
  // A read-only handle cannot write.
  EXPECT_EQ(RegSetValueEx(read, u"x", 0, REG_DWORD, number.data(), 4), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(read, u"Saluto"), ERROR_ACCESS_DENIED);
  HKEY sub = 0;
  EXPECT_EQ(RegCreateKeyEx(read, u"Figlio", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(read);
}

TEST_F(AdvapiTest, MissingKeysAndBadHandles) {
  HKEY key = 123;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Nessuno", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(RegOpenKeyEx(0x12345, u"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyEx(0x80000004, u"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS) << "closing a root is harmless";
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, u"Nessuno"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, u"Nessuno"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, u"x", 0, REG_BINARY, nullptr, 4),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, u"vuoto", 0, REG_NONE, nullptr, 0), ERROR_SUCCESS);
}

TEST_F(AdvapiTest, HandlesOfDeletedKeysFailCleanly) {
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, u"Temporanea", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKey(HKEY_CURRENT_USER, u"Temporanea"), ERROR_SUCCESS);
  const Bytes number = EncodeDword(1);
  EXPECT_EQ(RegSetValueEx(key, u"x", 0, REG_DWORD, number.data(), 4), ERROR_KEY_DELETED);
  // Creating the key again does not revive the old handle.
  HKEY fresh = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, u"Temporanea", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                           &fresh, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key, u"x", 0, REG_DWORD, number.data(), 4), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueEx(fresh, u"x", 0, REG_DWORD, number.data(), 4), ERROR_SUCCESS);
  RegCloseKey(key);
  RegCloseKey(fresh);
  EXPECT_EQ(RegDeleteTree(HKEY_CURRENT_USER, u"Temporanea"), ERROR_SUCCESS);
}

TEST_F(AdvapiTest, EnumeratesToNoMoreItems) {
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, u"Elenco", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr),
            ERROR_SUCCESS);
  for (const char16_t* name : {u"Zeta", u"alfa", u"Beta"}) {
    HKEY sub = 0;
    ASSERT_EQ(RegCreateKeyEx(key, name, 0, nullptr, 0, KEY_READ, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(sub);
    const Bytes data = EncodeString(name);
    ASSERT_EQ(RegSetValueEx(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  std::vector<String> keys;
  char16_t name[8];
  for (DWORD i = 0;; ++i) {
    DWORD cch = 8;
    const LSTATUS st = RegEnumKeyEx(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr);
    if (st == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(st, ERROR_SUCCESS);
    keys.emplace_back(name, cch);
  }
  EXPECT_EQ(keys, (std::vector<String>{u"alfa", u"Beta", u"Zeta"}));
  DWORD tiny = 4;  // "alfa" needs 5 with its NUL
  EXPECT_EQ(RegEnumKeyEx(key, 0, name, &tiny, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  std::vector<String> values;
  for (DWORD i = 0;; ++i) {
    DWORD cch = 8, type = 0, size = 0;
    const LSTATUS st = RegEnumValue(key, i, name, &cch, nullptr, &type, nullptr, &size);
    if (st == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(st, ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 2 * (cch + 1));
    values.emplace_back(name, cch);
  }
  EXPECT_EQ(values, (std::vector<String>{u"Zeta", u"alfa", u"Beta"})) << "in the order written";
  RegCloseKey(key);

  HKEY no_enum = 0;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, u"Elenco", 0, KEY_QUERY_VALUE, &no_enum),
            ERROR_SUCCESS);
  DWORD cch = 8;
  EXPECT_EQ(RegEnumKeyEx(no_enum, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(no_enum);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, u"Elenco"), ERROR_ACCESS_DENIED) << "it has subkeys";
  EXPECT_EQ(RegDeleteTree(HKEY_CURRENT_USER, u"Elenco"), ERROR_SUCCESS);
}

TEST_F(AdvapiTest, PredefinedRootsFollowTheDefaultStore) {
  const Bytes data = EncodeString(u"primo");
  ASSERT_EQ(RegSetValueEx(HKEY_CURRENT_USER, u"Dove", 0, REG_SZ, data.data(), 12), ERROR_SUCCESS);
  testing::DefaultStoreAt elsewhere(dir.File("secondo.db"));
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueEx(HKEY_CURRENT_USER, u"Dove", nullptr, nullptr, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(AdvapiTest, AnsiFormsConvertNamesAndText) {
  HKEY key = 0;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Caff\xE8", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  // "Perch\xE8" with its NUL, as the utility class writes text: 7 bytes.
  const std::uint8_t text[] = {'P', 'e', 'r', 'c', 'h', 0xE8, 0};
  ASSERT_EQ(RegSetValueExA(key, "Nome", 0, REG_SZ, text, sizeof text), ERROR_SUCCESS);
  // Stored as UTF-16: 14 bytes, read the same way by the wide form.
  std::uint8_t wide[32];
  DWORD size = sizeof wide;
  ASSERT_EQ(RegQueryValueEx(key, u"Nome", nullptr, nullptr, wide, &size), ERROR_SUCCESS);
  EXPECT_EQ(Bytes(wide, wide + size), EncodeString(u"Perch\u00e8"));
  // Read back in ANSI: the same 7 bytes, the size first, then too small a buffer.
  DWORD type = 0;
  size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "NOME", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 7u);
  std::uint8_t narrow[16];
  size = 6;
  EXPECT_EQ(RegQueryValueExA(key, "Nome", nullptr, &type, narrow, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 7u);
  size = sizeof narrow;
  ASSERT_EQ(RegQueryValueExA(key, "Nome", nullptr, &type, narrow, &size), ERROR_SUCCESS);
  EXPECT_EQ(Bytes(narrow, narrow + size), Bytes(text, text + 7));
  // Text stored without a NUL keeps its last character; characters the code page
  // lacks read as "?"; numbers pass unchanged.
  const Bytes bare = {'a', 0, 'b', 0};
  ASSERT_EQ(RegSetValueEx(key, u"Tronco", 0, REG_SZ, bare.data(), 4), ERROR_SUCCESS);
  const Bytes foreign = EncodeString(u"\u4e2d\U0001F600\u20ac");
  ASSERT_EQ(
      RegSetValueEx(key, u"Estero", 0, REG_SZ, foreign.data(), static_cast<DWORD>(foreign.size())),
      ERROR_SUCCESS);
  const Bytes number = EncodeDword(261);
  ASSERT_EQ(RegSetValueExA(key, "Conta", 0, REG_DWORD, number.data(), 4), ERROR_SUCCESS);
  const struct {
    const char* name;
    Bytes expected;
  } reads[] = {
      {"Tronco", {'a', 'b'}},
      {"Estero", {'?', '?', 0x80, 0}},
      {"Conta", {5, 1, 0, 0}},
  };
  for (const auto& r : reads) {
    size = sizeof narrow;
    ASSERT_EQ(RegQueryValueExA(key, r.name, nullptr, &type, narrow, &size), ERROR_SUCCESS)
        << r.name;
    EXPECT_EQ(Bytes(narrow, narrow + size), r.expected) << r.name;
  }
  // Enumeration in ANSI.
  char name[16];
  DWORD cch = sizeof name;
  size = sizeof narrow;
  ASSERT_EQ(RegEnumValueA(key, 0, name, &cch, nullptr, &type, narrow, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::string(name, cch), "Nome");
  EXPECT_EQ(size, 7u);
  RegCloseKey(key);
  HKEY software = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
  cch = sizeof name;
  ASSERT_EQ(RegEnumKeyExA(software, 0, name, &cch, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(name, cch), "Caff\xE8");
  EXPECT_EQ(RegEnumKeyExA(software, 1, name, &cch, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  RegCloseKey(software);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\CAFF\xC8", 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key, "Nome"), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Caff\xE8"), ERROR_SUCCESS);
}

}  // namespace
}  // namespace ze::registry
