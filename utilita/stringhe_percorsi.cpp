// zeUtilita: strings and paths: replacing and splitting text, taking paths apart, the folder
// separator, the current folder, the selection of a field, the upper case of a typed key.
//
// Texts are automation Strings (UTF-16); positions and comparisons are per UTF-16 unit,
// exact and case-sensitive. Every routine here is total within its 16-bit limits
// (limite_16bit.h): any text gives a result, never a crash. zeReplace and zeSplit are
// linear in the text for a given separator: each position is compared once against the
// separator, and the result is built by appending.
#include <unicode/uchar.h>

#include "frame/automation/convert.h"
#include "frame/automation/string.h"
#include "frame/automation/string_functions.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_object.h"
#include "frame/system/files.h"
#include "utilita/cartella_libreria.h"
#include "utilita/limite_16bit.h"
#include "utilita/trim.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr char16_t kSepDir = u'\\';

// Whether `piece`, the len(ricerca) characters of `text` from `at` (fewer near the end),
// is ricerca.
bool PezzoUguale(std::u16string_view text, std::size_t at, std::u16string_view ricerca) {
  return text.compare(at, ricerca.size(), ricerca) == 0;
}
}  // namespace

ze::String zeUtilita::AggiungiSepDir(ze::String& percorso) const {
  percorso = Trim(percorso);
  if (!percorso.empty() && percorso.back() != kSepDir) percorso += kSepDir;
  return percorso;
}

ze::String zeUtilita::zeReplace(ze::String testo, ze::String ricerca,
                                ze::String sostituzione) const {
  RichiediLunghezza16(sostituzione.size());
  if (ricerca.empty() || testo.empty()) return testo;
  const std::size_t L = ricerca.size();
  ze::String result;
  result.reserve(testo.size());
  std::size_t i = 0;
  while (i < testo.size()) {
    if (PezzoUguale(testo, i, ricerca)) {
      result += sostituzione;
      i += L;
    } else {
      result += testo[i];
      i += 1;
    }
  }
  return result;
}

bool zeUtilita::zeSplit(std::vector<ze::String>& tmp, ze::String buf, ze::String sep) const {
  RichiediLunghezza16(buf.size());
  RichiediLunghezza16(sep.size());
  tmp.assign(1, ze::String());
  if (buf.empty() || sep.empty()) return false;
  // One trailing separator closes the last element rather than opening an empty one.
  if (buf.size() >= sep.size() && buf.compare(buf.size() - sep.size(), sep.size(), sep) == 0) {
    buf.resize(buf.size() - sep.size());
  }
  std::size_t k = 0;
  for (std::size_t i = 0; i < buf.size(); ++i) {
    if (!PezzoUguale(buf, i, sep)) {
      tmp[k] += buf[i];
    } else {
      k += 1;
      tmp.emplace_back();
      i += sep.size() - 1;
    }
  }
  return true;
}

ze::String zeUtilita::EstraiNomeFile(const ze::String& path) const {
  RichiediLunghezza16(path.size());
  if (path.empty()) return {};
  const std::size_t sep = path.find_last_of(u"\\/");
  if (sep == ze::String::npos) return path;
  return path.substr(sep + 1);
}

ze::String zeUtilita::DeterminaSoloFileName(ze::String pathname) const {
  return EstraiNomeFile(pathname);
}

ze::String zeUtilita::EstraiEstensione(ze::String& Filename) const {
  RichiediLunghezza16(Filename.size());
  const std::size_t p = Filename.find_last_of(u'.');
  // A point at the first position starts a name (".profilo"), not an extension.
  if (p == ze::String::npos || p == 0) return {};
  return Filename.substr(p + 1);
}

ze::String zeUtilita::EstraiPath(ze::String& Filename) const {
  RichiediLunghezza16(Filename.size());
  const std::size_t p = Filename.find_last_of(kSepDir);
  if (p == ze::String::npos || p == 0) return {};
  return Filename.substr(0, p + 1);
}

void zeUtilita::CurDirApp() const {
  // Both steps run whatever the other gives: a folder without a drive letter fails the
  // drive change and still becomes current.
  const CartellaLibreria libreria = LaCartellaLibreria();
  ze::system::Files().ChangeDrive(libreria.cartella);
  ze::system::Files().ChangeDirectory(libreria.cartella);
}

ze::String zeUtilita::EspuraSpazi(ze::String testo) const {
  RichiediLunghezza16(testo.size());
  std::erase(testo, u' ');
  return testo;
}

void zeUtilita::Evidenzia(ze::ObjectRef& xCtrl) const {
  try {
    ze::com::ComPtr<ze::com::IDispatch> control = ze::com::DispatchOf(ze::Variant(xCtrl));
    ze::com::LetProperty(control.Get(), u"SelStart", ze::Variant(std::int32_t{0}));
    const ze::Variant text = ze::com::GetProperty(control.Get(), u"Text");
    ze::com::LetProperty(control.Get(), u"SelLength", ze::Variant(ze::Len(ze::CStr(text))));
  } catch (const ze::AutomationError&) {
    // A control without these properties, or Nothing: nothing to select.
    ze::Err().Clear();
  }
}

std::int16_t zeUtilita::KeyMaiuscolo(std::int16_t& KeyAscii) const {
  if (KeyAscii < 0 || KeyAscii > 255) ze::Raise(ze::errors::kInvalidProcedureCall);
  const char16_t c = ze::FromAnsi(static_cast<std::uint8_t>(KeyAscii));
  const UChar32 upper = u_toupper(c);
  // An upper case the code page cannot write is no upper case for a key code.
  if (upper > 0xFFFF) return KeyAscii;
  const std::optional<std::uint8_t> code = ze::ToAnsi(static_cast<char16_t>(upper));
  return code ? static_cast<std::int16_t>(*code) : KeyAscii;
}

ze::String zeUtilita::StripTerminator(ze::String strString) const {
  const std::size_t nul = strString.find(u'\0');
  if (nul == ze::String::npos) return strString;
  // The position of the NUL, counted from 1, is the 16-bit count.
  RichiediLunghezza16(nul + 1);
  return strString.substr(0, nul);
}

}  // namespace zekalendo
