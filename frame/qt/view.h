// The view: the Qt widgets of the shown forms, kept in step with the model.
//
// The view observes the model (model_observer.h) and keeps what the notices said must
// be redone: the controls that changed (a dirty set) and whether the tree changed (a
// form shown or hidden, a child added to or removed from a shown container). A sync
// then does only that:
//
//   changes only  each changed control's widget gets what differs (control_widgets.h);
//                 no other control is looked at, so the cost follows the change and
//                 not the size of the form.
//   tree changed  a full walk: every form that is loaded and visible (back to front, so
//                 an owner's window exists before the windows it owns) and, through
//                 each container, every control; widgets that are missing are made
//                 (by the factory registered for their kind, widget_factory.h), what
//                 differs is pushed, and the widgets of controls that are gone or whose
//                 form no longer shows are removed. A change of the screen's resolution
//                 or of any font object (fonts do not know their controls) walks too.
//
// Then, either way, it gives Qt's activation and focus to the model's active form and
// focus owner. SyncMode::Everything walks every time, as the view did before it had
// notices; only a benchmark that measures the difference asks for it.
//
// When to sync: after every batch of routed input (input_router.h), after the model's
// timers ran, whenever Qt's loop is about to wait (so a host's changes from its own Qt
// callbacks show too), before a message box or a modal wait, and on demand. Each time
// Qt's loop wakes, the timer below follows the model's schedule.
//
// Removal never deletes a widget at once: the removal may happen inside one of that
// widget's own events (a key that unloads its form), so widgets are hidden and
// deleted later from Qt's loop.
//
// Timers: one single-shot QTimer is armed for the model's earliest due timer after
// every sync; when it fires, the model runs what is due (EventLoop::RunPending).
#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtWidgets/QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "frame/qt/appearance.h"
#include "frame/qt/control_widgets.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/model_observer.h"

namespace ze::ui {
class Control;
class Form;
}  // namespace ze::ui

namespace ze::qt {

class InputRouter;
class QtBackend;

// One control shown by the view.
struct Entry {
  ze::ui::Control* control = nullptr;
  std::weak_ptr<void> alive;     // the control's life
  ze::ui::Form* form = nullptr;  // the form it shows on
  const WidgetFactory* factory = nullptr;
  Kind kind = Kind::Other;  // the factory's, for the input router
  bool dirty = false;       // in the view's dirty set
  QPointer<QWidget> widget;            // null for a timer, or once Qt deleted it
  const QObject* widgetKey = nullptr;  // the widget's address in the lookup table
  Pushed pushed;
  unsigned long seen = 0;           // the sync generation that last met the control
  std::vector<Entry*> children;     // a container's children's entries, in order
  unsigned long childrenStamp = 0;  // the view's removal count when they were met
};

class View : public ze::ui::ModelObserver {
 public:
  explicit View(QtBackend& backend);
  ~View() override;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // See above. Nested calls (from Qt events that a sync causes) only ask for one more
  // round.
  void Sync();
  // A sync is due (a form was shown or hidden); it runs before Qt's loop waits, or at
  // the next WidgetOf.
  void MarkDirty() { dirty_ = true; }
  bool Syncing() const { return syncing_; }

  // After a batch of input: the model's posted tasks and due timers, then Sync and the
  // timer rearmed. Failures of the model's handlers are reported, never thrown into Qt.
  void AfterInput();
  // Runs an action of the model (routed input), then AfterInput.
  void Deliver(const std::function<void()>& action);

  // ze::ui::ModelObserver. A form that stopped showing hides its window at once; it
  // goes at the next sync.
  void Changed(ze::ui::Control& control, ze::ui::Aspect what) override;
  void ChildAdded(ze::ui::Control& container, ze::ui::Control& child) override;
  void ChildRemoved(ze::ui::Control& container, ze::ui::Control& child) override;
  void FormShown(ze::ui::Form& form) override;
  void FormHidden(ze::ui::Form& form) override;

  // Forms embedded in a host's widget (QtBackend::Embed): the form shows as a child of
  // host; Qt's activation of host's window is the host's, and the model's activation
  // and focus follow Qt's focus into and out of host (the router's focus-in, the focus
  // leaving to a widget of the host's own, Tab passing on along host's focus chain).
  void Embed(ze::ui::Form& form, QWidget& host);
  void Unembed(const ze::ui::Form& form);
  // The host of an embedded form, or null.
  QWidget* HostOf(const ze::ui::Form* form) const;
  // The host whose widget tree holds widget (the host itself included), or null.
  QWidget* EmbeddingHostOf(const QWidget* widget) const;
  // Tab in an embedded form: the focus goes to the next (or previous) widget that takes
  // the focus by Tab in its host's window, outside the host; none, and it stays.
  void TabOut(const ze::ui::Form& form, bool backward);

  void SetSyncMode(SyncMode mode) { mode_ = mode; }
  // Every window closed and deleted (the backend is uninstalled).
  void Clear();

  // The live entry of a widget, or null (unknown, or its control is gone).
  Entry* EntryOf(const QObject* widget);
  // The widget of a control, after a pending sync; null when it does not show.
  QWidget* WidgetOf(const ze::ui::Control& control);
  // The model's active form's window, or null.
  QWidget* ActiveWindow();

  // Whether a window activation that Qt reports is the echo of one the view asked for
  // (or of a window it just showed); consumes the echo.
  bool TakeActivationEcho(QWidget* window);

  // Run() is running Qt's loop: the last form unloading ends it.
  void SetRunning(bool running) { running_ = running; }
  // Only an installed backend's view shows forms; an inactive view syncs nothing.
  void SetActive(bool active);

  // QApplication was asked to quit (its Quit event went by). Qt then closes every
  // window; the forms are unloaded as at the end of a session, which a form may refuse
  // (and so stop the quit). A modal form's loop ends instead of waiting on.
  bool Quitting() const { return quitting_; }
  void SetQuitting(bool quitting) { quitting_ = quitting; }

 private:
  void SyncRound();
  void WalkEverything();
  void PushChanged();
  void Push(Entry& entry);
  // Whether something only a walk finds out changed since the last one.
  bool WalkDue() const;
  void ContainerChanged(const ze::ui::Control& container);
  void SyncForm(ze::ui::Form& form);
  void SyncChildren(ze::ui::Control& container, Entry& containerEntry, ze::ui::Form& form);
  // The entry of a control with its widget made (or moved) under parent; met this round.
  Entry& Ensure(ze::ui::Control& control, QWidget* parent, ze::ui::Form& form);
  void Meet(Entry& entry, ze::ui::Form& form);
  void Remove(const ze::ui::Control* control);
  void Sweep();
  void SyncActivation();
  void SyncFocus();
  void RearmTimer();
  // Whether a window of someone else's (a message box, a popup list) holds the input.
  bool ForeignWindowHoldsInput() const;
  // Qt's focus window moved: when it went to no window of a form (another program's,
  // or none), the model's application is left. Checked once Qt's loop has settled, as
  // the focus passes through no window on its way between two of ours.
  void FocusWindowChanged();
  void CheckFocusLeftTheForms();
  // Qt's focus moved from old to now: out of an embedded form to a widget of the host's
  // own, the model's focus owner loses the focus.
  void FocusWidgetChanged(QWidget* old, QWidget* now);

  QtBackend& backend_;
  std::unique_ptr<InputRouter> router_;
  std::unique_ptr<QObject> quitWatch_;
  std::unordered_map<const ze::ui::Control*, std::unique_ptr<Entry>> entries_;
  std::unordered_map<const QObject*, Entry*> byWidget_;
  std::vector<Entry*> changed_;  // the dirty set, in the order of the notices
  bool treeChanged_ = true;      // the next sync walks
  SyncMode mode_ = SyncMode::Changes;
  std::uint64_t fontRevision_ = 0;  // container::Font::Revision() at the last walk
  float walkedTwipsPerPixel_[2] = {0, 0};
  AppearanceCache appearance_;
  std::vector<QPointer<QWidget>> activationEchoes_;
  QPointer<QWidget> lastRequested_;  // the window the view last asked Qt to activate
  QTimer modelTimer_;
  std::int64_t armedFor_ = -1;  // the model tick modelTimer_ is set for
  QMetaObject::Connection idleHook_;
  QMetaObject::Connection wakeHook_;
  QMetaObject::Connection focusHook_;
  QMetaObject::Connection focusWidgetHook_;
  std::unordered_map<const ze::ui::Form*, QPointer<QWidget>> embedded_;
  bool focusCheckQueued_ = false;
  unsigned long generation_ = 0;
  std::size_t seenThisRound_ = 0;  // entries met by the current round
  unsigned long removals_ = 1;     // entries removed so far (stamps the containers' lists)
  // The model's active form and focus owner this round, and their entries once met.
  ze::ui::Form* activeForm_ = nullptr;
  ze::ui::Control* focused_ = nullptr;
  Entry* activeEntry_ = nullptr;
  Entry* focusedEntry_ = nullptr;
  bool syncing_ = false;
  bool again_ = false;
  bool dirty_ = false;
  bool running_ = false;
  bool active_ = false;
  bool quitting_ = false;
};

}  // namespace ze::qt
