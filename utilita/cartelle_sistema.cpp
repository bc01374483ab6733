// zeUtilita: the Windows, system and temporary folders, temporary files, and whether
// the library runs from a network share.
//
// The folders are the system layer's (frame/system/system_folders.h says which native
// folder each one is); a temporary file is made by frame/system/temp_file.h, which
// never opens a name that exists already.
#include <exception>

#include "frame/system/system_folders.h"
#include "frame/system/temp_file.h"
#include "utilita/cartella_libreria.h"
#include "utilita/trim.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr char16_t kPrefissoTemporaneo[] = u"ze";
// The name callers get when no temporary file could be made; no file is created.
constexpr char16_t kTemporaneoRiserva[] = u"ze12345.tmp";
}  // namespace

ze::String zeUtilita::CartellaWindows() const {
  try {
    ze::String cartella = Trim(StripTerminator(ze::system::GetWindowsDirectory()));
    // A platform that tells nothing gets the routine's own fallback rather than a bare "\".
    if (cartella.empty()) return u"C:\\";
    if (cartella.back() != u'\\') cartella += u'\\';
    return cartella;
  } catch (const std::exception&) {
    return u"C:\\";
  }
}

ze::String zeUtilita::GetWindowsSysDir() const {
  ze::String cartella = ze::system::GetSystemDirectory();
  if (cartella.empty()) return u"";
  cartella = StripTerminator(cartella);
  return AggiungiSepDir(cartella);
}

ze::String zeUtilita::GetDirectoryTemp() const {
  ze::String cartella = ze::system::GetTempPath();
  if (cartella.empty()) {
    cartella = LaCartellaLibreria().cartella;
  } else {
    cartella = StripTerminator(cartella);
  }
  return AggiungiSepDir(cartella);
}

ze::String zeUtilita::GetFileTemporaneo() const {
  const ze::String D = GetDirectoryTemp();
  const ze::String nome = ze::system::GetTempFileName(D, kPrefissoTemporaneo);
  if (nome.empty()) return GetDirectoryTemp() + kTemporaneoRiserva;
  return StripTerminator(nome);
}

bool zeUtilita::DirectoryRete() const {
  return LaCartellaLibreria().cartella.starts_with(u"\\\\");
}

}  // namespace zekalendo
