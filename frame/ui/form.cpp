// Form: load, show (modeless and modal), hide and unload.
#include "frame/ui/form.h"

#include "frame/automation/error.h"
#include "frame/ui/backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/event_loop.h"
#include "frame/ui/focus.h"
#include "frame/ui/screen.h"
#include "frame/ui/timer.h"
#include "frame/ui/user_control.h"

namespace ze::ui {

namespace {

constexpr std::int32_t kCannotShowModeless = 401;
constexpr std::int32_t kAlreadyShown = 400;
constexpr std::int32_t kObjectUnloaded = 364;

// Frame thickness in pixels by border style: borders on each side and the caption bar.
struct Frame {
  int border;
  int caption;
};
Frame FrameOf(std::int16_t style) {
  switch (style) {
    case 0:
      return {0, 0};
    case 1:
    case 3:
      return {3, 19};
    case 4:
      return {3, 16};
    case 5:
      return {4, 16};
    default:
      return {4, 19};
  }
}

// Keeps the modal depth right even when a handler inside the loop throws.
class ModalScope {
 public:
  explicit ModalScope(Form& form) : form_(form) { Desktop::ModalBegin(form_); }
  ~ModalScope() { Desktop::ModalEnd(form_); }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  Form& form_;
};

}  // namespace

Form::Form() {
  SetVisibleQuietly(false);
  SetBackColor(colors::kButtonFace);
  SetForeColor(colors::kButtonText);
  Move(0, 0, 4800, 3600);
}

Form::~Form() {
  // A form destroyed while open (its owner dropped it without unloading) leaves the
  // desktop without running handlers: the derived parts are gone already.
  if (state_ == State::Loaded || state_ == State::Loading || state_ == State::Unloading) {
    FocusManager::DropQuietly(*this);
    Desktop::Closed(*this);
  }
}

void Form::BuiltInUsed() const {
  if (state_ == State::NotLoaded) const_cast<Form*>(this)->Load();
}

const String& Form::Caption() const {
  BuiltInUsed();
  return caption_;
}
void Form::SetCaption(String caption) {
  BuiltInUsed();
  caption_ = std::move(caption);
  Notify(Aspect::Content);
}

void Form::SetIcon(std::shared_ptr<Picture> icon) {
  icon_ = std::move(icon);
  Notify(Aspect::Content);
}

float Form::FrameWidth() const {
  return static_cast<float>(2 * FrameOf(borderStyle_).border) * Screen::TwipsPerPixelX();
}
float Form::FrameHeight() const {
  const Frame f = FrameOf(borderStyle_);
  return static_cast<float>(2 * f.border + f.caption) * Screen::TwipsPerPixelY();
}

float Form::ClientOffsetX() const {
  return static_cast<float>(FrameOf(borderStyle_).border) * Screen::TwipsPerPixelX();
}
float Form::ClientOffsetY() const {
  const Frame f = FrameOf(borderStyle_);
  return static_cast<float>(f.border + f.caption) * Screen::TwipsPerPixelY();
}

float Form::ScaleWidth() const {
  const float w = Width() - FrameWidth();
  return w > 0 ? w : 0;
}
float Form::ScaleHeight() const {
  const float h = Height() - FrameHeight();
  return h > 0 ? h : 0;
}
void Form::SetScaleWidth(float width) {
  SetWidth(width + FrameWidth());
}
void Form::SetScaleHeight(float height) {
  SetHeight(height + FrameHeight());
}
void Form::SetClientSize(float width, float height) {
  if (!(width >= 0) || !(height >= 0)) Raise(errors::kInvalidPropertyValue);
  SetWidth(width + FrameWidth());
  SetHeight(height + FrameHeight());
}

void Form::SetScaleMode(std::int16_t mode) {
  if (mode != 1 && mode != 3) Raise(errors::kInvalidPropertyValue);
  scaleMode_ = mode;
}

void Form::SetWindowState(std::int16_t state) {
  if (state < 0 || state > 2) Raise(errors::kInvalidPropertyValue);
  if (state == windowState_) return;
  windowState_ = state;
  Notify(Aspect::State);
}

void Form::SetTopMost(bool topMost) {
  if (topMost == topMost_) return;
  topMost_ = topMost;
  Notify(Aspect::State);
}

void Form::Paint(const FilledRect& fill) {
  if (fill.rect.Empty()) return;
  std::erase_if(painting_, [&](const FilledRect& old) { return fill.rect.Covers(old.rect); });
  painting_.push_back(FilledRect{fill.rect, fill.color & 0x00FFFFFF});
  Notify(Aspect::Content);
}

void Form::Cls() {
  if (painting_.empty()) return;
  painting_.clear();
  Notify(Aspect::Content);
}

bool FillRect(std::int32_t hdc, const PixelRect& rect, std::uint32_t color) {
  Form* form = Desktop::FindByHandle(hdc);
  if (form == nullptr) return false;
  form->Paint(FilledRect{rect, color});
  return true;
}

std::int16_t Form::BorderStyle() const {
  BuiltInUsed();
  return borderStyle_;
}
void Form::SetBorderStyle(std::int16_t style) {
  if (style < 0 || style > 5) Raise(errors::kInvalidPropertyValue);
  // The client area keeps its size; the outer size follows the new frame.
  const float w = Width() - FrameWidth();
  const float h = Height() - FrameHeight();
  borderStyle_ = style;
  Notify(Aspect::Content);
  SetClientSize(w > 0 ? w : 0, h > 0 ? h : 0);
}

bool Form::IsActive() const {
  return Desktop::Active() == this;
}

WindowHandle Form::Hwnd() const {
  BuiltInUsed();
  return hwnd_;
}

Form* Form::Owner() const {
  return ownerAlive_.expired() ? nullptr : owner_;
}

Control* Form::ActiveControl() const {
  return activeControlAlive_.expired() ? nullptr : activeControl_;
}

void Form::RememberActiveControl(Control* control) {
  activeControl_ = control;
  activeControlAlive_ = control ? control->AliveToken() : std::weak_ptr<void>();
}

void Form::RearmTimers(Control& container) {
  for (Control* c : container.Children()) {
    if (auto* timer = dynamic_cast<Timer*>(c)) timer->Restart();
    RearmTimers(*c);
  }
}

// ---- load ------------------------------------------------------------------------------

void Form::Load() {
  if (state_ != State::Constructing && state_ != State::NotLoaded && state_ != State::Unloaded)
    return;
  std::shared_ptr<Form> keep = weak_from_this().lock();
  state_ = State::Loading;
  static std::uint64_t serial = 0;
  loadSerial_ = ++serial;
  hwnd_ = Desktop::NewHandle();
  Desktop::Opened(*this);
  try {
    if (auto h = onLoad) h();
  } catch (...) {
    // A failed Form_Load leaves no half-loaded window behind; the error goes on to
    // whatever caused the load.
    if (state_ == State::Loading) Close();
    throw;
  }
  if (state_ != State::Loading) return;  // unloaded inside its own Form_Load
  state_ = State::Loaded;
  RearmTimers(*this);
}

// ---- show and hide -----------------------------------------------------------------------

void Form::Show(int modal, Control* owner) {
  if (modal != kModeless && modal != kModal) Raise(errors::kInvalidProcedureCall);
  std::shared_ptr<Form> keep = weak_from_this().lock();
  std::weak_ptr<void> alive = AliveToken();
  if (modal == kModeless && Desktop::ModalDepth() > 0 && !(IsLoaded() && VisibleFlag()))
    Raise(kCannotShowModeless, u"Can't show non-modal form when modal form is displayed");
  if (modal == kModal && IsLoaded() && VisibleFlag())
    Raise(kAlreadyShown, u"Form already displayed; can't show modally");
  Load();
  if (alive.expired() || !IsLoaded()) Raise(kObjectUnloaded, u"Object was unloaded");

  if (owner) {
    Form* ownerForm = owner->ParentForm();
    if (ownerForm && ownerForm != this) {
      owner_ = ownerForm;
      ownerAlive_ = ownerForm->AliveToken();
    }
  }

  if (modal == kModeless) {
    const bool wasVisible = VisibleFlag();
    SetVisibleQuietly(true);
    windowVisible_ = true;
    if (!wasVisible) {
      notice::FormShown(*this);
      PaintUserControls(*this);
      if (alive.expired() || !IsLoaded()) return;
    }
    Desktop::Activate(*this);
    return;
  }

  Form* const ownerForm = Owner();
  std::weak_ptr<void> ownerAlive = ownerAlive_;
  {
    ModalScope scope(*this);
    modal_ = true;
    SetVisibleQuietly(true);
    windowVisible_ = true;
    notice::FormShown(*this);
    PaintUserControls(*this);
    if (!alive.expired() && IsLoaded()) Desktop::Activate(*this);
    // The nested loop: it ends when the form unloads or hides.
    while (!alive.expired() && IsLoaded() && VisibleFlag()) {
      EventLoop::RunPending();
      if (alive.expired() || !IsLoaded() || !VisibleFlag()) break;
      if (!CurrentBackend().WaitForInput(*this)) {
        // Nobody can ever answer this form: close it rather than wait forever.
        if (!Unload(unload_mode::kSessionEnding) && !alive.expired()) Hide();
        break;
      }
    }
    if (!alive.expired()) modal_ = false;
  }
  // While the form closed, the forms under it could not take the activation; now the
  // owner (or the front form) gets it back.
  if (!Desktop::Active()) Desktop::ActivateFront(ownerAlive.expired() ? nullptr : ownerForm);
}

void Form::Hide() {
  if (state_ == State::NotLoaded) Load();
  if (!VisibleFlag()) return;
  SetVisibleQuietly(false);
  windowVisible_ = false;
  notice::FormHidden(*this);
  Desktop::Hidden(*this);
}

void Form::Activate() {
  if (IsLoaded() && VisibleFlag()) Desktop::Activate(*this);
}

void Form::StateChanged() {
  // Visible from code means Show and Hide; Enabled is the window's input state.
  if (VisibleFlag() != windowVisible_) {
    const bool show = VisibleFlag();
    SetVisibleQuietly(!show);  // as it was: Show and Hide make the change themselves
    if (show)
      Show();
    else
      Hide();
    return;
  }
  Control::StateChanged();
}

void Form::SizeChanged() {
  if (state_ == State::Loaded)
    if (auto h = onResize) h();
}

// ---- unload -------------------------------------------------------------------------------

bool Form::Unload(std::int16_t mode) {
  if (state_ != State::Loaded && state_ != State::Loading) return true;
  std::shared_ptr<Form> keep = weak_from_this().lock();
  std::weak_ptr<void> alive = AliveToken();
  const State before = state_;
  state_ = State::Unloading;  // an Unload inside the handlers below does nothing more
  std::int16_t cancel = 0;
  if (auto h = onQueryUnload) h(cancel, mode);
  if (alive.expired()) return true;
  if (cancel == 0)
    if (auto h = onUnload) h(cancel);
  if (alive.expired()) return true;
  if (cancel != 0 && mode != unload_mode::kFormOwner) {
    state_ = before;
    return false;
  }
  // The forms this one owns go first, as owned windows do.
  for (Form* other : Desktop::OpenForms())
    if (other != this && other->Owner() == this)
      if (!other->Unload(unload_mode::kFormOwner)) other->ForceClose();
  if (alive.expired()) return true;
  Close();
  return true;
}

void Form::ForceClose() {
  if (state_ == State::NotLoaded || state_ == State::Unloaded || state_ == State::Constructing)
    return;
  Close();
}

void Form::Close() {
  std::shared_ptr<Form> keep = weak_from_this().lock();
  const bool wasVisible = VisibleFlag();
  SetVisibleQuietly(false);
  windowVisible_ = false;
  FocusManager::DropQuietly(*this);
  for (Control* c : Children())
    if (auto* timer = dynamic_cast<Timer*>(c)) EventLoop::Disarm(*timer);
  state_ = State::Unloaded;
  hwnd_ = 0;
  if (wasVisible) notice::FormHidden(*this);
  Desktop::Closed(*this);
}

WindowHandle GetActiveWindow() {
  Form* form = Desktop::Active();
  return form ? form->Hwnd() : 0;
}

}  // namespace ze::ui
