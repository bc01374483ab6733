// Laying out Kalendo's field and popup button, on every repaint.
//
// The control draws nothing itself: the field and the button cover its surface. Every
// step runs even when an earlier one failed; when the control is narrower than the
// button plus the gap, the field keeps its width and the button is still placed.
#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

namespace {
constexpr float kGap = 20;  // twips between field and button

// Runs one layout step; a failing step is skipped and the next one runs.
template <class Step>
void Guarded(Step&& step) {
  try {
    step();
  } catch (const ze::AutomationError&) {
  }
}
}  // namespace

void Kalendo::UserControl_Paint() {
  if (popSelezione_) {
    Guarded([&] { cmdpop.SetHeight(ScaleHeight()); });
    Guarded([&] { cmdpop.SetWidth(cmdpop.Height()); });
    Guarded([&] { Text1.SetTop(0); });
    Guarded([&] { Text1.SetLeft(0); });
    Guarded([&] { Text1.SetWidth(ScaleWidth() - cmdpop.Width() - kGap); });
    Guarded([&] { Text1.SetHeight(ScaleHeight()); });
    Guarded([&] { cmdpop.SetLeft(Text1.Left() + Text1.Width() + kGap); });
    Guarded([&] { cmdpop.SetVisible(true); });
  } else {
    Guarded([&] { Text1.SetTop(0); });
    Guarded([&] { Text1.SetLeft(0); });
    Guarded([&] { Text1.SetWidth(ScaleWidth()); });
    Guarded([&] { Text1.SetHeight(ScaleHeight()); });
    Guarded([&] { cmdpop.SetVisible(false); });
  }
  // The host's tooltip shows over the field; a container without one leaves it.
  Guarded([&] {
    if (auto tip = ExtenderProperty(u"ToolTipText")) Text1.SetToolTipText(ze::CStr(*tip));
  });
}

}  // namespace zekalendo
