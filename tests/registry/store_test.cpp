// The registry store: keys and values, names that ignore case but keep it, raw
// bytes kept exactly, enumeration order, deletion rules, invalid names, batches.
#include "frame/registry/store.h"

#include <gtest/gtest.h>

#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

class StoreTest : public ::testing::Test {
 protected:
  KeyId Make(const String& path, Root root = Root::CurrentUser) {
    KeyId key;
    EXPECT_EQ(store->CreateKey(Store::RootKey(root), path, &key), ERROR_SUCCESS) << ToUtf8(path);
    return key;
  }
  LSTATUS Open(const String& path, KeyId* key = nullptr, Root root = Root::CurrentUser) {
    KeyId k;
    return store->OpenKey(Store::RootKey(root), path, key != nullptr ? key : &k);
  }

  testing::TempDir dir;
  std::shared_ptr<Store> store = Store::Open(dir.File("sub/folder/registro.db"));
};

TEST_F(StoreTest, CreatesAMissingStoreWithItsFolders) {
  EXPECT_EQ(store->Status(), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(dir.File("sub/folder/registro.db")));
  EXPECT_FALSE(store->IsReadOnly());
}

TEST_F(StoreTest, KeysAreCreatedWithTheirParentsAndFoundInAnyCase) {
  bool created = false;
  KeyId key;
  ASSERT_EQ(
      store->CreateKey(Store::RootKey(Root::CurrentUser), u"Software\\Ze\\Kalendo", &key, &created),
      ERROR_SUCCESS);
  EXPECT_TRUE(created);
  KeyId again;
  ASSERT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), u"SOFTWARE\\ze\\kalendo\\", &again,
                             &created),
            ERROR_SUCCESS);
  EXPECT_FALSE(created);
  EXPECT_EQ(again, key);
  KeyId found;
  EXPECT_EQ(Open(u"software\\ZE\\KaLeNdO", &found), ERROR_SUCCESS);
  EXPECT_EQ(found, key);
  EXPECT_EQ(Open(u""), ERROR_SUCCESS) << "the root itself";
  EXPECT_EQ(Open(u"Software\\Ze\\Kalendo", nullptr, Root::LocalMachine), ERROR_FILE_NOT_FOUND)
      << "roots are separate trees";
  // Non-ASCII names fold too; one character to one character.
  Make(u"\u00c8ra\\Stra\u00dfe");
  EXPECT_EQ(Open(u"\u00e8RA\\STRA\u00dfE"), ERROR_SUCCESS);
  EXPECT_EQ(Open(u"\u00e8ra\\STRASSE"), ERROR_FILE_NOT_FOUND);
  // The case first written is the case kept.
  std::vector<String> names;
  ASSERT_EQ(store->EnumKeys(Store::RootKey(Root::CurrentUser), &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<String>{u"Software", u"\u00c8ra"}));
}

TEST_F(StoreTest, InvalidNamesAreRefused) {
  const struct {
    const char* name;
    String path;
  } cases[] = {
      {"leading backslash", u"\\Software"},
      {"empty component", u"Software\\\\Ze"},
      {"component of 256 units", u"Software\\" + String(256, u'x')},
      {"unpaired lead surrogate", u"a\xD800"},
      {"unpaired trail surrogate",
       u"\xDC00"
       u"b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), c.path), ERROR_INVALID_PARAMETER)
        << c.name;
    EXPECT_EQ(Open(c.path), ERROR_INVALID_PARAMETER) << c.name;
  }
  EXPECT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), String(255, u'x')), ERROR_SUCCESS);
  const KeyId key = Make(u"Valori");
  const std::uint8_t byte = 1;
  EXPECT_EQ(store->SetValue(key, String(16384, u'v'), REG_BINARY, {&byte, 1}),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store->SetValue(key, String(16383, u'v'), REG_BINARY, {&byte, 1}), ERROR_SUCCESS);
  EXPECT_EQ(store->SetValue(key, u"\xD800", REG_BINARY, {&byte, 1}), ERROR_INVALID_PARAMETER);
  std::vector<String> names;
  ASSERT_EQ(store->EnumKeys(Store::RootKey(Root::CurrentUser), &names), ERROR_SUCCESS);
  EXPECT_EQ(names.size(), 2u) << "nothing of the refused keys was created";
}

TEST_F(StoreTest, ValuesKeepTheirBytesExactly) {
  const KeyId key = Make(u"Dati");
  const struct {
    const char* name;
    String value_name;
    DWORD type;
    Bytes data;
  } cases[] = {
      {"text with its NUL", u"Testo", REG_SZ, EncodeString(u"25/12/2005")},
      {"text without NUL", u"Tronco", REG_SZ, {'a', 0, 'b', 0}},
      {"odd byte count", u"Dispari", REG_SZ, {'a', 0, 'b'}},
      {"empty data", u"Vuoto", REG_BINARY, {}},
      {"number", u"Conta", REG_DWORD, EncodeDword(300)},
      {"short number", u"Corto", REG_DWORD, {1, 2}},
      {"big number", u"Grande", REG_QWORD, EncodeQword(0x0102030405060708ull)},
      {"list", u"Lista", REG_MULTI_SZ, EncodeMultiString({u"uno", u"due"})},
      {"any type number", u"Strano", 0x12345678, {0, 255, 0}},
      {"default value", u"", REG_EXPAND_SZ, EncodeString(u"%HOME%")},
      {"every byte", u"Tutti", REG_BINARY,
       [] {
         Bytes b;
         for (int i = 0; i < 256; ++i) b.push_back(static_cast<std::uint8_t>(i));
         return b;
       }()},
  };
  for (const auto& c : cases)
    ASSERT_EQ(store->SetValue(key, c.value_name, c.type, c.data), ERROR_SUCCESS) << c.name;
  // Read back from a second connection to the same file.
  auto other = Store::Open(store->path());
  KeyId same;
  ASSERT_EQ(other->OpenKey(Store::RootKey(Root::CurrentUser), u"dati", &same), ERROR_SUCCESS);
  for (const auto& c : cases) {
    Value v;
    ASSERT_EQ(other->QueryValue(same, c.value_name, &v), ERROR_SUCCESS) << c.name;
    EXPECT_EQ(v.type, c.type) << c.name;
    EXPECT_EQ(v.data, c.data) << c.name;
  }
  std::vector<NamedValue> values;
  ASSERT_EQ(other->EnumValues(same, &values), ERROR_SUCCESS);
  ASSERT_EQ(values.size(), std::size(cases));
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(values[i].name, cases[i].value_name) << "values list in the order written";
}

TEST_F(StoreTest, ValueNamesIgnoreCaseAndKeepTheFirstSpelling) {
  const KeyId key = Make(u"Nomi");
  ASSERT_EQ(store->SetString(key, u"Colore", u"rosso"), ERROR_SUCCESS);
  ASSERT_EQ(store->SetDword(key, u"COLORE", 7), ERROR_SUCCESS);
  std::vector<NamedValue> values;
  ASSERT_EQ(store->EnumValues(key, &values), ERROR_SUCCESS);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, u"Colore");
  EXPECT_EQ(values[0].value, (Value{REG_DWORD, EncodeDword(7)}));
  String text;
  EXPECT_EQ(store->GetString(key, u"colore", &text), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(store->DeleteValue(key, u"cOLORE"), ERROR_SUCCESS);
  EXPECT_EQ(store->DeleteValue(key, u"Colore"), ERROR_FILE_NOT_FOUND);
  Value v;
  EXPECT_EQ(store->QueryValue(key, u"Colore", &v), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store->QueryValue(key, u"", &v), ERROR_FILE_NOT_FOUND) << "no default value yet";
}

TEST_F(StoreTest, SubkeysListInNameOrder) {
  for (const char16_t* name : {u"b", u"C", u"a", u"B2", u"\u00e0"}) Make(String(u"Lista\\") + name);
  KeyId list;
  ASSERT_EQ(Open(u"Lista", &list), ERROR_SUCCESS);
  std::vector<String> names;
  ASSERT_EQ(store->EnumKeys(list, &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<String>{u"a", u"b", u"B2", u"C", u"\u00e0"}));
}

TEST_F(StoreTest, DeletingKeys) {
  Make(u"Albero\\Ramo\\Foglia");
  const KeyId sibling = Make(u"Albero\\Altro");
  ASSERT_EQ(store->SetString(sibling, u"x", u"y"), ERROR_SUCCESS);
  KeyId leaf;
  ASSERT_EQ(Open(u"Albero\\Ramo\\Foglia", &leaf), ERROR_SUCCESS);
  EXPECT_EQ(store->DeleteKey(Store::RootKey(Root::CurrentUser), u"Albero\\Ramo"),
            ERROR_ACCESS_DENIED)
      << "a key with subkeys needs DeleteTree";
  EXPECT_EQ(store->DeleteKey(Store::RootKey(Root::CurrentUser), u"Albero\\Ramo\\Foglia"),
            ERROR_SUCCESS);
  EXPECT_EQ(store->SetString(leaf, u"", u"x"), ERROR_KEY_DELETED) << "an id of a deleted key";
  Value gone;
  EXPECT_EQ(store->QueryValue(leaf, u"", &gone), ERROR_KEY_DELETED) << "not an absent value";
  EXPECT_EQ(store->QueryValue(sibling, u"nessuno", &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store->DeleteKey(Store::RootKey(Root::CurrentUser), u"Albero\\Ramo\\Foglia"),
            ERROR_FILE_NOT_FOUND);
  Make(u"Albero\\Ramo\\Foglia\\Nervo");
  EXPECT_EQ(store->DeleteTree(Store::RootKey(Root::CurrentUser), u"ALBERO\\ramo"), ERROR_SUCCESS);
  EXPECT_EQ(Open(u"Albero\\Ramo"), ERROR_FILE_NOT_FOUND);
  String text;
  EXPECT_EQ(store->GetString(sibling, u"x", &text), ERROR_SUCCESS) << "siblings stay";
  // An empty path empties the key and keeps it.
  KeyId tree;
  ASSERT_EQ(Open(u"Albero", &tree), ERROR_SUCCESS);
  ASSERT_EQ(store->SetString(tree, u"", u"radice"), ERROR_SUCCESS);
  EXPECT_EQ(store->DeleteTree(tree, u""), ERROR_SUCCESS);
  std::vector<String> names;
  std::vector<NamedValue> values;
  EXPECT_EQ(store->EnumKeys(tree, &names), ERROR_SUCCESS);
  EXPECT_EQ(store->EnumValues(tree, &values), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty() && values.empty());
  EXPECT_EQ(store->DeleteKey(tree, u""), ERROR_SUCCESS) << "an empty path deletes the key itself";
  EXPECT_EQ(store->DeleteKey(Store::RootKey(Root::CurrentUser), u""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(store->DeleteTree(Store::RootKey(Root::LocalMachine), u"Nessuna"),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store->OpenKey(KeyId{987654}, u"", &tree), ERROR_KEY_DELETED);
}

TEST_F(StoreTest, ABatchIsOneTransaction) {
  const KeyId key = Make(u"Lotto");
  // A batch whose body fails leaves nothing behind.
  EXPECT_EQ(store->Batch([&] {
    EXPECT_EQ(store->SetDword(key, u"a", 1), ERROR_SUCCESS);
    EXPECT_EQ(store->CreateKey(key, u"Figlio"), ERROR_SUCCESS);
    return ERROR_CANTWRITE;
  }),
            ERROR_CANTWRITE);
  Value v;
  EXPECT_EQ(store->QueryValue(key, u"a", &v), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Open(u"Lotto\\Figlio"), ERROR_FILE_NOT_FOUND);
  // A failed call inside a batch that the body tolerates does not spoil it, and
  // batches nest.
  EXPECT_EQ(store->Batch([&] {
    EXPECT_EQ(store->DeleteValue(key, u"assente"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store->SetDword(key, u"a", 1), ERROR_SUCCESS);
    return store->Batch([&] { return store->SetDword(key, u"b", 2); });
  }),
            ERROR_SUCCESS);
  EXPECT_EQ(store->QueryValue(key, u"b", &v), ERROR_SUCCESS);
  // An exception inside rolls back and goes on to the caller.
  EXPECT_THROW(store->Batch([&]() -> LSTATUS {
    store->SetDword(key, u"c", 3);
    throw std::runtime_error("guasto");
  }),
               std::runtime_error);
  EXPECT_EQ(store->QueryValue(key, u"c", &v), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store->SetDword(key, u"d", 4), ERROR_SUCCESS) << "the store still works";
}

TEST_F(StoreTest, AStorageFailureInsideABatchRollsItAllBack) {
  StoreOptions options;
  options.failWriteNumber = 2;
  auto failing = Store::Open(dir.File("guasto.db"), options);
  const KeyId root = Store::RootKey(Root::CurrentUser);
  KeyId key;
  ASSERT_EQ(failing->CreateKey(root, u"K", &key), ERROR_SUCCESS);  // write 0
  EXPECT_EQ(failing->Batch([&] {
    failing->SetDword(key, u"uno", 1);                     // write 1
    const LSTATUS st = failing->SetDword(key, u"due", 2);  // write 2 fails
    EXPECT_EQ(st, ERROR_REGISTRY_IO_FAILED);
    return ERROR_SUCCESS;  // even a body that ignores it cannot commit half
  }),
            ERROR_REGISTRY_IO_FAILED);
  Value v;
  EXPECT_EQ(failing->QueryValue(key, u"uno", &v), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(LastErrorDetail().find("guasto.db"), std::string::npos);
}

TEST(Values, Layouts) {
  EXPECT_EQ(EncodeString(u"ab"), (Bytes{'a', 0, 'b', 0, 0, 0}));
  EXPECT_EQ(EncodeString(u""), (Bytes{0, 0}));
  EXPECT_EQ(EncodeMultiString({u"a", u"b"}), (Bytes{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeMultiString({}), (Bytes{0, 0}));
  EXPECT_EQ(EncodeDword(261), (Bytes{5, 1, 0, 0}));
  EXPECT_EQ(DecodeString(Bytes{'a', 0, 0, 0, 'b', 0}), u"a");
  EXPECT_EQ(DecodeString(Bytes{'a', 0, 'b'}), u"a");
  EXPECT_EQ(DecodeString(Bytes{0xAC, 0x20}), u"\u20ac");
  EXPECT_EQ(DecodeMultiString(EncodeMultiString({u"uno", u"due"})),
            (std::vector<String>{u"uno", u"due"}));
  EXPECT_EQ(DecodeMultiString(Bytes{'x', 0}), std::vector<String>{u"x"});
  EXPECT_EQ(DecodeDword(Bytes{5, 1, 0, 0}), 261u);
  EXPECT_EQ(DecodeDword(Bytes{5, 1, 0}), std::nullopt);
  EXPECT_EQ(DecodeQword(EncodeQword(~0ull)), ~0ull);
  EXPECT_EQ(TypeName(REG_MULTI_SZ), "REG_MULTI_SZ");
  EXPECT_EQ(TypeName(99), "REG_0x63");
  EXPECT_EQ(ParseTypeName("reg_qword"), REG_QWORD);
  EXPECT_EQ(ParseTypeName("REG_TEXT"), std::nullopt);
}

TEST(KeyPaths, RootsAndFullNames) {
  const struct {
    const char16_t* text;
    std::optional<Root> root;
    const char16_t* path;
  } cases[] = {
      {u"HKCU\\Software\\X", Root::CurrentUser, u"Software\\X"},
      {u"hkey_local_machine\\A", Root::LocalMachine, u"A"},
      {u"HKCR", Root::ClassesRoot, u""},
      {u"HKU\\x", Root::Users, u"x"},
      {u"HKCC\\", Root::CurrentConfig, u""},
      {u"HKXX\\A", std::nullopt, u""},
      {u"", std::nullopt, u""},
      {u"Software\\X", std::nullopt, u""},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseRootedPath(c.text);
    ASSERT_EQ(parsed.has_value(), c.root.has_value()) << ToUtf8(c.text);
    if (parsed) {
      EXPECT_EQ(parsed->root, *c.root);
      EXPECT_EQ(parsed->path, c.path);
    }
  }
  EXPECT_EQ(FullKeyName(Root::ClassesRoot, u"CLSID"), u"HKEY_CLASSES_ROOT\\CLSID");
  EXPECT_EQ(FullKeyName(Root::Users, u""), u"HKEY_USERS");
  EXPECT_EQ(RootFromHandle(0x80000002), Root::LocalMachine);
  EXPECT_EQ(RootFromHandle(0x80000004), std::nullopt);
}

TEST(DefaultStore, PathComesFromTheEnvironment) {
  testing::TempDir dir;
  const char* keep_registro = std::getenv("ZE_REGISTRO");
  const std::string saved = keep_registro != nullptr ? keep_registro : "";
  const char* keep_home = std::getenv("HOME");
  const std::string saved_home = keep_home != nullptr ? keep_home : "";
  ::unsetenv("ZE_REGISTRO");
  ::unsetenv("HOME");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultStorePath(), "");
  EXPECT_EQ(DefaultStore()->Status(), ERROR_CANTOPEN) << "no path at all is a clear error";
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  EXPECT_EQ(DefaultStorePath(), dir.path() + "/zekalendo/registro.db");
  ::setenv("XDG_CONFIG_HOME", "relativo", 1);  // only an absolute path counts
  ::setenv("HOME", dir.path().c_str(), 1);
  EXPECT_EQ(DefaultStorePath(), dir.path() + "/.config/zekalendo/registro.db");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("ZE_REGISTRO", dir.File("mio.db").c_str(), 1);
  EXPECT_EQ(DefaultStorePath(), dir.File("mio.db"));
  auto first = DefaultStore();
  EXPECT_EQ(first->path(), dir.File("mio.db"));
  EXPECT_EQ(DefaultStore(), first) << "the same store while the path stays";
  ::setenv("ZE_REGISTRO", dir.File("altro.db").c_str(), 1);
  EXPECT_EQ(DefaultStore()->path(), dir.File("altro.db"));
  if (keep_registro != nullptr) ::setenv("ZE_REGISTRO", saved.c_str(), 1);
  if (keep_home != nullptr) ::setenv("HOME", saved_home.c_str(), 1);
  ResetDefaultStore();
}

}  // namespace
}  // namespace ze::registry
