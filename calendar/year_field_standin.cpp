// The stand-in year field (see year_field_standin.h).
#include "calendar/year_field_standin.h"

#include <cmath>

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"

namespace zekalendo {

AnnoProvvisorio::AnnoProvvisorio() : txtnumero(AddChild<ze::ui::TextBox>(u"txtnumero")) {
  txtnumero.onChange = [this] {
    RaiseEvent(u"CambioValore", {ze::Variant(valore())});
  };
  txtnumero.onKeyPress = [](std::int16_t& KeyAscii) {
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    if (!digit && KeyAscii != '-' && KeyAscii != 8) KeyAscii = 0;
  };
  txtnumero.onGotFocus = [this] {
    txtnumero.SetSelStart(0);
    txtnumero.SetSelLength(static_cast<std::int32_t>(txtnumero.Text().size()));
  };
  txtnumero.onLostFocus = [this] { Commit(); };
}

double AnnoProvvisorio::valore() const {
  const ze::String& t = txtnumero.Text();
  if (t.find_first_not_of(u" -0123456789") != ze::String::npos) return 0;
  return ze::Val(t);
}

void AnnoProvvisorio::SetValore(double vNewValue) {
  if (vNewValue > massimo_ || vNewValue < minimo_) ze::Raise(ze::errors::kInvalidPropertyValue);
  txtnumero.SetText(ze::CStr(ze::Variant(std::nearbyint(vNewValue))));
  PropertyChanged(u"Valore");
}

void AnnoProvvisorio::Passo(int sign) {
  if (txtnumero.Locked()) return;
  double v = valore() + sign;
  if (v > massimo_) v = massimo_;
  if (v < minimo_) v = minimo_;
  SetValore(v);
  try {
    txtnumero.SetFocus();
  } catch (const ze::AutomationError&) {
    return;  // a hidden field steps all the same
  }
  txtnumero.SetSelStart(0);
  txtnumero.SetSelLength(static_cast<std::int32_t>(txtnumero.Text().size()));
}

void AnnoProvvisorio::Commit() {
  if (txtnumero.Text().empty()) return;
  double v = valore();
  if (v > massimo_) v = massimo_;
  if (v < minimo_) v = minimo_;
  SetValore(v);
}

void AnnoProvvisorio::UserControl_ReadProperties(ze::container::PropertyBag& PropBag) {
  massimo_ = ze::CDbl(PropBag.ReadProperty(u"Massimo", ze::Variant(100.0)));
  minimo_ = ze::CDbl(PropBag.ReadProperty(u"Minimo", ze::Variant(0.0)));
  txtnumero.SetFont(std::make_shared<ze::container::Font>(u"MS Sans Serif", 8.25, false));
  SetValore(ze::CDbl(PropBag.ReadProperty(u"Valore", ze::Variant(0.0))));
}

void AnnoProvvisorio::UserControl_Resize() {
  txtnumero.Move(0, 0, ScaleWidth(), ScaleHeight());
}

}  // namespace zekalendo
