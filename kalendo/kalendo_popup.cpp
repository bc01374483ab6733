// PopSelezione, the popup button and AboutBox.
#include "about/frm_info.h"
#include "calendar/frm_input_data.h"
#include "frame/automation/error.h"
#include "frame/ui/cursor.h"
#include "frame/ui/screen.h"
#include "kalendo/kalendo.h"
#include "kalendo/popup_show.h"

namespace zekalendo {

void Kalendo::SetPopSelezione(bool value) {
  popSelezione_ = value;
  PropertyChanged(u"PopSelezione");
  // The button shows or hides at once, not at the next repaint.
  UserControl_Paint();
}

void MostraPopup(ze::ui::Form& f, ze::ui::Control& owner) {
  try {
    f.Show(ze::ui::kModeless, &owner);
    return;
  } catch (const ze::AutomationError&) {
    // Under a host's modal window only a modal calendar can show.
  }
  try {
    f.Show(ze::ui::kModal, &owner);
  } catch (const ze::AutomationError&) {
    f.Unload();
    throw;
  }
}

void Kalendo::cmdpop_Click() {
  // A locked or disabled field ignores the button.
  if (Text1.Locked() || !Text1.Enabled()) return;
  // The calendar keeps itself alive once shown; the control keeps no reference to it.
  const std::shared_ptr<FrmInputData> f = FrmInputData::Create();
  f->SetChiamante(*this, AliveToken());

  // Reading the form's size loads it: Form_Load reads this control's date now.
  using ze::ui::Screen;
  ze::ui::Point p;
  if (ze::ui::GetCursorPos(p)) {
    // Centred on the pointer across; the pointer a third of the way down. The left and
    // top edges are tested first, so a form larger than the screen ends flush with the
    // right and bottom edges.
    const float xt = ScaleX(static_cast<float>(p.x), ze::ui::scale::kPixels, ze::ui::scale::kTwips);
    f->SetLeft(xt - f->Width() / 2);
    if (f->Left() < 0) f->SetLeft(0);
    if (static_cast<float>(f->Left() + f->Width()) > Screen::Width())
      f->SetLeft(Screen::Width() - f->Width());

    const float yt = ScaleY(static_cast<float>(p.y), ze::ui::scale::kPixels, ze::ui::scale::kTwips);
    f->SetTop(yt - f->Height() / 3);
    if (f->Top() < 0) f->SetTop(0);
    if (static_cast<float>(f->Top() + f->Height()) > Screen::Height())
      f->SetTop(Screen::Height() - f->Height());
  }
  MostraPopup(*f, *this);
}

void Kalendo::AboutBox() {
  // Modal, no owner: returns when the box closes.
  auto info = FrmInfo::Create();
  info->Show(1);
}

}  // namespace zekalendo
