// zeUtilita: the user's and the all-users' special folders.
//
// Each routine reads one text value of the store's "Shell Folders" key through
// LeggiRegistro, under HKEY_CURRENT_USER for the user's folders and HKEY_LOCAL_MACHINE
// for the all-users' ones, and gives it back with a final "\". The key is filled once
// from the desktop's own folders when the store has none (frame/system/shell_folders.h
// says which folder each value gets); after that the store's values are the truth, so
// a value changed with zereg is what these routines return. Any failure, a missing
// value and an empty one all give "".
#include <exception>

#include "frame/registry/key_path.h"
#include "frame/system/shell_folders.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {

using ze::registry::Root;

ze::String CartellaSpeciale(const zeUtilita& u, Root root, std::u16string_view nomeValore) {
  try {
    const auto radice = static_cast<std::int32_t>(root);
    const ze::String nome(nomeValore);
    ze::String testo;
    // A value not found may be one of a key not filled yet: filled now, it is read again.
    if (!u.LeggiRegistro(radice, ze::system::kShellFoldersKey, nome, testo) &&
        !(ze::system::SeedShellFolders(root) &&
          u.LeggiRegistro(radice, ze::system::kShellFoldersKey, nome, testo)))
      return u"";
    if (testo.empty()) return u"";
    return u.AggiungiSepDir(testo);
  } catch (const std::exception&) {
    return u"";
  }
}

}  // namespace

ze::String zeUtilita::CartellaDocumenti() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Personal");
}
ze::String zeUtilita::CartellaDati() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"AppData");
}
ze::String zeUtilita::CartellaDatiCondivisi() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common AppData");
}
ze::String zeUtilita::CartellaDesktop() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Desktop");
}
ze::String zeUtilita::CartellaDesktopTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Desktop");
}
ze::String zeUtilita::CartellaEsecuzioneAutomatica() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Startup");
}
ze::String zeUtilita::CartellaEsecuzioneAutomaticaTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Startup");
}
ze::String zeUtilita::CartellaPreferitiTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Favorites");
}
ze::String zeUtilita::CartellaMenuAvvio() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Start Menu");
}
ze::String zeUtilita::CartellaMenuAvvioTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Start Menu");
}
ze::String zeUtilita::CartellaSendTo() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"SendTo");
}
ze::String zeUtilita::CartellaRecenti() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Recent");
}
ze::String zeUtilita::CartellaMenuProgrammi() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Programs");
}
ze::String zeUtilita::CartellaMenuProgrammiTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Programs");
}
ze::String zeUtilita::CartellaDocumentiCondivisi() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Documents");
}
ze::String zeUtilita::CartellaRisorseRete() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"NetHood");
}
ze::String zeUtilita::CartellaImmagini() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"My Pictures");
}
ze::String zeUtilita::CartellaImmaginiTuttiUtenti() const {
  return CartellaSpeciale(*this, Root::LocalMachine, u"Common Pictures");
}
ze::String zeUtilita::CartellaCronologia() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"History");
}
ze::String zeUtilita::CartellaFonts() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Fonts");
}
ze::String zeUtilita::CartellaPreferiti() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Favorites");
}
ze::String zeUtilita::CartellaCookies() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Cookies");
}
ze::String zeUtilita::CartellaInternetTemp() const {
  return CartellaSpeciale(*this, Root::CurrentUser, u"Cache");
}

}  // namespace zekalendo
