// Laying out Kalendo's field and popup button, on every repaint.
//
// The control draws nothing itself: the field and the button cover its surface. Every
// step runs even when an earlier one failed; when the control is narrower than the
// button plus the gap, the field keeps its width and the button is still placed.
#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/automation/ignore_errors.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

namespace {
constexpr float kGap = 20;  // twips between field and button
}  // namespace

void Kalendo::UserControl_Paint() {
  if (popSelezione_) {
    ze::IgnoringErrors([&] { cmdpop.SetHeight(ScaleHeight()); });
    ze::IgnoringErrors([&] { cmdpop.SetWidth(cmdpop.Height()); });
    ze::IgnoringErrors([&] { Text1.SetTop(0); });
    ze::IgnoringErrors([&] { Text1.SetLeft(0); });
    ze::IgnoringErrors([&] { Text1.SetWidth(ScaleWidth() - cmdpop.Width() - kGap); });
    ze::IgnoringErrors([&] { Text1.SetHeight(ScaleHeight()); });
    ze::IgnoringErrors([&] { cmdpop.SetLeft(Text1.Left() + Text1.Width() + kGap); });
    ze::IgnoringErrors([&] { cmdpop.SetVisible(true); });
  } else {
    ze::IgnoringErrors([&] { Text1.SetTop(0); });
    ze::IgnoringErrors([&] { Text1.SetLeft(0); });
    ze::IgnoringErrors([&] { Text1.SetWidth(ScaleWidth()); });
    ze::IgnoringErrors([&] { Text1.SetHeight(ScaleHeight()); });
    ze::IgnoringErrors([&] { cmdpop.SetVisible(false); });
  }
  // The host's tooltip shows over the field; a container without one leaves it.
  ze::IgnoringErrors([&] {
    if (auto tip = ExtenderProperty(u"ToolTipText")) Text1.SetToolTipText(ze::CStr(*tip));
  });
}

}  // namespace zekalendo
