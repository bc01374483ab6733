// zeUtilita: error messages and the log file.
//
// The current error is the thread's error record (ze::Err()); message boxes and the
// mouse pointer go through the ui layer, so a host without a screen (or a test) sees
// them through its message-box sink. The log is a text file of CR LF lines in UTF-8,
// only ever appended to: each line is one write to a file opened for appending, so
// lines that two processes log at once never mix.
#include <string>

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/number_text.h"
#include "frame/system/files.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"
#include "utilita/cartella_libreria.h"
#include "utilita/messaggi_errore.h"
#include "utilita/trim.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr std::int32_t kNomeFileNonValido = 52;
constexpr std::int16_t kPuntatoreNormale = 0;

// "Errore n. 53", "Errore n.-5": the number as Str writes it, a blank in place of a
// plus sign.
ze::String Titolo(std::int32_t numero) {
  const std::string digits = std::to_string(numero);
  return u"Errore n." + ze::FromUtf8(numero >= 0 ? " " + digits : digits);
}

// The message for the current error: the drive text for 52, whose own description
// speaks of file numbers to a user who picked a drive.
ze::String MessaggioCorrente() {
  if (ze::Err().Number == kNomeFileNonValido) return u"Impossibile leggere l'unità specificata.";
  return ze::Err().Description;
}

// The log beside the library, or in the user's data folder when the library's folder
// cannot be written (a library installed by the system).
ze::String LogPredefinito() {
  const CartellaLibreria libreria = LaCartellaLibreria();
  ze::String cartella = libreria.cartella;
  if (!ze::system::Files().IsFolderWritable(cartella)) {
    cartella = ze::system::Files().UserDataFolder();
  }
  if (cartella.empty() || libreria.nome.empty()) ze::Raise(ze::errors::kPathNotFound);
  if (cartella.back() != u'\\' && cartella.back() != u'/') cartella += u'\\';
  return cartella + libreria.nome + u".log";
}
}  // namespace

ze::String zeUtilita::MessaggioErroreITA(std::int32_t& Codice) const {
  if (const auto messaggio = MessaggioItaliano(Codice)) return ze::String(*messaggio);
  return ze::Err().Description;
}

void zeUtilita::PrintErrore() const {
  const ze::String M = MessaggioCorrente();
  ze::ui::Screen::SetMousePointer(kPuntatoreNormale);
  ze::ui::MsgBox(M, ze::ui::msgbox::kInformation, Titolo(ze::Err().Number));
  ze::Err().Clear();
}

void zeUtilita::CatturaErrore() {
  const ze::String M = MessaggioCorrente();
  ze::ui::Screen::SetMousePointer(kPuntatoreNormale);
  captured_number_ = ze::Err().Number;
  captured_message_ = M;
}

void zeUtilita::PrintErroreCat() const {
  ze::ui::Screen::SetMousePointer(kPuntatoreNormale);
  ze::ui::MsgBox(captured_message_, ze::ui::msgbox::kInformation, Titolo(captured_number_));
}

bool zeUtilita::ScriviLog(ze::String testo, std::optional<ze::Variant> Filename, ze::Variant data,
                          ze::Variant CancellaPrecedente) const {
  // The current error is the caller's: a failure here is told by the result alone.
  const ze::ErrRecord caller_error = ze::Err();
  try {
    const ze::String F = Filename ? Trim(ze::CStr(*Filename)) : LogPredefinito();
    if (F.empty()) return false;
    const ze::String P =
        ze::CBool(data) ? ze::Format(ze::Now(), u"yyyy-mmm-dd hh:mm:ss") + u" " : ze::String();
    if (ze::CBool(CancellaPrecedente) && !ze::system::Files().DeleteFile(F)) return false;
    const ze::String line = P + testo;
    return ze::system::Files().Append(F, ze::ToUtf8(line) + "\r\n");
  } catch (const ze::AutomationError&) {
    ze::Err() = caller_error;
    return false;
  }
}

}  // namespace zekalendo
