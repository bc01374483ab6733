// The model's notices to its views (see model_observer.h).
#include "frame/ui/model_observer.h"

#include <algorithm>
#include <vector>

namespace ze::ui {

namespace {

// Few observers (one per installed view); the list is walked by index so that an
// observer may remove itself from inside a notice.
std::vector<ModelObserver*>& Observers() {
  static std::vector<ModelObserver*> observers;
  return observers;
}

template <class F>
void Tell(F&& f) {
  auto& observers = Observers();
  for (std::size_t i = 0; i < observers.size(); ++i) f(*observers[i]);
}

}  // namespace

void AddModelObserver(ModelObserver& observer) {
  auto& observers = Observers();
  if (std::find(observers.begin(), observers.end(), &observer) == observers.end())
    observers.push_back(&observer);
}

void RemoveModelObserver(ModelObserver& observer) {
  auto& observers = Observers();
  observers.erase(std::remove(observers.begin(), observers.end(), &observer), observers.end());
}

namespace notice {

void Changed(Control& control, Aspect what) {
  if (Observers().empty()) return;
  Tell([&](ModelObserver& o) { o.Changed(control, what); });
}
void ChildAdded(Control& container, Control& child) {
  Tell([&](ModelObserver& o) { o.ChildAdded(container, child); });
}
void ChildRemoved(Control& container, Control& child) {
  Tell([&](ModelObserver& o) { o.ChildRemoved(container, child); });
}
void FormShown(Form& form) {
  Tell([&](ModelObserver& o) { o.FormShown(form); });
}
void FormHidden(Form& form) {
  Tell([&](ModelObserver& o) { o.FormHidden(form); });
}

}  // namespace notice
}  // namespace ze::ui
