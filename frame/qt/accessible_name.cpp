// Accessible names from the model (see accessible_name.h).
#include "frame/qt/accessible_name.h"

#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control.h"
#include "frame/ui/image.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"

namespace ze::qt {
namespace {

using ze::ui::Control;

ze::String WithoutAccessKey(const ze::String& caption) {
  ze::String out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;  // "&&" shows one "&"
    out += caption[i];
  }
  return out;
}

// The caption of the label that designs `control` among its siblings, or "".
ze::String DesigningLabel(const Control& control) {
  const Control* container = control.Container();
  if (!container) return {};
  const float top = control.Top(), bottom = top + control.Height();
  const float left = control.Left(), right = left + control.Width();
  const ze::ui::Label* beside = nullptr;
  const ze::ui::Label* above = nullptr;
  for (const Control* sibling : container->Children()) {
    const auto* label = dynamic_cast<const ze::ui::Label*>(sibling);
    if (!label || !label->Visible() || label->Caption().empty()) continue;
    const float lTop = label->Top(), lBottom = lTop + label->Height();
    const float lLeft = label->Left(), lRight = lLeft + label->Width();
    const bool sameRow = lTop < bottom && lBottom > top;
    const bool sameColumn = lLeft < right && lRight > left;
    if (sameRow && lLeft < left && (!beside || lLeft > beside->Left())) beside = label;
    if (!sameRow && sameColumn && lBottom <= top && (!above || lTop > above->Top())) above = label;
  }
  const ze::ui::Label* chosen = beside ? beside : above;
  return chosen ? WithoutAccessKey(chosen->Caption()) : ze::String();
}

ze::String FieldName(const Control& control) {
  ze::String name = DesigningLabel(control);
  for (const Control* outer = control.Container(); name.empty() && outer;
       outer = outer->Container()) {
    if (!dynamic_cast<const ze::ui::UserControl*>(outer)) break;
    name = DesigningLabel(*outer);
  }
  return name;
}

}  // namespace

ze::String AccessibleNameOf(const Control& control) {
  ze::String name;
  if (const auto* label = dynamic_cast<const ze::ui::Label*>(&control)) {
    name = label->AccessibleName().empty() ? WithoutAccessKey(label->Caption())
                                           : label->AccessibleName();
  } else if (const auto* button = dynamic_cast<const ze::ui::CommandButton*>(&control)) {
    name = WithoutAccessKey(button->Caption());
  } else if (dynamic_cast<const ze::ui::TextBox*>(&control) ||
             dynamic_cast<const ze::ui::ComboBox*>(&control) ||
             dynamic_cast<const ze::ui::UserControl*>(&control)) {
    name = FieldName(control);
  } else if (dynamic_cast<const ze::ui::Image*>(&control)) {
    name = control.ToolTipText().empty() ? control.Name() : control.ToolTipText();
  }
  return name.empty() ? control.ToolTipText() : name;
}

}  // namespace ze::qt
