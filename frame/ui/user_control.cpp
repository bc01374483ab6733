// UserControl: lifecycle calls, the default site, scale conversions.
#include "frame/ui/user_control.h"

#include "frame/automation/error.h"
#include "frame/ui/form.h"
#include "frame/ui/screen.h"

namespace ze::ui {

// The site of a control that no host placed: nothing listens, everything may change,
// and the extender is the control's own base.
class UserControl::DefaultSite final : public ControlSite {
 public:
  explicit DefaultSite(UserControl& owner) : owner_(owner) {}
  void PropertyChanged(std::u16string_view) override {}
  bool CanPropertyChange(std::u16string_view) override { return true; }
  std::shared_ptr<Font> AmbientFont() override { return container::DefaultFont(); }
  std::optional<Variant> ExtenderProperty(std::u16string_view name) override {
    return BaseExtenderProperty(owner_, name);
  }
  void RaiseEvent(std::u16string_view, std::vector<Variant>&) override {}

 private:
  UserControl& owner_;
};

std::optional<Variant> BaseExtenderProperty(const Control& control, std::u16string_view name) {
  if (name == u"Name") return Variant(control.Name());
  if (name == u"Left") return Variant(control.Left());
  if (name == u"Top") return Variant(control.Top());
  if (name == u"Width") return Variant(control.Width());
  if (name == u"Height") return Variant(control.Height());
  if (name == u"Visible") return Variant(control.VisibleFlag());
  if (name == u"Enabled") return Variant(control.EnabledFlag());
  if (name == u"ToolTipText") return Variant(control.ToolTipText());
  if (name == u"TabIndex") return Variant(static_cast<std::int16_t>(control.TabIndex()));
  if (name == u"TabStop") return Variant(control.TabStop());
  if (name == u"Index") return Variant(static_cast<std::int16_t>(control.Index()));
  return std::nullopt;
}

UserControl::UserControl() : defaultSite_(std::make_unique<DefaultSite>(*this)) {
  SetBackColor(colors::kButtonFace);
  SetForeColor(colors::kButtonText);
}

UserControl::~UserControl() = default;

void UserControl::SetSite(ControlSite* site) {
  site_ = site;
}

ControlSite& UserControl::Site() const {
  return site_ ? *site_ : static_cast<ControlSite&>(*defaultSite_);
}

void UserControl::InitNew() {
  UserControl_InitProperties();
}
void UserControl::Load(PropertyBag& bag) {
  UserControl_ReadProperties(bag);
}
void UserControl::Save(PropertyBag& bag) {
  UserControl_WriteProperties(bag);
}

void UserControl::Paint() {
  ++paintCount_;
  UserControl_Paint();
}

void UserControl::SizeChanged() {
  // The designed size set while the control is built is no resize: nothing is laid
  // out until a container holds it.
  if (!Container()) return;
  std::weak_ptr<void> alive = AliveToken();
  UserControl_Resize();
  // A resized control that shows is repainted, as the container invalidates it.
  if (!alive.expired() && Showing()) Paint();
}

bool UserControl::Showing() const {
  Form* form = ParentForm();
  return form && form->IsLoaded() && EffectivelyVisible();
}

void UserControl::StateChanged() {
  Control::StateChanged();
  // Coming into view on a shown form paints it.
  if (VisibleFlag() && Showing()) Paint();
}

void PaintUserControls(Control& container) {
  for (Control* c : container.Children()) {
    if (!c->VisibleFlag()) continue;
    if (UserControl* u = c->AsUserControl()) {
      std::weak_ptr<void> alive = u->AliveToken();
      u->Paint();
      if (alive.expired()) continue;
    }
    PaintUserControls(*c);
  }
}

float UserControl::ScaleWidth() const {
  return Width();
}
float UserControl::ScaleHeight() const {
  return Height();
}

namespace {

// Twips per unit of a scale mode along one axis.
double TwipsPerUnit(int mode, bool horizontal) {
  switch (mode) {
    case scale::kUser:
    case scale::kTwips:
      return 1;
    case scale::kPoints:
      return 20;
    case scale::kPixels:
      return horizontal ? Screen::TwipsPerPixelX() : Screen::TwipsPerPixelY();
    case scale::kCharacters:
      return horizontal ? 120 : 240;
    case scale::kInches:
      return 1440;
    case scale::kMillimeters:
      return 1440 / 25.4;
    case scale::kCentimeters:
      return 1440 / 2.54;
    case scale::kHimetric:
      return 1440 / 2540.0;
    default:
      Raise(errors::kInvalidProcedureCall);
  }
}

}  // namespace

float UserControl::ScaleX(float v, int fromScale, int toScale) const {
  return static_cast<float>(v * TwipsPerUnit(fromScale, true) / TwipsPerUnit(toScale, true));
}

float UserControl::ScaleY(float v, int fromScale, int toScale) const {
  return static_cast<float>(v * TwipsPerUnit(fromScale, false) / TwipsPerUnit(toScale, false));
}

void UserControl::PropertyChanged(std::u16string_view name) {
  Site().PropertyChanged(name);
}
bool UserControl::CanPropertyChange(std::u16string_view name) {
  return Site().CanPropertyChange(name);
}
std::shared_ptr<Font> UserControl::AmbientFont() {
  auto font = Site().AmbientFont();
  return font ? font : container::DefaultFont();
}
std::optional<Variant> UserControl::ExtenderProperty(std::u16string_view name) {
  return Site().ExtenderProperty(name);
}
void UserControl::RaiseEvent(std::u16string_view name, std::vector<Variant> args) {
  Site().RaiseEvent(name, args);
}

}  // namespace ze::ui
