// StringArray: an array of Strings held by a Variant, as zeSplit fills one.
//
// The runtime's Variant has no array kind of its own; a String array travels as an
// object of this class, which scripts and hosts write as Array("a", "", "b"). It
// always starts at index 0, as the arrays the library builds do.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "frame/automation/variant.h"

namespace ze {

class StringArray final : public Object {
 public:
  StringArray() = default;
  explicit StringArray(std::vector<String> items) : items_(std::move(items)) {}

  String TypeName() const override { return u"String()"; }
  const std::vector<String>& items() const { return items_; }

  static Variant Wrap(std::vector<String> items) {
    return Variant(ObjectRef(std::make_shared<StringArray>(std::move(items))));
  }
  // The array a Variant holds, or nullptr when it holds none.
  static const StringArray* Of(const Variant& v) {
    if (!v.Is<ObjectRef>()) return nullptr;
    return dynamic_cast<const StringArray*>(v.Get<ObjectRef>().get());
  }

 private:
  std::vector<String> items_;
};

}  // namespace ze
