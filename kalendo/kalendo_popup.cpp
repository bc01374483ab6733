// PopSelezione, the popup button and AboutBox.
#include "about/frm_info.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

void Kalendo::SetPopSelezione(bool value) {
  popSelezione_ = value;
  PropertyChanged(u"PopSelezione");
  // The button shows or hides at once, not at the next repaint.
  UserControl_Paint();
}

void Kalendo::cmdpop_Click() {
  // A locked or disabled field ignores the button. The calendar opens from here once
  // the calendar form exists; until then the button does nothing more.
  if (Text1.Locked() || !Text1.Enabled()) return;
}

void Kalendo::AboutBox() {
  // Modal, no owner: returns when the box closes.
  auto info = FrmInfo::Create();
  info->Show(1);
}

}  // namespace zekalendo
