// zeUtilita: INI entries, registry values, shared-file counts and uninstall records.
//
// The INI routines go through the system layer's profile functions (frame/system/
// ini_file.h), which read and replace the file. The registry routines go through the
// store's advapi-style ANSI functions (frame/registry/advapi.h), one internal reader
// (LeggiRegistro) and two internal writers beneath everything else, so the bytes they
// see and store are the ones programs of the original platform see and store: text in
// Windows-1252 with its terminating zero, numbers as four little-endian bytes.
#include <array>
#include <limits>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"
#include "frame/registry/advapi.h"
#include "frame/registry/store.h"
#include "frame/system/ini_file.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
// The profile reader copies at most this many characters less one; longer values come
// back cut, as callers of this routine have always seen them.
constexpr std::size_t kBufferIni = 2000;

// Trim: spaces only, as the platform's string function removes them.
ze::String TrimSpaces(const ze::String& s) {
  const std::size_t first = s.find_first_not_of(u' ');
  if (first == ze::String::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

namespace reg = ze::registry;

constexpr reg::REGSAM kAccessoLettura = 0x20019;
constexpr reg::REGSAM kAccessoScrittura = 0x2003F;
// The registry reader's buffer: a longer value reads as not found.
constexpr reg::DWORD kBufferRegistro = 1024;

constexpr char16_t kChiaveShared[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char16_t kChiaveDisinstalla[] =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

reg::HKEY Radice(std::int32_t root) { return static_cast<reg::HKEY>(root); }

// The value name of an uninstall record's field; any other number names the default value.
ze::String NomeDisinstallazione(std::int32_t subchiave) {
  switch (subchiave) {
    case 0: return u"ApplicationName";
    case 1: return u"DisplayName";
    case 2: return u"UninstallString";
    case 3: return u"AppToUninstall";
    default: return u"";
  }
}

// A count read as text becomes a Long: its leading number, halves to even.
std::int32_t ValoreContatore(const ze::String& testo) {
  return ze::CLng(ze::Variant(ze::Val(testo)));
}

}  // namespace

ze::String zeUtilita::LeggiINI(ze::String& fileINI, ze::String& Sezione, ze::String& chiave,
                               ze::String& DefaultValore) const {
  ze::String buffer;
  const std::size_t N = ze::system::GetPrivateProfileString(Sezione, chiave, DefaultValore,
                                                            buffer, kBufferIni, fileINI);
  const ze::String valore = TrimSpaces(buffer.substr(0, N));
  // An empty or all-blank value reads as the caller's default, which is given back as
  // the caller wrote it.
  if (valore.empty()) return DefaultValore;
  return valore;
}

bool zeUtilita::ScriviINI(ze::String& fileINI, ze::String& Sezione, ze::String& chiave,
                          ze::String& valore) const {
  return ze::system::WritePrivateProfileString(Sezione, chiave, valore, fileINI);
}

namespace {
// LeggiRegistro's steps, inside the read transaction LeggiRegistro holds.
bool LeggiValore(std::int32_t root, const ze::String& chiave, const ze::String& nomeValore,
                 ze::String& testo) {
  reg::HKEY handle = 0;
  if (reg::RegOpenKeyExA(Radice(root), ze::ToAnsiText(chiave).c_str(), 0, kAccessoLettura,
                         &handle) != reg::ERROR_SUCCESS)
    return false;
  std::array<std::uint8_t, kBufferRegistro> dati{};
  reg::DWORD L = kBufferRegistro;
  reg::DWORD tipo = 0;
  if (reg::RegQueryValueExA(handle, ze::ToAnsiText(nomeValore).c_str(), nullptr, &tipo,
                            dati.data(), &L) != reg::ERROR_SUCCESS) {
    reg::RegCloseKey(handle);
    return false;
  }
  if (L == 0) {
    // A value without data has no last byte to look at; the key is closed before the
    // error leaves, so no handle is lost.
    reg::RegCloseKey(handle);
    ze::Raise(ze::errors::kInvalidProcedureCall);
  }
  const std::size_t lunghezza = dati[L - 1] == 0 ? L - 1 : L;
  if (tipo == reg::REG_SZ) {
    testo = ze::FromAnsiText(
        std::string_view(reinterpret_cast<const char*>(dati.data()), lunghezza));
  } else if (tipo == reg::REG_DWORD) {
    // All four bytes count, also when the last is the 0 that was cut above.
    const std::uint32_t numero = dati[0] | (dati[1] << 8) | (dati[2] << 16) |
                                 (static_cast<std::uint32_t>(dati[3]) << 24);
    testo = ze::FromUtf8(std::to_string(static_cast<std::int32_t>(numero)));
  }
  reg::RegCloseKey(handle);
  return true;
}
}  // namespace

bool zeUtilita::LeggiRegistro(std::int32_t root, const ze::String& chiave,
                              const ze::String& nomeValore, ze::String& testo) const {
  testo.clear();
  // The open, the query and the close share one read transaction: the value is read
  // in the state its key was found in, and the store's locks are taken once rather
  // than once a step, which is most of a read's cost. A store that cannot be read
  // runs nothing: not found.
  bool trovato = false;
  reg::DefaultStore()->ReadBatch([&] {
    trovato = LeggiValore(root, chiave, nomeValore, testo);
    return reg::ERROR_SUCCESS;
  });
  return trovato;
}

bool zeUtilita::ScriviRegistroDWord(std::int32_t root, const ze::String& chiave,
                                    const ze::String& nomeValore, std::int32_t numero) const {
  reg::HKEY handle = 0;
  if (reg::RegOpenKeyExA(Radice(root), ze::ToAnsiText(chiave).c_str(), 0, kAccessoScrittura,
                         &handle) != reg::ERROR_SUCCESS)
    return false;
  const auto n = static_cast<std::uint32_t>(numero);
  const std::uint8_t dati[4] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                static_cast<std::uint8_t>(n >> 16),
                                static_cast<std::uint8_t>(n >> 24)};
  const bool scritto = reg::RegSetValueExA(handle, ze::ToAnsiText(nomeValore).c_str(), 0,
                                           reg::REG_DWORD, dati, 4) == reg::ERROR_SUCCESS;
  reg::RegCloseKey(handle);
  return scritto;
}

bool zeUtilita::ScriviRegistroStringa(std::int32_t root, const ze::String& chiave,
                                      const ze::String& nomeValore, const ze::String& testo,
                                      const ze::Variant& crea) const {
  try {
    const std::string chiaveAnsi = ze::ToAnsiText(chiave);
    reg::HKEY handle = 0;
    reg::LSTATUS aperta;
    if (ze::CBool(crea)) {
      reg::DWORD disposizione = 0;
      aperta = reg::RegCreateKeyExA(Radice(root), chiaveAnsi.c_str(), 0, "0", 0,
                                    kAccessoScrittura, nullptr, &handle, &disposizione);
    } else {
      aperta = reg::RegOpenKeyExA(Radice(root), chiaveAnsi.c_str(), 0, kAccessoScrittura, &handle);
    }
    if (aperta != reg::ERROR_SUCCESS) return false;
    // The terminating 0 is stored with the text, as readers of the value expect.
    const std::string dati = ze::ToAnsiText(testo);
    const bool scritto =
        reg::RegSetValueExA(handle, ze::ToAnsiText(nomeValore).c_str(), 0, reg::REG_SZ,
                            reinterpret_cast<const std::uint8_t*>(dati.c_str()),
                            static_cast<reg::DWORD>(dati.size() + 1)) == reg::ERROR_SUCCESS;
    reg::RegCloseKey(handle);
    return scritto;
  } catch (const ze::AutomationError&) {
    return false;
  }
}

ze::String zeUtilita::LeggiContatoreShared(const ze::String& pathfile) const {
  try {
    ze::String testo;
    if (LeggiRegistro(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE), kChiaveShared, pathfile,
                      testo))
      return testo;
    return u"-1";
  } catch (const ze::AutomationError&) {
    return u"";
  }
}

bool zeUtilita::ScriviContatoreShared(const ze::String& pathfile, std::int32_t contatore) const {
  try {
    return ScriviRegistroDWord(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE), kChiaveShared,
                               pathfile, contatore);
  } catch (const ze::AutomationError&) {
    return false;
  }
}

bool zeUtilita::EliminaContatoreShared(const ze::String& pathfile) const {
  reg::HKEY handle = 0;
  if (reg::RegOpenKeyExA(reg::HKEY_LOCAL_MACHINE, ze::ToAnsiText(kChiaveShared).c_str(), 0,
                         kAccessoScrittura, &handle) != reg::ERROR_SUCCESS)
    return false;
  const bool eliminato = reg::RegDeleteValueA(handle, ze::ToAnsiText(pathfile).c_str()) ==
                         reg::ERROR_SUCCESS;
  reg::RegCloseKey(handle);
  return eliminato;
}

bool zeUtilita::SetFileShared(ze::String& pathfile, bool& EsisteGia) const {
  std::int32_t C = ValoreContatore(LeggiContatoreShared(pathfile));
  if (EsisteGia && C == -1) C = 0;
  if (C == std::numeric_limits<std::int32_t>::max()) ze::Raise(ze::errors::kOverflow);
  C = C + 1;
  return ScriviContatoreShared(pathfile, C);
}

bool zeUtilita::DecFileShared(ze::String& pathfile) const {
  const std::int32_t C = ValoreContatore(LeggiContatoreShared(pathfile));
  if (C < 1) return EliminaContatoreShared(pathfile);
  return ScriviContatoreShared(pathfile, C - 1);
}

namespace {
// The server registered for the class of a program identifier, under `sottochiave`.
ze::String PathServer(const zeUtilita& u, const ze::String& applicazione,
                      std::u16string_view sottochiave) {
  const auto radice = static_cast<std::int32_t>(reg::HKEY_CLASSES_ROOT);
  try {
    ze::String clsid;
    if (!u.LeggiRegistro(radice, applicazione + u"\\Clsid", u"", clsid)) return u"";
    ze::String server;
    if (!u.LeggiRegistro(radice, u"Clsid\\" + clsid + ze::String(sottochiave), u"", server))
      return u"";
    return server;
  } catch (const ze::AutomationError&) {
    return u"";
  }
}
}  // namespace

ze::String zeUtilita::PathServerOcx(ze::String& applicazione) const {
  return PathServer(*this, applicazione, u"\\InprocServer32");
}

ze::String zeUtilita::PathServerExe(ze::String& applicazione) const {
  return PathServer(*this, applicazione, u"\\LocalServer32");
}

ze::String zeUtilita::GetInfoDisinstallazione(ze::String& chiave, std::int32_t& subchiave) const {
  ze::String testo;
  if (LeggiRegistro(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE), kChiaveDisinstalla + chiave,
                    NomeDisinstallazione(subchiave), testo))
    return testo;
  return u"";
}

bool zeUtilita::SetInfoDisinstallazione(ze::String& chiave, std::int32_t& subchiave,
                                        ze::String& valore,
                                        const std::optional<ze::Variant>& crea) const {
  return ScriviRegistroStringa(static_cast<std::int32_t>(reg::HKEY_LOCAL_MACHINE),
                               kChiaveDisinstalla + chiave, NomeDisinstallazione(subchiave), valore,
                               crea.value_or(ze::Variant(false)));
}

}  // namespace zekalendo
