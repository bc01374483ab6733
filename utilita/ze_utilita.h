// zeUtilita: the library's toolbox class, private to the library.
//
// A zeUtilita object keeps one captured error (CatturaErrore); every other routine
// works on its arguments, the user locale and the system. Callers inside the library make one where
// they need it (the numeric field's key filter makes one per typed character, the calendar keeps
// one for the life of its form), so constructing one costs nothing.
//
// The routines fall into groups, each in its own source file:
//   stringhe_percorsi.cpp   strings and paths
//   date_numeri.cpp         dates and numbers
//   errori_log.cpp          error messages and the log file
//   ini_registro.cpp        INI files and registry stores
//   cartelle*.cpp           shell folders and system directories
//   processi.cpp            processes, the shell and server registration
//   versioni_sistema.cpp    versions and system information
//   finestre.cpp            window helpers
//   giorni_separatori.cpp   days in a month and the locale's separators
// A new routine is one function in its group's file, its declaration below under the
// group's heading, and one line in ZE_UTILITA_MEMBERS (ze_utilita_members.h), which
// is what code reaching the class by dispatch sees.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "frame/automation/date_value.h"
#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace zekalendo {

class zeUtilita {
 public:
  // --- strings and paths ---
  // Texts are compared exactly, character by character. Routines that count
  // characters in 16-bit integers fail with error 6 past 32767 characters, as
  // callers of the original routines may rely on.

  // percorso without its leading and trailing blanks and with a final "\" (none for an
  // empty text); the caller's variable is rewritten the same way.
  ze::String AggiungiSepDir(ze::String& percorso) const;
  // Every ricerca in testo replaced by sostituzione, left to right, without overlaps.
  ze::String zeReplace(ze::String testo, ze::String ricerca, ze::String sostituzione) const;
  // buf cut at every sep into tmp (one element more than the separators found, one
  // trailing sep ignored); False, with tmp a single empty element, for an empty buf
  // or sep.
  bool zeSplit(std::vector<ze::String>& tmp, ze::String buf, ze::String sep) const;
  // The last element of a path ("\" or "/" separate).
  ze::String DeterminaSoloFileName(ze::String pathname) const;
  // The text after the last "." (the scan ignores folder separators).
  ze::String EstraiEstensione(ze::String& Filename) const;
  // The folder part of a path up to its last "\", that included.
  ze::String EstraiPath(ze::String& Filename) const;
  // The library's folder becomes the process's current folder; failures are ignored.
  void CurDirApp() const;
  // testo without its spaces (other white space stays).
  ze::String EspuraSpazi(ze::String testo) const;
  // Selects the whole text of any control with SelStart, SelLength and Text; any
  // error is cleared and ignored.
  void Evidenzia(ze::ObjectRef& xCtrl) const;
  // The upper-case form of a character code in the ANSI code page; error 5 outside
  // 0 to 255.
  std::int16_t KeyMaiuscolo(std::int16_t& KeyAscii) const;
  // The characters before the first NUL.
  ze::String StripTerminator(ze::String strString) const;

  // --- dates and numbers ---

  // The time sec seconds after midnight, with carry into days; error 6 when the hours
  // leave 16 bits.
  ze::Date LongToDate(std::int32_t sec) const;
  // The date of a "day/month/year" text ("-" also separates); testo is left with its
  // "-" turned into "/". Error 9912 "Data non valida." without two separators.
  ze::Date GetDataDaString(ze::String& testo) const;
  // " DateSerial(year,month,day) ", the date as a database expression.
  ze::String DataToStringSql(ze::Date& data) const;
  // v grouped by thousands with the locale's separator and cifre decimals, halves
  // away from zero.
  ze::String RealeToString(double& v, std::int16_t& cifre) const;
  // The date of "dd" sep "mm" sep "yyyy"; day 0 for any text that does not give one.
  ze::Date StringaToDate(ze::String& testo, ze::String& sep) const;

  // --- error messages and the log file ---

  // The Italian message of a run-time error number; for a number not in the table,
  // the current error's description.
  ze::String MessaggioErroreITA(std::int32_t& Codice) const;
  // Shows the current error in a message box and clears it.
  void PrintErrore() const;
  // Keeps the current error in this object for PrintErroreCat.
  void CatturaErrore();
  // Shows the error CatturaErrore kept.
  void PrintErroreCat() const;
  // Appends a line (with a time stamp when data is true) to the log file; False, and
  // nothing shown, on any failure.
  bool ScriviLog(ze::String testo, std::optional<ze::Variant> Filename, ze::Variant data,
                 ze::Variant CancellaPrecedente) const;

  // --- days in a month and the locale's separators ---

  // The days of month m of year a (28 to 31). The month carries into the year (13 is
  // January of a + 1, 0 December of a - 1); a year of 0 to 99 is completed as
  // DateSerial completes it. Error 5 when the month lies outside the years 100 to 9999.
  // Both arguments are by reference, as callers declare them; neither is changed.
  std::int16_t MaxGiorni(std::int16_t& m, std::int16_t& a) const;
  // The code of the user locale's decimal separator: 44 for ",", 46 for ".", 0 for any
  // other character.
  std::uint8_t GetSeparatoreDecimale() const;
  // The code of the user locale's thousands separator, as above; 0 also when the
  // locale does not group thousands.
  std::uint8_t GetSeparatoreMigliaia() const;

  // --- INI files and registry stores ---

  // The value of `chiave` in section `Sezione` of the INI file `fileINI` (a Windows-form
  // path), blanks around it removed and cut to 1999 characters; `DefaultValore`, as
  // given, when the file, section or key is missing or the value is empty or blank.
  ze::String LeggiINI(ze::String& fileINI, ze::String& Sezione, ze::String& chiave,
                      ze::String& DefaultValore) const;
  // Sets `chiave` in `Sezione` of `fileINI` to `valore`, creating what is missing; the
  // file is replaced whole, so it is never left half-written. False when it could not
  // be written (read-only file, no such folder, a name or value with a line break).
  bool ScriviINI(ze::String& fileINI, ze::String& Sezione, ze::String& chiave,
                 ze::String& valore) const;

  // The registry routines report failure by their result (False or ""), never by a
  // message; the few errors that do reach the caller are named below. Roots are the
  // 32-bit handle values (HKEY_LOCAL_MACHINE is 0x80000002); paths and names are as
  // the registry store keeps them, text crosses in Windows-1252.

  // The server file registered for the class of program identifier `applicazione`:
  // in-process (InprocServer32) or local (LocalServer32); "" when any step finds nothing.
  ze::String PathServerOcx(ze::String& applicazione) const;
  ze::String PathServerExe(ze::String& applicazione) const;
  // Counts one more user of the shared file `pathfile`: a count of n becomes n + 1; a
  // file without a count gets 1 when `EsisteGia` (it was there before) and 0 otherwise.
  // Error 6 when the count is already the largest Long.
  bool SetFileShared(ze::String& pathfile, bool& EsisteGia) const;
  // Counts one user fewer: a count of n >= 1 becomes n - 1 (1 becomes 0 and stays);
  // a count of 0 is deleted, and a file without a count gives False.
  bool DecFileShared(ze::String& pathfile) const;
  // A field of a program's uninstall record (`subchiave` 0 ApplicationName,
  // 1 DisplayName, 2 UninstallString, 3 AppToUninstall, any other the record's default
  // value), or "". A field without any data is error 5, which reaches the caller.
  ze::String GetInfoDisinstallazione(ze::String& chiave, std::int32_t& subchiave) const;
  // Sets that field; the record is created when `crea` is true, otherwise it must exist.
  bool SetInfoDisinstallazione(ze::String& chiave, std::int32_t& subchiave, ze::String& valore,
                               const std::optional<ze::Variant>& crea) const;

  // --- shell folders and system directories ---
  // Every folder comes back ending in "\", "" when it is not known (the picked folder
  // of Sfoglia_Cartella excepted: it comes as chosen).

  // The special folders, as the store's "Shell Folders" values name them (filled once
  // from the desktop's folders: frame/system/shell_folders.h); "" for a value that is
  // absent or empty and for any failure.
  ze::String CartellaDocumenti() const;
  ze::String CartellaDati() const;
  ze::String CartellaDatiCondivisi() const;
  ze::String CartellaDesktop() const;
  ze::String CartellaDesktopTuttiUtenti() const;
  ze::String CartellaEsecuzioneAutomatica() const;
  ze::String CartellaEsecuzioneAutomaticaTuttiUtenti() const;
  ze::String CartellaPreferitiTuttiUtenti() const;
  ze::String CartellaMenuAvvio() const;
  ze::String CartellaMenuAvvioTuttiUtenti() const;
  ze::String CartellaSendTo() const;
  ze::String CartellaRecenti() const;
  ze::String CartellaMenuProgrammi() const;
  ze::String CartellaMenuProgrammiTuttiUtenti() const;
  ze::String CartellaDocumentiCondivisi() const;
  ze::String CartellaRisorseRete() const;
  ze::String CartellaImmagini() const;
  ze::String CartellaImmaginiTuttiUtenti() const;
  ze::String CartellaCronologia() const;
  ze::String CartellaFonts() const;
  ze::String CartellaPreferiti() const;
  ze::String CartellaCookies() const;
  ze::String CartellaInternetTemp() const;
  // The Windows folder (frame/system/system_folders.h); "C:\" on any failure.
  ze::String CartellaWindows() const;
  // The system folder; "" when the platform does not tell.
  ze::String GetWindowsSysDir() const;
  // The temporary folder ($TMPDIR, else /tmp); the library's folder when the platform
  // does not tell.
  ze::String GetDirectoryTemp() const;
  // The name of a new empty file "ze" + hexadecimal number + ".TMP" in the temporary
  // folder, made so that no existing file or link is ever reused; when none can be
  // made, the temporary folder + "ze12345.tmp", and no file.
  ze::String GetFileTemporaneo() const;
  // True when the library was loaded from a network share (its folder starts "\\").
  bool DirectoryRete() const;
  // The folder the user picks in a dialog owned by the form of `hwnd`, titled `sTitle`;
  // "" for Cancel.
  ze::String Sfoglia_Cartella(std::int32_t hwnd, ze::String& sTitle) const;
  // Makes the folder `Path` with every missing folder above it, one at a time; `Path`
  // is given a final "\". False for an empty or blank path and when a folder cannot be
  // made (those made before stay).
  bool CreaPercorsoDirectory(ze::String& Path) const;

  // --- processes, the shell and server registration ---
  // Programs start from an argument vector, never through a shell; documents and
  // addresses open with the desktop's opener (frame/system/shell_execute.h). The
  // maker's addresses and the product name come from the installation values
  // (ze_installation.h, README.md).

  // Opens `file` (a document, Windows form, or an address) with its associated program.
  // On failure a message box titled "Errore" names the file and the reason (not
  // found, no program for its type, access denied), unless `muto` is True; only True
  // (-1) silences, a `muto` of 1 still shows it.
  bool EseguiEx(std::int32_t& hwnd, ze::String& file, ze::Variant muto) const;
  // Starts, without waiting, the program the App Paths entry of `applicazione` names;
  // "NAME: Applicazione non trovata." in a box when there is none.
  bool StartApplicazione(ze::String& applicazione) const;
  // Runs `ToRun`, with " " and `COMMANDLINE` after it when given, and waits until the
  // program has ended. It blocks the calling thread (the user interface's) as long as
  // the program runs, without a time-out. False at once when the program is not there.
  bool ShellSospensiva(ze::String& ToRun, std::optional<ze::Variant> COMMANDLINE) const;
  // The maker's web page, an address, a mail to the maker's support; outcome ignored.
  void HomePage(std::int32_t hwnd) const;
  void GoWeb(std::int32_t hwnd, ze::String indirizzoWeb) const;
  void EMail(std::int32_t hwnd) const;
  // Writes a desktop entry at `lnk_pathname` that starts `file` in `dir_lavoro`; False
  // when it cannot be written or a text holds a line break.
  bool CreaCollegamento(ze::String& lnk_pathname, ze::String& file, ze::String& dir_lavoro) const;
  // Runs the registration (or unregistration) of a server: ".DLL" and ".OCX" libraries
  // by their entry point, ".EXE" programs with "/REGSERVER" ("/UNREGSERVER").
  bool RegistraServer(ze::String& file) const;
  bool DeRegistraServer(ze::String& file) const;
  // Whether the running program is one of the development environment's executables.
  bool IsVBEnvironment() const;
  // Expands the compressed installation file `sorgente` into `destinazione` (an
  // uncompressed file is copied); False for an empty result or any failure, and the
  // destination is then as it was.
  bool Decomprimi(ze::String& sorgente, ze::String& destinazione) const;

  // --- versions and system information ---
  // Version texts are four decimal numbers joined by ".", major first. A file version is
  // written as the file stamps it, each number 0 to 65535; a comparison holds the
  // numbers in 16 bits, so a text with one above 32767 fails there with error 6.

  // The file version of the program file `file` (an EXE, DLL or OCX: a PE file);
  // "0.0.0.0" for a file without one, a missing file or any other kind of file.
  ze::String GetVersione(ze::String& file) const;
  // 1 when VersioneA is the later version, -1 when it is the earlier, 0 when the two
  // are equal, comparing major, minor, build and revision in turn. A text of fewer
  // numbers repeats its last ("1.2" reads 1.2.2.2), numbers beyond the fourth are
  // ignored, each reads as Val reads it, rounded to an Integer (error 6 outside 16 bits).
  std::int32_t ConfrontaVersione(ze::String& VersioneA, ze::String& VersioneB) const;
  // The operating-system code of the original's table; this system answers as the
  // newest row of the NT family (8), or 0 when it cannot tell.
  std::int32_t InfoSO() const;
  // True: this system counts as the NT family (False only when it cannot tell).
  bool IsWindowsNT() const;
  // The system's name, its release as major.minor.build and its build description,
  // from uname: "Linux 6.1.0 #1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)";
  // "" when it cannot tell.
  ze::String InfoSOVersione() const;
  // The serial of the volume that holds drive C:, or of drive `letteraDrive` (the
  // letter alone, "D"), as a signed 32-bit decimal text; "" for a drive that does not
  // exist (the registry store maps no folder to it) or cannot be reached. The serial
  // is the file system's id folded to 32 bits (frame/system/volume_serial.h).
  ze::String GetSerialHD() const;
  ze::String GetSerialDrive(ze::String& letteraDrive) const;
  // Whether a file can be created in the folder strDirName, found by creating (and
  // deleting) the test file "120asd12.tmp"; an existing file of that name is left as
  // it is and a unique name is used instead. A failure is left in the current error
  // record; with verbose, it is shown ("Errore # " and the number, a CR, the
  // description; title "Errore") and the record cleared.
  bool WriteAccess(ze::String strDirName, bool& verbose) const;
  // True when the file `file` is open in some process (this one included) or cannot be
  // read; False when it is no plain file (missing, a folder, a hidden dot-file) or no
  // process has it open. Only the processes this one may look at are seen, and not a
  // file that is only mapped into memory: frame/system/file_in_use.h.
  bool FileAperto(ze::String& file) const;
  // Clears the read-only mark of a file: gives its owner write permission; failures
  // are ignored.
  void EliminaReadOnly(ze::String& Filename) const;

  // --- window helpers ---
  // Windows are the process's forms, on Qt or headless; a window handle is a form's
  // Hwnd. Objects are reached late-bound, by their properties' names, so any object
  // with them will do (frame/host/form_object.h gives a form's).

  // Brings forward the first form, front to back, whose caption (up to its first NUL,
  // at most 255 characters) contains testo in any letter case: restored if minimised
  // or maximised, shown, made active. False for "" or when none matches.
  bool ShowFinestraConTitolo(ze::String& testo) const;
  // Centres obj (Left, Top, Width, Height) on the screen, or in the client area of
  // padre (ScaleWidth, ScaleHeight); each failing step is skipped.
  void CentraForm(ze::ObjectRef& obj) const;
  void CentraFormFiglio(ze::ObjectRef& padre, ze::ObjectRef& obj) const;
  // Keeps the form of handle hwnd above the others (omitted or True) or lets it be an
  // ordinary window again (False or Null); error 13 for a value that is no Boolean.
  // A handle of no form changes nothing.
  void FinetraTopMost(std::int32_t& hwnd, std::optional<ze::Variant>& SempreInPrimoPiano) const;
  // Paints PassoA (60) horizontal bands down the form's client area, the first in
  // ColoreIniziale (&H00FF0000, blue), each next one PassoB (4) darker in every
  // component that did not start at 0, a component wrapping round below 0 (0 - 4 is
  // 252). The form keeps the painting until Cls. Error 11 for no bands, 6 for more
  // than 32767, 13 for values that are no numbers; the form's ScaleMode is restored
  // whatever fails.
  void SfumaForm(ze::ObjectRef& InputForm, std::optional<ze::Variant>& ColoreIniziale,
                 std::optional<ze::Variant>& PassoA, std::optional<ze::Variant>& PassoB) const;
  // Waits until the clock's second has moved on sec times and once more (between sec
  // and sec + 1 seconds; a wait across midnight ends like any other), handling events
  // meanwhile; it rests for 10 ms between rounds instead of keeping a processor busy.
  void WaitSecondi(std::int16_t& sec) const;
  // Blocks the thread, events and all, for millisecondi; a negative time is none.
  void Sleep(std::int32_t& millisecondi) const;

  // For the library's own routines (the folders and the program starters read through
  // LeggiRegistro); callers by dispatch do not see these.

  // Reads a value of at most 1024 bytes into `testo`: text as stored less its final 0,
  // a 32-bit number in decimal digits, any other type as "". False (and "") when the key
  // or the value is missing or longer. Error 5 for a value without data.
  bool LeggiRegistro(std::int32_t root, const ze::String& chiave, const ze::String& nomeValore,
                     ze::String& testo) const;
  // Stores a 32-bit number in an existing key.
  bool ScriviRegistroDWord(std::int32_t root, const ze::String& chiave,
                           const ze::String& nomeValore, std::int32_t numero) const;
  // Stores a text with its terminating 0, creating the key first when `crea` is true; a
  // `crea` that is no Boolean gives False.
  bool ScriviRegistroStringa(std::int32_t root, const ze::String& chiave,
                             const ze::String& nomeValore, const ze::String& testo,
                             const ze::Variant& crea) const;
  // The shared-file count of `pathfile` as text, "-1" without one, "" when it cannot
  // be read.
  ze::String LeggiContatoreShared(const ze::String& pathfile) const;
  bool ScriviContatoreShared(const ze::String& pathfile, std::int32_t contatore) const;
  // True only when a count was there and is now gone.
  bool EliminaContatoreShared(const ze::String& pathfile) const;

 private:
  ze::String EstraiNomeFile(const ze::String& path) const;
  // The in-process and local halves of RegistraServer and DeRegistraServer.
  bool RegistraLibreria(const ze::String& file) const;
  bool DeRegistraLibreria(const ze::String& file) const;
  bool RegistraEseguibile(const ze::String& file) const;
  bool DeRegistraEseguibile(const ze::String& file) const;

  // The high and the low 16 bits of a version word, 0 to 65535.
  std::int32_t ParteAltaVersione(std::int32_t parola) const;
  std::int32_t ParteBassaVersione(std::int32_t parola) const;
  // Part n (1 to 4) of a version text, as ConfrontaVersione reads it.
  std::int16_t EstraiParteVersione(const ze::String& testo, std::int16_t n) const;
  std::int32_t ConfrontaParti(std::int16_t a, std::int16_t b) const;

  // The error CatturaErrore kept.
  std::int32_t captured_number_ = 0;
  ze::String captured_message_;
};

}  // namespace zekalendo
