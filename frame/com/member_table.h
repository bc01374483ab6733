// One table per automation class: each member declared once.
//
// A class lists its members in an X-macro, one line per member, in the order the
// type library shows them:
//
//   #define ZE_CLASS_MEMBERS(PROPERTY, METHOD, FUNCTION)
//     PROPERTY(name, dispid, type, write, getter, setter, help, flags)
//     METHOD(name, dispid, method, help, flags)
//     FUNCTION(name, dispid, method, result, (PARAM(name, type, pass, value), ...),
//              help, flags)
//   #define ZE_CLASS_EVENTS(EVENT)
//     EVENT(name, dispid, help)
//
//   type    a struct of member_types.h (members::Color, members::Boolean ...)
//   write   Let (put_name), Set (putref_name, for objects) or None (read-only)
//   getter, setter, method
//           the class's own C++ functions the member calls: getter() returns the
//           value, setter(value) takes it, method() runs; a None property's setter
//           is never called (write `_`)
//   result  a FUNCTION's result type, a member type as above
//   PARAM   one parameter of a FUNCTION, in order: its name, a member type and its
//           passing (ByVal, ByRef, Optional or Default; member_params.h says what the
//           method receives for each); `value` is a Default parameter's default,
//           `_` for the others. `()` for a function of no parameters. The FUNCTION's
//           method takes the parameters in order and returns the result's value:
//             FUNCTION(MaxGiorni, 5, MaxGiorni, members::Integer,
//                      (PARAM(Mese, members::Integer, ByVal, _),
//                       PARAM(Anno, members::Integer, Default, 2000)), u"", 0)
//           calls `std::int16_t MaxGiorni(std::int16_t mese, std::int16_t anno)`, and
//           the vtable entry is `HRESULT MaxGiorni(short Mese, short Anno, short* result)`
//   help    the help string property browsers show (u"..."); flags FUNCFLAG_ bits
//
// From that one list come
//   ZE_MEMBER_DESCRIPTIONS(LIST)       the type library's entries (std::vector<FuncDesc>):
//                                      a property's Get, then its Let or Set
//   ZE_MEMBER_BIND(table, target, LIST) the dispatch table's callbacks; `target` maps
//                                      the COM object to the object whose getters and
//                                      setters the lines name
//   ZE_MEMBER_VTABLE(LIST)              the dual interface's pure virtual entries
//   ZE_DUAL_INTERFACE(Name, iid, LIST)  the whole dual interface, IDispatch and them
//   ZE_MEMBER_DUAL(LIST)                the object's overrides of them, each going
//                                      through Invoke so both ways behave alike
//   ZE_EVENT_DESCRIPTIONS(EVENTS)       the event interface's entries
//
// Adding a property is one PROPERTY line plus its getter and setter in the class, a
// function one FUNCTION line plus its method. A METHOD takes no arguments and returns
// nothing; a routine with parameters and no result is a FUNCTION whose result is
// members::Void. (The vtable entries are spelled by the preprocessor, which walks a
// FUNCTION's parameters with preprocessor_list.h.)
#pragma once

#include <exception>
#include <span>
#include <utility>
#include <vector>

#include "frame/com/dispatch.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/error_info.h"
#include "frame/com/member_params.h"
#include "frame/com/member_types.h"
#include "frame/com/preprocessor_list.h"
#include "frame/com/type_info.h"

namespace ze::com::members {

enum class Write { Let, Set, None };

inline INVOKEKIND PutKind(Write write) {
  return write == Write::Set ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT;
}

template <class Type>
void DescribeProperty(std::vector<FuncDesc>& out, DISPID id, const char16_t* name, Write write,
                      const char16_t* help, WORD flags) {
  const TypeDesc type = Type::Desc();
  out.push_back(FuncDesc{id, name, INVOKE_PROPERTYGET, type, {}, flags, help});
  if (write == Write::None) return;
  out.push_back(FuncDesc{
      id, name, PutKind(write), type, {ParamDesc{u"Value", type, PARAMFLAG_FIN, {}}}, flags, help});
}

inline void DescribeMethod(std::vector<FuncDesc>& out, DISPID id, const char16_t* name,
                           const char16_t* help, WORD flags) {
  out.push_back(FuncDesc{id, name, INVOKE_FUNC, TypeDesc{VT_VOID, {}}, {}, flags, help});
}

// Binds a described property: `get(object)` gives the Variant, `put(object, value)`
// stores one (not called for a read-only property). A line that names a member the
// description lacks is a programming error, caught by the first call of the table.
template <Write kWrite, class T, class Get, class Put>
void BindProperty(DispatchTable<T>& table, DISPID id, Get get, Put put) {
  bool bound = table.BindGet(id, std::move(get));
  if constexpr (kWrite == Write::Let) bound = bound && table.BindLet(id, std::move(put));
  if constexpr (kWrite == Write::Set) bound = bound && table.BindSet(id, std::move(put));
  if (!bound) std::terminate();
}

template <class T, class Call>
void BindMethod(DispatchTable<T>& table, DISPID id, Call call) {
  if (!table.BindMethod(id, std::move(call))) std::terminate();
}

// The dual interface's entries, through Invoke.
inline HRESULT ThroughInvoke(IDispatch* self, DISPID id, WORD flags, std::span<Variant> args,
                             Variant* result) {
  EXCEPINFO info;
  return ResultForVtable(TryInvoke(self, id, flags, args, result, &info), info);
}

template <class Type>
HRESULT GetThroughInvoke(IDispatch* self, DISPID id, typename Type::Abi* value) {
  if (value == nullptr) return E_POINTER;
  *value = typename Type::Abi{};
  Variant result;
  const HRESULT hr = ThroughInvoke(self, id, DISPATCH_PROPERTYGET, {}, &result);
  return FAILED(hr) ? hr : Type::ToAbi(result, value);
}

template <class Type>
HRESULT PutThroughInvoke(IDispatch* self, DISPID id, WORD flags, typename Type::Abi value) {
  Variant arg = Type::FromAbi(std::move(value));
  return ThroughInvoke(self, id, flags, std::span<Variant>(&arg, 1), nullptr);
}

inline HRESULT CallThroughInvoke(IDispatch* self, DISPID id) {
  return ThroughInvoke(self, id, DISPATCH_METHOD, {}, nullptr);
}

template <class Result>
void DescribeFunction(std::vector<FuncDesc>& out, DISPID id, const char16_t* name,
                      std::vector<ParamDesc> params, const char16_t* help, WORD flags) {
  out.push_back(FuncDesc{id, name, INVOKE_FUNC, Result::Desc(), std::move(params), flags, help});
}

// A function's dual-interface entry: `passed` holds the arguments in their natural
// order and then the result.
inline HRESULT FunctionThroughInvoke(IDispatch* self, DISPID id, std::vector<Passed> passed) {
  std::vector<Variant> args;
  for (const Passed& p : passed) {
    if (p.null_pointer) return E_POINTER;
    if (p.role == Passed::Role::kArgument) args.push_back(p.value);
  }
  Variant value;
  const HRESULT hr = ThroughInvoke(self, id, DISPATCH_METHOD, args, &value);
  if (FAILED(hr)) return hr;
  std::size_t arg = 0;
  for (const Passed& p : passed) {
    const Variant& written = p.role == Passed::Role::kResult ? value : args[arg++];
    if (!p.write_back) continue;
    if (const HRESULT back = p.write_back(written); FAILED(back)) return back;
  }
  return hr;
}

}  // namespace ze::com::members

// Type-library entries.
#define ZE_MEMBER_DESCRIBE_PROPERTY(name, id, type, write, getter, setter, help, flags)     \
  ::ze::com::members::DescribeProperty<type>(out, id, u"" #name,                           \
                                             ::ze::com::members::Write::write, help, flags);
#define ZE_MEMBER_DESCRIBE_METHOD(name, id, method, help, flags) \
  ::ze::com::members::DescribeMethod(out, id, u"" #name, help, flags);
// A FUNCTION's parameters: PARAM(...) and, on the dual interface, the result after
// them as RESULT(type); each macro below is pasted onto one entry.
#define ZE_MEMBER_PARAM_TYPE(entry) ZE_MEMBER_PARAM_TYPE_##entry
#define ZE_MEMBER_PARAM_TYPE_PARAM(name, type, pass, value) \
  ::ze::com::members::Param<type, ::ze::com::members::Pass::pass>
#define ZE_MEMBER_DEFAULT_ByVal(type, value) ::ze::Variant()
#define ZE_MEMBER_DEFAULT_ByRef(type, value) ::ze::Variant()
#define ZE_MEMBER_DEFAULT_Optional(type, value) ::ze::Variant()
#define ZE_MEMBER_DEFAULT_Default(type, value) type::Out(value)
#define ZE_MEMBER_PARAM_DESC(entry) ZE_MEMBER_PARAM_DESC_##entry
#define ZE_MEMBER_PARAM_DESC_PARAM(name, type, pass, value) \
  ZE_MEMBER_PARAM_TYPE_PARAM(name, type, pass, value)::Describe(                        \
      u"" #name, ZE_MEMBER_DEFAULT_##pass(type, value))

#define ZE_MEMBER_DESCRIBE_FUNCTION(name, id, method, result, params, help, flags) \
  ::ze::com::members::DescribeFunction<result>(                                      \
      out, id, u"" #name, {ZE_PP_FOR_EACH(ZE_MEMBER_PARAM_DESC, params)}, help, flags);
#define ZE_MEMBER_DESCRIPTIONS(LIST)                                                      \
  [] {                                                                                    \
    std::vector<::ze::com::FuncDesc> out;                                                 \
    LIST(ZE_MEMBER_DESCRIBE_PROPERTY, ZE_MEMBER_DESCRIBE_METHOD, ZE_MEMBER_DESCRIBE_FUNCTION) \
    return out;                                                                           \
  }()

#define ZE_EVENT_DESCRIBE(name, id, help) \
  ::ze::com::members::DescribeMethod(out, id, u"" #name, help, 0);
#define ZE_EVENT_DESCRIPTIONS(EVENTS)             \
  [] {                                            \
    std::vector<::ze::com::FuncDesc> out;         \
    EVENTS(ZE_EVENT_DESCRIBE)                     \
    return out;                                   \
  }()

// Dispatch callbacks. The lambdas are generic so that a read-only line's setter is
// never instantiated.
#define ZE_MEMBER_BIND_PROPERTY(name, id, type, write, getter, setter, help, flags)         \
  ::ze::com::members::BindProperty<::ze::com::members::Write::write>(                       \
      *ze_table, id, [=](auto& o) { return type::Out(ze_target(o).getter()); },             \
      [=](auto& o, const ::ze::Variant& v) { ze_target(o).setter(type::In(v)); });
#define ZE_MEMBER_BIND_METHOD(name, id, method, help, flags)                              \
  ::ze::com::members::BindMethod(*ze_table, id, [=](auto& o, std::span<::ze::Variant>) {  \
    ze_target(o).method();                                                                \
    return ::ze::Variant();                                                               \
  });
#define ZE_MEMBER_BIND_FUNCTION(name, id, method, result, params, help, flags)            \
  ::ze::com::members::BindMethod(*ze_table, id, [=](auto& o, std::span<::ze::Variant> args) { \
    return ::ze::com::members::CallWith<result>(                                           \
        ::ze::com::members::Params<ZE_PP_FOR_EACH(ZE_MEMBER_PARAM_TYPE, params)>{}, args,  \
        [&](auto&... values) { return ze_target(o).method(values...); });                  \
  });
#define ZE_MEMBER_BIND(table, target, LIST)                                         \
  do {                                                                              \
    auto* ze_table = &(table);                                                      \
    auto ze_target = (target);                                                      \
    LIST(ZE_MEMBER_BIND_PROPERTY, ZE_MEMBER_BIND_METHOD, ZE_MEMBER_BIND_FUNCTION)   \
  } while (false)

// The dual interface: pure virtual entries in the interface ...
#define ZE_MEMBER_VTABLE_PUT_Let(name, type) \
  virtual ::ze::com::HRESULT put_##name(type::Abi value) = 0;
#define ZE_MEMBER_VTABLE_PUT_Set(name, type) \
  virtual ::ze::com::HRESULT putref_##name(type::Abi value) = 0;
#define ZE_MEMBER_VTABLE_PUT_None(name, type)
#define ZE_MEMBER_VTABLE_PROPERTY(name, id, type, write, getter, setter, help, flags) \
  virtual ::ze::com::HRESULT get_##name(type::Abi* value) = 0;                        \
  ZE_MEMBER_VTABLE_PUT_##write(name, type)
#define ZE_MEMBER_VTABLE_METHOD(name, id, method, help, flags) \
  virtual ::ze::com::HRESULT name() = 0;
// A function's entry: its parameters as the dual interface passes them, then the
// result's pointer.
#define ZE_MEMBER_ABI_DECL(entry) ZE_MEMBER_ABI_DECL_##entry
#define ZE_MEMBER_ABI_DECL_PARAM(name, type, pass, value) \
  ZE_MEMBER_PARAM_TYPE_PARAM(name, type, pass, value)::Abi name
#define ZE_MEMBER_ABI_DECL_RESULT(type) type::Abi* ze_result
#define ZE_MEMBER_FUNCTION_SIGNATURE(name, result, params) \
  ::ze::com::HRESULT name(ZE_PP_FOR_EACH(ZE_MEMBER_ABI_DECL, ZE_PP_APPEND(params, RESULT(result))))
#define ZE_MEMBER_VTABLE_FUNCTION(name, id, method, result, params, help, flags) \
  virtual ZE_MEMBER_FUNCTION_SIGNATURE(name, result, params) = 0;
#define ZE_MEMBER_VTABLE(LIST) \
  LIST(ZE_MEMBER_VTABLE_PROPERTY, ZE_MEMBER_VTABLE_METHOD, ZE_MEMBER_VTABLE_FUNCTION)
// A dual interface of its own: IDispatch, then the entries of LIST.
#define ZE_DUAL_INTERFACE(Name, iid, LIST)        \
  class Name : public ::ze::com::IDispatch {      \
   public:                                        \
    static constexpr ::ze::com::IID kIid = (iid); \
    using Base = ::ze::com::IDispatch;            \
    ZE_MEMBER_VTABLE(LIST)                        \
                                                  \
   protected:                                     \
    ~Name() = default;                            \
  }

// ... and their overrides in the object.
#define ZE_MEMBER_DUAL_PUT_Let(name, id, type)                                            \
  ::ze::com::HRESULT put_##name(type::Abi value) override {                               \
    return ::ze::com::members::PutThroughInvoke<type>(this, id, ::ze::com::DISPATCH_PROPERTYPUT, \
                                                      std::move(value));                  \
  }
#define ZE_MEMBER_DUAL_PUT_Set(name, id, type)                                  \
  ::ze::com::HRESULT putref_##name(type::Abi value) override {                  \
    return ::ze::com::members::PutThroughInvoke<type>(                          \
        this, id, ::ze::com::DISPATCH_PROPERTYPUTREF, std::move(value));        \
  }
#define ZE_MEMBER_DUAL_PUT_None(name, id, type)
#define ZE_MEMBER_DUAL_PROPERTY(name, id, type, write, getter, setter, help, flags) \
  ::ze::com::HRESULT get_##name(type::Abi* value) override {                        \
    return ::ze::com::members::GetThroughInvoke<type>(this, id, value);             \
  }                                                                                 \
  ZE_MEMBER_DUAL_PUT_##write(name, id, type)
#define ZE_MEMBER_DUAL_METHOD(name, id, method, help, flags) \
  ::ze::com::HRESULT name() override {                       \
    return ::ze::com::members::CallThroughInvoke(this, id);  \
  }
#define ZE_MEMBER_PASS(entry) ZE_MEMBER_PASS_##entry
#define ZE_MEMBER_PASS_PARAM(name, type, pass, value) \
  ZE_MEMBER_PARAM_TYPE_PARAM(name, type, pass, value)::Passing(name)
#define ZE_MEMBER_PASS_RESULT(type) ::ze::com::members::ResultInto<type>(ze_result)
#define ZE_MEMBER_DUAL_FUNCTION(name, id, method, result, params, help, flags)          \
  ZE_MEMBER_FUNCTION_SIGNATURE(name, result, params) override {                        \
    return ::ze::com::members::FunctionThroughInvoke(                                   \
        this, id, {ZE_PP_FOR_EACH(ZE_MEMBER_PASS, ZE_PP_APPEND(params, RESULT(result)))}); \
  }
#define ZE_MEMBER_DUAL(LIST) \
  LIST(ZE_MEMBER_DUAL_PROPERTY, ZE_MEMBER_DUAL_METHOD, ZE_MEMBER_DUAL_FUNCTION)
