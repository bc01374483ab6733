// A function's parameters and result, as a member table line declares them.
//
// Each parameter is a member type (member_types.h) and a way of passing:
//   ByVal     the function gets the value                      PARAMFLAG_FIN
//   ByRef     the function gets a reference; what it leaves     PARAMFLAG_FIN | FOUT
//             there goes back into the caller's argument
//   Optional  the function gets std::optional, empty when the   PARAMFLAG_FIN | FOPT
//             caller left it out
//   Default   as ByVal; a caller that leaves it out passes the  PARAMFLAG_FIN | FOPT |
//             line's default                                     FHASDEFAULT
// On the dual interface a ByRef parameter is a pointer, an Optional one a Variant
// (the "missing" marker when left out), the others the type's Abi; the result comes
// last, through a pointer.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "frame/automation/variant.h"
#include "frame/com/dispatch.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/member_types.h"
#include "frame/com/type_info.h"

namespace ze::com::members {

enum class Pass { ByVal, ByRef, Optional, Default };

// One argument as the dual interface hands it to Invoke, and, for a ByRef parameter
// or the result, how the caller's variable is written afterwards.
struct Passed {
  enum class Role { kArgument, kResult };
  using WriteBack = std::function<HRESULT(const Variant&)>;

  static Passed Argument(Variant value, WriteBack write_back = nullptr) {
    return Passed(Role::kArgument, std::move(value), std::move(write_back), false);
  }
  static Passed Result(WriteBack write_back) {
    return Passed(Role::kResult, Variant(), std::move(write_back), false);
  }
  // The caller gave no variable for a ByRef parameter or the result.
  static Passed NullPointer() { return Passed(Role::kArgument, Variant(), nullptr, true); }

  Role role;
  Variant value;
  WriteBack write_back;  // empty: nothing to write
  bool null_pointer;

 private:
  Passed(Role r, Variant v, WriteBack w, bool null)
      : role(r), value(std::move(v)), write_back(std::move(w)), null_pointer(null) {}
};

template <class Type, Pass kPass>
struct Param {
  using Value = std::remove_cvref_t<decltype(Type::In(std::declval<const Variant&>()))>;
  // What the class's function receives.
  using Held = std::conditional_t<kPass == Pass::Optional, std::optional<Value>, Value>;
  using Abi = std::conditional_t<kPass == Pass::ByRef, typename Type::Abi*,
                                 std::conditional_t<kPass == Pass::Optional, Variant,
                                                    typename Type::Abi>>;

  static ParamDesc Describe(const char16_t* name, Variant default_value) {
    WORD flags = PARAMFLAG_FIN;
    if (kPass == Pass::ByRef) flags |= PARAMFLAG_FOUT;
    if (kPass == Pass::Optional) flags |= PARAMFLAG_FOPT;
    if (kPass == Pass::Default) flags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
    return ParamDesc{name, Type::Desc(), flags, std::move(default_value)};
  }

  // The dispatch side: Invoke has converted the argument to the declared type.
  static Held Take(const Variant& v) {
    if constexpr (kPass == Pass::Optional) {
      if (IsMissing(v)) return std::nullopt;
    }
    return Type::In(v);
  }
  static void GiveBack(Variant& argument, const Held& held) {
    if constexpr (kPass == Pass::ByRef) argument = Type::Out(held);
  }

  // The dual interface's side.
  static Passed Passing(Abi value) {
    if constexpr (kPass == Pass::ByRef) {
      if (value == nullptr) return Passed::NullPointer();
      return Passed::Argument(Type::FromAbi(*value),
                              [value](const Variant& v) { return Type::ToAbi(v, value); });
    } else if constexpr (kPass == Pass::Optional) {
      return Passed::Argument(std::move(value));
    } else {
      return Passed::Argument(Type::FromAbi(std::move(value)));
    }
  }
};

template <class Type>
Passed ResultInto(typename Type::Abi* out) {
  if (out == nullptr) return Passed::NullPointer();
  *out = typename Type::Abi{};
  return Passed::Result([out](const Variant& v) { return Type::ToAbi(v, out); });
}

// A Sub's result pointer is never written.
template <>
inline Passed ResultInto<Void>(Void::Abi*) {
  return Passed::Result(nullptr);
}

template <class... Ps>
struct Params {};

// Calls `call` with the converted arguments, writes the ByRef ones back into `args`
// and returns the result as a Variant.
template <class Result, class... Ps, class Call>
Variant CallWith(Params<Ps...>, std::span<Variant> args, Call call) {
  // The description and the binding come from the same line.
  if (args.size() != sizeof...(Ps)) std::terminate();
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    std::tuple<typename Ps::Held...> held{Ps::Take(args[I])...};
    Variant result;
    if constexpr (std::is_same_v<Result, Void>)
      std::apply(call, held);
    else
      result = Result::Out(std::apply(call, held));
    (Ps::GiveBack(args[I], std::get<I>(held)), ...);
    return result;
  }(std::index_sequence_for<Ps...>{});
}

}  // namespace ze::com::members
