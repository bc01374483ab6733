// Form descriptions: a form and its controls as a host keeps them in a text file.
//
//   Begin Form Form1                 a block: Begin KIND NAME ... End
//     Caption = "Provix N° 2"        a setting: NAME = VALUE, VALUE a literal
//     Begin Label Label1(0)          an element of a control array: NAME(INDEX)
//       Caption = "Data Iniziale:"
//     End
//     Begin zeKalendo.Kalendo Kalendo1     a control created by its ProgID
//       Left = 1680
//     End
//   End
//
// Blank lines and lines starting with "#" are ignored. Settings keep their order, the
// order in which a control saved them. A file that cannot be read gives automation
// error 321 naming the line, and nothing half-read.
#pragma once

#include <string>
#include <vector>

#include "frame/automation/string.h"
#include "frame/container/property_bag.h"

namespace provix2 {

struct ControlDescription {
  ze::String kind;  // "Form", "Label", "CommandButton", "Data", or a ProgID
  ze::String name;
  int index = -1;   // the element of a control array; -1 when not in one
  ze::container::PropertyBag settings;
  std::vector<ControlDescription> children;
  int line = 0;  // where the block starts, for messages
};

// Parses the text of a description: one Form block.
ControlDescription ParseFormDescription(std::u16string_view text);
// Reads and parses a description file.
ControlDescription LoadFormDescription(const std::string& path);

}  // namespace provix2
