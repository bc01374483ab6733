// The registry of widget factories (see widget_factory.h).
#include "frame/qt/widget_factory.h"

#include <typeindex>
#include <unordered_map>

#include "frame/qt/control_widgets.h"
#include "frame/ui/control.h"

namespace ze::qt {

namespace {

using Registry = std::unordered_map<std::type_index, WidgetFactory>;

// Made with the built-in kinds on first use, so that a registration from another
// file's static initialiser finds them there already.
Registry& Factories() {
  static Registry factories = [] {
    Registry built;
    for (const auto& [type, factory] : BuiltInWidgetFactories()) built.emplace(*type, factory);
    return built;
  }();
  return factories;
}

}  // namespace

void RegisterWidgetFactory(const std::type_info& modelType, const WidgetFactory& factory) {
  Factories().insert_or_assign(std::type_index(modelType), factory);
}

const WidgetFactory& WidgetFactoryFor(const ze::ui::Control& control) {
  Registry& factories = Factories();
  auto it = factories.find(std::type_index(control.ViewType()));
  if (it != factories.end()) return it->second;
  return factories.at(std::type_index(typeid(ze::ui::Control)));
}

}  // namespace ze::qt
