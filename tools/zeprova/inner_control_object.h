// InnerControlObject: an inner control of a hosted control seen through IDispatch, as
// late-bound code sees a control it is handed (Text, SelStart, SelLength), so that a
// script can pass one where a routine takes an object ("util Evidenzia K1.Text1").
// A control that is not a text box has none of the three: they fail with error 438.
#pragma once

#include "frame/automation/variant.h"
#include "frame/ui/control.h"

namespace zeprova {

// A Variant holding the object; it refers to `control`, which must outlive it.
ze::Variant InnerControlObject(ze::ui::Control& control);

}  // namespace zeprova
