// The focus owner, focus moves and the tab order.
#include "frame/ui/focus.h"

#include <algorithm>

#include "frame/automation/error.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "frame/ui/user_control.h"

namespace ze::ui {

namespace {

struct FocusState {
  Control* focused = nullptr;
  std::weak_ptr<void> alive;
  // Whether the owner's GotFocus was raised: a control whose move was overtaken by a
  // nested one never had the focus in its handlers' eyes, so it gets no LostFocus.
  bool announced = false;
  unsigned long generation = 0;  // bumped by every move, to spot nested moves
};

FocusState& State() {
  static FocusState state;
  return state;
}

bool IsInside(const Control* c, const Control* ancestor) {
  for (; c; c = c->Container())
    if (c == ancestor) return true;
  return false;
}

// Depth first through the containers: a user control with children that can take the
// focus stands for them; without such children it takes the focus itself. With
// anyState, controls that cannot take the focus now are listed too (by their place).
void Collect(Control& container, bool tabStopsOnly, std::vector<Control*>& out,
             bool anyState = false) {
  for (Control* c : container.Children()) {
    if (!c->CanTakeFocus()) continue;
    if (!anyState && (!c->VisibleFlag() || !c->EnabledFlag())) continue;
    if (tabStopsOnly && !c->TabStop()) continue;
    if (c->AsUserControl()) {
      const auto before = out.size();
      Collect(*c, tabStopsOnly, out, anyState);
      if (out.size() != before) continue;
    }
    out.push_back(c);
  }
}

}  // namespace

Control* FocusManager::Focused() {
  auto& s = State();
  return s.alive.expired() ? nullptr : s.focused;
}

std::vector<Control*> FocusManager::TabOrder(Form& form, bool tabStopsOnly) {
  std::vector<Control*> out;
  if (form.IsLoaded()) Collect(form, tabStopsOnly, out);
  return out;
}

Control* FocusManager::Resolve(Control& control) {
  if (Form* form = control.AsForm()) {
    Control* remembered = form->ActiveControl();
    if (remembered && remembered->CanFocusNow()) return remembered;
    auto order = TabOrder(*form, true);
    if (order.empty()) order = TabOrder(*form, false);
    return order.empty() ? form : order.front();
  }
  if (control.AsUserControl()) {
    std::vector<Control*> inner;
    Collect(control, true, inner);
    if (inner.empty()) Collect(control, false, inner);
    if (!inner.empty()) return inner.front();
  }
  return &control;
}

void FocusManager::SetFocus(Control& control) {
  Control* target = Resolve(control);
  Form* form = target->ParentForm();
  if (!form || !target->CanFocusNow() || !Desktop::AcceptsInput(*form))
    Raise(errors::kInvalidProcedureCall);
  if (Desktop::Active() != form)
    Desktop::Activate(*form, target);
  else
    Move(target);
}

void FocusManager::Move(Control* target) {
  auto& s = State();
  Control* old = Focused();
  if (old == target) return;
  const auto generation = ++s.generation;
  const bool oldAnnounced = s.announced;
  s.focused = target;
  s.alive = target ? target->AliveToken() : std::weak_ptr<void>();
  s.announced = false;
  if (target)
    if (Form* form = target->ParentForm()) form->RememberActiveControl(target);
  if (old && oldAnnounced) {
    old->RaiseLostFocus();
    if (s.generation != generation) return;
  }
  if (target && !s.alive.expired()) {
    s.announced = true;
    target->RaiseGotFocus();
  }
}

void FocusManager::FocusIn(Form& form, Control* target) {
  Move(Resolve(target ? *target : static_cast<Control&>(form)));
}

void FocusManager::TabNext(bool backward) {
  Form* form = Desktop::Active();
  if (!form) return;
  auto order = TabOrder(*form, true);
  if (order.empty()) return;
  Control* current = Focused();
  auto it = std::find(order.begin(), order.end(), current);
  std::size_t next;
  if (it == order.end()) {
    next = backward ? order.size() - 1 : 0;
  } else {
    const auto at = static_cast<std::size_t>(it - order.begin());
    next = backward ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  }
  Move(order[next]);
}

void FocusManager::Forget(Control& control) {
  auto& s = State();
  if (s.focused == &control) {
    s.focused = nullptr;
    s.alive.reset();
  }
}

void FocusManager::DropQuietly(Form& form) {
  auto& s = State();
  if (IsInside(Focused(), &form)) {
    s.focused = nullptr;
    s.alive.reset();
    ++s.generation;
  }
}

void FocusManager::StateChanged(Control& control) {
  Control* focused = Focused();
  if (!focused || !IsInside(focused, &control) || focused->CanFocusNow()) return;
  Form* form = focused->ParentForm();
  if (!form) return;
  // The focus leaves a control that was hidden or disabled: it goes on to the next one
  // in tab order after it (wrapping), or to the form itself.
  std::vector<Control*> places;
  Collect(*form, false, places, true);
  auto at = std::find(places.begin(), places.end(), focused);
  const std::size_t start = at == places.end() ? 0 : static_cast<std::size_t>(at - places.begin());
  Control* next = form;
  for (std::size_t step = 1; step <= places.size(); ++step) {
    Control* c = places[(start + step) % places.size()];
    if (!IsInside(c, &control) && c->TabStop() && c->CanFocusNow()) {
      next = c;
      break;
    }
  }
  Move(next);
}

}  // namespace ze::ui
