// The container's objects as member types of a member table (frame/com/member_types.h):
// Font, which a property must always hold, and Picture, where Nothing means none.
#pragma once

#include "frame/com/member_types.h"
#include "frame/container/font.h"
#include "frame/container/picture.h"

namespace ze::container::members {

using namespace ze::com::members;

struct FontTraits {
  static constexpr const char16_t* kName = u"Font";
  static constexpr Nothing kNothing = Nothing::kRefused;
};
struct PictureTraits {
  static constexpr const char16_t* kName = u"Picture";
  static constexpr Nothing kNothing = Nothing::kAllowed;
};

using Font = ObjectOf<container::Font, FontTraits>;
using Picture = ObjectOf<container::Picture, PictureTraits>;

}  // namespace ze::container::members
