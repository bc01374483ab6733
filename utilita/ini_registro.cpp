// zeUtilita: INI entries, registry values, shared-file counts and uninstall records.
//
// The INI routines go through the system layer's profile functions (frame/system/
// ini_file.h), which read and replace the file; the registry routines are still to come.
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

}  // namespace zekalendo
