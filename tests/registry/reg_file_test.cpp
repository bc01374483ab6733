// The .reg text format: what each construct means, malformed files refused whole
// with the line at fault, the encodings, export, and round trips of every type.
#include "frame/registry/reg_file.h"

#include <gtest/gtest.h>

#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

using Kind = RegFileChange::Kind;

const String kHeader = u"Windows Registry Editor Version 5.00\r\n\r\n";

TEST(RegFileParse, EveryConstruct) {
  const RegFileParse p = ParseRegText(kHeader +
                                      u"; a comment\r\n"
                                      u"[HKEY_CURRENT_USER\\Software\\Prova]\r\n"
                                      u"@=\"predefinito\"\r\n"
                                      u"\"Nome\"=\"con \\\"virgolette\\\" e \\\\\"\r\n"
                                      u"\"Conta\"=dword:0000000a\r\n"
                                      u"\"Corto\"=DWORD:A\r\n"
                                      u"\"Dati\"=hex:01,02,ff\r\n"
                                      u"\"Vuoto\"=hex:\r\n"
                                      u"\"Lungo\"=hex(2):25,00,48,00,\\\r\n"
                                      u"    4f,00,00,00\r\n"
                                      u"\"Tipo\"=hex(7b):01\r\n"
                                      u"\"Vecchio\"=-\r\n"
                                      u"  \"Spazi\" = \"x\"  \r\n"
                                      u"[-HKCU\\Software\\Vecchia]\r\n"
                                      u"[HKLM\\A]\n"
                                      u"\"=\"=\"=\"");
  ASSERT_TRUE(p.ok()) << p.errorLine << ": " << p.error;
  ASSERT_EQ(p.changes.size(), 14u);
  const auto& c = p.changes;
  EXPECT_EQ(c[0].kind, Kind::CreateKey);
  EXPECT_EQ(c[0].root, Root::CurrentUser);
  EXPECT_EQ(c[0].path, u"Software\\Prova");
  EXPECT_EQ(c[0].line, 4);
  EXPECT_EQ(c[1].valueName, u"");
  EXPECT_EQ(c[1].value, (Value{REG_SZ, EncodeString(u"predefinito")}));
  EXPECT_EQ(c[2].valueName, u"Nome");
  EXPECT_EQ(c[2].value.data, EncodeString(u"con \"virgolette\" e \\"));
  EXPECT_EQ(c[3].value, (Value{REG_DWORD, EncodeDword(10)}));
  EXPECT_EQ(c[4].value, (Value{REG_DWORD, EncodeDword(10)}));
  EXPECT_EQ(c[5].value, (Value{REG_BINARY, {1, 2, 0xff}}));
  EXPECT_EQ(c[6].value, (Value{REG_BINARY, {}}));
  EXPECT_EQ(c[7].value, (Value{REG_EXPAND_SZ, EncodeString(u"%HO")}));
  EXPECT_EQ(c[7].line, 11) << "a continued value keeps the line it starts on";
  EXPECT_EQ(c[8].value, (Value{0x7b, {1}}));
  EXPECT_EQ(c[9].kind, Kind::DeleteValue);
  EXPECT_EQ(c[9].valueName, u"Vecchio");
  EXPECT_EQ(c[10].valueName, u"Spazi");
  EXPECT_EQ(c[11].kind, Kind::DeleteKey);
  EXPECT_EQ(c[11].path, u"Software\\Vecchia");
  EXPECT_EQ(c[12].root, Root::LocalMachine);
  EXPECT_EQ(c[13].valueName, u"=");
  EXPECT_EQ(c[13].line, 18);
}

TEST(RegFileParse, MalformedFilesNameTheLine) {
  const struct {
    const char* name;
    String text;
    int line;
  } cases[] = {
      {"no header", u"[HKCU\\A]\r\n", 1},
      {"empty file", u"", 1},
      {"wrong header", u"REGEDIT4\r\n[HKCU\\A]\r\n", 1},
      {"value before any key", kHeader + u"\"a\"=\"b\"\r\n", 3},
      {"value after a deletion", kHeader + u"[-HKCU\\A]\r\n\"a\"=\"b\"\r\n", 4},
      {"unknown root", kHeader + u"[HKEY_NOWHERE\\A]\r\n", 3},
      {"no closing bracket", kHeader + u"[HKCU\\A\r\n", 3},
      {"text after the bracket", kHeader + u"[HKCU\\A] x\r\n", 3},
      {"empty key component", kHeader + u"[HKCU\\A\\\\B]\r\n", 3},
      {"deleting a root", kHeader + u"[-HKCU]\r\n", 3},
      {"unterminated name", kHeader + u"[HKCU\\A]\r\n\"abc=\"x\"\r\n", 4},
      {"bad escape", kHeader + u"[HKCU\\A]\r\n\"a\\n\"=\"x\"\r\n", 4},
      {"no equals sign", kHeader + u"[HKCU\\A]\r\n\"a\" \"x\"\r\n", 4},
      {"unterminated text", kHeader + u"[HKCU\\A]\r\n\"a\"=\"x\r\n", 4},
      {"text after the text", kHeader + u"[HKCU\\A]\r\n\"a\"=\"x\"y\r\n", 4},
      {"dword too long", kHeader + u"[HKCU\\A]\r\n\"a\"=dword:123456789\r\n", 4},
      {"dword not hex", kHeader + u"[HKCU\\A]\r\n\"a\"=dword:12g4\r\n", 4},
      {"empty dword", kHeader + u"[HKCU\\A]\r\n\"a\"=dword:\r\n", 4},
      {"hex byte too long", kHeader + u"[HKCU\\A]\r\n\"a\"=hex:123\r\n", 4},
      {"hex gap", kHeader + u"[HKCU\\A]\r\n\"a\"=hex:01,,02\r\n", 4},
      {"hex type not hex", kHeader + u"[HKCU\\A]\r\n\"a\"=hex(z):01\r\n", 4},
      {"unknown data", kHeader + u"[HKCU\\A]\r\n\"a\"=qword:1\r\n", 4},
      {"stray line", kHeader + u"[HKCU\\A]\r\nciao\r\n", 4},
      {"bad continued line", kHeader + u"[HKCU\\A]\r\n\"a\"=hex:01,\\\r\n zz\r\n", 4},
      {"fine until the last line", kHeader + u"[HKCU\\A]\r\n\"a\"=\"b\"\r\n\r\n[HKCU\\B\r\n", 6},
  };
  for (const auto& c : cases) {
    const RegFileParse p = ParseRegText(c.text);
    EXPECT_FALSE(p.ok()) << c.name;
    EXPECT_EQ(p.errorLine, c.line) << c.name << ": " << p.error;
    EXPECT_FALSE(p.error.empty()) << c.name;
    EXPECT_TRUE(p.changes.empty()) << c.name;
  }
}

TEST(RegFileParse, ReadsEveryEncoding) {
  const std::string utf8 = "Windows Registry Editor Version 5.00\n[HKCU\\\xC3\xA8]\n";
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, EncodeRegFile(FromUtf8(utf8)), [&] {
                                     std::string be = "\xFE\xFF";
                                     for (char16_t c : FromUtf8(utf8)) {
                                       be += static_cast<char>(c >> 8);
                                       be += static_cast<char>(c & 0xFF);
                                     }
                                     return be;
                                   }()}) {
    const RegFileParse p = ParseRegFile(bytes);
    ASSERT_TRUE(p.ok()) << p.error;
    ASSERT_EQ(p.changes.size(), 1u);
    EXPECT_EQ(p.changes[0].path, u"\u00e8");
  }
  EXPECT_EQ(EncodeRegFile(u"A\u00e8"), std::string("\xFF\xFE"
                                                   "A\0\xE8\0",
                                                   6));
}

TEST(RegFileParse, BytesThatAreNotTheEncodingNameTheirLine) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  const struct {
    const char* name;
    std::string bytes;
    int line;
  } cases[] = {
      {"a stray byte in a key", header + "[HKCU\\A\xFF]\r\n", 3},
      {"in a value name", header + "[HKCU\\A]\r\n\"n\xE8\"=\"x\"\r\n", 4},
      {"in the data", header + "[HKCU\\A]\n\"n\"=\"x\"\n\"m\"=\"\xC3\"\n", 5},
      {"lines ended by CR", "Windows Registry Editor Version 5.00\r\r[HKCU\\A]\r\xC0\xAF", 4},
      {"an encoded surrogate", header + "[HKCU\\\xED\xA0\x80]\r\n", 3},
      {"cut at the end", header + "[HKCU\\A]\r\n\"n\"=\"\xF0\x9F\x98", 4},
      {"in the header", "Windows Registry Editor \x80ersion 5.00\r\n", 1},
      {"UTF-16 cut in half a character",
       EncodeRegFile(u"Windows Registry Editor Version 5.00\r\n") + "A", 2},
  };
  for (const auto& c : cases) {
    const RegFileParse p = ParseRegFile(c.bytes);
    EXPECT_FALSE(p.ok()) << c.name;
    EXPECT_EQ(p.errorLine, c.line) << c.name << ": " << p.error;
    EXPECT_TRUE(p.changes.empty()) << c.name;
  }
  // Four-byte characters are text like any other.
  const RegFileParse fine = ParseRegFile(header + "[HKCU\\\xF0\x9F\x98\x80]\r\n");
  ASSERT_TRUE(fine.ok()) << fine.error;
  EXPECT_EQ(fine.changes[0].path, u"\U0001F600");
}

class RegFileStoreTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::shared_ptr<Store> store = Store::Open(dir.File("registro.db"));
};

TEST_F(RegFileStoreTest, ExportWritesTheTreeAsTheOriginalDoes) {
  const RegFileParse p = ParseRegText(kHeader +
                                      u"[HKCU\\software\\Prova]\r\n"
                                      u"\"Testo\"=\"a \\\"b\\\" \\\\c\"\r\n"
                                      u"@=\"radice\"\r\n"
                                      u"\"N\"=dword:00000120\r\n"
                                      u"[HKCU\\SOFTWARE\\Prova\\Figlio]\r\n"
                                      u"\"Lista\"=hex(7):61,00,00,00,00,00\r\n");
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(ApplyRegFile(*store, p.changes), ERROR_SUCCESS);
  String text;
  ASSERT_EQ(ExportRegText(*store, Root::CurrentUser, u"Software\\prova\\", &text), ERROR_SUCCESS);
  EXPECT_EQ(ToUtf8(text),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\software\\Prova]\r\n"
            "@=\"radice\"\r\n"
            "\"Testo\"=\"a \\\"b\\\" \\\\c\"\r\n"
            "\"N\"=dword:00000120\r\n\r\n"
            "[HKEY_CURRENT_USER\\software\\Prova\\Figlio]\r\n"
            "\"Lista\"=hex(7):61,00,00,00,00,00\r\n\r\n");
  EXPECT_EQ(ExportRegText(*store, Root::CurrentUser, u"Nessuna", &text), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegFileStoreTest, LongHexListsWrap) {
  KeyId key;
  ASSERT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), u"H", &key), ERROR_SUCCESS);
  ASSERT_EQ(store->SetValue(key, u"Dati", REG_BINARY, Bytes(60, 0xab)), ERROR_SUCCESS);
  String text;
  ASSERT_EQ(ExportRegText(*store, Root::CurrentUser, u"H", &text), ERROR_SUCCESS);
  const std::string narrow = ToUtf8(text);
  std::size_t longest = 0, start = 0;
  while (start < narrow.size()) {
    const std::size_t end = narrow.find("\r\n", start);
    longest = std::max(longest, end - start);
    start = end + 2;
  }
  EXPECT_LE(longest, 80u);
  EXPECT_NE(narrow.find(",\\\r\n  ab"), std::string::npos);
  const RegFileParse back = ParseRegText(text);
  ASSERT_TRUE(back.ok()) << back.error;
  EXPECT_EQ(back.changes.back().value, (Value{REG_BINARY, Bytes(60, 0xab)}));
}

TEST_F(RegFileStoreTest, EveryValueRoundTripsByteForByte) {
  KeyId key;
  ASSERT_EQ(store->CreateKey(Store::RootKey(Root::LocalMachine), u"Giro\\Tondo", &key),
            ERROR_SUCCESS);
  const std::vector<NamedValue> values{
      {u"", {REG_SZ, EncodeString(u"predefinito")}},
      {u"Vuota", {REG_SZ, EncodeString(u"")}},
      {u"Senza NUL", {REG_SZ, {'a', 0}}},
      {u"NUL dentro", {REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0}}},
      {u"Dispari", {REG_SZ, {'a', 0, 'b'}}},
      {u"A capo", {REG_SZ, EncodeString(u"riga\r\nriga")}},
      {u"Surrogato", {REG_SZ, {0x00, 0xD8, 0, 0}}},
      {u"Accenti \u00e8\u20ac", {REG_SZ, EncodeString(u"\u00e0\U0001F600")}},
      {u"Espandi", {REG_EXPAND_SZ, EncodeString(u"%PATH%")}},
      {u"Numero", {REG_DWORD, EncodeDword(0xFFFFFFFF)}},
      {u"Numero corto", {REG_DWORD, {1}}},
      {u"Grande", {REG_QWORD, EncodeQword(1ull << 40)}},
      {u"Lista", {REG_MULTI_SZ, EncodeMultiString({u"a", u"b"})}},
      {u"Niente", {REG_NONE, {}}},
      {u"Binario", {REG_BINARY, {0, 1, 2, 254, 255}}},
      {u"Strano \"nome\" \\", {0xABCDEF, {9}}},
  };
  for (const NamedValue& v : values)
    ASSERT_EQ(store->SetValue(key, v.name, v.value.type, v.value.data), ERROR_SUCCESS);
  String text;
  ASSERT_EQ(ExportRegText(*store, Root::LocalMachine, u"Giro", &text), ERROR_SUCCESS);
  ASSERT_EQ(store->DeleteTree(Store::RootKey(Root::LocalMachine), u"Giro"), ERROR_SUCCESS);
  const RegFileParse back = ParseRegFile(EncodeRegFile(text));
  ASSERT_TRUE(back.ok()) << back.errorLine << ": " << back.error;
  ASSERT_EQ(ApplyRegFile(*store, back.changes), ERROR_SUCCESS);
  std::vector<NamedValue> read;
  ASSERT_EQ(store->OpenKey(Store::RootKey(Root::LocalMachine), u"Giro\\Tondo", &key),
            ERROR_SUCCESS);
  ASSERT_EQ(store->EnumValues(key, &read), ERROR_SUCCESS);
  ASSERT_EQ(read.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(read[i].name, values[i].name);
    EXPECT_EQ(read[i].value, values[i].value) << ToUtf8(values[i].name);
  }
}

TEST_F(RegFileStoreTest, ApplyingIsAllOrNothing) {
  StoreOptions options;
  options.failWriteNumber = 3;
  auto failing = Store::Open(dir.File("guasto.db"), options);
  const RegFileParse p = ParseRegText(kHeader +
                                      u"[HKCU\\A]\r\n\"1\"=\"uno\"\r\n\"2\"=\"due\"\r\n"
                                      u"[HKCU\\B]\r\n\"3\"=\"tre\"\r\n");
  ASSERT_TRUE(p.ok());
  int line = 0;
  EXPECT_EQ(ApplyRegFile(*failing, p.changes, &line), ERROR_REGISTRY_IO_FAILED);
  EXPECT_EQ(line, 6) << "the change that failed";
  std::vector<String> names;
  ASSERT_EQ(failing->EnumKeys(Store::RootKey(Root::CurrentUser), &names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
  // A commit that fails is no line's fault.
  StoreOptions at_commit;
  at_commit.failCommitNumber = 0;
  auto full = Store::Open(dir.File("pieno.db"), at_commit);
  line = -1;
  EXPECT_EQ(ApplyRegFile(*full, p.changes, &line), ERROR_REGISTRY_IO_FAILED);
  EXPECT_EQ(line, 0);
  ASSERT_EQ(full->EnumKeys(Store::RootKey(Root::CurrentUser), &names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
  // Deletions of what is not there are no failure.
  const RegFileParse del = ParseRegText(kHeader + u"[-HKCU\\Nessuna]\r\n[HKCU\\A]\r\n\"x\"=-\r\n");
  ASSERT_TRUE(del.ok());
  EXPECT_EQ(ApplyRegFile(*store, del.changes), ERROR_SUCCESS);
}

}  // namespace
}  // namespace ze::registry
