// The model's notices to its views: which control changed, which child came or went,
// which form began or stopped showing.
//
// A view registers one ModelObserver and is told of every change as it happens, so it
// never has to compare the model with what it shows. The model sends each notice
// synchronously from the setter that made the change; an observer only records what
// it must redo (a dirty set) and does the work later, outside the model's code. With
// no observer registered (the headless backend) a notice costs one test of an empty
// list.
//
// ChildRemoved also comes from a child's destructor: the observer may keep the address
// but must not call the child. A change of a shared font object reaches no control
// (the font does not know who uses it): a view that shows fonts asks
// container::FontRevision() whether any font changed.
#pragma once

#include <cstdint>

namespace ze::ui {

class Control;
class Form;

// What kind of state a notice is about.
enum class Aspect : std::uint8_t {
  Place,       // position, size
  State,       // visibility, enabled
  Appearance,  // colours, font, tooltip, mouse pointer
  Content,     // text, caption, list, picture, a kind's own settings
  Selection,   // a field's caret and selection
};

class ModelObserver {
 public:
  virtual ~ModelObserver() = default;
  virtual void Changed(Control& control, Aspect what) = 0;
  virtual void ChildAdded(Control& container, Control& child) = 0;
  virtual void ChildRemoved(Control& container, Control& child) = 0;
  virtual void FormShown(Form& form) = 0;
  virtual void FormHidden(Form& form) = 0;
};

// Registers an observer until it is removed; the caller keeps ownership.
void AddModelObserver(ModelObserver& observer);
void RemoveModelObserver(ModelObserver& observer);

// The sending side, for the model's own classes.
namespace notice {
void Changed(Control& control, Aspect what);
void ChildAdded(Control& container, Control& child);
void ChildRemoved(Control& container, Control& child);
void FormShown(Form& form);
void FormHidden(Form& form);
}  // namespace notice

}  // namespace ze::ui
