// The name a screen reader gives a control's widget, from the model alone.
//
//   Label                  the name it was given (a calendar cell's whole date), else
//                          its caption without the "&" of the access key
//   CommandButton          its caption, without the "&" of the access key
//   TextBox, ComboBox      the caption of the label that designs them: the nearest label
//                          on the same row to their left, else the nearest one just above
//                          (provix2's "Data Iniziale:" names the field beside it). A
//                          field inside a user control (Kalendo's Text1) takes the user
//                          control's label when its own container has none.
//   Image                  its tooltip, else its name: a description of what it shows
//   anything else          its tooltip, else ""
// A control without a caption or a label falls back to its tooltip.
#pragma once

#include "frame/automation/string.h"

namespace ze::ui {
class Control;
}

namespace ze::qt {

ze::String AccessibleNameOf(const ze::ui::Control& control);

}  // namespace ze::qt
