// HostSite: a ready-made container site for hosts and tests.
//
// It keeps what a simple host needs: a list of notices and events as they happen
// (through callbacks), the properties it refuses to let change, its ambient font,
// extender properties (its own settings first, then the control's base ones; a name
// can be declared missing), and at most one data binding.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "frame/container/data_binding.h"
#include "frame/ui/user_control.h"

namespace ze::ui {

class HostSite : public ControlSite {
 public:
  explicit HostSite(UserControl* control = nullptr) : control_(control) {}

  // The control whose base answers extender properties the site does not set.
  void SetControl(UserControl* control) { control_ = control; }

  // ControlSite
  void PropertyChanged(std::u16string_view name) override;
  bool CanPropertyChange(std::u16string_view name) override;
  std::shared_ptr<Font> AmbientFont() override { return ambientFont_; }
  std::optional<Variant> ExtenderProperty(std::u16string_view name) override;
  void RaiseEvent(std::u16string_view eventName, std::vector<Variant>& args) override;

  // Host-side settings.
  void SetAmbientFont(std::shared_ptr<Font> font) { ambientFont_ = std::move(font); }
  void Refuse(std::u16string_view property) { refused_.insert(String(property)); }
  void Allow(std::u16string_view property) { refused_.erase(String(property)); }
  void SetExtender(std::u16string_view name, Variant value);
  // The container has no such extender property at all.
  void RemoveExtender(std::u16string_view name);
  void Bind(std::unique_ptr<container::DataBinding> binding) { binding_ = std::move(binding); }
  container::DataBinding* Binding() const { return binding_.get(); }

  // What the host hears.
  std::function<void(std::u16string_view property)> onPropertyChanged;
  std::function<void(std::u16string_view eventName, std::vector<Variant>& args)> onEvent;

  // Whether PropertyChanged came since the last ClearDirty (the host saves then).
  bool Dirty() const { return dirty_; }
  void ClearDirty() { dirty_ = false; }

 private:
  UserControl* control_;
  std::shared_ptr<Font> ambientFont_ = container::DefaultFont();
  std::set<String> refused_;
  std::map<String, Variant> extender_;
  std::set<String> missing_;
  std::unique_ptr<container::DataBinding> binding_;
  bool dirty_ = false;
};

}  // namespace ze::ui
