// ZEInputNumerico's value model: reading the text as a number, showing a number in
// display form, the limits, the commit on leaving the field, and stepping.
//
// The text is the only value: reading it never fails (anything that is not a number
// under the locale's rules, several separators or minus signs included, reads as 0),
// and showing a value rewrites the text, which raises CambioValore through the field's
// change notice before the "Valore" notice goes to the container.
//
// The limits are inclusive. The property Lets keep Minimo below Massimo; a restored
// design may not, and then no value satisfies both: a commit still reports the limits
// it crossed but leaves the text as it is, and a step changes nothing, instead of
// failing with error 380 out of a focus change or a button's click.
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/ignore_errors.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "numeric/ze_input_numerico.h"

namespace zekalendo {

namespace {
// The text without the spaces (code 32 only) round it.
std::u16string_view TrimSpaces(std::u16string_view s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}
}  // namespace

double ZEInputNumerico::StringaToValore(std::u16string_view s) {
  const std::u16string_view numero = TrimSpaces(s);
  if (numero.empty()) return 0;
  // Plain digits, as a year being typed, read as their whole number: exact up to 15
  // digits, and what the locale's reading gives for them, without its general parse
  // (which the key filter would otherwise run twice per key).
  if (numero.size() <= 15) {
    std::int64_t whole = 0;
    bool digits = true;
    for (const char16_t c : numero) {
      if (!ze::IsNumericChar(c)) {
        digits = false;
        break;
      }
      whole = whole * 10 + (c - u'0');
    }
    if (digits) return static_cast<double>(whole);
  }
  try {
    return ze::CDbl(numero);
  } catch (const ze::AutomationError&) {
    // Not a number, or beyond the Double range.
    return 0;
  }
}

double ZEInputNumerico::valore() const {
  return StringaToValore(txtnumero.Text());
}

String ZEInputNumerico::TestoVisualizzato(double vNewValue, std::int16_t CifreDecimali) {
  // At least one integer digit, all the others the value has, no grouping.
  String picture = u"##########0";
  if (CifreDecimali > 0) {
    picture += u'.';
    picture.append(static_cast<std::size_t>(CifreDecimali), u'0');
  }
  return ze::Format(vNewValue, picture);
}

void ZEInputNumerico::SetValore(double vNewValue) {
  if (vNewValue > massimo_ || vNewValue < minimo_) ze::Raise(ze::errors::kInvalidPropertyValue);
  if (vNewValue == 0 && !visualizzaZero_) {
    txtnumero.SetText(String());
  } else {
    txtnumero.SetText(TestoVisualizzato(vNewValue, cifreDecimali_));
  }
  PropertyChanged(u"Valore");
}

void ZEInputNumerico::txtnumero_LostFocus() {
  // An empty field stays empty: there is nothing to commit.
  if (txtnumero.Text().empty()) return;
  double v = StringaToValore(txtnumero.Text());
  // The upper limit first; a value equal to a limit crosses nothing.
  if (v > massimo_) {
    v = massimo_;
    Solleva(u"MassimoSuperato", massimo_, onMassimoSuperato);
  }
  if (v < minimo_) {
    v = minimo_;
    Solleva(u"MinimoSuperato", minimo_, onMinimoSuperato);
  }
  // Crossed limits (a restored Minimo above Massimo) admit no value to show.
  if (v > massimo_) return;
  SetValore(v);
}

void ZEInputNumerico::Passo(double passo) {
  if (txtnumero.Locked()) return;
  double v = StringaToValore(txtnumero.Text()) + passo;
  if (v > massimo_) v = massimo_;
  if (v < minimo_) v = minimo_;
  if (v > massimo_) return;  // crossed limits, as in the commit
  SetValore(v);
  // The field takes the focus when it can (not while hidden or disabled), and its text
  // is selected as on entering it.
  ze::IgnoringErrors([&] { txtnumero.SetFocus(); });
  txtnumero.SetSelStart(0);
  txtnumero.SetSelLength(ze::Len(txtnumero.Text()));
}

void ZEInputNumerico::DecrementaValore() {
  Passo(-incremento_);
}

void ZEInputNumerico::IncrementaValore() {
  Passo(incremento_);
}

void ZEInputNumerico::ControllaLimiti() {
  if (txtnumero.Text().empty()) return;
  double v = StringaToValore(txtnumero.Text());
  if (v > massimo_) v = massimo_;
  if (v < minimo_) v = minimo_;
  // Shown again even when unchanged, in display form.
  SetValore(v);
}

void ZEInputNumerico::SetMassimo(double vNewValue) {
  if (vNewValue <= minimo_) ze::Raise(ze::errors::kInvalidPropertyValue);
  massimo_ = vNewValue;
  ControllaLimiti();
  PropertyChanged(u"Massimo");
}

void ZEInputNumerico::SetMinimo(double vNewValue) {
  if (vNewValue >= massimo_) ze::Raise(ze::errors::kInvalidPropertyValue);
  minimo_ = vNewValue;
  ControllaLimiti();
  PropertyChanged(u"Minimo");
}

void ZEInputNumerico::SetIncremento(double vNewValue) {
  incremento_ = vNewValue;
  PropertyChanged(u"Incremento");
}

void ZEInputNumerico::SetCifreDecimali(std::int16_t New_value) {
  // Stored first: a value outside the limits then fails the re-show with error 380,
  // and the new setting stays.
  cifreDecimali_ = New_value;
  SetValore(valore());
  PropertyChanged(u"CifreDecimali");
}

void ZEInputNumerico::SetVisualizzaZero(bool vNewValue) {
  visualizzaZero_ = vNewValue;
  SetValore(valore());
  PropertyChanged(u"VisualizzaZero");
}

}  // namespace zekalendo
