// The Qt widget of each kind of model control, chosen by the kind's registered factory.
//
// A kind of control (its model class, as Control::ViewType names it) registers one
// WidgetFactory: the family of Qt widget it makes (which tells the input router how to
// treat it), how to make the widget, and how to push the kind's own state into it. The
// state every control has (place, visibility, enabled, colours, font, tooltip, pointer)
// is pushed for every kind by control_widgets.h. The built-in kinds are registered
// from the start; a new kind registers its factory once, before its first control
// shows, and neither the view nor the router changes.
//
// A control whose kind has no factory shows as a plain QWidget at its place (the one
// registered for Control itself), so its children still show.
#pragma once

#include <cstdint>
#include <typeinfo>

class QWidget;

namespace ze::ui {
class Control;
}

namespace ze::qt {

struct Pushed;
class AppearanceCache;

// The families of widget, as far as input and colours treat them differently.
enum class Kind { Form, TextBox, Label, CommandButton, ComboBox, Image, Timer, UserControl, Other };

struct WidgetFactory {
  Kind kind = Kind::Other;
  // Makes the widget under parent (a form's: the owner form's window or null); null
  // for a kind that shows no widget (a timer).
  QWidget* (*create)(QWidget* parent) = nullptr;
  // Pushes the kind's own state; compares with pushed and calls Qt only for what
  // differs. Null when the kind has no state of its own.
  void (*update)(ze::ui::Control& control, QWidget& widget, Pushed& pushed,
                 AppearanceCache& cache) = nullptr;
  // Whether the control paints its background now (a label's BackStyle); null: the
  // kind always does.
  bool (*opaque)(const ze::ui::Control& control) = nullptr;
  // Whether the view walks into the control's children (a container's).
  bool container = false;
};

// Registers (or replaces) the factory of a kind of control.
void RegisterWidgetFactory(const std::type_info& modelType, const WidgetFactory& factory);
// The factory for a control, by its ViewType; the plain-widget one when none is
// registered.
const WidgetFactory& WidgetFactoryFor(const ze::ui::Control& control);

}  // namespace ze::qt
