// The Qt widgets of the built-in kinds of model control (registered as their factories,
// widget_factory.h), and pushing a control's state into its widget.
//
//   Form          top-level QWidget window (caption, client size up to twice the
//                 screen's, position, icon, frame by BorderStyle, staying on top when
//                 TopMost, minimised or maximised by WindowState, application-modal
//                 when shown modal) that paints the form's painting under its children;
//                 an embedded form is a frameless child widget of its host's at the
//                 host's corner, at the form's size
//   TextBox       QLineEdit (text, selection and caret, read-only when Locked)
//   Label         QLabel (plain-text caption, alignment, border, opaque or not; the
//                 caption wraps when the label has room for two lines)
//   CommandButton QPushButton (caption with its & access key, picture as icon)
//   ComboBox      QComboBox (the list and the chosen entry)
//   Image         QLabel showing the picture as drawn, from its top-left corner or
//                 scaled to the control with Stretch; never filling a background
//   UserControl   a plain QWidget that holds its children's widgets
//   Timer         no widget
//   anything else a plain QWidget at its place (its children still show)
//
// Every widget gets the control's geometry, visibility, enabled state, colours, font,
// tooltip, mouse pointer and accessible name (accessible_name.h). Pushed remembers
// what was last given to the widget, so an update compares model values and calls Qt only for what
// changed; a fresh Pushed pushes everything.
//
// No widget takes the focus or edits itself: the focus policy is NoFocus everywhere
// (the view sets Qt's focus from the model), drops and context menus are off, and a
// line edit has no length limit of its own (the model's MaxLength limits typing, and
// a longer text from code shows whole).
#pragma once

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QSize>
#include <QtCore/QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <typeinfo>
#include <utility>
#include <vector>

#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"
#include "frame/qt/widget_factory.h"
#include "frame/ui/painting.h"

class QWidget;

namespace ze::ui {
class Control;
}

namespace ze::qt {

// What a widget was last given.
struct Pushed {
  bool fresh = true;
  // Every kind. The geometry as the model gave it (twips, at a screen resolution), so
  // that an unchanged place costs no conversion.
  float twips[4] = {-1, -1, -1, -1};
  float twipsPerPixel[2] = {0, 0};
  QRect geometry;
  bool visible = false;
  bool enabled = false;
  std::uint32_t backColor = 0;
  std::uint32_t foreColor = 0;
  std::optional<ze::container::Font> font;
  ze::String toolTip;
  std::int16_t mousePointer = 0;
  std::shared_ptr<ze::container::Picture> mouseIcon;
  // Text box.
  ze::String text;
  std::int32_t anchor = 0;
  std::int32_t caret = 0;
  bool locked = false;
  // Label, button, form caption.
  ze::String caption;
  std::int16_t alignment = 0;
  std::int16_t borderStyle = 0;
  std::int16_t backStyle = 0;
  std::shared_ptr<ze::container::Picture> picture;  // button or image picture, form icon
  bool stretch = false;                             // image
  // Drop-down list.
  std::vector<ze::String> items;
  std::int32_t listIndex = -1;
  // Form. Embedded: a child of a host's widget rather than a window (qt_backend.h).
  bool embedded = false;
  QPoint position;
  QSize clientSize;
  std::int16_t windowState = 0;
  bool topMost = false;
  std::vector<ze::ui::FilledRect> painting;
};

// The factories of the built-in kinds, each with its model class (Control itself: the
// plain widget of a kind nobody registered).
std::vector<std::pair<const std::type_info*, WidgetFactory>> BuiltInWidgetFactories();

class AppearanceCache;

// Pushes the control's state into its widget (see above), the kind's own through its
// factory; cache keeps the pictures and fonts already converted.
void UpdateWidget(const WidgetFactory& factory, ze::ui::Control& control, QWidget& widget,
                  Pushed& pushed, AppearanceCache& cache);

// A caption's text without its access-key ampersands ("&&" stays one "&").
QString WithoutAccessKeys(const QString& caption);

}  // namespace ze::qt
