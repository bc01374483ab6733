// The view: widgets of the shown forms in step with the model (see view.h).
#include "frame/qt/view.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtGui/QGuiApplication>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <algorithm>
#include <climits>

#include "frame/automation/error.h"
#include "frame/container/font.h"
#include "frame/qt/input_router.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/control.h"
#include "frame/ui/desktop.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/focus.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/screen.h"

namespace ze::qt {

namespace {

using ze::ui::Control;
using ze::ui::Form;

// How many activation requests the view remembers while Qt has not answered them.
constexpr std::size_t kMaxEchoes = 16;

// A handler's failure reaches the routing code, which must not let it unwind into Qt:
// it is reported on the diagnostic output and the program goes on.
void Report(const char* where) {
  try {
    throw;
  } catch (const ze::AutomationError& e) {
    qWarning("zeKalendo: %s: unhandled error %d: %s", where, static_cast<int>(e.number()),
             ze::ToUtf8(e.description()).c_str());
  } catch (const std::exception& e) {
    qWarning("zeKalendo: %s: unhandled failure: %s", where, e.what());
  } catch (...) {
    qWarning("zeKalendo: %s: unhandled failure", where);
  }
}

// Sees QApplication's Quit event go by (an application-wide filter: it sees every
// event, and only looks at one kind).
class QuitWatch : public QObject {
 public:
  explicit QuitWatch(View& view) : view_(view) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
      view_.SetQuitting(true);
    return false;
  }

 private:
  View& view_;
};

}  // namespace

View::View(QtBackend& backend)
    : backend_(backend),
      router_(std::make_unique<InputRouter>(*this)),
      quitWatch_(std::make_unique<QuitWatch>(*this)) {
  modelTimer_.setSingleShot(true);
  modelTimer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&modelTimer_, &QTimer::timeout, &modelTimer_, [this] { Deliver([] {}); });
  // Whatever changed the model from outside the routed input (a host's own callbacks)
  // shows before Qt's loop sleeps, and a timer it armed is due from the next round of
  // Qt's loop on, even one that processes events without ever sleeping.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
    idleHook_ =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &modelTimer_, [this] {
          if (!syncing_) Sync();
        });
    wakeHook_ =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &modelTimer_, [this] {
          if (active_ && !syncing_) RearmTimer();
        });
  }
}

View::~View() {
  QObject::disconnect(idleHook_);
  QObject::disconnect(wakeHook_);
  SetActive(false);
  Clear();
}

void View::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  quitting_ = false;
  // What changed while nobody watched is found by a walk.
  if (active) {
    ze::ui::AddModelObserver(*this);
    treeChanged_ = true;
  } else {
    ze::ui::RemoveModelObserver(*this);
  }
  if (auto* app = QCoreApplication::instance()) {
    if (active)
      app->installEventFilter(quitWatch_.get());
    else
      app->removeEventFilter(quitWatch_.get());
  }
  if (active && qGuiApp) {
    focusHook_ = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &modelTimer_,
                                  [this](QWindow*) { FocusWindowChanged(); });
    focusWidgetHook_ =
        QObject::connect(qApp, &QApplication::focusChanged, &modelTimer_,
                         [this](QWidget* old, QWidget* now) { FocusWidgetChanged(old, now); });
  } else {
    QObject::disconnect(focusHook_);
    QObject::disconnect(focusWidgetHook_);
  }
}

// ---- the batch of input -----------------------------------------------------------------

void View::Deliver(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    Report("input");
  }
  AfterInput();
}

void View::AfterInput() {
  try {
    ze::ui::EventLoop::RunPending();
  } catch (...) {
    Report("timer");
  }
  Sync();
}

// ---- sync ---------------------------------------------------------------------------------

void View::Sync() {
  if (!active_) return;
  if (syncing_) {
    again_ = true;
    return;
  }
  syncing_ = true;
  dirty_ = false;
  try {
    // A round can itself change what shows (Qt answering a call at once); a few rounds
    // settle it, and a model that keeps changing is left to the next sync.
    for (int round = 0; round < 3; ++round) {
      again_ = false;
      SyncRound();
      if (!again_) break;
    }
  } catch (...) {
    Report("view");
  }
  syncing_ = false;
  RearmTimer();
  if (running_ && ze::ui::Desktop::OpenForms().empty()) QCoreApplication::exit(0);
}

void View::SyncRound() {
  activeForm_ = ze::ui::Desktop::Active();
  focused_ = ze::ui::FocusManager::Focused();
  activeEntry_ = focusedEntry_ = nullptr;
  appearance_.twipsPerPixelX = ze::ui::Screen::TwipsPerPixelX();
  appearance_.twipsPerPixelY = ze::ui::Screen::TwipsPerPixelY();
  if (WalkDue())
    WalkEverything();
  else
    PushChanged();
  // A message box or a popup list of Qt's holds the input: the view leaves Qt's
  // activation and focus alone until it closes.
  if (ForeignWindowHoldsInput()) return;
  SyncActivation();
  SyncFocus();
}

bool View::WalkDue() const {
  return mode_ == SyncMode::Everything || treeChanged_ ||
         fontRevision_ != ze::container::Font::Revision() ||
         walkedTwipsPerPixel_[0] != appearance_.twipsPerPixelX ||
         walkedTwipsPerPixel_[1] != appearance_.twipsPerPixelY;
}

void View::WalkEverything() {
  // Whatever changes from here on is for the next round; the walk pushes the rest.
  for (Entry* e : changed_) e->dirty = false;
  changed_.clear();
  treeChanged_ = false;
  fontRevision_ = ze::container::Font::Revision();
  walkedTwipsPerPixel_[0] = appearance_.twipsPerPixelX;
  walkedTwipsPerPixel_[1] = appearance_.twipsPerPixelY;
  ++generation_;
  seenThisRound_ = 0;
  // The active form's and the focus owner's entries are met on the way.
  const std::vector<Form*> forms = ze::ui::Desktop::OpenForms();  // front to back
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    Form& form = **it;
    if (form.IsLoaded() && form.VisibleFlag()) SyncForm(form);
  }
  Sweep();
}

void View::PushChanged() {
  std::vector<Entry*> changed;
  changed.swap(changed_);
  for (Entry* e : changed) e->dirty = false;
  for (Entry* e : changed)
    if (e->widget && !e->alive.expired()) Push(*e);
  auto find = [this](const Control* control) -> Entry* {
    if (!control) return nullptr;
    auto it = entries_.find(control);
    return it == entries_.end() || it->second->alive.expired() ? nullptr : it->second.get();
  };
  activeEntry_ = find(activeForm_);
  focusedEntry_ = find(focused_);
}

void View::Push(Entry& e) {
  UpdateWidget(*e.factory, *e.control, *e.widget, e.pushed, appearance_);
}

void View::SyncForm(Form& form) {
  QWidget* ownerWindow = nullptr;
  if (Form* owner = form.Owner()) {
    auto it = entries_.find(owner);
    if (it != entries_.end() && it->second->seen == generation_) ownerWindow = it->second->widget;
  }
  QWidget* host = HostOf(&form);
  Entry& entry = Ensure(form, host ? host : ownerWindow, form);
  entry.pushed.embedded = host != nullptr;
  QWidget* window = entry.widget;
  Push(entry);
  SyncChildren(form, entry, form);
  if (!window->isVisible()) {
    window->show();
    // Some platforms activate a window as it shows; that activation is no user's.
    if (!host) activationEchoes_.push_back(window);
  }
}

void View::SyncChildren(Control& container, Entry& containerEntry, Form& form) {
  const std::vector<Control*> children = container.Children();
  // The children's entries as the last round met them, in order: while no entry has
  // gone since, each is checked against its control rather than looked up.
  std::vector<Entry*>& met = containerEntry.children;
  const bool metValid = containerEntry.childrenStamp == removals_;
  met.resize(children.size(), nullptr);
  QWidget* containerWidget = containerEntry.widget;
  for (std::size_t i = 0; i < children.size(); ++i) {
    Control& child = *children[i];
    Entry* e = metValid ? met[i] : nullptr;
    if (e && e->control == &child && !e->alive.expired() &&
        (!e->factory->create || (e->widget && e->widget->parentWidget() == containerWidget)))
      Meet(*e, form);
    else
      e = &Ensure(child, containerWidget, form);
    met[i] = e;
    if (!e->widget) continue;  // a timer
    Push(*e);
    if (e->factory->container) SyncChildren(child, *e, form);
  }
  containerEntry.childrenStamp = removals_;
}

void View::Meet(Entry& e, Form& form) {
  e.form = &form;
  if (e.seen != generation_) ++seenThisRound_;
  e.seen = generation_;
  if (e.control == focused_) focusedEntry_ = &e;
  if (e.control == activeForm_) activeEntry_ = &e;
}

Entry& View::Ensure(Control& control, QWidget* parent, Form& form) {
  auto it = entries_.find(&control);
  if (it != entries_.end() && it->second->alive.expired()) {
    // Another control at a dead one's address.
    Remove(&control);
    it = entries_.end();
  }
  if (it == entries_.end()) {
    auto entry = std::make_unique<Entry>();
    entry->control = &control;
    entry->alive = control.AliveToken();
    entry->factory = &WidgetFactoryFor(control);
    entry->kind = entry->factory->kind;
    it = entries_.emplace(&control, std::move(entry)).first;
  }
  Entry& e = *it->second;
  Meet(e, form);
  if (!e.factory->create) return e;  // a timer shows no widget
  if (!e.widget) {
    // New, or Qt deleted it with a parent that went.
    if (e.widgetKey) {
      auto stale = byWidget_.find(e.widgetKey);
      if (stale != byWidget_.end() && stale->second == &e) byWidget_.erase(stale);
    }
    QWidget* widget = e.factory->create(parent);
    e.widget = widget;
    e.widgetKey = widget;
    e.pushed = Pushed{};
    byWidget_[widget] = &e;
    router_->Watch(*widget, e.kind);
  } else if (e.widget->parentWidget() != parent) {
    // Moved to another container (or a form to another owner).
    if (e.kind == Kind::Form)
      e.widget->setParent(parent, e.widget->windowFlags());
    else
      e.widget->setParent(parent);
    e.pushed.fresh = true;
  }
  return e;
}

void View::Remove(const Control* control) {
  auto it = entries_.find(control);
  if (it == entries_.end()) return;
  ++removals_;  // the entries the containers met are no longer sure to exist
  Entry& e = *it->second;
  if (e.dirty) changed_.erase(std::find(changed_.begin(), changed_.end(), &e));
  if (e.widgetKey) {
    auto w = byWidget_.find(e.widgetKey);
    if (w != byWidget_.end() && w->second == &e) byWidget_.erase(w);
  }
  if (e.widget) {
    // Possibly inside one of this widget's own events: hidden now, deleted from the loop.
    e.widget->hide();
    e.widget->deleteLater();
  }
  entries_.erase(it);
}

void View::Sweep() {
  // Every entry met this round (a dead control's entry is replaced when met): none to go.
  if (seenThisRound_ == entries_.size()) return;
  std::vector<const Control*> gone;
  for (const auto& [control, entry] : entries_)
    if (entry->seen != generation_ || entry->alive.expired()) gone.push_back(control);
  for (const Control* control : gone) Remove(control);
}

bool View::ForeignWindowHoldsInput() const {
  if (QApplication::activePopupWidget()) return true;
  QWidget* modal = QApplication::activeModalWidget();
  return modal && byWidget_.find(modal) == byWidget_.end();
}

void View::FocusWindowChanged() {
  if (focusCheckQueued_) return;
  focusCheckQueued_ = true;
  QTimer::singleShot(0, &modelTimer_, [this] {
    focusCheckQueued_ = false;
    CheckFocusLeftTheForms();
  });
}

void View::CheckFocusLeftTheForms() {
  if (!active_ || syncing_ || ForeignWindowHoldsInput() || !ze::ui::Desktop::Active()) return;
  if (QWindow* focus = QGuiApplication::focusWindow()) {
    // An embedded form's window is its host's.
    for (const auto& [control, entry] : entries_)
      if (entry->kind == Kind::Form && entry->widget &&
          entry->widget->window()->windowHandle() == focus)
        return;
  }
  Deliver([] { ze::ui::input::SwitchToOtherApplication(); });
}

void View::FocusWidgetChanged(QWidget* old, QWidget* now) {
  // A window losing the focus as a whole is the focus window's change (above); the
  // view's own focus moves are the model's already.
  if (!active_ || syncing_ || !old || !now) return;
  QWidget* host = EmbeddingHostOf(old);
  if (!host || EmbeddingHostOf(now)) return;  // within hosts: the router follows it
  if (EntryOf(now)) return;                   // a form's window: the model moved there
  if (HostOf(ze::ui::Desktop::Active()) != host) return;
  Deliver([] { ze::ui::input::FocusToOtherWidget(); });
}

// ---- embedded forms ---------------------------------------------------------------------------

void View::Embed(Form& form, QWidget& host) {
  embedded_[&form] = &host;
  // A window the form had already is remade as the host's child.
  if (entries_.count(&form)) Remove(&form);
  treeChanged_ = true;
  dirty_ = true;
}

void View::Unembed(const Form& form) {
  if (embedded_.erase(&form) == 0) return;
  if (entries_.count(&form)) Remove(&form);
  treeChanged_ = true;
  dirty_ = true;
}

QWidget* View::HostOf(const Form* form) const {
  if (!form || embedded_.empty()) return nullptr;
  auto it = embedded_.find(form);
  return it == embedded_.end() ? nullptr : it->second.data();
}

QWidget* View::EmbeddingHostOf(const QWidget* widget) const {
  if (!widget) return nullptr;
  for (const auto& [form, host] : embedded_)
    if (host && (host == widget || host->isAncestorOf(widget))) return host;
  return nullptr;
}

void View::TabOut(const Form& form, bool backward) {
  QWidget* host = HostOf(&form);
  if (!host) return;
  QWidget* w = host;
  for (;;) {
    w = backward ? w->previousInFocusChain() : w->nextInFocusChain();
    if (!w || w == host) return;
    if (host->isAncestorOf(w) || w->window() != host->window()) continue;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
      w->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      return;
    }
  }
}

// ---- activation and focus -----------------------------------------------------------------------

void View::SyncActivation() {
  if (!activeEntry_ || !activeEntry_->widget) return;
  // The host's window is the host's to activate.
  if (activeEntry_->pushed.embedded) return;
  QWidget* window = activeEntry_->widget;
  if (!window->isVisible() || QApplication::activeWindow() == window) return;
  // Asked already and Qt has not answered yet: no second request.
  if (!activationEchoes_.empty() && activationEchoes_.back() == window && lastRequested_ == window)
    return;
  // The offscreen platform has no stacking order, and says so on every raise.
  static const bool stacks = QGuiApplication::platformName() != QLatin1String("offscreen");
  if (stacks) window->raise();
  window->activateWindow();
  lastRequested_ = window;
  activationEchoes_.push_back(window);
  if (activationEchoes_.size() > kMaxEchoes)
    activationEchoes_.erase(activationEchoes_.begin(),
                            activationEchoes_.end() - static_cast<std::ptrdiff_t>(kMaxEchoes));
}

void View::SyncFocus() {
  if (!activeEntry_ || !activeEntry_->widget) return;
  QWidget* window = activeEntry_->widget;
  QWidget* target = window;
  if (focusedEntry_ && focusedEntry_->widget && focusedEntry_->form == activeForm_)
    target = focusedEntry_->widget;
  // The model's focus is the keyboard's: the styles draw a focus mark (on a button
  // too) only in a window whose focus the keyboard moved.
  if (!window->testAttribute(Qt::WA_KeyboardFocusChange))
    window->setAttribute(Qt::WA_KeyboardFocusChange);
  if (window->focusWidget() != target ||
      (window->isActiveWindow() && QApplication::focusWidget() != target))
    target->setFocus(Qt::OtherFocusReason);
}

bool View::TakeActivationEcho(QWidget* window) {
  auto last = std::find(activationEchoes_.rbegin(), activationEchoes_.rend(), window);
  if (last == activationEchoes_.rend()) {
    lastRequested_ = nullptr;  // the user's own activation: ask again when the model differs
    return false;
  }
  // Everything asked before it is stale now.
  activationEchoes_.erase(activationEchoes_.begin(), last.base());
  return true;
}

void View::RearmTimer() {
  const std::int64_t due = ze::ui::EventLoop::NextDue();
  if (due < 0) {
    if (modelTimer_.isActive()) modelTimer_.stop();
    armedFor_ = -1;
    return;
  }
  if (modelTimer_.isActive() && armedFor_ == due) return;
  const std::int64_t wait = std::clamp<std::int64_t>(due - backend_.TickMs(), 0, INT_MAX);
  armedFor_ = due;
  modelTimer_.start(static_cast<int>(wait));
}

// ---- the model's notices ------------------------------------------------------------------

void View::Changed(Control& control, ze::ui::Aspect /*what*/) {
  // Every aspect is pushed the same way: the push compares and calls Qt for what differs.
  auto it = entries_.find(&control);
  if (it == entries_.end()) return;  // not shown: a walk meets it when it shows
  Entry& e = *it->second;
  if (e.dirty) return;
  e.dirty = true;
  changed_.push_back(&e);
  if (syncing_) again_ = true;
}

void View::ContainerChanged(const Control& container) {
  // A container that does not show yet is walked whole when it does.
  if (entries_.count(&container) == 0) return;
  treeChanged_ = true;
  if (syncing_) again_ = true;
}

void View::ChildAdded(Control& container, Control& /*child*/) {
  ContainerChanged(container);
}

void View::ChildRemoved(Control& container, Control& /*child*/) {
  ContainerChanged(container);
}

void View::FormShown(Form& /*form*/) {
  // Shown once its controls are laid out: at the end of the batch, or before Qt waits.
  treeChanged_ = true;
  dirty_ = true;
}

void View::FormHidden(Form& form) {
  auto it = entries_.find(&form);
  if (it != entries_.end() && it->second->widget) it->second->widget->hide();
  treeChanged_ = true;
  dirty_ = true;
}

// ---- lookups --------------------------------------------------------------------------------

void View::Clear() {
  std::vector<const Control*> all;
  for (const auto& [control, entry] : entries_) all.push_back(control);
  for (const Control* control : all) Remove(control);
  treeChanged_ = true;
  activationEchoes_.clear();
  lastRequested_ = nullptr;
  modelTimer_.stop();
  armedFor_ = -1;
  // Called outside Qt's event handling (the host uninstalls the backend): the widgets
  // can go now rather than with a loop that may never run again.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Entry* View::EntryOf(const QObject* widget) {
  auto it = byWidget_.find(widget);
  if (it == byWidget_.end()) return nullptr;
  Entry* e = it->second;
  if (e->alive.expired() || e->widget != widget) return nullptr;
  return e;
}

QWidget* View::WidgetOf(const Control& control) {
  if (dirty_ && !syncing_) Sync();
  auto it = entries_.find(&control);
  if (it == entries_.end() || it->second->alive.expired()) return nullptr;
  return it->second->widget;
}

QWidget* View::ActiveWindow() {
  Form* active = ze::ui::Desktop::Active();
  return active ? WidgetOf(*active) : nullptr;
}

}  // namespace ze::qt
