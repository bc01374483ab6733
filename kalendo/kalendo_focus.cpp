// Focus, mouse and change handling of Kalendo's field, and the events they raise.
//
// Entering the field selects it (when Evidenzia is set); leaving it runs the date
// check, which reports an invalid date through DataNonValida but never corrects it.
// Every change of the field text, whatever its cause, notifies "DataText", so a bound
// data source sees each edit at once.
#include "frame/automation/string_functions.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

void Kalendo::SetEvidenzia(bool value) {
  evidenzia_ = value;
  PropertyChanged(u"Evidenzia");
}

void Kalendo::Text1_GotFocus() {
  if (!evidenzia_) return;
  Text1.SetSelStart(0);
  Text1.SetSelLength(ze::Len(Text1.Text()));
}

void Kalendo::Text1_LostFocus() { ControllaData(); }

void Kalendo::Text1_Click() { RaiseEvent(u"Click"); }

void Kalendo::Text1_DblClick() { RaiseEvent(u"DblClick"); }

void Kalendo::Text1_MouseDown(std::int16_t& Button, std::int16_t& /*Shift*/, float& /*X*/,
                              float& /*Y*/) {
  // The right button collapses the selection to the caret.
  constexpr std::int16_t kRightButton = 2;
  if (Button == kRightButton) Text1.SetSelLength(0);
}

void Kalendo::Text1_Change() { PropertyChanged(u"DataText"); }

}  // namespace zekalendo
