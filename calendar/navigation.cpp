// What the user can do in the open calendar, and how it closes.
//
// The calendar returns its result in one way only: when a day has been picked it
// unloads, and while unloading writes the date into the opener's valore. Every other
// way of closing (Escape, another window becoming active, a failure while moving)
// leaves the opener as it was. The handlers that can fail catch the failure and
// close the calendar; since nothing was picked then, nothing is returned.
#include <cmath>

#include "calendar/frm_input_data.h"
#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"
#include "frame/ui/event_loop.h"

namespace zekalendo {

namespace {
constexpr std::int16_t kEscape = 27;

bool SoloSpazi(const ze::String& s) {
  return s.find_first_not_of(u' ') == ze::String::npos;
}
}  // namespace

// ---- the month ----------------------------------------------------------------------------

void FrmInputData::cboMese_Click() {
  // ImpostaData itself sets the list: that change is no user's choice.
  if (!InAggiornamento_) AggiornaData(0);
}

void FrmInputData::cmdPrecedente_Click() {
  AggiornaData(-1);
}

void FrmInputData::cmdSuccessivo_Click() {
  AggiornaData(+1);
}

// ---- the year -----------------------------------------------------------------------------

void FrmInputData::cmdMeno_Click() {
  txtAnno.DecrementaValore();
}

void FrmInputData::cmdPiu_Click() {
  txtAnno.IncrementaValore();
}

void FrmInputData::txtAnno_CambioValore(double v) {
  try {
    // Typing 2024 reports 2, 20, 202 and 2024: only a year in range redraws.
    if (!InAggiornamento_ && v >= kPrimoAnno && v <= txtAnno.Massimo()) AggiornaData(0);
  } catch (const ze::AutomationError&) {
    Unload();
  }
}

void FrmInputData::txtAnno_LostFocus() {
  try {
    // The new text reports 1900 through CambioValore, which moves the grid there.
    if (txtAnno.valore() < kPrimoAnno) txtAnno.SetValore(kPrimoAnno);
  } catch (const ze::AutomationError&) {
    Unload();
  }
}

// ---- picking a day ------------------------------------------------------------------------

void FrmInputData::lblGio_Click(std::int16_t Index) {
  try {
    ze::ui::Label& cella = lblGio[Index];
    if (SoloSpazi(cella.Caption())) return;  // a cell outside the month
    const int ultima = lblGio.UBound();
    for (int k = 1; k <= ultima; ++k) lblGio[k].SetBackColor(kBianco);
    cella.SetBackColor(kGiallo);
    cella.Refresh();
    // The user sees the mark before the calendar goes; nothing else runs meanwhile.
    ze::ui::Sleep(kAttesaScelta);
    Giorno_ = ze::CInt(ze::Variant(ze::Val(cella.Caption())));
    Annullato_ = false;
    Unload();
  } catch (const ze::AutomationError&) {
    Unload();
  }
}

// ---- closing without a result -------------------------------------------------------------

void FrmInputData::Form_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii == kEscape) Unload();
}

void FrmInputData::Timer1_Timer() {
  try {
    // Nowhere to return a date to: the opener went while the calendar was open.
    if (Chiamante() == nullptr) {
      Unload();
      return;
    }
    if (ze::ui::GetActiveWindow() != Hwnd()) Unload();
  } catch (const ze::AutomationError&) {
    Unload();
  }
}

void FrmInputData::Form_Deactivate() {
  Unload();
}

void FrmInputData::Form_LostFocus() {
  Unload();
}

// ---- returning the date -------------------------------------------------------------------

void FrmInputData::Form_Unload(std::int16_t& /*Cancel*/) {
  if (Annullato_) return;
  try {
    // The year as the field holds it now, which may differ from the month on show
    // when the field holds a year the handlers did not accept.
    const std::int16_t y = ze::CInt(ze::Variant(txtAnno.valore()));
    const std::int32_t m = cboMese.ListIndex() + 1;
    const ze::Date data = ze::DateSerial(y, m, Giorno_);
    if (DataChiamante* chiamante = Chiamante()) chiamante->SetValore(data);
  } catch (const ze::AutomationError&) {
    // The calendar closes all the same; the opener keeps its old value.
  }
}

}  // namespace zekalendo
