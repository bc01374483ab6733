// HostSite.
#include "frame/ui/host_site.h"

namespace ze::ui {

void HostSite::PropertyChanged(std::u16string_view name) {
  dirty_ = true;
  if (auto h = onPropertyChanged) h(name);
  if (binding_) binding_->PropertyChanged(name);
}

bool HostSite::CanPropertyChange(std::u16string_view name) {
  if (refused_.count(String(name))) return false;
  return binding_ ? binding_->CanPropertyChange(name) : true;
}

std::optional<Variant> HostSite::ExtenderProperty(std::u16string_view name) {
  const String key(name);
  if (missing_.count(key)) return std::nullopt;
  if (auto it = extender_.find(key); it != extender_.end()) return it->second;
  return control_ ? BaseExtenderProperty(*control_, name) : std::nullopt;
}

void HostSite::RaiseEvent(std::u16string_view eventName, std::vector<Variant>& args) {
  if (auto h = onEvent) h(eventName, args);
}

void HostSite::SetExtender(std::u16string_view name, Variant value) {
  missing_.erase(String(name));
  extender_[String(name)] = std::move(value);
}

void HostSite::RemoveExtender(std::u16string_view name) {
  extender_.erase(String(name));
  missing_.insert(String(name));
}

}  // namespace ze::ui
