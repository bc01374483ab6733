// Variant: the automation's tagged value.
//
// Holds one of Empty, Null, Integer (16-bit), Long (32-bit), Single, Double, Date,
// String, Boolean, Object or Error. This header only holds and compares values; the
// locale-aware conversions between the kinds (CStr, CDbl, CInt ...) live with the
// conversion services. Booleans are plain bool here and become the 16-bit automation
// Boolean (True = -1) at the binary interface.
#pragma once

#include <cstdint>
#include <memory>
#include <variant>

#include "frame/automation/date_value.h"
#include "frame/automation/string.h"

namespace ze {

// Base of every object a Variant can hold (fonts, pictures, controls seen through
// their dispatch interface). Shared ownership stands for COM reference counting.
class Object {
 public:
  virtual ~Object() = default;
  // The class name a script or a type check shows ("Font", "Picture", "Kalendo").
  virtual String TypeName() const = 0;
};
using ObjectRef = std::shared_ptr<Object>;

enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
};

struct NullValue {
  friend bool operator==(NullValue, NullValue) = default;
};
struct ErrorValue {
  std::int32_t code = 0;
  friend bool operator==(ErrorValue, ErrorValue) = default;
};

class Variant {
 public:
  Variant() = default;
  Variant(NullValue v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Date v) : value_(v) {}
  Variant(String v) : value_(std::move(v)) {}
  Variant(const char16_t* v) : value_(String(v)) {}
  Variant(bool v) : value_(v) {}
  Variant(ObjectRef v) : value_(std::move(v)) {}
  Variant(ErrorValue v) : value_(v) {}

  static Variant Null() { return Variant(NullValue{}); }
  // An object slot holding no object (Nothing).
  static Variant Nothing() { return Variant(ObjectRef{}); }

  VarType type() const;
  bool IsEmpty() const { return value_.index() == 0; }
  bool IsNull() const { return std::holds_alternative<NullValue>(value_); }
  bool IsNumeric() const;  // Integer, Long, Single, Double (not Boolean, not Date)

  template <class T>
  bool Is() const { return std::holds_alternative<T>(value_); }
  // The held value of kind T; T must be the held kind.
  template <class T>
  const T& Get() const { return std::get<T>(value_); }

  // Same kind and same value; objects compare by identity. This is the strict
  // comparison of two stored values, not the automation "=" operator.
  friend bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

 private:
  std::variant<std::monostate, NullValue, std::int16_t, std::int32_t, float, double, Date,
               String, bool, ObjectRef, ErrorValue>
      value_;
};

}  // namespace ze
