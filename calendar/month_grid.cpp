// Putting a month on show: ImpostaData lays out the month of a date and marks its day;
// AggiornaData rebuilds the date from the month list, the year field and the remembered
// day, moves it by whole months and hands it to ImpostaData.
//
// The grid is Monday first: day 1 lies in the first row at the column of its weekday,
// the days follow cell by cell, and the cells before day 1 and after the last day stay
// empty and white. The only mark is the yellow of the day held in Giorno.
#include <cmath>

#include "calendar/frm_input_data.h"
#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"

namespace zekalendo {

namespace {

// The Monday-first column of a weekday counted from Sunday (1) to Saturday (7).
constexpr int ColonnaDelGiorno(int w) {
  return w == 1 ? 7 : w - 1;
}
static_assert(ColonnaDelGiorno(1) == 7 && ColonnaDelGiorno(2) == 1 && ColonnaDelGiorno(7) == 6);

// A month's name as a date is read aloud: the list's name in small letters.
ze::String NomeAccessibile(int mese) {
  static constexpr const char16_t* kNomi[12] = {
      u"gennaio", u"febbraio", u"marzo",     u"aprile",  u"maggio",   u"giugno",
      u"luglio",  u"agosto",   u"settembre", u"ottobre", u"novembre", u"dicembre"};
  return kNomi[mese - 1];
}

}  // namespace

void FrmInputData::ImpostaData(const ze::Date& Data) {
  InAggiornamento_ = true;
  Giorno_ = static_cast<std::int16_t>(ze::Day(Data));
  const int mese = ze::Month(Data);
  const int anno = ze::Year(Data);
  // Both raise their change events; the handlers stand still while InAggiornamento holds.
  cboMese.SetListIndex(mese - 1);
  txtAnno.SetValore(static_cast<double>(anno));

  const int primaColonna = ColonnaDelGiorno(ze::Weekday(ze::DateSerial(anno, mese, 1), 1));
  if (!Utilita_) Utilita_ = std::make_unique<zeUtilita>();
  std::int16_t m = static_cast<std::int16_t>(mese), a = static_cast<std::int16_t>(anno);
  const int n = Utilita_->MaxGiorni(m, a);

  const int ultima = lblGio.UBound();
  for (int k = 1; k <= ultima; ++k) {
    lblGio[k].SetCaption(u"");
    lblGio[k].SetBackColor(kBianco);
    lblGio[k].SetAccessibleName(u"");
  }
  // A screen reader says the whole date of a cell ("15 agosto 2005"), not its number.
  const ze::String meseAnno = u" " + NomeAccessibile(mese) + u" " + ze::CStr(ze::Variant(anno));
  int d = 0;
  for (int k = primaColonna; k <= primaColonna + n - 1; ++k) {
    ++d;
    const ze::String giorno = ze::CStr(ze::Variant(std::int16_t(d)));
    lblGio[k].SetCaption(giorno);
    lblGio[k].SetAccessibleName(giorno + meseAnno);
    if (d == Giorno_) lblGio[k].SetBackColor(kGiallo);
  }
  InAggiornamento_ = false;
}

void FrmInputData::AggiornaData(std::int16_t Mesi) {
  try {
    // The year's value rounds to the nearest whole year, halves to even, as CInt does.
    const std::int16_t y = ze::CInt(ze::Variant(txtAnno.valore()));
    const std::int32_t m = cboMese.ListIndex() + 1;
    // A remembered day beyond the chosen month's end carries into the next month.
    ze::Date d = ze::DateSerial(y, m, Giorno_);
    d = ze::DateAdd(u"m", Mesi, d);
    ImpostaData(d);
  } catch (const ze::AutomationError&) {
    // A year the field refuses (">>" from December 3000) or a date beyond the Date
    // type: the calendar closes without a result.
    Unload();
  }
}

}  // namespace zekalendo
