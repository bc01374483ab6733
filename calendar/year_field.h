// The calendar's year field: the one place that names its type.
//
// The form reaches the field only through ZEInputNumerico's own members (valore,
// Massimo, IncrementaValore, DecrementaValore, the CambioValore event through its site,
// the inner text box txtnumero and its LostFocus), so the type below can change
// without the form noticing.
#pragma once

#include "calendar/year_field_standin.h"

namespace zekalendo {

using CampoAnno = AnnoProvvisorio;

}  // namespace zekalendo
