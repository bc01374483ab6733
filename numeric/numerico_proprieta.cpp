// ZEInputNumerico's pass-through properties, its property bag and its layout.
//
// Font, ForeColor, Enabled and Locked live in the field txtnumero; the limits, the step
// and the display settings are the control's own; the value is the field's text. The
// bag holds ten keys, written in one order and read in another: the value comes after
// the limits and the display settings, so it is checked against the restored limits
// and shown with the restored settings. The limits are restored as stored, without
// the check of their Lets; a stored value outside them fails the restore with error
// 380. The numeric defaults are given as Integers, as the bag has always held them.
#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/ignore_errors.h"
#include "numeric/ze_input_numerico.h"

namespace zekalendo {

namespace {
ze::Variant ColorValue(std::uint32_t color) {
  return ze::Variant(static_cast<std::int32_t>(color));
}

std::shared_ptr<ze::container::Font> ToFont(const ze::Variant& v) {
  if (!v.Is<ze::ObjectRef>()) ze::Raise(ze::errors::kTypeMismatch);
  auto font = std::dynamic_pointer_cast<ze::container::Font>(v.Get<ze::ObjectRef>());
  if (!font) ze::Raise(ze::errors::kTypeMismatch);
  return font;
}
}  // namespace

std::shared_ptr<ze::container::Font> ZEInputNumerico::GetFont() const {
  return txtnumero.GetFont();
}
void ZEInputNumerico::SetFont(std::shared_ptr<ze::container::Font> New_Font) {
  txtnumero.SetFont(std::move(New_Font));
  PropertyChanged(u"Font");
}

std::uint32_t ZEInputNumerico::ForeColor() const {
  return txtnumero.ForeColor();
}
void ZEInputNumerico::SetForeColor(std::uint32_t New_ForeColor) {
  txtnumero.SetForeColor(New_ForeColor);
  PropertyChanged(u"ForeColor");
}

bool ZEInputNumerico::Enabled() const {
  return txtnumero.Enabled();
}
void ZEInputNumerico::ApplicaEnabled(bool New_Enabled) {
  txtnumero.SetEnabled(New_Enabled);
  // The colour follows what the field took, not what was asked.
  txtnumero.SetBackColor(txtnumero.Enabled() ? kWindowBackground : kButtonFace);
}
void ZEInputNumerico::SetEnabled(bool New_Enabled) {
  ApplicaEnabled(New_Enabled);
  PropertyChanged(u"Enabled");
}

bool ZEInputNumerico::Locked() const {
  return txtnumero.Locked();
}
void ZEInputNumerico::SetLocked(bool New_Locked) {
  txtnumero.SetLocked(New_Locked);
  PropertyChanged(u"Locked");
}

String ZEInputNumerico::Text() const {
  return txtnumero.Text();
}
void ZEInputNumerico::SetText(const String& text) {
  txtnumero.SetText(text);
}

void ZEInputNumerico::UserControl_InitProperties() {
  massimo_ = 100;
  minimo_ = 0;
  incremento_ = 1;
  cifreDecimali_ = 2;
  visualizzaZero_ = true;
  txtnumero.SetFont(AmbientFont());
  SetValore(0);
}

void ZEInputNumerico::UserControl_ReadProperties(ze::container::PropertyBag& PropBag) {
  cifreDecimali_ = ze::CInt(PropBag.ReadProperty(u"CifreDecimali", std::int16_t{2}));
  visualizzaZero_ = ze::CBool(PropBag.ReadProperty(u"VisualizzaZero", true));
  massimo_ = ze::CDbl(PropBag.ReadProperty(u"Massimo", std::int16_t{100}));
  incremento_ = ze::CDbl(PropBag.ReadProperty(u"Incremento", std::int16_t{1}));
  minimo_ = ze::CDbl(PropBag.ReadProperty(u"Minimo", std::int16_t{0}));
  txtnumero.SetFont(ToFont(PropBag.ReadProperty(u"Font", ze::ObjectRef(AmbientFont()))));
  SetValore(ze::CDbl(PropBag.ReadProperty(u"Valore", std::int16_t{0})));
  txtnumero.SetForeColor(static_cast<std::uint32_t>(
      ze::CLng(PropBag.ReadProperty(u"ForeColor", ColorValue(kWindowText)))));
  ApplicaEnabled(ze::CBool(PropBag.ReadProperty(u"Enabled", true)));
  txtnumero.SetLocked(ze::CBool(PropBag.ReadProperty(u"Locked", false)));
}

void ZEInputNumerico::UserControl_WriteProperties(ze::container::PropertyBag& PropBag) {
  PropBag.WriteProperty(u"Massimo", massimo_, std::int16_t{100});
  PropBag.WriteProperty(u"Valore", valore(), std::int16_t{0});
  PropBag.WriteProperty(u"Incremento", incremento_, std::int16_t{1});
  PropBag.WriteProperty(u"Minimo", minimo_, std::int16_t{0});
  PropBag.WriteProperty(u"Font", ze::ObjectRef(GetFont()), ze::ObjectRef(AmbientFont()));
  PropBag.WriteProperty(u"VisualizzaZero", visualizzaZero_, true);
  PropBag.WriteProperty(u"ForeColor", ColorValue(txtnumero.ForeColor()), ColorValue(kWindowText));
  PropBag.WriteProperty(u"Enabled", txtnumero.Enabled(), true);
  PropBag.WriteProperty(u"Locked", txtnumero.Locked(), false);
  PropBag.WriteProperty(u"CifreDecimali", cifreDecimali_, std::int16_t{2});
}

void ZEInputNumerico::UserControl_Resize() {
  // The field fills the control; the width only while the control has one.
  ze::IgnoringErrors([&] { txtnumero.SetLeft(0); });
  ze::IgnoringErrors([&] { txtnumero.SetTop(0); });
  ze::IgnoringErrors([&] { txtnumero.SetHeight(ScaleHeight()); });
  ze::IgnoringErrors([&] {
    if (ScaleWidth() > 0) txtnumero.SetWidth(ScaleWidth());
  });
}

}  // namespace zekalendo
