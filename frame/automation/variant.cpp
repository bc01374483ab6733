// Variant kinds.
#include "frame/automation/variant.h"

namespace ze {

VarType Variant::type() const {
  static constexpr VarType kByIndex[] = {VarType::Empty,  VarType::Null,   VarType::Integer,
                                         VarType::Long,   VarType::Single, VarType::Double,
                                         VarType::Date,   VarType::String, VarType::Boolean,
                                         VarType::Object, VarType::Error};
  return kByIndex[value_.index()];
}

bool Variant::IsNumeric() const {
  switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double: return true;
    default: return false;
  }
}

}  // namespace ze
