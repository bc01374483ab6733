// FrmInputData: the calendar popup that Kalendo opens from its button.
//
// One month at a time in a grid of 6 x 7 day cells, Monday first, under a month list
// and a year field with "+" and "-" beside it; "<<" and ">>" move by a month. A click on
// a day marks it, holds the mark for 300 ms and closes the calendar, which then writes
// the date into the opening control's valore. Escape, another window becoming active
// and any failure while moving close it without a result.
//
// The source files follow the form's concerns:
//   frm_input_data.cpp  the form as designed, and Form_Load
//   month_grid.cpp      ImpostaData and AggiornaData, which put a month on show
//   navigation.cpp      the handlers: moving, picking, closing, returning the date
//
// Life: one new instance per opening. Create, SetChiamante, then the opener's first use
// of a built-in property (its size, or Show) loads it. The open form keeps itself alive
// through the open-form list until it unloads; a closed one is never shown again.
#pragma once

#include <cstdint>
#include <memory>

#include "calendar/chiamante.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control_array.h"
#include "frame/ui/form.h"
#include "frame/ui/label.h"
#include "frame/ui/timer.h"
#include "numeric/ze_input_numerico.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

class FrmInputData : public ze::ui::Form {
 public:
  // Colours of the cells (OLE_COLOR).
  static constexpr std::uint32_t kBianco = 0x00FFFFFF;
  static constexpr std::uint32_t kGiallo = 0x0000FFFF;
  static constexpr std::uint32_t kNero = 0x00000000;
  static constexpr std::uint32_t kRosso = 0x000000FF;
  // The lowest year that typing or stepping may show (the month buttons go below it).
  static constexpr double kPrimoAnno = 1900;
  // How long a picked day stays marked before the calendar closes.
  static constexpr std::int32_t kAttesaScelta = 300;

  FrmInputData();
  static std::shared_ptr<FrmInputData> Create() { return ze::ui::NewForm<FrmInputData>(); }
  ze::String TypeName() const override { return u"FrmInputData"; }

  // The control the date comes from and goes to, with its alive token. Does not load the
  // form; must come before it loads.
  void SetChiamante(DataChiamante& chiamante, std::weak_ptr<void> alive);

  // Lays out the month of Data and marks its day.
  void ImpostaData(const ze::Date& Data);

  // The designed controls, in tab order.
  ze::ui::ControlArray<ze::ui::Label> lblGio;
  ze::ui::ControlArray<ze::ui::Label> lblNomeGio;
  ze::ui::ComboBox& cboMese;
  ze::ui::CommandButton& cmdPrecedente;
  ze::ui::CommandButton& cmdSuccessivo;
  ZEInputNumerico& txtAnno;
  ze::ui::CommandButton& cmdPiu;
  ze::ui::CommandButton& cmdMeno;
  ze::ui::Timer& Timer1;

  // The form's state, readable for tests and the opener.
  bool Annullato() const { return Annullato_; }
  std::int16_t Giorno() const { return Giorno_; }
  bool InAggiornamento() const { return InAggiornamento_; }

 private:
  // The opener, or null once it is gone.
  DataChiamante* Chiamante() const;
  void AggiornaData(std::int16_t Mesi);

  void Form_Load();
  void cboMese_Click();
  void cmdPrecedente_Click();
  void cmdSuccessivo_Click();
  void cmdMeno_Click();
  void cmdPiu_Click();
  void txtAnno_CambioValore(double v);
  void txtAnno_LostFocus();
  void lblGio_Click(std::int16_t Index);
  void Form_KeyPress(std::int16_t& KeyAscii);
  void Timer1_Timer();
  void Form_Deactivate();
  void Form_LostFocus();
  void Form_Unload(std::int16_t& Cancel);

  DataChiamante* Chiamante_ = nullptr;
  std::weak_ptr<void> chiamanteAlive_;
  bool Annullato_ = false;
  std::int16_t Giorno_ = 0;
  bool InAggiornamento_ = false;
  // Made when the first month is laid out, kept for the life of the form.
  std::unique_ptr<zeUtilita> Utilita_;
};

}  // namespace zekalendo
