// Widgets of the model's controls and the push of their state (see control_widgets.h).
#include "frame/qt/control_widgets.h"

#include <QtCore/QSignalBlocker>
#include <QtGui/QIcon>
#include <QtGui/QPainter>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWidget>
#include <limits>

#include "frame/qt/accessible_name.h"
#include "frame/qt/appearance.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control.h"
#include "frame/ui/form.h"
#include "frame/ui/image.h"
#include "frame/ui/label.h"
#include "frame/ui/screen.h"
#include "frame/ui/text_box.h"
#include "frame/ui/timer.h"
#include "frame/ui/user_control.h"

namespace ze::qt {

namespace {

using ze::ui::Control;

// A form's window: it draws the form's painting (its fills, in order) before Qt draws
// the children over it.
class FormWindow final : public QWidget {
 public:
  using QWidget::QWidget;
  void SetPainting(const std::vector<ze::ui::FilledRect>& painting) {
    painting_ = painting;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (painting_.empty()) return;
    QPainter painter(this);
    for (const ze::ui::FilledRect& fill : painting_) {
      const ze::ui::PixelRect& r = fill.rect;
      painter.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                       QColor(fill.color & 0xFF, (fill.color >> 8) & 0xFF, (fill.color >> 16) & 0xFF));
    }
  }

 private:
  std::vector<ze::ui::FilledRect> painting_;
};

Qt::WindowStates WindowStateOf(std::int16_t state) {
  switch (state) {
    case 1: return Qt::WindowMinimized;
    case 2: return Qt::WindowMaximized;
    default: return Qt::WindowNoState;
  }
}

// Qt's parent owns every widget it creates here; the view deletes the windows (and so
// everything in them) with deleteLater.
template <class W>
W* NewWidget(QWidget* parent, Qt::WindowFlags flags = {}) {
  W* widget = new W(parent);  // owned by parent (or by the view for a window)
  if (flags) widget->setWindowFlags(flags);
  widget->setFocusPolicy(Qt::NoFocus);
  widget->setAcceptDrops(false);
  widget->setContextMenuPolicy(Qt::NoContextMenu);
  widget->setMouseTracking(true);  // the model's pointer follows the mouse
  return widget;
}

Qt::WindowFlags WindowFlagsOf(std::int16_t borderStyle) {
  constexpr Qt::WindowFlags kFixedFrame = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  switch (borderStyle) {
    case 0:
      return Qt::Window | Qt::FramelessWindowHint;
    case 1:
      return Qt::Window | kFixedFrame | Qt::WindowMinimizeButtonHint;
    case 3:
      return Qt::Dialog | kFixedFrame;
    case 4:
      return Qt::Tool | kFixedFrame;
    case 5:
      return Qt::Tool;
    default:
      return Qt::Window;
  }
}

// A window's client size in pixels: at least one pixel, and at most twice the screen
// each way. A window system does not make windows much larger than its screen, and a
// window of a designed size gone wild would otherwise ask for a backing store of
// gigabytes.
QSize WindowSize(int width, int height) {
  const int maxWidth = 2 * std::max(ze::ui::Screen::WidthPixels(), 640);
  const int maxHeight = 2 * std::max(ze::ui::Screen::HeightPixels(), 480);
  return QSize(std::clamp(width, 1, maxWidth), std::clamp(height, 1, maxHeight));
}

bool IsFixedFrame(std::int16_t borderStyle) {
  return borderStyle == 1 || borderStyle == 3 || borderStyle == 4;
}

// Qt treats "[*]" in a window title as the modified-document mark; a caption shows as
// written.
QString WindowTitleOf(const ze::String& caption) {
  QString title = ToQString(caption);
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  return title;
}

// Tooltips that look like markup would be rendered as rich text; show them as written.
QString PlainToolTip(const ze::String& tip) {
  const QString text = ToQString(tip);
  if (!Qt::mightBeRichText(text)) return text;
  return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

// Sets a colour for the active and inactive states; the disabled state keeps the
// theme's greyed colours, as disabled controls show.
void SetColor(QPalette& palette, QPalette::ColorRole role, const QColor& color) {
  palette.setColor(QPalette::Active, role, color);
  palette.setColor(QPalette::Inactive, role, color);
}

void PushColors(Kind kind, QWidget& widget, std::uint32_t back, std::uint32_t fore, bool opaque) {
  const QPalette& system = QApplication::palette();
  const QColor backColor = ColorOf(back, system);
  const QColor foreColor = ColorOf(fore, system);
  QPalette::ColorRole backRole = QPalette::Window, foreRole = QPalette::WindowText;
  switch (kind) {
    case Kind::TextBox:
      backRole = QPalette::Base, foreRole = QPalette::Text;
      break;
    case Kind::CommandButton:
      backRole = QPalette::Button, foreRole = QPalette::ButtonText;
      break;
    case Kind::ComboBox:
      backRole = QPalette::Button, foreRole = QPalette::ButtonText;
      break;
    default:
      break;
  }
  if (widget.autoFillBackground() != opaque) widget.setAutoFillBackground(opaque);
  // Most controls keep the system colours their widget has already: nothing to do.
  const QPalette& current = widget.palette();
  auto same = [&](QPalette::ColorRole role, const QColor& color) {
    return current.color(QPalette::Active, role) == color &&
           current.color(QPalette::Inactive, role) == color;
  };
  if (same(backRole, backColor) && same(foreRole, foreColor) &&
      (kind != Kind::ComboBox ||
       (same(QPalette::Base, backColor) && same(QPalette::Text, foreColor))))
    return;
  QPalette palette = QApplication::palette(&widget);
  SetColor(palette, backRole, backColor);
  SetColor(palette, foreRole, foreColor);
  if (kind == Kind::ComboBox) {
    SetColor(palette, QPalette::Base, backColor);
    SetColor(palette, QPalette::Text, foreColor);
  }
  widget.setPalette(palette);
}

// Whether the model's place (twips) or the screen's resolution changed since the last
// push; remembers the new ones. A fresh widget always takes its place.
bool PlaceChanged(float left, float top, float width, float height, Pushed& pushed,
                  const AppearanceCache& cache) {
  const float now[4] = {left, top, width, height};
  bool same = !pushed.fresh && pushed.twipsPerPixel[0] == cache.twipsPerPixelX &&
              pushed.twipsPerPixel[1] == cache.twipsPerPixelY;
  for (int i = 0; same && i < 4; ++i) same = pushed.twips[i] == now[i];
  if (same) return false;
  for (int i = 0; i < 4; ++i) pushed.twips[i] = now[i];
  pushed.twipsPerPixel[0] = cache.twipsPerPixelX;
  pushed.twipsPerPixel[1] = cache.twipsPerPixelY;
  return true;
}

void UpdateTextBox(const ze::ui::TextBox& box, QLineEdit& edit, Pushed& pushed) {
  bool selectionStale = pushed.fresh;
  if (pushed.fresh || pushed.text != box.Text()) {
    pushed.text = box.Text();
    edit.setText(ToQString(pushed.text));
    selectionStale = true;  // setText moved Qt's cursor to the end
  }
  const std::int32_t caret = box.Caret();
  const std::int32_t anchor =
      caret == box.SelStart() ? box.SelStart() + box.SelLength() : box.SelStart();
  if (selectionStale || pushed.anchor != anchor || pushed.caret != caret) {
    pushed.anchor = anchor;
    pushed.caret = caret;
    if (anchor == caret)
      edit.setCursorPosition(caret);
    else
      edit.setSelection(anchor, caret - anchor);  // a negative length leaves Qt's cursor at caret
  }
  if (pushed.fresh || pushed.locked != box.Locked()) {
    pushed.locked = box.Locked();
    edit.setReadOnly(pushed.locked);
  }
}

void UpdateLabel(const ze::ui::Label& label, QLabel& view, Pushed& pushed) {
  if (pushed.fresh || pushed.caption != label.Caption()) {
    pushed.caption = label.Caption();
    view.setText(WithoutAccessKeys(ToQString(pushed.caption)));
  }
  if (pushed.fresh || pushed.alignment != label.Alignment()) {
    pushed.alignment = label.Alignment();
    const Qt::Alignment horizontal = pushed.alignment == 1   ? Qt::AlignRight
                                     : pushed.alignment == 2 ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
    view.setAlignment(horizontal | Qt::AlignTop);
  }
  if (pushed.fresh || pushed.borderStyle != label.BorderStyle()) {
    pushed.borderStyle = label.BorderStyle();
    view.setFrameStyle(pushed.borderStyle == 1 ? (QFrame::Panel | QFrame::Sunken)
                                               : QFrame::NoFrame);
  }
}

void UpdateButton(const ze::ui::CommandButton& button, QPushButton& view, Pushed& pushed,
                  AppearanceCache& cache) {
  if (pushed.fresh || pushed.caption != button.Caption()) {
    pushed.caption = button.Caption();
    view.setText(ToQString(pushed.caption));  // "&" marks the access key, as in the model
  }
  auto picture = button.GetPicture();
  if (pushed.fresh || pushed.picture != picture) {
    pushed.picture = picture;
    const QPixmap pixmap = picture ? cache.Pixmap(*picture) : QPixmap();
    view.setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    if (!pixmap.isNull()) view.setIconSize(pixmap.size());
  }
}

void UpdateImage(const ze::ui::Image& image, QLabel& view, Pushed& pushed, AppearanceCache& cache) {
  auto picture = image.GetPicture();
  if (pushed.fresh || pushed.picture != picture) {
    pushed.picture = picture;
    const QPixmap pixmap = picture ? cache.Pixmap(*picture, BitmapWhite::Opaque) : QPixmap();
    if (pixmap.isNull())
      view.clear();
    else
      view.setPixmap(pixmap);
  }
  if (pushed.fresh || pushed.stretch != image.Stretch()) {
    pushed.stretch = image.Stretch();
    view.setScaledContents(pushed.stretch);
  }
}

void UpdateComboBox(const ze::ui::ComboBox& list, QComboBox& view, Pushed& pushed) {
  const std::int32_t count = list.ListCount();
  bool same = !pushed.fresh && static_cast<std::int32_t>(pushed.items.size()) == count;
  for (std::int32_t i = 0; same && i < count; ++i)
    same = pushed.items[static_cast<std::size_t>(i)] == list.List(i);
  const QSignalBlocker quiet(&view);  // the view's own signals are not the user's choice
  if (!same) {
    pushed.items.clear();
    QStringList entries;
    for (std::int32_t i = 0; i < count; ++i) {
      pushed.items.push_back(list.List(i));
      entries.append(ToQString(pushed.items.back()));
    }
    view.clear();
    view.addItems(entries);
    pushed.listIndex = -2;  // clear() reset Qt's index
  }
  if (pushed.listIndex != list.ListIndex() || view.currentIndex() != list.ListIndex()) {
    pushed.listIndex = list.ListIndex();
    view.setCurrentIndex(pushed.listIndex);
  }
}

// A form embedded in a host's widget: a plain child at the host's top-left corner, at
// the form's size; caption, icon, frame, position and modality belong to windows.
void UpdateEmbeddedForm(ze::ui::Form& form, QWidget& widget, Pushed& pushed,
                        AppearanceCache& cache) {
  if (pushed.fresh && widget.isWindow()) widget.setWindowFlags(Qt::Widget);
  PlaceChanged(form.Left(), form.Top(), form.ScaleWidth(), form.ScaleHeight(), pushed, cache);
  const QSize client(std::max(PixelsX(pushed.twips[2]), 1), std::max(PixelsY(pushed.twips[3]), 1));
  if (pushed.fresh || pushed.clientSize != client) {
    pushed.clientSize = client;
    widget.resize(client);
  }
  if (pushed.fresh) widget.move(0, 0);
}

void UpdateForm(ze::ui::Form& form, QWidget& window, Pushed& pushed, AppearanceCache& cache) {
  if (pushed.embedded) return UpdateEmbeddedForm(form, window, pushed, cache);
  if (pushed.fresh || pushed.caption != form.Caption()) {
    pushed.caption = form.Caption();
    window.setWindowTitle(WindowTitleOf(pushed.caption));
  }
  auto icon = form.Icon();
  if (pushed.fresh || pushed.picture != icon) {
    pushed.picture = icon;
    const QPixmap pixmap = icon ? cache.Pixmap(*icon) : QPixmap();
    window.setWindowIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
  }
  const std::int16_t borderStyle = form.BorderStyle();
  const bool topMost = form.TopMost();
  const bool moved =
      PlaceChanged(form.Left(), form.Top(), form.ScaleWidth(), form.ScaleHeight(), pushed, cache);
  if (pushed.fresh || pushed.borderStyle != borderStyle || pushed.topMost != topMost) {
    const bool wasVisible = window.isVisible();
    pushed.borderStyle = borderStyle;
    pushed.topMost = topMost;
    Qt::WindowFlags flags = WindowFlagsOf(borderStyle);
    if (topMost) flags |= Qt::WindowStaysOnTopHint;
    window.setWindowFlags(flags);
    pushed.clientSize = QSize();  // the size constraints follow the frame
    if (wasVisible) window.show();
  }
  const QSize client = moved || !pushed.clientSize.isValid()
                           ? WindowSize(PixelsX(pushed.twips[2]), PixelsY(pushed.twips[3]))
                           : pushed.clientSize;
  if (pushed.clientSize != client) {
    pushed.clientSize = client;
    if (IsFixedFrame(borderStyle)) {
      window.setFixedSize(client);
    } else {
      window.setMinimumSize(0, 0);
      window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      window.resize(client);
    }
  }
  const QPoint position =
      moved ? QPoint(PixelsX(pushed.twips[0]), PixelsY(pushed.twips[1])) : pushed.position;
  if (pushed.fresh || pushed.position != position) {
    pushed.position = position;
    window.move(position);
  }
  if (pushed.fresh || pushed.windowState != form.WindowState()) {
    pushed.windowState = form.WindowState();
    window.setWindowState(WindowStateOf(pushed.windowState));
  }
  if (pushed.painting != form.Painting()) {
    pushed.painting = form.Painting();
    if (auto* painted = dynamic_cast<FormWindow*>(&window)) painted->SetPainting(pushed.painting);
  }
  // Modality applies when the window is shown; the view shows it after this update.
  if (!window.isVisible())
    window.setWindowModality(form.IsModal() ? Qt::ApplicationModal : Qt::NonModal);
}

// ---- the built-in kinds' widgets and their own state ----------------------------------

QWidget* NewWindow(QWidget* parent) {
  QWidget* window = NewWidget<FormWindow>(parent, Qt::Window);
  // The view activates the window the model makes active, and only that one.
  window->setAttribute(Qt::WA_ShowWithoutActivating);
  return window;
}

QWidget* NewLineEdit(QWidget* parent) {
  auto* edit = NewWidget<QLineEdit>(parent);
  edit->setMaxLength(std::numeric_limits<int>::max());
  edit->setDragEnabled(false);
  edit->setClearButtonEnabled(false);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  return edit;
}

QWidget* NewCaption(QWidget* parent) {
  auto* label = NewWidget<QLabel>(parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  return label;
}

QWidget* NewPushButton(QWidget* parent) {
  auto* button = NewWidget<QPushButton>(parent);
  button->setAutoDefault(false);
  return button;
}

QWidget* NewDropDownList(QWidget* parent) {
  auto* list = NewWidget<QComboBox>(parent);
  list->setEditable(false);
  return list;
}

QWidget* NewPictureBox(QWidget* parent) {
  auto* image = NewWidget<QLabel>(parent);
  image->setTextInteractionFlags(Qt::NoTextInteraction);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return image;
}

QWidget* NewPlainWidget(QWidget* parent) {
  return NewWidget<QWidget>(parent);
}

void PushForm(Control& c, QWidget& w, Pushed& p, AppearanceCache& cache) {
  UpdateForm(static_cast<ze::ui::Form&>(c), w, p, cache);
}
void PushTextBox(Control& c, QWidget& w, Pushed& p, AppearanceCache&) {
  UpdateTextBox(static_cast<ze::ui::TextBox&>(c), static_cast<QLineEdit&>(w), p);
}
void PushLabel(Control& c, QWidget& w, Pushed& p, AppearanceCache&) {
  UpdateLabel(static_cast<ze::ui::Label&>(c), static_cast<QLabel&>(w), p);
}
void PushButton(Control& c, QWidget& w, Pushed& p, AppearanceCache& cache) {
  UpdateButton(static_cast<ze::ui::CommandButton&>(c), static_cast<QPushButton&>(w), p, cache);
}
void PushComboBox(Control& c, QWidget& w, Pushed& p, AppearanceCache&) {
  UpdateComboBox(static_cast<ze::ui::ComboBox&>(c), static_cast<QComboBox&>(w), p);
}
void PushImage(Control& c, QWidget& w, Pushed& p, AppearanceCache& cache) {
  UpdateImage(static_cast<ze::ui::Image&>(c), static_cast<QLabel&>(w), p, cache);
}

bool LabelOpaque(const Control& c) {
  return static_cast<const ze::ui::Label&>(c).BackStyle() == 1;
}
// Plain containers of unknown kind and images paint no background of their own.
bool NeverOpaque(const Control&) {
  return false;
}

}  // namespace

std::vector<std::pair<const std::type_info*, WidgetFactory>> BuiltInWidgetFactories() {
  using namespace ze::ui;
  return {
      {&typeid(Form), {Kind::Form, NewWindow, PushForm, nullptr, true}},
      {&typeid(TextBox), {Kind::TextBox, NewLineEdit, PushTextBox}},
      {&typeid(Label), {Kind::Label, NewCaption, PushLabel, LabelOpaque}},
      {&typeid(CommandButton), {Kind::CommandButton, NewPushButton, PushButton}},
      {&typeid(ComboBox), {Kind::ComboBox, NewDropDownList, PushComboBox}},
      {&typeid(Image), {Kind::Image, NewPictureBox, PushImage, NeverOpaque}},
      {&typeid(Timer), {Kind::Timer}},
      {&typeid(UserControl), {Kind::UserControl, NewPlainWidget, nullptr, nullptr, true}},
      {&typeid(Control), {Kind::Other, NewPlainWidget, nullptr, NeverOpaque, true}},
  };
}

QString WithoutAccessKeys(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') out.append(u'&');
      ++i;
      if (i < caption.size() && caption[i] != u'&') out.append(caption[i]);
      continue;
    }
    out.append(caption[i]);
  }
  return out;
}

void UpdateWidget(const WidgetFactory& factory, Control& control, QWidget& widget,
                  Pushed& pushed, AppearanceCache& cache) {
  const Kind kind = factory.kind;
  bool reflow = pushed.fresh;  // a label's room for its caption may have changed
  // Geometry of a control inside its container; a form places its own window.
  if (kind != Kind::Form && PlaceChanged(control.Left(), control.Top(), control.Width(),
                                         control.Height(), pushed, cache)) {
    const QRect geometry(PixelsX(pushed.twips[0]), PixelsY(pushed.twips[1]),
                         std::max(PixelsX(pushed.twips[2]), 0),
                         std::max(PixelsY(pushed.twips[3]), 0));
    if (pushed.fresh || pushed.geometry != geometry) {
      pushed.geometry = geometry;
      widget.setGeometry(geometry);
      reflow = true;
    }
  }
  if (pushed.fresh || pushed.enabled != control.EnabledFlag()) {
    pushed.enabled = control.EnabledFlag();
    // The widget's own setting (a container's state disables it anyway).
    if (widget.testAttribute(Qt::WA_ForceDisabled) == pushed.enabled)
      widget.setEnabled(pushed.enabled);
  }

  // The kind's own state first: a label's BackStyle decides whether its colour paints.
  if (factory.update) factory.update(control, widget, pushed, cache);

  const std::int16_t backStyle = !factory.opaque || factory.opaque(control) ? 1 : 0;
  if (pushed.fresh || pushed.backColor != control.BackColor() ||
      pushed.foreColor != control.ForeColor() || pushed.backStyle != backStyle) {
    pushed.backColor = control.BackColor();
    pushed.foreColor = control.ForeColor();
    pushed.backStyle = backStyle;
    PushColors(kind, widget, pushed.backColor, pushed.foreColor, backStyle == 1);
  }
  const auto font = control.GetFont();
  if (font && (pushed.fresh || !pushed.font || !(*pushed.font == *font))) {
    pushed.font = *font;
    const QFont& qfont = cache.FontFor(*font);
    if (!(widget.font() == qfont)) widget.setFont(qfont);
    reflow = true;
  }
  if (kind == Kind::Label && reflow) {
    // A caption wraps at word breaks when the label has room for a second line. A
    // one-line label keeps its caption on its line: the face that stands in for the
    // designed one may be wider, and a wrapped second line would not show at all.
    auto& label = static_cast<QLabel&>(widget);
    const bool wrap = widget.height() >= 2 * widget.fontMetrics().lineSpacing();
    if (label.wordWrap() != wrap) label.setWordWrap(wrap);
  }
  if (pushed.toolTip != control.ToolTipText()) {
    pushed.toolTip = control.ToolTipText();
    widget.setToolTip(PlainToolTip(pushed.toolTip));
  }
  // Labels move and change caption rarely; the name is found again at every push so
  // that it never goes stale, and Qt is told only when it changed.
  if (kind != Kind::Form) {
    const QString accessible = ToQString(AccessibleNameOf(control));
    if (widget.accessibleName() != accessible) widget.setAccessibleName(accessible);
  }
  const auto icon = control.MouseIcon();
  // A new widget has its own pointer already: only a set one needs pushing.
  if ((pushed.fresh && (control.MousePointer() != 0 || icon)) ||
      (!pushed.fresh &&
       (pushed.mousePointer != control.MousePointer() || pushed.mouseIcon != icon))) {
    pushed.mousePointer = control.MousePointer();
    pushed.mouseIcon = icon;
    if (auto cursor = CursorOf(pushed.mousePointer, icon.get()))
      widget.setCursor(*cursor);
    else
      widget.unsetCursor();
  }
  // A form's window is shown by the view once its controls are in place.
  if (kind != Kind::Form && (pushed.fresh || pushed.visible != control.VisibleFlag())) {
    pushed.visible = control.VisibleFlag();
    widget.setVisible(pushed.visible);
  }
  pushed.fresh = false;
}

}  // namespace ze::qt
