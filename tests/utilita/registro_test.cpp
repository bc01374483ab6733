// zeUtilita's registry routines over a store of each test's own: the bytes the reader
// and the writers see and leave, the shared-file counts, the server paths and the
// uninstall records.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "frame/automation/error.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch_client.h"
#include "frame/registry/advapi.h"
#include "tests/registry/temp_dir.h"
#include "utilita/utilita_object.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {
namespace {

using namespace ze::registry;
using ze::String;
using ze::Variant;

constexpr auto kHklm = static_cast<std::int32_t>(HKEY_LOCAL_MACHINE);
constexpr char16_t kProva[] = u"SOFTWARE\\Prova";
constexpr char16_t kShared[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char16_t kUninstall[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class RegistroTest : public ::testing::Test {
 protected:
  // Stores raw bytes under HKEY_LOCAL_MACHINE, as another program could have left them.
  void Put(HKEY root, std::u16string_view key, std::u16string_view name, DWORD type,
           const std::vector<std::uint8_t>& bytes) {
    HKEY h = 0;
    ASSERT_EQ(RegCreateKeyEx(root, String(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(h, String(name).c_str(), 0, type, bytes.data(),
                            static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(h);
  }
  void PutText(HKEY root, std::u16string_view key, std::u16string_view name,
               std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    Put(root, key, name, REG_SZ, bytes);
  }
  // The value's type and bytes as an ANSI reader gets them, or nothing when absent.
  std::optional<std::pair<DWORD, std::vector<std::uint8_t>>> Get(std::u16string_view key,
                                                                  const char* name) {
    HKEY h = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ze::ToAnsiText(key).c_str(), 0, KEY_READ, &h) !=
        ERROR_SUCCESS)
      return std::nullopt;
    std::vector<std::uint8_t> bytes(4096);
    DWORD size = bytes.size(), type = 0;
    const LSTATUS status = RegQueryValueExA(h, name, nullptr, &type, bytes.data(), &size);
    RegCloseKey(h);
    if (status != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    return std::make_pair(type, bytes);
  }
  std::pair<bool, String> Leggi(std::u16string_view name) {
    String testo = u"stale";
    const bool found = utilita_.LeggiRegistro(kHklm, kProva, String(name), testo);
    return {found, testo};
  }

  ze::testing::TempDir dir_;
  ze::testing::DefaultStoreAt store_{dir_.File("registro.db")};
  zeUtilita utilita_;
};

TEST_F(RegistroTest, LeggiRegistroReadsTextNumbersAndNothingElse) {
  PutText(HKEY_LOCAL_MACHINE, kProva, u"testo", u"caff\u00E8");
  Put(HKEY_LOCAL_MACHINE, kProva, u"senza zero", REG_SZ, {'a', 0, 'b', 0});
  Put(HKEY_LOCAL_MACHINE, kProva, u"numero", REG_DWORD, {0x05, 0x01, 0x00, 0x00});
  Put(HKEY_LOCAL_MACHINE, kProva, u"negativo", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF});
  Put(HKEY_LOCAL_MACHINE, kProva, u"binario", REG_BINARY, {1, 2, 3});
  PutText(HKEY_LOCAL_MACHINE, kProva, u"", u"predefinito");
  EXPECT_EQ(Leggi(u"testo"), std::make_pair(true, String(u"caff\u00E8")));
  EXPECT_EQ(Leggi(u"TESTO"), std::make_pair(true, String(u"caff\u00E8")));
  // Stored without its 0, a text keeps its last character.
  EXPECT_EQ(Leggi(u"senza zero"), std::make_pair(true, String(u"ab")));
  EXPECT_EQ(Leggi(u"numero"), std::make_pair(true, String(u"261")));
  EXPECT_EQ(Leggi(u"negativo"), std::make_pair(true, String(u"-5")));
  EXPECT_EQ(Leggi(u"binario"), std::make_pair(true, String()));
  EXPECT_EQ(Leggi(u""), std::make_pair(true, String(u"predefinito")));
  EXPECT_EQ(Leggi(u"manca"), std::make_pair(false, String()));
  String testo = u"stale";
  EXPECT_FALSE(utilita_.LeggiRegistro(kHklm, u"SOFTWARE\\Manca", u"", testo));
  EXPECT_EQ(testo, u"");
  EXPECT_EQ(OpenKeyHandleCount(), 0u);
}

TEST_F(RegistroTest, LeggiRegistroLimitsAndEmptyData) {
  // 1,023 characters and their 0 fill the buffer exactly; one more does not fit.
  PutText(HKEY_LOCAL_MACHINE, kProva, u"pieno", String(1023, u'x'));
  PutText(HKEY_LOCAL_MACHINE, kProva, u"troppo", String(1024, u'x'));
  Put(HKEY_LOCAL_MACHINE, kProva, u"vuoto", REG_SZ, {});
  EXPECT_EQ(Leggi(u"pieno"), std::make_pair(true, String(1023, u'x')));
  EXPECT_EQ(Leggi(u"troppo"), std::make_pair(false, String()));
  try {
    Leggi(u"vuoto");
    ADD_FAILURE() << "no error for a value without data";
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::errors::kInvalidProcedureCall);
  }
  EXPECT_EQ(OpenKeyHandleCount(), 0u);
}

TEST_F(RegistroTest, WritersStoreTheExactBytes) {
  EXPECT_FALSE(utilita_.ScriviRegistroStringa(kHklm, kProva, u"s", u"x", Variant(false)));
  EXPECT_FALSE(utilita_.ScriviRegistroDWord(kHklm, kProva, u"n", 7));
  EXPECT_FALSE(utilita_.ScriviRegistroStringa(kHklm, kProva, u"s", u"x", Variant(String(u"forse"))));
  EXPECT_FALSE(Get(kProva, "s").has_value());

  EXPECT_TRUE(utilita_.ScriviRegistroStringa(kHklm, kProva, u"s", u"ab\u00E8", Variant(true)));
  EXPECT_EQ(Get(kProva, "s"), std::make_pair(REG_SZ, std::vector<std::uint8_t>{'a', 'b', 0xE8, 0}));
  EXPECT_TRUE(utilita_.ScriviRegistroStringa(kHklm, kProva, u"vuota", u"", Variant(false)));
  EXPECT_EQ(Get(kProva, "vuota"), std::make_pair(REG_SZ, std::vector<std::uint8_t>{0}));
  EXPECT_TRUE(utilita_.ScriviRegistroDWord(kHklm, kProva, u"n", -2));
  EXPECT_EQ(Get(kProva, "n"),
            std::make_pair(REG_DWORD, std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(OpenKeyHandleCount(), 0u);
}

TEST_F(RegistroTest, SharedCountsGoUpAndDown) {
  String file = u"C:\\Programmi\\Comune\\lib.dll";
  Put(HKEY_LOCAL_MACHINE, kShared, u"C:\\altro.dll", REG_DWORD, {0x2C, 0x01, 0, 0});
  String altro = u"C:\\altro.dll";
  bool esiste = false;
  EXPECT_EQ(utilita_.LeggiContatoreShared(altro), u"300");
  EXPECT_TRUE(utilita_.SetFileShared(altro, esiste));
  EXPECT_EQ(utilita_.LeggiContatoreShared(altro), u"301");

  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"-1");
  EXPECT_TRUE(utilita_.SetFileShared(file, esiste));
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"0");
  ASSERT_TRUE(utilita_.EliminaContatoreShared(file));
  esiste = true;
  EXPECT_TRUE(utilita_.SetFileShared(file, esiste));
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"1");

  EXPECT_TRUE(utilita_.DecFileShared(file));
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"0");
  EXPECT_TRUE(utilita_.DecFileShared(file));
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"-1");
  EXPECT_FALSE(utilita_.DecFileShared(file));

  ASSERT_TRUE(utilita_.ScriviContatoreShared(file, std::numeric_limits<std::int32_t>::max()));
  try {
    utilita_.SetFileShared(file, esiste);
    ADD_FAILURE() << "no overflow";
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::errors::kOverflow);
  }
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"2147483647");
}

TEST_F(RegistroTest, SharedCountsWithoutTheirKeyFail) {
  String file = u"C:\\lib.dll";
  bool esiste = true;
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"-1");
  EXPECT_FALSE(utilita_.SetFileShared(file, esiste));
  EXPECT_FALSE(utilita_.DecFileShared(file));
  // A count stored as a text with a fraction rounds halves to even.
  PutText(HKEY_LOCAL_MACHINE, kShared, file, u"2.5 copie");
  EXPECT_TRUE(utilita_.SetFileShared(file, esiste));
  EXPECT_EQ(utilita_.LeggiContatoreShared(file), u"3");
}

TEST_F(RegistroTest, ServerPathsFollowTheClassIdentifier) {
  const HKEY hkcr = HKEY_CLASSES_ROOT;
  PutText(hkcr, u"Prova.Oggetto\\Clsid", u"", u"{1234}");
  PutText(hkcr, u"Clsid\\{1234}\\InprocServer32", u"", u"C:\\lib\\prova.ocx");
  PutText(hkcr, u"Clsid\\{1234}\\LocalServer32", u"", u"C:\\prova.exe /automation");
  PutText(hkcr, u"Senza.Clsid\\CurVer", u"", u"Senza.Clsid.1");
  PutText(hkcr, u"Vuoto.Server\\Clsid", u"", u"{5678}");
  Put(hkcr, u"Clsid\\{5678}\\InprocServer32", u"", REG_SZ, {});
  String oggetto = u"prova.oggetto", senza = u"Senza.Clsid", vuoto = u"Vuoto.Server";
  EXPECT_EQ(utilita_.PathServerOcx(oggetto), u"C:\\lib\\prova.ocx");
  EXPECT_EQ(utilita_.PathServerExe(oggetto), u"C:\\prova.exe /automation");
  EXPECT_EQ(utilita_.PathServerOcx(senza), u"");
  EXPECT_EQ(utilita_.PathServerExe(vuoto), u"");
  // A value without data is a failure here, not an error.
  EXPECT_EQ(utilita_.PathServerOcx(vuoto), u"");
}

TEST_F(RegistroTest, UninstallRecords) {
  String chiave = u"Prova";
  std::int32_t nome = 1, predefinito = 7;
  String valore = u"Programma di prova";
  EXPECT_FALSE(utilita_.SetInfoDisinstallazione(chiave, nome, valore, std::nullopt));
  EXPECT_FALSE(utilita_.SetInfoDisinstallazione(chiave, nome, valore, Variant(false)));
  EXPECT_EQ(utilita_.GetInfoDisinstallazione(chiave, nome), u"");
  EXPECT_TRUE(utilita_.SetInfoDisinstallazione(chiave, nome, valore, Variant(true)));
  EXPECT_EQ(Get(String(kUninstall) + u"Prova", "DisplayName")->second.size(), valore.size() + 1);
  EXPECT_EQ(utilita_.GetInfoDisinstallazione(chiave, nome), valore);
  String radice = u"valore predefinito";
  EXPECT_TRUE(utilita_.SetInfoDisinstallazione(chiave, predefinito, radice, std::nullopt));
  EXPECT_EQ(utilita_.GetInfoDisinstallazione(chiave, predefinito), radice);
  std::int32_t zero = 0;
  EXPECT_EQ(utilita_.GetInfoDisinstallazione(chiave, zero), u"");
  // Here a field without data reaches the caller as error 5.
  Put(HKEY_LOCAL_MACHINE, String(kUninstall) + u"Prova", u"UninstallString", REG_SZ, {});
  std::int32_t disinstalla = 2;
  EXPECT_THROW(utilita_.GetInfoDisinstallazione(chiave, disinstalla), ze::AutomationError);
}

TEST_F(RegistroTest, UninstallByDispatchWithCreaLeftOut) {
  using namespace ze::com;
  ServerModule module;
  {
    ComPtr<IDispatch> object;
    ASSERT_EQ(UtilitaObject::Create(module, IID_IDispatch, object.PutVoid()), S_OK);
    EXCEPINFO info;
    Variant result;
    std::vector<Variant> senza{Variant(String(u"P")), Variant(std::int32_t{2}),
                               Variant(String(u"C:\\p\\unins.exe"))};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"SetInfoDisinstallazione", DISPATCH_METHOD, senza,
                              &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(false));
    std::vector<Variant> con{Variant(String(u"P")), Variant(std::int32_t{2}),
                             Variant(String(u"C:\\p\\unins.exe")), Variant(true)};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"SetInfoDisinstallazione", DISPATCH_METHOD, con,
                              &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(true));
    std::vector<Variant> leggi{Variant(String(u"P")), Variant(std::int16_t{2})};
    ASSERT_EQ(TryInvokeByName(object.Get(), u"GetInfoDisinstallazione", DISPATCH_METHOD, leggi,
                              &result, &info),
              S_OK);
    EXPECT_EQ(result, Variant(String(u"C:\\p\\unins.exe")));
  }
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace zekalendo
