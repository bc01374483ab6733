// The calendar form as designed, and Form_Load, which builds the headings and the day
// cells at run time.
#include "calendar/frm_input_data.h"

#include <cmath>

#include "calendar/calendar_icon.h"
#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/container/property_bag.h"

namespace zekalendo {

namespace {

std::shared_ptr<ze::container::Font> SansSerif(double size) {
  return std::make_shared<ze::container::Font>(u"MS Sans Serif", size, false);
}

// The year field's saved design: only what differs from the field's own defaults.
void RestoreYearField(ZEInputNumerico& field) {
  ze::container::PropertyBag design;
  design.WriteProperty(u"Massimo", ze::Variant(3000.0));
  design.WriteProperty(u"Valore", ze::Variant(1900.0));
  design.WriteProperty(u"CifreDecimali", ze::Variant(std::int16_t{0}));
  design.WriteProperty(u"Font", ze::Variant(ze::ObjectRef(SansSerif(8.25))));
  field.Load(design);
}

}  // namespace

FrmInputData::FrmInputData()
    : lblGio(*this, u"lblGio"),
      lblNomeGio(*this, u"lblNomeGio"),
      cboMese(AddChild<ze::ui::ComboBox>(u"cboMese")),
      cmdPrecedente(AddChild<ze::ui::CommandButton>(u"cmdPrecedente")),
      cmdSuccessivo(AddChild<ze::ui::CommandButton>(u"cmdSuccessivo")),
      txtAnno(AddChild<ZEInputNumerico>(u"txtAnno")),
      cmdPiu(AddChild<ze::ui::CommandButton>(u"cmdPiu")),
      cmdMeno(AddChild<ze::ui::CommandButton>(u"cmdMeno")),
      Timer1(AddChild<ze::ui::Timer>(u"Timer1")) {
  SetCaption(u"Calendario");
  SetBorderStyle(4);  // a fixed tool window: no taskbar entry, no resizing
  SetClientSize(3150, 4365);
  SetKeyPreview(true);
  SetIcon(pictures::CalendarPage());

  ze::ui::Label& cella = lblGio[0];
  cella.SetVisible(false);
  cella.SetCaption(u"1");
  cella.SetBackColor(kBianco);
  cella.SetBorderStyle(1);
  cella.SetAlignment(2);
  cella.SetFont(SansSerif(9.75));
  cella.Move(135, 1035, 510, 420);

  ze::ui::Label& intestazione = lblNomeGio[0];
  intestazione.SetVisible(false);
  intestazione.SetCaption(u"Label1");
  intestazione.Move(135, 765, 465, 240);

  cboMese.Move(135, 180, 1635, 315);
  cmdPrecedente.SetCaption(u"<<");
  cmdPrecedente.Move(90, 3915, 1050, 375);
  cmdSuccessivo.SetCaption(u">>");
  cmdSuccessivo.Move(2025, 3915, 1050, 375);
  txtAnno.Move(1890, 180, 735, 315);
  RestoreYearField(txtAnno);
  cmdPiu.SetCaption(u"+");
  cmdPiu.Move(2700, 90, 240, 240);
  cmdMeno.SetCaption(u"-");
  cmdMeno.Move(2700, 360, 240, 240);
  Timer1.SetInterval(100);

  onLoad = [this] { Form_Load(); };
  onUnload = [this](std::int16_t& Cancel) { Form_Unload(Cancel); };
  onDeactivate = [this] { Form_Deactivate(); };
  onLostFocus = [this] { Form_LostFocus(); };
  onKeyPress = [this](std::int16_t& KeyAscii) { Form_KeyPress(KeyAscii); };
  cboMese.onClick = [this] { cboMese_Click(); };
  cmdPrecedente.onClick = [this] { cmdPrecedente_Click(); };
  cmdSuccessivo.onClick = [this] { cmdSuccessivo_Click(); };
  cmdPiu.onClick = [this] { cmdPiu_Click(); };
  cmdMeno.onClick = [this] { cmdMeno_Click(); };
  lblGio.onClick = [this](std::int16_t Index) { lblGio_Click(Index); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  txtAnno.onCambioValore = [this](double& v) {
    if (IsLoaded()) txtAnno_CambioValore(v);
  };
  // The field's own LostFocus commits the typed year first; the form's follows it.
  ze::ui::TextBox& inner = txtAnno.txtnumero;
  inner.onLostFocus = [this, own = inner.onLostFocus] {
    if (own) own();
    txtAnno_LostFocus();
  };
}

void FrmInputData::SetChiamante(DataChiamante& chiamante, std::weak_ptr<void> alive) {
  Chiamante_ = &chiamante;
  chiamanteAlive_ = std::move(alive);
}

DataChiamante* FrmInputData::Chiamante() const {
  return chiamanteAlive_.expired() ? nullptr : Chiamante_;
}

void FrmInputData::Form_Load() {
  static constexpr const char16_t* NomiGiorni[7] = {u"Lun", u"Mar", u"Mer", u"Gio",
                                                    u"Ven", u"Sab", u"Dom"};
  static constexpr const char16_t* NomiMesi[12] = {
      u"GENNAIO", u"FEBBRAIO", u"MARZO",     u"APRILE",  u"MAGGIO",   u"GIUGNO",
      u"LUGLIO",  u"AGOSTO",   u"SETTEMBRE", u"OTTOBRE", u"NOVEMBRE", u"DICEMBRE"};

  // Seven equal columns with 50 twips of margin on each side, in single precision and
  // rounded to a whole number with halves to even, as a Long assignment rounds.
  const float larghezza = (ScaleWidth() - 100.0f) / 7.0f;
  const auto w = static_cast<float>(std::lrint(larghezza));

  for (int i = 1; i <= 7; ++i) {
    lblNomeGio.Load(i);
    ze::ui::Label& h = lblNomeGio[i];
    h.SetAlignment(2);
    h.SetWidth(w);
    h.SetForeColor(i == 7 ? kRosso : kNero);
    h.SetLeft(static_cast<float>(i - 1) * h.Width() + 50);
    h.SetCaption(NomiGiorni[i - 1]);
    h.SetVisible(true);
  }

  int k = 0;
  for (int r = 0; r <= 5; ++r) {
    for (int c = 1; c <= 7; ++c) {
      ++k;
      lblGio.Load(k);
      ze::ui::Label& cella = lblGio[k];
      cella.SetWidth(w);
      cella.SetHeight(cella.Width());
      cella.SetForeColor(c == 7 ? kRosso : kNero);
      cella.SetLeft(static_cast<float>(c - 1) * cella.Width() + 50);
      cella.SetTop(static_cast<float>(r) * cella.Height() + lblGio[0].Top());
      cella.SetCaption(u"");
      cella.SetVisible(true);
    }
  }

  cboMese.Clear();
  for (const char16_t* mese : NomiMesi) cboMese.AddItem(mese);

  DataChiamante* chiamante = Chiamante();
  if (chiamante == nullptr) ze::Raise(ze::errors::kObjectNotSet, u"Object variable not set");
  const ze::Date valore = chiamante->valore();
  if (valore.serial == 0) {
    ImpostaData(ze::Today());
  } else {
    ImpostaData(valore);
  }
  Annullato_ = true;
}

}  // namespace zekalendo
