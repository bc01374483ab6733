// Kalendo's appearance properties and its property bag.
//
// Most properties are not stored in the control: they pass straight through to the
// field Text1 (Enabled to the popup button too). Only Evidenzia and PopSelezione are
// fields of the control, and the date is the field's text. The bag holds ten keys,
// read and written in one fixed order; "Text" holds the raw field text (the empty
// mask included), and "PopSelezione" is always written, so a bag without it comes
// from an earlier version of the control.
#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

namespace {
constexpr std::uint32_t kWindowBackground = 0x80000005;
constexpr std::uint32_t kWindowText = 0x80000008;
constexpr std::int32_t kCustomPointer = 99;

ze::Variant ColorValue(std::uint32_t color) {
  return ze::Variant(static_cast<std::int32_t>(color));
}
std::uint32_t ToColor(const ze::Variant& v) { return static_cast<std::uint32_t>(ze::CLng(v)); }

template <class T>
std::shared_ptr<T> ToObject(const ze::Variant& v) {
  if (!v.Is<ze::ObjectRef>()) ze::Raise(ze::errors::kTypeMismatch);
  const ze::ObjectRef& object = v.Get<ze::ObjectRef>();
  if (!object) return nullptr;
  auto typed = std::dynamic_pointer_cast<T>(object);
  if (!typed) ze::Raise(ze::errors::kTypeMismatch);
  return typed;
}
}  // namespace

std::uint32_t Kalendo::BackColor() const { return Text1.BackColor(); }
void Kalendo::SetBackColor(std::uint32_t color) {
  Text1.SetBackColor(color);
  PropertyChanged(u"BackColor");
}

std::shared_ptr<ze::container::Font> Kalendo::GetFont() const { return Text1.GetFont(); }
void Kalendo::SetFont(std::shared_ptr<ze::container::Font> font) {
  Text1.SetFont(std::move(font));
  PropertyChanged(u"Font");
}

std::uint32_t Kalendo::ForeColor() const { return Text1.ForeColor(); }
void Kalendo::SetForeColor(std::uint32_t color) {
  Text1.SetForeColor(color);
  PropertyChanged(u"ForeColor");
}

bool Kalendo::Locked() const { return Text1.Locked(); }
void Kalendo::SetLocked(bool locked) {
  Text1.SetLocked(locked);
  PropertyChanged(u"Locked");
}

bool Kalendo::Enabled() const { return Text1.Enabled(); }
void Kalendo::SetEnabled(bool enabled) {
  Text1.SetEnabled(enabled);
  cmdpop.SetEnabled(Text1.Enabled());
  PropertyChanged(u"Enabled");
}

std::shared_ptr<ze::container::Picture> Kalendo::MouseIcon() const { return Text1.MouseIcon(); }
void Kalendo::SetMouseIcon(std::shared_ptr<ze::container::Picture> picture) {
  Text1.SetMouseIcon(std::move(picture));
  PropertyChanged(u"MouseIcon");
}

std::int32_t Kalendo::MousePointer() const { return Text1.MousePointer(); }
void Kalendo::SetMousePointer(std::int32_t pointer) {
  // The standard shapes 0 to 15 and the custom pointer 99; anything else changes nothing.
  if (pointer < 0 || (pointer > 15 && pointer != kCustomPointer)) {
    ze::Raise(ze::errors::kInvalidPropertyValue);
  }
  Text1.SetMousePointer(static_cast<std::int16_t>(pointer));
  PropertyChanged(u"MousePointer");
}

void Kalendo::UserControl_InitProperties() {
  // A new control's settings, in the order a host sees their notices.
  Text1.SetBackColor(kWindowBackground);
  SetFont(AmbientFont());  // notifies "Font"
  Text1.SetForeColor(kWindowText);
  Text1.SetLocked(false);
  SetMouseIcon(nullptr);  // notifies "MouseIcon"
  Text1.SetMousePointer(0);
  Text1.SetText(String(kDataVuota));  // the field notifies "DataText"
  evidenzia_ = true;
  popSelezione_ = false;
  // Enabled keeps the designed value of the field and the button.
}

void Kalendo::UserControl_ReadProperties(ze::container::PropertyBag& PropBag) {
  // A stored value of the wrong kind goes through the same conversion as a Let; a
  // failing step stops the read there, with the steps before it in effect.
  Text1.SetBackColor(ToColor(PropBag.ReadProperty(u"BackColor", ColorValue(kWindowBackground))));
  SetFont(ToObject<ze::container::Font>(PropBag.ReadProperty(u"Font", ze::ObjectRef(AmbientFont()))));
  Text1.SetForeColor(ToColor(PropBag.ReadProperty(u"ForeColor", ColorValue(kWindowText))));
  Text1.SetLocked(ze::CBool(PropBag.ReadProperty(u"Locked", false)));
  SetMouseIcon(ToObject<ze::container::Picture>(PropBag.ReadProperty(u"MouseIcon", ze::Variant::Nothing())));
  Text1.SetMousePointer(ze::CInt(PropBag.ReadProperty(u"MousePointer", std::int16_t{0})));
  // The stored text goes into the field as it is; the first check on leaving reports it.
  Text1.SetText(ze::CStr(PropBag.ReadProperty(u"Text", String(kDataVuota))));
  evidenzia_ = ze::CBool(PropBag.ReadProperty(u"Evidenzia", true));
  Text1.SetEnabled(ze::CBool(PropBag.ReadProperty(u"Enabled", true)));
  // Absent in bags saved before the popup existed: no button then.
  popSelezione_ = ze::CBool(PropBag.ReadProperty(u"PopSelezione", false));
  cmdpop.SetEnabled(Text1.Enabled());
}

void Kalendo::UserControl_WriteProperties(ze::container::PropertyBag& PropBag) {
  PropBag.WriteProperty(u"BackColor", ColorValue(Text1.BackColor()), ColorValue(kWindowBackground));
  PropBag.WriteProperty(u"Font", ze::ObjectRef(GetFont()), ze::ObjectRef(AmbientFont()));
  PropBag.WriteProperty(u"ForeColor", ColorValue(Text1.ForeColor()), ColorValue(kWindowText));
  PropBag.WriteProperty(u"Locked", Text1.Locked(), false);
  PropBag.WriteProperty(u"MouseIcon", ze::ObjectRef(MouseIcon()), ze::Variant::Nothing());
  PropBag.WriteProperty(u"MousePointer", Text1.MousePointer(), std::int16_t{0});
  PropBag.WriteProperty(u"Text", Text1.Text(), String(kDataVuota));
  PropBag.WriteProperty(u"Evidenzia", evidenzia_, true);
  PropBag.WriteProperty(u"Enabled", Text1.Enabled(), true);
  PropBag.WriteProperty(u"PopSelezione", popSelezione_);
}

}  // namespace zekalendo
