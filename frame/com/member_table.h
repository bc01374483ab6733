// One table per automation class: each member declared once.
//
// A class lists its members in an X-macro, one line per member, in the order the
// type library shows them:
//
//   #define ZE_CLASS_MEMBERS(PROPERTY, METHOD)
//     PROPERTY(name, dispid, type, write, getter, setter, help, flags)
//     METHOD(name, dispid, method, help, flags)
//   #define ZE_CLASS_EVENTS(EVENT)
//     EVENT(name, dispid, help)
//
//   type    a struct of member_types.h (members::Color, members::Boolean ...)
//   write   Let (put_name), Set (putref_name, for objects) or None (read-only)
//   getter, setter, method
//           the class's own C++ functions the member calls: getter() returns the
//           value, setter(value) takes it, method() runs; a None property's setter
//           is never called (write `_`)
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
// Adding a property is one PROPERTY line plus its getter and setter in the class.
// Methods of the table take no arguments and return nothing (the vtable entries are
// spelled by the preprocessor); a method with parameters is described and bound
// with DispatchTable::Method instead.
#pragma once

#include <exception>
#include <span>
#include <utility>
#include <vector>

#include "frame/com/dispatch.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_table.h"
#include "frame/com/error_info.h"
#include "frame/com/member_types.h"
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

}  // namespace ze::com::members

// Type-library entries.
#define ZE_MEMBER_DESCRIBE_PROPERTY(name, id, type, write, getter, setter, help, flags)     \
  ::ze::com::members::DescribeProperty<type>(out, id, u"" #name,                           \
                                             ::ze::com::members::Write::write, help, flags);
#define ZE_MEMBER_DESCRIBE_METHOD(name, id, method, help, flags) \
  ::ze::com::members::DescribeMethod(out, id, u"" #name, help, flags);
#define ZE_MEMBER_DESCRIPTIONS(LIST)                                  \
  [] {                                                                \
    std::vector<::ze::com::FuncDesc> out;                             \
    LIST(ZE_MEMBER_DESCRIBE_PROPERTY, ZE_MEMBER_DESCRIBE_METHOD)      \
    return out;                                                       \
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
#define ZE_MEMBER_BIND(table, target, LIST)                  \
  do {                                                       \
    auto* ze_table = &(table);                               \
    auto ze_target = (target);                               \
    LIST(ZE_MEMBER_BIND_PROPERTY, ZE_MEMBER_BIND_METHOD)     \
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
#define ZE_MEMBER_VTABLE(LIST) LIST(ZE_MEMBER_VTABLE_PROPERTY, ZE_MEMBER_VTABLE_METHOD)
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
#define ZE_MEMBER_DUAL(LIST) LIST(ZE_MEMBER_DUAL_PROPERTY, ZE_MEMBER_DUAL_METHOD)
