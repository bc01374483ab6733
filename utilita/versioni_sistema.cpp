// zeUtilita: file versions and their comparison, the operating system, volume serial
// numbers, write access, files in use and the read-only mark.
//
// Paths come in Windows form and reach the system through NativePath, so a drive
// letter means what the registry store maps it to. The system's own facts come from
// frame/system: the version resource of a PE file (pe_version.h), uname (the system's
// identity), the file system's id (the volume serial) and /proc (files in use), each
// header saying what it can and cannot see.
#include <cerrno>
#include <string>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "frame/system/file_in_use.h"
#include "frame/system/file_probe.h"
#include "frame/system/native_path.h"
#include "frame/system/pe_version.h"
#include "frame/system/system_identity.h"
#include "frame/system/volume_serial.h"
#include "frame/ui/message_box.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {

constexpr char16_t kFileDiProva[] = u"120asd12.tmp";
constexpr std::int32_t kPathFileAccess = 75;
constexpr std::int32_t kDiskFull = 61;

// This system answers as the newest row of the NT family: its file and registry
// services behave as that family's do.
constexpr std::int32_t kCodiceUltimoNT = 8;

// A number as Str writes it: a blank where a plus sign would be.
ze::String Str(std::int32_t n) {
  const std::string digits = std::to_string(n);
  return ze::FromUtf8(n >= 0 ? " " + digits : digits);
}

ze::String Decimale(std::int64_t n) {
  return ze::FromUtf8(std::to_string(n));
}

// The error an open for writing reports for a failure of the system.
std::int32_t ErroreDiScrittura(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return ze::errors::kPathNotFound;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    default:
      return kPathFileAccess;
  }
}

void RegistraErrore(std::int32_t number) {
  ze::Err().Number = number;
  ze::Err().Description = ze::StandardDescription(number);
}

// The volume serial of a Windows-form root ("c:\"), or "" when it has none.
ze::String SerialeDi(const ze::String& radice) {
  const std::optional<std::string> native = ze::system::NativePath(radice);
  if (!native) return {};
  const std::optional<std::uint32_t> serial = ze::system::VolumeSerial(*native);
  if (!serial) return {};
  return Decimale(static_cast<std::int32_t>(*serial));
}

}  // namespace

std::int32_t zeUtilita::ParteAltaVersione(std::int32_t parola) const {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(parola) >> 16) & 0xFFFF);
}

std::int32_t zeUtilita::ParteBassaVersione(std::int32_t parola) const {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(parola) & 0xFFFF);
}

ze::String zeUtilita::GetVersione(ze::String& file) const {
  const std::optional<std::string> native = ze::system::NativePath(file);
  if (!native) return u"0.0.0.0";
  const std::optional<ze::system::FileVersion> version = ze::system::ReadFileVersion(*native);
  if (!version) return u"0.0.0.0";
  const auto ms = static_cast<std::int32_t>(version->ms);
  const auto ls = static_cast<std::int32_t>(version->ls);
  return Decimale(ParteAltaVersione(ms)) + u"." + Decimale(ParteBassaVersione(ms)) + u"." +
         Decimale(ParteAltaVersione(ls)) + u"." + Decimale(ParteBassaVersione(ls));
}

std::int16_t zeUtilita::EstraiParteVersione(const ze::String& testo, std::int16_t n) const {
  std::u16string_view resto = testo;
  std::int16_t parte = 0;
  for (std::int16_t i = 1; i <= n; ++i) {
    const std::size_t punto = resto.find(u'.');
    if (punto != std::u16string_view::npos) {
      parte = ze::CInt(ze::Val(resto.substr(0, punto)));
      resto = resto.substr(punto + 1);
    } else {
      parte = ze::CInt(ze::Val(resto));
    }
  }
  return parte;
}

std::int32_t zeUtilita::ConfrontaParti(std::int16_t a, std::int16_t b) const {
  if (a > b) return 1;
  if (a < b) return -1;
  return 0;
}

std::int32_t zeUtilita::ConfrontaVersione(ze::String& VersioneA, ze::String& VersioneB) const {
  for (std::int16_t n = 1; n <= 4; ++n) {
    const std::int32_t risposta =
        ConfrontaParti(EstraiParteVersione(VersioneA, n), EstraiParteVersione(VersioneB, n));
    if (risposta != 0) return risposta;
  }
  return 0;
}

std::int32_t zeUtilita::InfoSO() const {
  return ze::system::QuerySystemIdentity() ? kCodiceUltimoNT : 0;
}

bool zeUtilita::IsWindowsNT() const {
  return ze::system::QuerySystemIdentity().has_value();
}

ze::String zeUtilita::InfoSOVersione() const {
  const std::optional<ze::system::SystemIdentity> so = ze::system::QuerySystemIdentity();
  if (!so) return {};
  const ze::String N = ze::FromUtf8(so->name);
  std::string servizio = so->version;
  servizio = servizio.substr(0, servizio.find('\0'));
  return N + u" " + Decimale(so->major) + u"." + Decimale(so->minor) + u"." + Decimale(so->build) +
         u" " + ze::FromUtf8(servizio);
}

ze::String zeUtilita::GetSerialHD() const {
  return SerialeDi(u"c:\\");
}

ze::String zeUtilita::GetSerialDrive(ze::String& letteraDrive) const {
  // Only a drive letter names a drive: "" or "C:\dati" would name a folder instead.
  if (letteraDrive.size() != 1) return {};
  return SerialeDi(letteraDrive + u":\\");
}

bool zeUtilita::WriteAccess(ze::String strDirName, bool& verbose) const {
  const ze::String D = AggiungiSepDir(strDirName);
  int errore = ENOENT;
  std::string creato;
  if (const auto native = ze::system::NativePath(D + kFileDiProva)) {
    errore = ze::system::CreateTestFile(*native, creato);
  }
  const bool scrivibile = errore == 0;
  if (scrivibile) {
    ze::system::RemoveFile(creato);
    return true;
  }
  RegistraErrore(ErroreDiScrittura(errore));
  if (verbose) {
    ze::ui::MsgBox(u"Errore # " + Str(ze::Err().Number) + u"\r" + ze::Err().Description,
                   ze::ui::msgbox::kCritical, u"Errore");
    ze::Err().Clear();
  }
  return false;
}

bool zeUtilita::FileAperto(ze::String& file) const {
  // No file is named "".
  if (file.empty()) return false;
  const std::optional<std::string> native = ze::system::NativePath(file);
  // A name without a native form (a network name, a NUL inside) cannot be opened.
  if (!native) return true;
  if (!ze::system::IsPlainVisibleFile(*native)) return false;
  if (!ze::system::IsReadable(*native)) return true;
  return ze::system::IsFileOpenAnywhere(*native);
}

void zeUtilita::EliminaReadOnly(ze::String& Filename) const {
  if (const auto native = ze::system::NativePath(Filename)) ze::system::AddOwnerWrite(*native);
}

}  // namespace zekalendo
