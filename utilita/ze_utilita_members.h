// zeUtilita's members, declared once, and the dual interface made from them.
//
// ZE_UTILITA_MEMBERS lists the class's routines for code that reaches a zeUtilita by
// dispatch (frame/com/member_table.h says what each column means). The class is not
// in the library's type library and no host can create it, so the dispatch ids are
// the library's own choice: each group of routines has a block of ids (the comments in
// the list say where each block starts) and a new routine takes its group's next free
// id; no id is reused.
//
// Some routines need what a table line cannot say yet, a String array parameter
// (zeSplit) and Subs with parameters (Evidenzia, HomePage, GoWeb, EMail): they are
// described and bound by hand with DispatchTable::Method in utilita_object.cpp, with
// their group's next ids (kIdZeSplit, kIdEvidenzia ... below), and are reached by
// dispatch only.
#pragma once

#include "frame/com/member_table.h"
#include "utilita/utilita_id.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace members = ze::com::members;

// clang-format off
#define ZE_UTILITA_MEMBERS(PROPERTY, METHOD, FUNCTION)                                    \
  FUNCTION(MaxGiorni, 0x60030000, MaxGiorni, members::Integer,                            \
           (PARAM(m, members::Integer, ByRef, _), PARAM(a, members::Integer, ByRef, _)),  \
           u"", 0)                                                                        \
  FUNCTION(GetSeparatoreDecimale, 0x60030001, GetSeparatoreDecimale, members::Byte, (),   \
           u"", 0)                                                                        \
  FUNCTION(GetSeparatoreMigliaia, 0x60030002, GetSeparatoreMigliaia, members::Byte, (),   \
           u"", 0)                                                                        \
  FUNCTION(AggiungiSepDir, 0x60030003, AggiungiSepDir, members::String,                   \
           (PARAM(percorso, members::String, ByRef, _)), u"", 0)                          \
  FUNCTION(zeReplace, 0x60030004, zeReplace, members::String,                             \
           (PARAM(testo, members::String, ByVal, _),                                      \
            PARAM(ricerca, members::String, ByVal, _),                                    \
            PARAM(sostituzione, members::String, ByVal, _)), u"", 0)                      \
  FUNCTION(DeterminaSoloFileName, 0x60030006, DeterminaSoloFileName, members::String,     \
           (PARAM(pathname, members::String, ByVal, _)), u"", 0)                          \
  FUNCTION(EstraiEstensione, 0x60030007, EstraiEstensione, members::String,               \
           (PARAM(Filename, members::String, ByRef, _)), u"", 0)                          \
  FUNCTION(EstraiPath, 0x60030008, EstraiPath, members::String,                           \
           (PARAM(Filename, members::String, ByRef, _)), u"", 0)                          \
  METHOD(CurDirApp, 0x60030009, CurDirApp, u"", 0)                                        \
  FUNCTION(EspuraSpazi, 0x6003000A, EspuraSpazi, members::String,                         \
           (PARAM(testo, members::String, ByVal, _)), u"", 0)                             \
  FUNCTION(KeyMaiuscolo, 0x6003000C, KeyMaiuscolo, members::Integer,                      \
           (PARAM(KeyAscii, members::Integer, ByRef, _)), u"", 0)                         \
  FUNCTION(StripTerminator, 0x6003000D, StripTerminator, members::String,                 \
           (PARAM(strString, members::String, ByVal, _)), u"", 0)                         \
  FUNCTION(LongToDate, 0x6003000E, LongToDate, members::Date,                             \
           (PARAM(sec, members::Long, ByVal, _)), u"", 0)                                 \
  FUNCTION(GetDataDaString, 0x6003000F, GetDataDaString, members::Date,                   \
           (PARAM(testo, members::String, ByRef, _)), u"", 0)                             \
  FUNCTION(DataToStringSql, 0x60030010, DataToStringSql, members::String,                 \
           (PARAM(data, members::Date, ByRef, _)), u"", 0)                                \
  FUNCTION(RealeToString, 0x60030011, RealeToString, members::String,                     \
           (PARAM(v, members::Double, ByRef, _), PARAM(cifre, members::Integer, ByRef, _)), \
           u"", 0)                                                                        \
  FUNCTION(StringaToDate, 0x60030012, StringaToDate, members::Date,                       \
           (PARAM(testo, members::String, ByRef, _), PARAM(sep, members::String, ByRef, _)), \
           u"", 0)                                                                        \
  FUNCTION(MessaggioErroreITA, 0x60030013, MessaggioErroreITA, members::String,           \
           (PARAM(Codice, members::Long, ByRef, _)), u"", 0)                              \
  METHOD(PrintErrore, 0x60030014, PrintErrore, u"", 0)                                    \
  METHOD(CatturaErrore, 0x60030015, CatturaErrore, u"", 0)                                \
  METHOD(PrintErroreCat, 0x60030016, PrintErroreCat, u"", 0)                              \
  FUNCTION(ScriviLog, 0x60030017, ScriviLog, members::Boolean,                            \
           (PARAM(testo, members::String, ByVal, _),                                      \
            PARAM(Filename, members::Any, Optional, _),                                   \
            PARAM(data, members::Any, Default, true),                                     \
            PARAM(CancellaPrecedente, members::Any, Default, false)), u"", 0)    \
  /* INI files and registry stores */                                                     \
  FUNCTION(LeggiINI, 0x60030020, LeggiINI, members::String,                               \
           (PARAM(fileINI, members::String, ByRef, _),                                     \
            PARAM(Sezione, members::String, ByRef, _),                                     \
            PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(DefaultValore, members::String, ByRef, _)),                              \
           u"", 0)                                                                        \
  FUNCTION(ScriviINI, 0x60030021, ScriviINI, members::Boolean,                            \
           (PARAM(fileINI, members::String, ByRef, _),                                     \
            PARAM(Sezione, members::String, ByRef, _),                                     \
            PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(valore, members::String, ByRef, _)),                                     \
           u"", 0)                                                                        \
  FUNCTION(PathServerOcx, 0x60030022, PathServerOcx, members::String,                     \
           (PARAM(applicazione, members::String, ByRef, _)), u"", 0)                       \
  FUNCTION(PathServerExe, 0x60030023, PathServerExe, members::String,                     \
           (PARAM(applicazione, members::String, ByRef, _)), u"", 0)                       \
  FUNCTION(SetFileShared, 0x60030024, SetFileShared, members::Boolean,                    \
           (PARAM(pathfile, members::String, ByRef, _),                                    \
            PARAM(EsisteGia, members::Boolean, ByRef, _)),                                 \
           u"", 0)                                                                        \
  FUNCTION(DecFileShared, 0x60030025, DecFileShared, members::Boolean,                    \
           (PARAM(pathfile, members::String, ByRef, _)), u"", 0)                           \
  FUNCTION(GetInfoDisinstallazione, 0x60030026, GetInfoDisinstallazione, members::String, \
           (PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(subchiave, members::Long, ByRef, _)),                                    \
           u"", 0)                                                                        \
  FUNCTION(SetInfoDisinstallazione, 0x60030027, SetInfoDisinstallazione, members::Boolean, \
           (PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(subchiave, members::Long, ByRef, _),                                     \
            PARAM(valore, members::String, ByRef, _),                                      \
            PARAM(crea, members::Any, Optional, _)),                                       \
           u"", 0)                                                                        \
  /* shell folders and system directories, ids from 0x60030030 */                          \
  FUNCTION(CartellaDocumenti, 0x60030030, CartellaDocumenti, members::String, (),        \
           u"", 0)                                                                       \
  FUNCTION(CartellaDati, 0x60030031, CartellaDati, members::String, (), u"", 0)          \
  FUNCTION(CartellaDatiCondivisi, 0x60030032,                                            \
           CartellaDatiCondivisi, members::String, (), u"", 0)                           \
  FUNCTION(CartellaDesktop, 0x60030033, CartellaDesktop, members::String, (), u"", 0)    \
  FUNCTION(CartellaDesktopTuttiUtenti, 0x60030034,                                       \
           CartellaDesktopTuttiUtenti, members::String, (), u"", 0)                      \
  FUNCTION(CartellaEsecuzioneAutomatica, 0x60030035,                                     \
           CartellaEsecuzioneAutomatica, members::String, (), u"", 0)                    \
  FUNCTION(CartellaEsecuzioneAutomaticaTuttiUtenti, 0x60030036,                          \
           CartellaEsecuzioneAutomaticaTuttiUtenti, members::String, (), u"", 0)         \
  FUNCTION(CartellaPreferitiTuttiUtenti, 0x60030037,                                     \
           CartellaPreferitiTuttiUtenti, members::String, (), u"", 0)                    \
  FUNCTION(CartellaMenuAvvio, 0x60030038, CartellaMenuAvvio, members::String, (),        \
           u"", 0)                                                                       \
  FUNCTION(CartellaMenuAvvioTuttiUtenti, 0x60030039,                                     \
           CartellaMenuAvvioTuttiUtenti, members::String, (), u"", 0)                    \
  FUNCTION(CartellaSendTo, 0x6003003A, CartellaSendTo, members::String, (), u"", 0)      \
  FUNCTION(CartellaRecenti, 0x6003003B, CartellaRecenti, members::String, (), u"", 0)    \
  FUNCTION(CartellaMenuProgrammi, 0x6003003C,                                            \
           CartellaMenuProgrammi, members::String, (), u"", 0)                           \
  FUNCTION(CartellaMenuProgrammiTuttiUtenti, 0x6003003D,                                 \
           CartellaMenuProgrammiTuttiUtenti, members::String, (), u"", 0)                \
  FUNCTION(CartellaDocumentiCondivisi, 0x6003003E,                                       \
           CartellaDocumentiCondivisi, members::String, (), u"", 0)                      \
  FUNCTION(CartellaRisorseRete, 0x6003003F, CartellaRisorseRete, members::String, (),    \
           u"", 0)                                                                       \
  FUNCTION(CartellaImmagini, 0x60030040, CartellaImmagini, members::String, (), u"", 0)  \
  FUNCTION(CartellaImmaginiTuttiUtenti, 0x60030041,                                      \
           CartellaImmaginiTuttiUtenti, members::String, (), u"", 0)                     \
  FUNCTION(CartellaCronologia, 0x60030042, CartellaCronologia, members::String, (),      \
           u"", 0)                                                                       \
  FUNCTION(CartellaFonts, 0x60030043, CartellaFonts, members::String, (), u"", 0)        \
  FUNCTION(CartellaPreferiti, 0x60030044, CartellaPreferiti, members::String, (),        \
           u"", 0)                                                                       \
  FUNCTION(CartellaCookies, 0x60030045, CartellaCookies, members::String, (), u"", 0)    \
  FUNCTION(CartellaInternetTemp, 0x60030046, CartellaInternetTemp, members::String, (),  \
           u"", 0)                                                                       \
  FUNCTION(CartellaWindows, 0x60030047, CartellaWindows, members::String, (), u"", 0)    \
  FUNCTION(GetWindowsSysDir, 0x60030048, GetWindowsSysDir, members::String, (), u"", 0)  \
  FUNCTION(GetDirectoryTemp, 0x60030049, GetDirectoryTemp, members::String, (), u"", 0)  \
  FUNCTION(GetFileTemporaneo, 0x6003004A, GetFileTemporaneo, members::String, (),        \
           u"", 0)                                                                       \
  FUNCTION(DirectoryRete, 0x6003004B, DirectoryRete, members::Boolean, (), u"", 0)       \
  FUNCTION(Sfoglia_Cartella, 0x6003004C, Sfoglia_Cartella, members::String,              \
           (PARAM(hwnd, members::Long, ByVal, _),                                        \
            PARAM(sTitle, members::String, ByRef, _)), u"", 0)                           \
  FUNCTION(CreaPercorsoDirectory, 0x6003004D, CreaPercorsoDirectory, members::Boolean,   \
           (PARAM(Path, members::String, ByRef, _)), u"", 0)                             \
  /* processes, the shell and server registration, ids from 0x60030060 */                  \
  FUNCTION(EseguiEx, 0x60030060, EseguiEx, members::Boolean,                              \
           (PARAM(hwnd, members::Long, ByRef, _),                                         \
            PARAM(file, members::String, ByRef, _),                                       \
            PARAM(muto, members::Any, Default, false)), u"", 0)                           \
  FUNCTION(StartApplicazione, 0x60030061, StartApplicazione, members::Boolean,            \
           (PARAM(applicazione, members::String, ByRef, _)), u"", 0)                      \
  FUNCTION(ShellSospensiva, 0x60030062, ShellSospensiva, members::Boolean,                \
           (PARAM(ToRun, members::String, ByRef, _),                                      \
            PARAM(COMMANDLINE, members::Any, Optional, _)), u"", 0)                       \
  /* HomePage 0x60030063, GoWeb 0x60030064, EMail 0x60030065: bound by hand */            \
  FUNCTION(CreaCollegamento, 0x60030066, CreaCollegamento, members::Boolean,              \
           (PARAM(lnk_pathname, members::String, ByRef, _),                               \
            PARAM(file, members::String, ByRef, _),                                       \
            PARAM(dir_lavoro, members::String, ByRef, _)), u"", 0)                        \
  FUNCTION(RegistraServer, 0x60030067, RegistraServer, members::Boolean,                  \
           (PARAM(file, members::String, ByRef, _)), u"", 0)                              \
  FUNCTION(DeRegistraServer, 0x60030068, DeRegistraServer, members::Boolean,              \
           (PARAM(file, members::String, ByRef, _)), u"", 0)                              \
  FUNCTION(IsVBEnvironment, 0x60030069, IsVBEnvironment, members::Boolean, (), u"", 0)    \
  FUNCTION(Decomprimi, 0x6003006A, Decomprimi, members::Boolean,                          \
           (PARAM(sorgente, members::String, ByRef, _),                                   \
            PARAM(destinazione, members::String, ByRef, _)), u"", 0)                      \
  /* versions and system information, ids from 0x60030070 */                               \
  FUNCTION(GetVersione, 0x60030070, GetVersione, members::String,                         \
           (PARAM(file, members::String, ByRef, _)), u"", 0)                               \
  FUNCTION(ConfrontaVersione, 0x60030071, ConfrontaVersione, members::Long,               \
           (PARAM(VersioneA, members::String, ByRef, _),                                   \
            PARAM(VersioneB, members::String, ByRef, _)),                                  \
           u"", 0)                                                                        \
  FUNCTION(InfoSO, 0x60030072, InfoSO, members::Long, (), u"", 0)                         \
  FUNCTION(IsWindowsNT, 0x60030073, IsWindowsNT, members::Boolean, (), u"", 0)            \
  FUNCTION(InfoSOVersione, 0x60030074, InfoSOVersione, members::String, (), u"", 0)       \
  FUNCTION(GetSerialHD, 0x60030075, GetSerialHD, members::String, (), u"", 0)             \
  FUNCTION(GetSerialDrive, 0x60030076, GetSerialDrive, members::String,                   \
           (PARAM(letteraDrive, members::String, ByRef, _)), u"", 0)                       \
  FUNCTION(WriteAccess, 0x60030077, WriteAccess, members::Boolean,                        \
           (PARAM(strDirName, members::String, ByVal, _),                                  \
            PARAM(verbose, members::Boolean, ByRef, _)),                                   \
           u"", 0)                                                                        \
  FUNCTION(FileAperto, 0x60030078, FileAperto, members::Boolean,                          \
           (PARAM(file, members::String, ByRef, _)), u"", 0)                               \
  FUNCTION(EliminaReadOnly, 0x60030079, EliminaReadOnly, members::Void,                   \
           (PARAM(Filename, members::String, ByRef, _)), u"", 0)                           \
  /* window helpers, ids from 0x60030080 */                                                \
  FUNCTION(ShowFinestraConTitolo, 0x60030080, ShowFinestraConTitolo, members::Boolean,    \
           (PARAM(testo, members::String, ByRef, _)), u"", 0)                              \
  FUNCTION(CentraForm, 0x60030081, CentraForm, members::Void,                             \
           (PARAM(obj, members::Object, ByRef, _)), u"", 0)                                \
  FUNCTION(CentraFormFiglio, 0x60030082, CentraFormFiglio, members::Void,                 \
           (PARAM(padre, members::Object, ByRef, _), PARAM(obj, members::Object, ByRef, _)), \
           u"", 0)                                                                        \
  FUNCTION(FinetraTopMost, 0x60030083, FinetraTopMost, members::Void,                     \
           (PARAM(hwnd, members::Long, ByRef, _),                                          \
            PARAM(SempreInPrimoPiano, members::Any, Optional, _)),                         \
           u"", 0)                                                                        \
  FUNCTION(SfumaForm, 0x60030084, SfumaForm, members::Void,                               \
           (PARAM(InputForm, members::Object, ByRef, _),                                   \
            PARAM(ColoreIniziale, members::Any, Optional, _),                              \
            PARAM(PassoA, members::Any, Optional, _),                                      \
            PARAM(PassoB, members::Any, Optional, _)),                                     \
           u"", 0)                                                                        \
  FUNCTION(WaitSecondi, 0x60030085, WaitSecondi, members::Void,                           \
           (PARAM(sec, members::Integer, ByRef, _)), u"", 0)                               \
  FUNCTION(Sleep, 0x60030086, Sleep, members::Void,                                       \
           (PARAM(millisecondi, members::Long, ByRef, _)), u"", 0)
// clang-format on

// The routines bound by hand, in the order of the ids above.
inline constexpr ze::com::DISPID kIdZeSplit = 0x60030005;
inline constexpr ze::com::DISPID kIdEvidenzia = 0x6003000B;
// Subs with parameters of the processes group.
inline constexpr ze::com::DISPID kIdHomePage = 0x60030063;
inline constexpr ze::com::DISPID kIdGoWeb = 0x60030064;
inline constexpr ze::com::DISPID kIdEMail = 0x60030065;

ZE_DUAL_INTERFACE(IzeUtilita, ids::kIidUtilita, ZE_UTILITA_MEMBERS);

}  // namespace zekalendo
