// Control: properties, the container tree, tab order and event raising.
#include "frame/ui/control.h"

#include <algorithm>
#include <cmath>

#include "frame/automation/error.h"
#include "frame/ui/focus.h"
#include "frame/ui/form.h"
#include "frame/ui/model_observer.h"
#include "frame/ui/screen.h"

namespace ze::ui {

Control::Control() : font_(container::DefaultFont()) {}

Control::~Control() {
  // Children first, while this container is still whole: owned ones are destroyed,
  // placed ones merely leave.
  owned_.clear();
  for (Control* child : children_) child->container_ = nullptr;
  children_.clear();
  alive_.reset();
  FocusManager::Forget(*this);
  if (container_) container_->RemoveChild(this);
}

// ---- geometry -------------------------------------------------------------------

float Control::Left() const {
  BuiltInUsed();
  return left_;
}
float Control::Top() const {
  BuiltInUsed();
  return top_;
}
float Control::Width() const {
  BuiltInUsed();
  return width_;
}
float Control::Height() const {
  BuiltInUsed();
  return height_;
}
void Control::SetLeft(float left) {
  BuiltInUsed();
  if (left == left_) return;
  left_ = left;
  Notify(Aspect::Place);
}
void Control::SetTop(float top) {
  BuiltInUsed();
  if (top == top_) return;
  top_ = top;
  Notify(Aspect::Place);
}
void Control::SetWidth(float width) {
  BuiltInUsed();
  if (!(width >= 0)) Raise(errors::kInvalidPropertyValue);
  if (width == width_) return;
  width_ = width;
  Notify(Aspect::Place);
  SizeChanged();
}
void Control::SetHeight(float height) {
  BuiltInUsed();
  if (!(height >= 0)) Raise(errors::kInvalidPropertyValue);
  if (height == height_) return;
  height_ = height;
  Notify(Aspect::Place);
  SizeChanged();
}
void Control::Move(float left, float top, float width, float height) {
  BuiltInUsed();
  if (!(width >= 0) || !(height >= 0)) Raise(errors::kInvalidPropertyValue);
  if (left != left_ || top != top_ || width != width_ || height != height_)
    Notify(Aspect::Place);
  left_ = left;
  top_ = top;
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  SizeChanged();
}

// ---- appearance and state -------------------------------------------------------

bool Control::Visible() const {
  BuiltInUsed();
  return visible_;
}
void Control::SetVisible(bool visible) {
  BuiltInUsed();
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Aspect::State);
  StateChanged();
}
bool Control::Enabled() const {
  BuiltInUsed();
  return enabled_;
}
void Control::SetEnabled(bool enabled) {
  BuiltInUsed();
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Aspect::State);
  StateChanged();
}
std::uint32_t Control::BackColor() const {
  BuiltInUsed();
  return backColor_;
}
void Control::SetBackColor(std::uint32_t color) {
  BuiltInUsed();
  backColor_ = color;
  Notify(Aspect::Appearance);
}
std::uint32_t Control::ForeColor() const {
  BuiltInUsed();
  return foreColor_;
}
void Control::SetForeColor(std::uint32_t color) {
  BuiltInUsed();
  foreColor_ = color;
  Notify(Aspect::Appearance);
}
std::shared_ptr<Font> Control::GetFont() const {
  BuiltInUsed();
  return font_;
}
void Control::SetFont(std::shared_ptr<Font> font) {
  BuiltInUsed();
  if (!font) Raise(errors::kInvalidPropertyValue);
  font_ = std::move(font);
  Notify(Aspect::Appearance);
}
const String& Control::ToolTipText() const {
  BuiltInUsed();
  return toolTip_;
}
void Control::SetToolTipText(String text) {
  BuiltInUsed();
  toolTip_ = std::move(text);
  Notify(Aspect::Appearance);
}
std::int16_t Control::MousePointer() const {
  BuiltInUsed();
  return mousePointer_;
}
void Control::SetMousePointer(std::int16_t pointer) {
  BuiltInUsed();
  if ((pointer < 0 || pointer > 15) && pointer != 99) Raise(errors::kInvalidPropertyValue);
  mousePointer_ = pointer;
  Notify(Aspect::Appearance);
}
std::shared_ptr<Picture> Control::MouseIcon() const {
  BuiltInUsed();
  return mouseIcon_;
}
void Control::SetMouseIcon(std::shared_ptr<Picture> icon) {
  BuiltInUsed();
  mouseIcon_ = std::move(icon);
  Notify(Aspect::Appearance);
}

void Control::Notify(Aspect what) {
  notice::Changed(*this, what);
}

void Control::SetVisibleQuietly(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Aspect::State);
}

void Control::StateChanged() {
  FocusManager::StateChanged(*this);
}

// ---- tree and tab order ----------------------------------------------------------

int Control::TabIndex() const {
  if (!container_) return 0;
  const auto& sib = container_->children_;
  return static_cast<int>(std::find(sib.begin(), sib.end(), this) - sib.begin());
}

void Control::SetTabIndex(int index) {
  if (index < 0) Raise(errors::kInvalidPropertyValue);
  if (!container_) return;
  auto& sib = container_->children_;
  sib.erase(std::find(sib.begin(), sib.end(), this));
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(index), sib.size());
  sib.insert(sib.begin() + static_cast<std::ptrdiff_t>(at), this);
}

bool Control::TabStop() const {
  return tabStop_;
}
void Control::SetTabStop(bool stop) {
  tabStop_ = stop;
}

Form* Control::ParentForm() const {
  for (const Control* c = this; c; c = c->container_)
    if (Form* f = const_cast<Control*>(c)->AsForm()) return f;
  return nullptr;
}

std::optional<ScreenPlace> Control::PlaceOnScreen() const {
  ScreenPlace place;
  place.width = width_;
  place.height = height_;
  const Control* c = this;
  for (; c && !const_cast<Control*>(c)->AsForm(); c = c->container_) {
    place.left += c->left_;
    place.top += c->top_;
  }
  if (!c) return std::nullopt;
  place.left += c->left_;
  place.top += c->top_;
  if (c != this) {
    const Form& form = *const_cast<Control*>(c)->AsForm();
    place.left += form.ClientOffsetX();
    place.top += form.ClientOffsetY();
  }
  // Clamped to what a pixel count holds; NaN (a place nobody could set) gives 0.
  const auto pixels = [](float twips, float perPixel) -> std::int32_t {
    const double p = static_cast<double>(twips) / perPixel;
    if (!(p == p)) return 0;
    return static_cast<std::int32_t>(std::lround(std::clamp(p, -2147483648.0, 2147483647.0)));
  };
  const float x = Screen::TwipsPerPixelX(), y = Screen::TwipsPerPixelY();
  place.leftPixels = pixels(place.left, x);
  place.topPixels = pixels(place.top, y);
  place.widthPixels = pixels(place.width, x);
  place.heightPixels = pixels(place.height, y);
  return place;
}

bool Control::EffectivelyVisible() const {
  for (const Control* c = this; c; c = c->container_)
    if (!c->visible_) return false;
  return true;
}

bool Control::EffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->container_)
    if (!c->enabled_) return false;
  return true;
}

bool Control::CanFocusNow() const {
  if (!CanTakeFocus() || !EffectivelyVisible() || !EffectivelyEnabled()) return false;
  Form* form = ParentForm();
  return form && form->IsLoaded();
}

std::vector<Control*> Control::Children() const {
  return children_;
}

Control* Control::FindChild(std::u16string_view name, int index) const {
  for (Control* c : children_)
    if (c->name_ == name && c->index_ == index) return c;
  return nullptr;
}

void Control::PlaceChild(Control& child, String name) {
  if (child.container_) child.container_->RemoveChild(&child);
  child.name_ = std::move(name);
  child.container_ = this;
  children_.push_back(&child);
  notice::ChildAdded(*this, child);
}

void Control::Adopt(std::unique_ptr<Control> child, String name, int index) {
  Control& ref = *child;
  owned_.push_back(std::move(child));
  PlaceChild(ref, std::move(name));
  ref.index_ = index;
}

void Control::DestroyChild(Control& child) {
  auto it = std::find_if(owned_.begin(), owned_.end(),
                         [&](const std::unique_ptr<Control>& p) { return p.get() == &child; });
  if (it == owned_.end()) return;
  std::unique_ptr<Control> doomed = std::move(*it);
  owned_.erase(it);
  doomed.reset();
}

void Control::RemoveChild(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  child->container_ = nullptr;
  notice::ChildRemoved(*this, *child);
}

void Control::CopySettingsFrom(const Control& other) {
  left_ = other.left_;
  top_ = other.top_;
  width_ = other.width_;
  height_ = other.height_;
  enabled_ = other.enabled_;
  tabStop_ = other.tabStop_;
  backColor_ = other.backColor_;
  foreColor_ = other.foreColor_;
  // A copied element starts with its own font object, equal to the template's.
  font_ = other.font_ ? other.font_->Clone() : container::DefaultFont();
  toolTip_ = other.toolTip_;
  mousePointer_ = other.mousePointer_;
  mouseIcon_ = other.mouseIcon_;
  Notify(Aspect::Content);
}

// ---- focus -----------------------------------------------------------------------

void Control::SetFocus() {
  FocusManager::SetFocus(*this);
}
bool Control::HasFocus() const {
  return FocusManager::Focused() == this;
}

// ---- raising events ----------------------------------------------------------------
//
// Each runs the owner's handler, then the default behaviour unless the handler
// cancelled it or the control died meanwhile. The handler is copied first: it may
// replace itself while it runs.

void Control::RaiseClick() {
  if (auto h = onClick) h();
}

void Control::RaiseDblClick() {
  std::weak_ptr<void> alive = alive_;
  if (auto h = onDblClick) h();
  if (!alive.expired()) DefaultDblClick();
}

void Control::RaiseKeyDown(std::int16_t& keyCode, std::int16_t shiftState) {
  std::weak_ptr<void> alive = alive_;
  if (auto h = onKeyDown) h(keyCode, shiftState);
  if (keyCode != 0 && !alive.expired()) DefaultKeyDown(keyCode, shiftState);
}

void Control::RaiseKeyPress(std::int16_t& keyAscii) {
  std::weak_ptr<void> alive = alive_;
  if (auto h = onKeyPress) h(keyAscii);
  if (keyAscii != 0 && !alive.expired()) DefaultKeyPress(keyAscii);
}

void Control::RaiseKeyUp(std::int16_t& keyCode, std::int16_t shiftState) {
  if (auto h = onKeyUp) h(keyCode, shiftState);
}

void Control::RaiseMouseDown(std::int16_t button, std::int16_t shiftState, float x, float y) {
  std::weak_ptr<void> alive = alive_;
  if (auto h = onMouseDown) h(button, shiftState, x, y);
  if (button != 0 && !alive.expired()) DefaultMouseDown(button, shiftState, x, y);
}

void Control::RaiseMouseUp(std::int16_t button, std::int16_t shiftState, float x, float y) {
  if (auto h = onMouseUp) h(button, shiftState, x, y);
}

void Control::RaiseMouseMove(std::int16_t button, std::int16_t shiftState, float x, float y) {
  if (auto h = onMouseMove) h(button, shiftState, x, y);
}

void Control::RaiseGotFocus() {
  if (auto h = onGotFocus) h();
}

void Control::RaiseLostFocus() {
  if (auto h = onLostFocus) h();
}

}  // namespace ze::ui
