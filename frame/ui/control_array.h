// ControlArray<T>: controls that share a name and one set of handlers, told apart by
// their Index (lblGio(0) .. lblGio(42)).
//
// Element 0 is made with the array (the designed template). Load(i) adds element i as
// a copy of element 0 with all its settings (position, size, colours, font, caption),
// but hidden, and last in the tab order. Unload(i) destroys an element loaded at run
// time; element 0 cannot be unloaded. The array's handlers receive the element's index.
//
// The elements belong to the container (a form or a user control); the array is the
// container's member and only refers to them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "frame/automation/error.h"
#include "frame/ui/control.h"

namespace ze::ui {

namespace array_errors {
inline constexpr std::int32_t kNoSuchElement = 340;
inline constexpr std::int32_t kAlreadyLoaded = 360;
inline constexpr std::int32_t kDesignTimeElement = 362;
}  // namespace array_errors

template <class T>
class ControlArray {
 public:
  ControlArray(Control& container, String name) : container_(container), name_(std::move(name)) {
    Create(0);
  }
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  // The element, or error 340 when there is none with that index.
  T& operator[](int index) const {
    auto it = elements_.find(index);
    if (it == elements_.end())
      Raise(array_errors::kNoSuchElement,
            u"Control array element '" + ze::FromUtf8(std::to_string(index)) + u"' doesn't exist");
    return *it->second;
  }
  bool Exists(int index) const { return elements_.count(index) != 0; }

  void Load(int index) {
    if (index < 0 || index > 32767)
      Raise(array_errors::kNoSuchElement, u"Control array element doesn't exist");
    if (Exists(index)) Raise(array_errors::kAlreadyLoaded, u"Object already loaded");
    // Reached through the base, whose protected members the array may use.
    Control& element = Create(index);
    element.CopySettingsFrom((*this)[0]);
    element.SetVisibleQuietly(false);
  }

  void Unload(int index) {
    if (index == 0)
      Raise(array_errors::kDesignTimeElement, u"Can't unload controls created at design time");
    T& element = (*this)[index];
    elements_.erase(index);
    container_.DestroyChild(static_cast<Control&>(element));
  }

  int LBound() const { return elements_.begin()->first; }
  int UBound() const { return elements_.rbegin()->first; }
  int Count() const { return static_cast<int>(elements_.size()); }

  std::function<void(std::int16_t index)> onClick, onDblClick, onGotFocus, onLostFocus;
  std::function<void(std::int16_t index, std::int16_t&keyCode, std::int16_t shift)> onKeyDown,
      onKeyUp;
  std::function<void(std::int16_t index, std::int16_t& keyAscii)> onKeyPress;
  std::function<void(std::int16_t index, std::int16_t&button, std::int16_t&shift, float&x, float&y)>
      onMouseDown, onMouseUp, onMouseMove;

 private:
  T& Create(int index) {
    auto owned = std::make_unique<T>();
    T& element = *owned;
    container_.Adopt(std::move(owned), name_, index);
    elements_[index] = &element;
    Wire(element, static_cast<std::int16_t>(index));
    return element;
  }

  // Each element forwards its events to the array's handlers with its own index.
  void Wire(T& e, std::int16_t i) {
    e.onClick = [this, i] {
      if (auto h = onClick) h(i);
    };
    e.onDblClick = [this, i] {
      if (auto h = onDblClick) h(i);
    };
    e.onGotFocus = [this, i] {
      if (auto h = onGotFocus) h(i);
    };
    e.onLostFocus = [this, i] {
      if (auto h = onLostFocus) h(i);
    };
    e.onKeyDown = [this, i](std::int16_t& k, std::int16_t s) {
      if (auto h = onKeyDown) h(i, k, s);
    };
    e.onKeyUp = [this, i](std::int16_t& k, std::int16_t s) {
      if (auto h = onKeyUp) h(i, k, s);
    };
    e.onKeyPress = [this, i](std::int16_t& k) {
      if (auto h = onKeyPress) h(i, k);
    };
    e.onMouseDown = [this, i](std::int16_t& b, std::int16_t& s, float& x, float& y) {
      if (auto h = onMouseDown) h(i, b, s, x, y);
    };
    e.onMouseUp = [this, i](std::int16_t& b, std::int16_t& s, float& x, float& y) {
      if (auto h = onMouseUp) h(i, b, s, x, y);
    };
    e.onMouseMove = [this, i](std::int16_t& b, std::int16_t& s, float& x, float& y) {
      if (auto h = onMouseMove) h(i, b, s, x, y);
    };
  }

  Control& container_;
  String name_;
  std::map<int, T*> elements_;
};

}  // namespace ze::ui
