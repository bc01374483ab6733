// Showing the calendar beside its control: modeless with the control as owner, modal
// when a modeless window cannot show (a modal window of the host is open).
//
// When the modal show fails as well, the calendar cannot open: the form is unloaded,
// so that no hidden calendar with a running timer stays behind, and the modal show's
// error goes on to the caller, as a failing Form_Load does. The control keeps its
// value; nothing was picked.
#pragma once

#include "frame/ui/form.h"

namespace zekalendo {

void MostraPopup(ze::ui::Form& f, ze::ui::Control& owner);

}  // namespace zekalendo
