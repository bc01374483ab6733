// Qt events to the model's input path (see input_router.h).
#include "frame/qt/input_router.h"

#include <QtGui/QInputMethodEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QResizeEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWidget>
#include <cmath>

#include "frame/qt/appearance.h"
#include "frame/qt/key_map.h"
#include "frame/qt/view.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/control.h"
#include "frame/ui/desktop.h"
#include "frame/ui/focus.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/text_box.h"

namespace ze::qt {

namespace {

using ze::ui::Control;
using ze::ui::Form;
namespace input = ze::ui::input;

bool IsKeyboardEvent(QEvent::Type type) {
  return type == QEvent::KeyPress || type == QEvent::KeyRelease ||
         type == QEvent::ShortcutOverride || type == QEvent::InputMethod ||
         type == QEvent::Shortcut;
}

// Tab or Shift+Tab, which move the focus.
bool IsTab(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
         !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool IsMouseEvent(QEvent::Type type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

// Events that would let a widget change itself (or pop up its own menu) and that the
// model has no part in.
bool IsSuppressed(QEvent::Type type) {
  return type == QEvent::Wheel || type == QEvent::ContextMenu || type == QEvent::DragEnter ||
         type == QEvent::DragMove || type == QEvent::Drop || type == QEvent::TouchBegin;
}

}  // namespace

void InputRouter::Held::Set(Control* c) {
  control = c;
  alive = c ? c->AliveToken() : std::weak_ptr<void>();
}

InputRouter::InputRouter(View& view) : view_(view) {}

void InputRouter::Watch(QWidget& widget, Kind kind) {
  widget.installEventFilter(this);
  if (kind == Kind::ComboBox) {
    auto* list = static_cast<QComboBox*>(&widget);
    QObject::connect(list, &QComboBox::activated, this, [this, list](int index) {
      Entry* entry = view_.EntryOf(list);
      if (!entry) return;
      auto* model = static_cast<ze::ui::ComboBox*>(entry->control);
      view_.Deliver([model, index] { input::Choose(*model, index); });
    });
  }
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool userInput = IsKeyboardEvent(type) || IsMouseEvent(type) || IsSuppressed(type);
  Entry* entry = view_.EntryOf(watched);
  if (!entry) {
    // A widget on its way out: it takes no input, and a close finds nothing to refuse.
    if (type == QEvent::Close) return false;
    return userInput;
  }
  switch (type) {
    case QEvent::ShortcutOverride: {
      auto& key = static_cast<QKeyEvent&>(*event);
      // Alt+letter may be a button's access key: Qt's shortcut map finds it. Every other
      // key is ours, whatever shortcut Qt would make of it.
      if ((key.modifiers() & Qt::AltModifier) && !(key.modifiers() & Qt::ControlModifier))
        return true;
      key.accept();
      return true;
    }
    case QEvent::KeyPress:
      event->accept();
      if (view_.Syncing()) return true;
      if (IsTab(static_cast<QKeyEvent&>(*event)) && view_.HostOf(entry->form)) {
        // Tab leaves an embedded form along its host's focus chain, as in any widget.
        view_.TabOut(*entry->form, static_cast<QKeyEvent&>(*event).key() == Qt::Key_Backtab);
        return true;
      }
      KeyPressed(static_cast<QKeyEvent&>(*event));
      return true;
    case QEvent::KeyRelease:
      event->accept();
      if (!view_.Syncing()) KeyReleased(static_cast<QKeyEvent&>(*event));
      return true;
    case QEvent::Shortcut:
      // The access key of a button's caption.
      if (entry->kind == Kind::CommandButton && !view_.Syncing()) {
        Control* button = entry->control;
        view_.Deliver([button] { input::Click(*button); });
      }
      return true;
    case QEvent::InputMethod: {
      const QString text = static_cast<QInputMethodEvent&>(*event).commitString();
      if (!text.isEmpty() && !view_.Syncing())
        view_.Deliver([&text] {
          for (QChar c : text) input::KeyPress(static_cast<std::int16_t>(c.unicode()));
        });
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return Mouse(*entry, static_cast<QMouseEvent&>(*event));
    case QEvent::Close:
      return CloseRequested(*entry, *event);
    case QEvent::WindowActivate:
      // An embedded form's widget hears of its host's window: the focus activates it.
      if (entry->kind == Kind::Form && !view_.Syncing() && !view_.HostOf(entry->form))
        WindowActivated(*entry);
      return false;
    case QEvent::FocusIn:
      if (view_.Syncing()) return false;
      if (view_.HostOf(entry->form)) {
        // Qt's focus came into an embedded form (the host's window coming back, or a
        // host's call): the model follows Qt here.
        FocusCameIn(*entry);
        return false;
      }
      // Qt moved its focus on its own (a window coming back): the model's focus wins.
      view_.MarkDirty();
      return false;
    case QEvent::Resize:
    case QEvent::Move:
      if (entry->kind == Kind::Form && event->spontaneous() && !view_.Syncing() &&
          !view_.HostOf(entry->form))
        WindowGeometry(*entry, *event);
      return false;
    default:
      return IsSuppressed(type);
  }
}

void InputRouter::FocusCameIn(Entry& entry) {
  Control* control = entry.control;
  if (ze::ui::Desktop::Active() == entry.form && ze::ui::FocusManager::Focused() == control) {
    view_.MarkDirty();
    return;
  }
  Form* form = entry.form;
  view_.Deliver([control, form] {
    if (!input::Focus(*control)) input::ActivateWindow(*form);
  });
}

// ---- keys -------------------------------------------------------------------------------------

void InputRouter::KeyPressed(const QKeyEvent& event) {
  const int key = event.key();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  std::int16_t shiftState = ShiftState(modifiers);
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
      !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
    if (key == Qt::Key_Backtab) shiftState |= ze::ui::shift::kShift;
    view_.Deliver([shiftState] { input::Key(ze::ui::keys::kTab, shiftState); });
    return;
  }
  const std::int16_t keyCode = VirtualKey(key, modifiers);
  const QString characters = KeyPressText(key, modifiers, event.text());
  // The characters follow the key to the control it went down in, even when its KeyDown
  // moved the focus; the input path keeps that order.
  view_.Deliver([&] {
    input::KeyDownWithCharacters(
        keyCode, shiftState,
        std::u16string_view(reinterpret_cast<const char16_t*>(characters.utf16()),
                            static_cast<std::size_t>(characters.size())));
  });
}

void InputRouter::KeyReleased(const QKeyEvent& event) {
  // Auto-repeat repeats the key going down, never its release.
  if (event.isAutoRepeat()) return;
  const int key = event.key();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
      !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
    return;  // Tab reaches no handler
  const std::int16_t keyCode = VirtualKey(key, modifiers);
  if (keyCode == 0) return;
  const std::int16_t shiftState = ShiftState(modifiers);
  // A release is the commonest key event and rarely has a listener. Without one the
  // model changes nothing the view shows, and the sync waits for Qt's loop to idle.
  if (!input::KeyTarget()) return;
  if (!input::KeyUpListened()) {
    input::KeyUp(keyCode, shiftState);  // no handler: nothing that can fail
    view_.MarkDirty();
    return;
  }
  view_.Deliver([keyCode, shiftState] { input::KeyUp(keyCode, shiftState); });
}

// ---- mouse ------------------------------------------------------------------------------------

bool InputRouter::Mouse(Entry& entry, QMouseEvent& event) {
  const QPoint global = event.globalPosition().toPoint();
  input::MovePointer(global.x(), global.y());
  if (view_.Syncing()) return true;
  Control* control = entry.control;
  QWidget* widget = entry.widget;
  const QPoint at = event.position().toPoint();
  const std::int16_t shiftState = ShiftState(event.modifiers());
  const QEvent::Type type = event.type();

  // A drop-down list: the model takes the focus, Qt shows the list to pick from.
  if (entry.kind == Kind::ComboBox) {
    if (type == QEvent::MouseButtonPress && event.button() == Qt::LeftButton) {
      view_.Deliver([control] { input::Focus(*control); });
      return !view_.EntryOf(widget);  // gone with its form: nothing to open
    }
    return type == QEvent::MouseButtonDblClick;
  }

  // The caret a click puts in a field, from the pointer's place in Qt's layout.
  auto caretAt = [&]() -> std::optional<std::int32_t> {
    if (entry.kind != Kind::TextBox) return std::nullopt;
    return static_cast<QLineEdit*>(widget)->cursorPositionAt(at);
  };

  switch (type) {
    case QEvent::MouseMove: {
      // Dragging in a focused field extends its selection.
      if (!(event.buttons() & Qt::LeftButton) || entry.kind != Kind::TextBox) return true;
      if (dragging_.Get() != control || !control->HasFocus()) return true;
      const std::int32_t caret = *caretAt();
      auto* box = static_cast<ze::ui::TextBox*>(control);
      if (box->Caret() != caret) view_.Deliver([box, caret] { box->PlaceCaret(caret, true); });
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (event.button() == Qt::RightButton) {
        if (type == QEvent::MouseButtonPress)
          view_.Deliver([control] { input::RightClick(*control); });
        return true;
      }
      if (event.button() != Qt::LeftButton) return true;
      if (entry.kind == Kind::CommandButton) {
        // A push button clicks when the button comes up over it; a double click is
        // two clicks.
        pressedButton_.Set(control);
        static_cast<QPushButton*>(widget)->setDown(true);
        return true;
      }
      if (type == QEvent::MouseButtonPress) {
        const auto caret = caretAt();
        dragging_.Set(control);
        view_.Deliver([control, caret] { input::Click(*control, caret); });
        return true;
      }
      // The second press of a double click: DblClick now, MouseUp on release.
      if (input::Reachable(*control)) {
        doubleClicked_.Set(control);
        view_.Deliver([control] { control->RaiseDblClick(); });
      }
      return true;
    case QEvent::MouseButtonRelease: {
      if (event.button() != Qt::LeftButton) return true;
      dragging_.Reset();
      if (entry.kind == Kind::CommandButton) {
        static_cast<QPushButton*>(widget)->setDown(false);
        const bool same = pressedButton_.Get() == control;
        pressedButton_.Reset();
        if (same && widget->rect().contains(at))
          view_.Deliver([control] { input::Click(*control); });
        return true;
      }
      if (doubleClicked_.Get() == control) {
        doubleClicked_.Reset();
        const float x = TwipsX(at.x()), y = TwipsY(at.y());
        if (input::Reachable(*control))
          view_.Deliver([control, shiftState, x, y] {
            control->RaiseMouseUp(ze::ui::buttons::kLeft, shiftState, x, y);
          });
      }
      return true;
    }
    default:
      return true;
  }
}

// ---- windows ----------------------------------------------------------------------------------

bool InputRouter::CloseRequested(Entry& entry, QEvent& event) {
  if (entry.kind != Kind::Form) return false;
  Form* form = entry.form;
  std::weak_ptr<void> alive = entry.alive;
  if (view_.Quitting()) {
    // Qt closing every window to quit: the session ends, whatever modal form is open.
    if (!view_.Syncing())
      view_.Deliver([form] { form->Unload(ze::ui::unload_mode::kSessionEnding); });
  } else if (!view_.Syncing()) {
    view_.Deliver([form] { input::CloseWindow(*form); });
  }
  // The window closes only when its form no longer shows (it may refuse to unload).
  const bool stillShown = !alive.expired() && form->IsLoaded() && form->VisibleFlag();
  event.setAccepted(!stillShown);
  // A form that stays stops Qt's quit; a later quit asks again.
  if (stillShown) view_.SetQuitting(false);
  return true;
}

void InputRouter::WindowActivated(Entry& entry) {
  QWidget* window = entry.widget;
  if (view_.TakeActivationEcho(window)) return;
  Form* form = entry.form;
  if (ze::ui::Desktop::Active() == form) return;
  view_.Deliver([form] { input::ActivateWindow(*form); });
}

void InputRouter::WindowGeometry(Entry& entry, QEvent& event) {
  auto* form = static_cast<Form*>(entry.control);
  if (!form->IsLoaded()) return;
  if (event.type() == QEvent::Resize) {
    const QSize size = static_cast<QResizeEvent&>(event).size();
    if (size == entry.pushed.clientSize) return;
    view_.Deliver([form, size] {
      form->SetScaleWidth(TwipsX(size.width()));
      form->SetScaleHeight(TwipsY(size.height()));
    });
    return;
  }
  const QPoint position = entry.widget->pos();
  if (position == entry.pushed.position) return;
  view_.Deliver([form, position] {
    form->SetLeft(TwipsX(position.x()));
    form->SetTop(TwipsY(position.y()));
  });
}

}  // namespace ze::qt
