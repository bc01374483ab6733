// Open forms, stacking order, activation and the modal depth.
#include "frame/ui/desktop.h"

#include <algorithm>

#include "frame/ui/focus.h"

namespace ze::ui {

namespace {

struct OpenForm {
  Form* form;
  std::shared_ptr<Form> keep;  // null when someone else owns the form outright
  std::weak_ptr<void> alive;
};

struct DesktopState {
  std::vector<OpenForm> open;  // front to back
  Form* active = nullptr;
  Form* beforeLeaving = nullptr;  // the active form when another application took over
  int modalDepth = 0;
  unsigned long generation = 0;  // bumped by every activation change
  WindowHandle nextHandle = 0x10010;
};

DesktopState& State() {
  static DesktopState state;
  return state;
}

std::vector<OpenForm>::iterator FindOpen(const Form& form) {
  auto& open = State().open;
  return std::find_if(open.begin(), open.end(), [&](const OpenForm& o) { return o.form == &form; });
}

bool IsOpen(const Form* form) {
  return form && FindOpen(*form) != State().open.end() && form->IsLoaded();
}

void BringToFront(Form& form) {
  auto& open = State().open;
  auto it = FindOpen(form);
  if (it == open.end() || it == open.begin()) return;
  OpenForm entry = std::move(*it);
  open.erase(it);
  open.insert(open.begin(), std::move(entry));
}

}  // namespace

Form* Desktop::Active() {
  auto& s = State();
  return IsOpen(s.active) ? s.active : nullptr;
}

std::vector<Form*> Desktop::OpenForms() {
  std::vector<Form*> out;
  for (const auto& o : State().open)
    if (!o.alive.expired()) out.push_back(o.form);
  return out;
}

int Desktop::ModalDepth() {
  return State().modalDepth;
}

bool Desktop::AcceptsInput(const Form& form) {
  return form.IsLoaded() && form.VisibleFlag() && form.EnabledFlag() &&
         form.modalLevel_ >= State().modalDepth;
}

void Desktop::Activate(Form& form, Control* focusTarget) {
  auto& s = State();
  if (!form.IsLoaded() || !form.VisibleFlag() || !AcceptsInput(form)) return;
  std::weak_ptr<void> alive = form.AliveToken();
  Form* old = Active();
  if (!old && s.beforeLeaving == &form && IsOpen(s.beforeLeaving)) {
    // Coming back from another application to the same form: no events.
    s.active = &form;
    s.beforeLeaving = nullptr;
    BringToFront(form);
    if (focusTarget) FocusManager::Move(focusTarget);
    return;
  }
  if (!old && IsOpen(s.beforeLeaving)) old = s.beforeLeaving;
  s.beforeLeaving = nullptr;
  if (old == &form) {
    s.active = &form;
    BringToFront(form);
    if (focusTarget) FocusManager::Move(focusTarget);
    return;
  }
  const auto generation = ++s.generation;
  if (old) {
    std::weak_ptr<void> oldAlive = old->AliveToken();
    FocusManager::Move(nullptr);
    if (s.generation != generation || alive.expired()) return;
    // The old form is no longer active while its Deactivate runs: if it unloads itself
    // there, nothing tries to hand the activation back to it.
    s.active = nullptr;
    if (!oldAlive.expired() && old->IsLoaded())
      if (auto h = old->onDeactivate) h();
    if (s.generation != generation || alive.expired()) return;
    if (!form.IsLoaded() || !form.VisibleFlag()) {
      ActivateNext(nullptr);
      return;
    }
  }
  s.active = &form;
  BringToFront(form);
  if (auto h = form.onActivate) h();
  if (s.generation != generation || alive.expired() || !form.IsLoaded()) return;
  FocusManager::FocusIn(form, focusTarget);
}

void Desktop::LeaveApplication() {
  auto& s = State();
  if (Form* active = Active()) s.beforeLeaving = active;
  s.active = nullptr;
  ++s.generation;
}

void Desktop::ReturnToApplication() {
  auto& s = State();
  if (IsOpen(s.beforeLeaving)) Activate(*s.beforeLeaving);
}

void Desktop::ActivateNext(Form* preferred) {
  auto& s = State();
  s.active = nullptr;
  if (preferred && IsOpen(preferred) && AcceptsInput(*preferred)) {
    Activate(*preferred);
    return;
  }
  for (const auto& o : s.open)
    if (!o.alive.expired() && AcceptsInput(*o.form)) {
      Activate(*o.form);
      return;
    }
}

void Desktop::ActivateFront(Form* preferred) {
  ActivateNext(preferred);
}

void Desktop::Opened(Form& form) {
  if (FindOpen(form) != State().open.end()) return;
  // Behind the others until shown.
  State().open.push_back({&form, form.weak_from_this().lock(), form.AliveToken()});
}

void Desktop::Closed(Form& form) {
  auto& s = State();
  const bool wasActive = s.active == &form;
  if (s.beforeLeaving == &form) s.beforeLeaving = nullptr;
  auto it = FindOpen(form);
  std::shared_ptr<Form> keep;  // released after the list is consistent again
  if (it != s.open.end()) {
    keep = std::move(it->keep);
    s.open.erase(it);
  }
  if (wasActive) {
    ++s.generation;
    ActivateNext(form.Owner());
  }
}

void Desktop::Hidden(Form& form) {
  auto& s = State();
  if (s.beforeLeaving == &form) s.beforeLeaving = nullptr;
  if (s.active != &form) return;
  ++s.generation;
  FocusManager::DropQuietly(form);
  ActivateNext(form.Owner());
}

void Desktop::ModalBegin(Form& form) {
  form.modalLevel_ = ++State().modalDepth;
}

void Desktop::ModalEnd(Form& form) {
  form.modalLevel_ = 0;
  if (State().modalDepth > 0) --State().modalDepth;
}

WindowHandle Desktop::NewHandle() {
  auto& s = State();
  const WindowHandle h = s.nextHandle;
  s.nextHandle += 4;
  return h;
}

Form* Desktop::FindByHandle(WindowHandle hwnd) {
  if (hwnd == 0) return nullptr;
  for (const auto& o : State().open)
    if (!o.alive.expired() && o.form->hwnd_ == hwnd) return o.form;
  return nullptr;
}

void Desktop::UnloadAll() {
  // Front to back, each by the one path that a user closing it would take, but
  // without asking: a form that refuses is closed anyway.
  for (int guard = 0; guard < 10000 && !State().open.empty(); ++guard) {
    Form* form = State().open.front().form;
    std::shared_ptr<Form> keep = State().open.front().keep;
    if (!form->Unload(unload_mode::kSessionEnding)) form->ForceClose();
  }
}

}  // namespace ze::ui
