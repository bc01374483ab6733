// zeUtilita: opening documents and addresses, starting programs and waiting for them, shortcuts,
// server registration, expanding compressed files.
//
// Everything reaches the system through frame/system: documents and addresses go to the
// desktop's opener (shell_execute.h), programs start from an argument vector split with
// the original platform's command-line rules (command_line.h, process.h), never through a
// shell, and the files written whole (shortcuts, expanded files) replace their target
// atomically (atomic_file.h), so a failure leaves the target as it was. Failures are told
// by the result; only EseguiEx and StartApplicazione show a message box, through the ui
// layer, so a host without a screen (or a test) answers it through its sink.
#include <array>
#include <string>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/com/activation.h"
#include "frame/system/atomic_file.h"
#include "frame/system/command_line.h"
#include "frame/system/file_trust.h"
#include "frame/system/files.h"
#include "frame/system/native_path.h"
#include "frame/system/process.h"
#include "frame/system/regular_file.h"
#include "frame/system/shell_execute.h"
#include "frame/system/szdd.h"
#include "frame/ui/message_box.h"
#include "utilita/cartella_libreria.h"
#include "utilita/ze_utilita.h"
#include "ze_installation.h"
#include "ze_version.h"

namespace zekalendo {

namespace {

constexpr std::intptr_t kFileNonTrovato = 2;
constexpr std::intptr_t kNessunProgramma = 31;
constexpr std::intptr_t kUltimoErroreShell = 32;
constexpr int kFinestraNormale = 1;
constexpr char16_t kTitoloErrore[] = u"Errore";

constexpr std::int32_t kHklm = static_cast<std::int32_t>(0x80000002);
constexpr char16_t kAppPaths[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

constexpr std::array<std::u16string_view, 8> kEseguibiliAmbienteSviluppo = {
    u"vb.exe",  u"vb32.exe",   u"vb5.exe", u"vb5cce.exe",
    u"vb6.exe", u"vb6cce.exe", u"vb7.exe", u"vb7cce.exe"};

// Installation files are small; a larger file (or a header promising more) is refused
// rather than read into memory whole.
constexpr std::size_t kLimiteDecomprimi = std::size_t{256} << 20;

// The failures of these routines are told by their result: the thread's error record is
// left as the caller had it.
template <class Corpo>
bool SenzaErrori(Corpo&& corpo) {
  const ze::ErrRecord errore_chiamante = ze::Err();
  try {
    return corpo();
  } catch (const ze::AutomationError&) {
    ze::Err() = errore_chiamante;
    return false;
  }
}

// The root of the library's drive ("C:\"), where documents open.
ze::String CartellaLavoro() {
  return LaCartellaLibreria().cartella.substr(0, 3);
}

std::intptr_t Apri(std::int32_t hwnd, const ze::String& target) {
  ze::system::ShellRequest richiesta;
  richiesta.hwnd = hwnd;
  richiesta.file = target;
  richiesta.directory = CartellaLavoro();
  richiesta.showCommand = kFinestraNormale;
  return ze::system::ShellExecute(richiesta);
}

// Characters outside the unreserved ones of an address travel as %XX of their UTF-8
// bytes: a blank becomes %20, and a product name with "&" or "?" cannot break the link.
ze::String CodificaIndirizzo(const ze::String& testo) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  ze::String codificato;
  for (const unsigned char byte : ze::ToUtf8(testo)) {
    const bool libero = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                        (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                        byte == '~';
    if (libero) {
      codificato.push_back(byte);
    } else {
      codificato += {u'%', static_cast<char16_t>(kCifre[byte >> 4]),
                     static_cast<char16_t>(kCifre[byte & 15])};
    }
  }
  return codificato;
}

// The library's version, Major.Minor.Revision.
ze::String VersioneLibreria() {
  return ze::FromUtf8(std::to_string(ZE_VERSION_MAJOR) + "." + std::to_string(ZE_VERSION_MINOR) +
                      "." + std::to_string(ZE_VERSION_REVISION));
}

// The platform's ANSI calls see a command line only up to its first NUL.
ze::String FinoAlTerminatore(const ze::String& testo) {
  return testo.substr(0, testo.find(u'\0'));
}

// The argument vector of a command line and the program it names; false when the
// line is empty or the program is not there.
bool Prepara(const ze::String& linea, std::string& programma, std::vector<std::string>& argv) {
  const std::vector<ze::String> parti = ze::system::SplitCommandLine(FinoAlTerminatore(linea));
  if (parti.empty()) return false;
  const std::optional<std::string> trovato = ze::system::FindProgram(parti.front());
  if (!trovato) return false;
  programma = *trovato;
  argv.clear();
  // A program found on PATH sees its bare name, one named by a path its native path.
  const bool per_nome = parti.front().find_first_of(u"\\/:") == ze::String::npos;
  argv.push_back(per_nome ? ze::ToUtf8(parti.front()) : programma);
  for (std::size_t i = 1; i < parti.size(); ++i) argv.push_back(ze::ToUtf8(parti[i]));
  return true;
}

// The command-line text of an argument given as a Variant: Null joins as "", as the
// "&" operator joins it.
ze::String TestoArgomento(const ze::Variant& valore) {
  return valore.IsNull() ? ze::String() : ze::CStr(valore);
}

// The in-process registration: the library at an absolute path that only this user
// (or the superuser) can change, its entry point called through the component frame's
// own registration path. The entry point's result does not count.
bool ChiamaRegistrazione(const ze::String& file, bool deregistra) {
  const std::optional<std::string> percorso = ze::system::NativePath(file);
  if (!percorso || percorso->empty() || percorso->front() != '/') return false;
  if (!ze::system::WhoElseCanChange(*percorso).empty()) return false;
  bool chiamata = false;
  ze::com::RegisterServerLibrary(*percorso, deregistra, &chiamata);
  return chiamata;
}

// --- desktop entries ---

// A value of the desktop entry format's string type: its backslash escapes, and a
// leading blank kept as "\s" (readers trim it otherwise). The caller has refused
// line breaks and other control characters.
std::string ValoreDesktop(const std::string& testo) {
  std::string valore;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const char c = testo[i];
    if (c == '\\') {
      valore += "\\\\";
    } else if (c == ' ' && i == 0) {
      valore += "\\s";
    } else {
      valore.push_back(c);
    }
  }
  return valore;
}

// One argument of an Exec key, quoted whole: inside the quotes ", `, $ and \ take a
// backslash, and % (the field codes' sign) is doubled. The string escapes apply to the
// whole value afterwards, so a backslash of the path ends as four in the file.
std::string ArgomentoExec(const std::string& argomento) {
  std::string quoted = "\"";
  for (const char c : argomento) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted.push_back('\\');
      quoted.push_back(c);
    } else if (c == '%') {
      quoted += "%%";
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('"');
  return quoted;
}

bool HaControlli(const ze::String& testo) {
  for (const char16_t c : testo)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

// The shortcut's name as the desktop shows it: the file name without its extension.
std::string NomeCollegamento(const std::string& percorso) {
  std::string nome = percorso.substr(percorso.find_last_of('/') + 1);
  const std::size_t punto = nome.find_last_of('.');
  if (punto != std::string::npos && punto > 0) nome.erase(punto);
  return nome.empty() ? "zeKalendo" : nome;
}

}  // namespace

bool zeUtilita::EseguiEx(std::int32_t& hwnd, ze::String& file, ze::Variant muto) const {
  return SenzaErrori([&] {
    const std::intptr_t Code = Apri(hwnd, file);
    if (Code > kUltimoErroreShell) return true;
    ze::String messaggio = file;
    if (Code == kFileNonTrovato) {
      messaggio += u": file non trovato!";
    } else if (Code == kNessunProgramma) {
      messaggio += u": nessun programma associato a questo tipo di file!";
    } else {
      messaggio += u": accesso negato!";
    }
    // The test is on the complement: only True (-1) silences, 1 does not.
    if (~ze::CLng(muto) != 0) {
      ze::ui::MsgBox(messaggio, ze::ui::msgbox::kCritical, kTitoloErrore);
    }
    return false;
  });
}

bool zeUtilita::StartApplicazione(ze::String& applicazione) const {
  return SenzaErrori([&] {
    ze::String testo;
    if (!LeggiRegistro(kHklm, kAppPaths + applicazione, u"", testo)) {
      ze::ui::MsgBox(applicazione + u": Applicazione non trovata.", ze::ui::msgbox::kExclamation,
                     kTitoloErrore);
      return false;
    }
    std::string programma;
    std::vector<std::string> argv;
    // An App Paths entry names the program's file, often in a folder with blanks and
    // without quotes: such a file is started as it is, anything else as a command line.
    if (const auto intero = ze::system::FindProgram(FinoAlTerminatore(testo));
        intero && testo.find_first_of(u"\\/") != ze::String::npos) {
      programma = *intero;
      argv = {programma};
    } else if (!Prepara(testo, programma, argv)) {
      return false;
    }
    return ze::system::StartDetached(programma, argv);
  });
}

bool zeUtilita::ShellSospensiva(ze::String& ToRun, std::optional<ze::Variant> COMMANDLINE) const {
  return SenzaErrori([&] {
    const ze::String linea = COMMANDLINE ? ToRun + u" " + TestoArgomento(*COMMANDLINE) : ToRun;
    std::string programma;
    std::vector<std::string> argv;
    if (!Prepara(linea, programma, argv)) return false;
    int errore = 0;
    const pid_t processo = ze::system::Spawn(programma, argv, &errore);
    if (processo < 0) return false;
    // There is no input-idle state to wait for here; the wait is for the end, and the
    // exit code is not looked at.
    ze::system::WaitForExit(processo);
    return true;
  });
}

void zeUtilita::HomePage(std::int32_t hwnd) const {
  SenzaErrori([&] { return Apri(hwnd, ZE_MAKER_WEB_ADDRESS) > kUltimoErroreShell; });
}

void zeUtilita::GoWeb(std::int32_t hwnd, ze::String indirizzoWeb) const {
  SenzaErrori([&] { return Apri(hwnd, indirizzoWeb) > kUltimoErroreShell; });
}

void zeUtilita::EMail(std::int32_t hwnd) const {
  SenzaErrori([&] {
    const ze::String oggetto = ze::String(ZE_PRODUCT_NAME) + u" " + VersioneLibreria();
    const ze::String link =
        u"Mailto:" + ze::String(ZE_SUPPORT_MAIL) + u"?subject=" + CodificaIndirizzo(oggetto);
    return Apri(hwnd, link) > kUltimoErroreShell;
  });
}

bool zeUtilita::CreaCollegamento(ze::String& lnk_pathname, ze::String& file,
                                 ze::String& dir_lavoro) const {
  return SenzaErrori([&] {
    if (HaControlli(lnk_pathname) || HaControlli(file) || HaControlli(dir_lavoro)) return false;
    const std::optional<std::string> collegamento = ze::system::NativePath(lnk_pathname);
    const std::optional<std::string> bersaglio = ze::system::NativePath(file);
    if (!collegamento || !bersaglio) return false;
    std::string cartella;
    if (!dir_lavoro.empty()) {
      const std::optional<std::string> lavoro = ze::system::NativePath(dir_lavoro);
      if (!lavoro) return false;
      cartella = *lavoro;
    }
    std::string voce = "[Desktop Entry]\n";
    voce += "Type=Application\n";
    voce += "Name=" + ValoreDesktop(NomeCollegamento(*collegamento)) + "\n";
    voce += "Exec=" + ValoreDesktop(ArgomentoExec(*bersaglio)) + "\n";
    if (!cartella.empty()) voce += "Path=" + ValoreDesktop(cartella) + "\n";
    // The first icon of the target file.
    voce += "Icon=" + ValoreDesktop(*bersaglio) + "\n";
    // Window style 4 of the original shortcut: shown at its last size and place
    // without taking the focus. Desktop entries have no key for it; this one keeps it
    // for readers that know it.
    voce += "X-zeKalendo-WindowStyle=4\n";
    return !ze::system::WriteFileAtomically(*collegamento, voce);
  });
}

bool zeUtilita::RegistraServer(ze::String& file) const {
  if (file.size() <= 4) return false;
  const std::u16string_view estensione = std::u16string_view(file).substr(file.size() - 4);
  if (ze::EqualsIgnoringAsciiCase(estensione, u".OCX") ||
      ze::EqualsIgnoringAsciiCase(estensione, u".DLL"))
    return RegistraLibreria(file);
  if (ze::EqualsIgnoringAsciiCase(estensione, u".EXE")) return RegistraEseguibile(file);
  return false;
}

bool zeUtilita::DeRegistraServer(ze::String& file) const {
  if (file.size() <= 4) return false;
  const std::u16string_view estensione = std::u16string_view(file).substr(file.size() - 4);
  if (ze::EqualsIgnoringAsciiCase(estensione, u".OCX") ||
      ze::EqualsIgnoringAsciiCase(estensione, u".DLL"))
    return DeRegistraLibreria(file);
  if (ze::EqualsIgnoringAsciiCase(estensione, u".EXE")) return DeRegistraEseguibile(file);
  return false;
}

bool zeUtilita::RegistraLibreria(const ze::String& file) const {
  return ChiamaRegistrazione(file, false);
}

bool zeUtilita::DeRegistraLibreria(const ze::String& file) const {
  return ChiamaRegistrazione(file, true);
}

bool zeUtilita::RegistraEseguibile(const ze::String& file) const {
  ze::String programma = file;
  return ShellSospensiva(programma, ze::Variant(u"/REGSERVER"));
}

bool zeUtilita::DeRegistraEseguibile(const ze::String& file) const {
  ze::String programma = file;
  return ShellSospensiva(programma, ze::Variant(u"/UNREGSERVER"));
}

bool zeUtilita::IsVBEnvironment() const {
  const std::string eseguibile = ze::system::RunningProgramPath();
  if (eseguibile.empty()) return false;
  const ze::String percorso = ze::system::WindowsPath(eseguibile);
  const std::size_t separatore = percorso.find_last_of(u"\\:");
  const std::u16string_view nome =
      std::u16string_view(percorso).substr(separatore == ze::String::npos ? 0 : separatore + 1);
  for (const std::u16string_view candidato : kEseguibiliAmbienteSviluppo)
    if (ze::EqualsIgnoringAsciiCase(nome, candidato)) return true;
  return false;
}

bool zeUtilita::Decomprimi(ze::String& sorgente, ze::String& destinazione) const {
  const std::optional<std::string> da = ze::system::NativePath(sorgente);
  const std::optional<std::string> a = ze::system::NativePath(destinazione);
  if (!da || !a) return false;
  std::string letto;
  if (ze::system::ReadRegularFile(*da, kLimiteDecomprimi, letto).failure !=
      ze::system::ReadFailure::kNone)
    return false;
  std::string espanso;
  if (ze::system::IsSzdd(letto)) {
    if (ze::system::ExpandSzdd(letto, kLimiteDecomprimi, espanso) !=
        ze::system::SzddResult::kExpanded)
      return false;
  } else {
    espanso = std::move(letto);
  }
  // The number of bytes written decides: an empty result counts as a failure, and is
  // not written.
  const std::size_t N = espanso.size();
  if (N == 0) return false;
  return !ze::system::WriteFileAtomically(*a, espanso);
}

}  // namespace zekalendo
