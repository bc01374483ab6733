// CountingSite: the benchmarks' host for a user control. It counts the change notices
// and events it is told of, as a real host would take them, and answers the control's
// container questions with plain defaults.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/container/font.h"
#include "frame/ui/user_control.h"

namespace ze::bench {

class CountingSite : public ze::ui::ControlSite {
 public:
  long notices = 0, events = 0;
  void PropertyChanged(std::u16string_view) override { ++notices; }
  bool CanPropertyChange(std::u16string_view) override { return true; }
  std::shared_ptr<ze::container::Font> AmbientFont() override { return font_; }
  std::optional<ze::Variant> ExtenderProperty(std::u16string_view) override { return {}; }
  void RaiseEvent(std::u16string_view, std::vector<ze::Variant>&) override { ++events; }

 private:
  std::shared_ptr<ze::container::Font> font_ = std::make_shared<ze::container::Font>();
};

}  // namespace ze::bench
