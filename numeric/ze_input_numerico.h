// ZEInputNumerico: the library's numeric entry field.
//
// A one-line field for a number between a lower and an upper limit, with a step, a
// fixed count of decimal digits, and the option of showing zero as an empty field.
// The number lives in one place only: the text of the inner text box txtnumero. Every
// numeric view of it is read back from that text (an empty or non-numeric text reads
// as 0), so after an assignment the field holds the rounded value it shows.
//
// The text is free while the user types (the key filter keeps it to digits, "-" and
// the locale's decimal separator, and stops digits once the field is "full"); leaving
// the field commits it: clamped to the limits, with MassimoSuperato or MinimoSuperato,
// and shown in display form. Stepping, a limit change and a display-setting change
// show the value again. The control draws no spin buttons: a form that wants them puts
// its own beside the field and calls IncrementaValore and DecrementaValore.
//
// Using it from a form of the library (the calendar's year field):
//   ZEInputNumerico& anno = AddChild<ZEInputNumerico>(u"txtAnno");
//   anno.InitNew();                      // or Load(bag) for a saved design
//   anno.SetCifreDecimali(0);
//   anno.SetMassimo(3000);               // each Let fails with error 380 when the
//   anno.SetMinimo(0);                   //   limits would cross
//   anno.SetValore(2005);                // error 380 outside the limits
//   anno.onCambioValore = [](double& v) { ... };   // every change of the text
//   anno.IncrementaValore();             // from the form's "+" button
// The three events go both to these callbacks and, under their names, to the site
// (the host's, when the field is a control object); each gets a copy of the value, so
// a handler that changes it changes nothing in the field.
//
// The members are spread over one source file per concern:
//   ze_input_numerico.cpp   construction and the wiring of txtnumero's events
//   numerico_valore.cpp     reading and showing the value, limits, commit, stepping
//   numerico_tastiera.cpp   the key filter, focus and the change notice
//   numerico_proprieta.cpp  pass-through properties, the property bag and the layout
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/property_bag.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"

namespace zekalendo {

using ze::String;

class ZEInputNumerico : public ze::ui::UserControl {
 public:
  // The colours of the field's background, enabled and disabled (system colours).
  static constexpr std::uint32_t kWindowBackground = 0x80000005;
  static constexpr std::uint32_t kButtonFace = 0x8000000F;
  static constexpr std::uint32_t kWindowText = 0x80000008;

  ZEInputNumerico();
  ~ZEInputNumerico() override;

  String TypeName() const override { return u"ZEInputNumerico"; }

  // --- the value (the field's text) ---
  // The number the text reads as; 0 for an empty or non-numeric text. Never fails.
  double valore() const;  // the default member
  // Shows vNewValue in display form; error 380 (nothing changed) outside the limits,
  // which both belong to the range.
  void SetValore(double vNewValue);

  // --- limits, step and display settings ---
  double Massimo() const { return massimo_; }
  void SetMassimo(double vNewValue);  // error 380 unless above Minimo
  double Minimo() const { return minimo_; }
  void SetMinimo(double vNewValue);  // error 380 unless below Massimo
  double Incremento() const { return incremento_; }
  void SetIncremento(double vNewValue);  // any step, 0 and negative ones too
  std::int16_t CifreDecimali() const { return cifreDecimali_; }
  void SetCifreDecimali(std::int16_t New_value);  // 0 or less: whole numbers
  bool VisualizzaZero() const { return visualizzaZero_; }
  void SetVisualizzaZero(bool vNewValue);

  // Add or subtract Incremento, clamp, show, and put the focus in the field with its
  // text selected. A locked field does not step; a disabled one does.
  void DecrementaValore();
  void IncrementaValore();

  // --- passed through to the field ---
  std::shared_ptr<ze::container::Font> GetFont() const;
  void SetFont(std::shared_ptr<ze::container::Font> New_Font);
  std::uint32_t ForeColor() const;
  void SetForeColor(std::uint32_t New_ForeColor);
  bool Enabled() const;
  void SetEnabled(bool New_Enabled);  // also sets the background colour
  bool Locked() const;
  void SetLocked(bool New_Locked);
  // The field's text as it stands, also while the user types.
  String Text() const;
  // Shows the text as given (it is read like typed text); no change notice.
  void SetText(const String& text);

  // The value vNewValue as the field shows it with CifreDecimali digits: no grouping,
  // the locale's decimal separator, halves rounded away from zero.
  static String TestoVisualizzato(double vNewValue, std::int16_t CifreDecimali);

  // The events, for a form that holds the field (see the header comment).
  std::function<void(double& vmassimo)> onMassimoSuperato;
  std::function<void(double& vminimo)> onMinimoSuperato;
  std::function<void(double& v)> onCambioValore;

  // The inner field, for the container and for tests that inspect it.
  ze::ui::TextBox& txtnumero;

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(ze::container::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(ze::container::PropertyBag& PropBag) override;
  void UserControl_Resize() override;

 private:
  static double StringaToValore(std::u16string_view s);
  void ControllaLimiti();
  void Passo(double passo);
  void ApplicaEnabled(bool New_Enabled);
  void Solleva(std::u16string_view evento, double valore,
               const std::function<void(double&)>& handler);

  void txtNumero_Change();
  void txtnumero_GotFocus();
  void txtNumero_KeyPress(std::int16_t& KeyAscii);
  void txtnumero_LostFocus();
  std::int16_t FiltraTasto(std::int16_t& KeyAscii);

  double massimo_ = 100;
  double minimo_ = 0;
  double incremento_ = 1;
  bool visualizzaZero_ = true;
  std::int16_t cifreDecimali_ = 2;
};

}  // namespace zekalendo
