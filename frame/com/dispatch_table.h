// The dispatch table: IDispatch for an object from a table of its members.
//
// A class describes its dispatch interface once (library record, interface
// attributes, members with dispatch id, name, kind, type, help string and flags)
// and binds each member to a callback: a getter returning a Variant, a setter
// (Let, or Set for objects) taking one, a method taking its arguments in their
// natural order. The table then answers GetTypeInfoCount, GetTypeInfo,
// GetIDsOfNames and Invoke for every object of the class:
//
//   unknown name                         DISP_E_UNKNOWNNAME
//   unknown dispatch id, or no member
//     of that id for the kind asked      DISP_E_MEMBERNOTFOUND
//   wrong number of arguments            DISP_E_BADPARAMCOUNT
//   a put without the DISPID_PROPERTYPUT
//     named argument, a bad named one    DISP_E_PARAMNOTFOUND
//   an argument that cannot be converted
//     to the declared type               DISP_E_TYPEMISMATCH (DISP_E_OVERFLOW when out of
//                                         range), *puArgErr = its index in rgvarg
//   a member that raises an automation
//     error                              DISP_E_EXCEPTION with its number and description
//
// Arguments reach the callbacks already converted to the declared types. A
// missing optional argument arrives as its default value, or as the "missing"
// marker ErrorValue{DISP_E_PARAMNOTFOUND} when it has none. A parameter flagged
// PARAMFLAG_FOUT is written back into the caller's argument after the call.
//
// Describe every member before the first GetTypeInfo: the type information is
// made once, from the description as it is then. Tables are meant to be built once
// per class (a function-local static) and shared by all its objects.
#pragma once

#include <functional>
#include <mutex>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/dispatch.h"
#include "frame/com/type_info.h"
#include "frame/com/type_info_impl.h"

namespace ze::com {

// Whether an optional argument was left out: the caller passed the "missing" marker.
inline bool IsMissing(const Variant& v) {
  return v.Is<ErrorValue>() && v.Get<ErrorValue>().code == DISP_E_PARAMNOTFOUND;
}

// The part of the table that does not depend on the object's class.
class DispatchCore {
 public:
  explicit DispatchCore(InterfaceDescription description);
  DispatchCore(const DispatchCore&) = delete;
  DispatchCore& operator=(const DispatchCore&) = delete;

  const InterfaceDescription& description() const { return d_; }
  // The source named in the EXCEPINFO of a failed call (default: the library
  // name and the interface name without its leading underscores, "zeKalendo.Kalendo").
  void SetSource(String source) { source_ = std::move(source); }
  const String& source() const { return source_; }
  // Answer with `type` (the same interface as a type library lists it) instead of a
  // type made from the description, so that a host reaches the whole library from
  // it. Call it before the first GetTypeInfo; later it changes nothing.
  void UseTypeInfo(ComPtr<ITypeInfo> type);
  ComPtr<ITypeInfo> TypeInfo() const;

  HRESULT GetTypeInfoCount(UINT* count) const;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) const;
  HRESULT GetIDsOfNames(const IID& riid, const char16_t* const* names, UINT count, LCID lcid,
                        DISPID* ids) const;
  HRESULT Invoke(void* self, DISPID member, const IID& riid, LCID lcid, WORD flags,
                 DISPPARAMS* params, Variant* result, EXCEPINFO* excepinfo, UINT* argErr) const;

 protected:
  using Getter = std::function<Variant(void* self)>;
  using Putter = std::function<void(void* self, const Variant& value)>;
  using Caller = std::function<Variant(void* self, std::span<Variant> args)>;

  void AddPropertyErased(DISPID id, String name, TypeDesc type, String help, WORD flags, Getter get,
                         Putter let, Putter set);
  void AddMethodErased(DISPID id, String name, TypeDesc result, std::vector<ParamDesc> params,
                       String help, WORD flags, Caller call);
  // Binds a callback to a described member; false when no member has that id and
  // kind.
  bool BindErased(DISPID id, INVOKEKIND kind, Getter get, Putter put, Caller call);

 private:
  struct Binding {
    Getter get;
    Putter put;
    Caller call;
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t Find(DISPID id, INVOKEKIND kind) const;
  void Index(std::size_t member);

  HRESULT InvokeGet(void* self, std::size_t m, DISPPARAMS* params, Variant* result,
                    EXCEPINFO* info) const;
  HRESULT InvokePut(void* self, WORD flags, std::size_t put, std::size_t putref, DISPPARAMS* params,
                    EXCEPINFO* info, UINT* argErr) const;
  HRESULT InvokeMethod(void* self, std::size_t m, DISPPARAMS* params, Variant* result,
                       EXCEPINFO* info, UINT* argErr) const;

  InterfaceDescription d_;
  std::vector<Binding> bindings_;  // one per member, in the same order
  std::unordered_map<DISPID, std::vector<std::size_t>> by_id_;
  String source_;
  mutable std::once_flag type_once_;
  mutable ComPtr<ITypeInfo> type_info_;
};

// The table of class T: callbacks receive the object as T&.
template <class T>
class DispatchTable : public DispatchCore {
 public:
  using Get = std::function<Variant(T&)>;
  using Put = std::function<void(T&, const Variant&)>;
  using Call = std::function<Variant(T&, std::span<Variant>)>;

  using DispatchCore::DispatchCore;

  // Describes and binds a property: a Get, a Let and a Set, each when given.
  DispatchTable& Property(DISPID id, String name, TypeDesc type, String help, WORD flags, Get get,
                          Put let = nullptr, Put set = nullptr) {
    AddPropertyErased(id, std::move(name), std::move(type), std::move(help), flags,
                      EraseGet(std::move(get)), ErasePut(std::move(let)), ErasePut(std::move(set)));
    return *this;
  }
  // Describes and binds a method; `result` is VT_VOID for a Sub.
  DispatchTable& Method(DISPID id, String name, TypeDesc result, std::vector<ParamDesc> params,
                        String help, WORD flags, Call call) {
    AddMethodErased(id, std::move(name), std::move(result), std::move(params), std::move(help),
                    flags, EraseCall(std::move(call)));
    return *this;
  }

  // Binding callbacks to members that the description already holds.
  bool BindGet(DISPID id, Get get) {
    return BindErased(id, INVOKE_PROPERTYGET, EraseGet(std::move(get)), nullptr, nullptr);
  }
  bool BindLet(DISPID id, Put let) {
    return BindErased(id, INVOKE_PROPERTYPUT, nullptr, ErasePut(std::move(let)), nullptr);
  }
  bool BindSet(DISPID id, Put set) {
    return BindErased(id, INVOKE_PROPERTYPUTREF, nullptr, ErasePut(std::move(set)), nullptr);
  }
  bool BindMethod(DISPID id, Call call) {
    return BindErased(id, INVOKE_FUNC, nullptr, nullptr, EraseCall(std::move(call)));
  }

  HRESULT Invoke(T& self, DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                 Variant* result, EXCEPINFO* excepinfo, UINT* argErr) const {
    return DispatchCore::Invoke(&self, member, riid, lcid, flags, params, result, excepinfo,
                                argErr);
  }

 private:
  static Getter EraseGet(Get get) {
    if (!get) return nullptr;
    return [get = std::move(get)](void* self) { return get(*static_cast<T*>(self)); };
  }
  static Putter ErasePut(Put put) {
    if (!put) return nullptr;
    return [put = std::move(put)](void* self, const Variant& v) { put(*static_cast<T*>(self), v); };
  }
  static Caller EraseCall(Call call) {
    if (!call) return nullptr;
    return [call = std::move(call)](void* self, std::span<Variant> args) {
      return call(*static_cast<T*>(self), args);
    };
  }
};

// Implements the IDispatch methods of `Interface` (IDispatch or a dispatch
// interface derived from it) with Derived's table, which Derived provides as
//   static const DispatchTable<Derived>& Dispatch();
template <class Derived, class Interface = IDispatch>
class DispatchImpl : public Interface {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override {
    return Derived::Dispatch().GetTypeInfoCount(count);
  }
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override {
    return Derived::Dispatch().GetTypeInfo(index, lcid, out);
  }
  HRESULT GetIDsOfNames(const IID& riid, const char16_t* const* names, UINT count, LCID lcid,
                        DISPID* ids) override {
    return Derived::Dispatch().GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags, DISPPARAMS* params,
                 Variant* result, EXCEPINFO* excepinfo, UINT* argErr) override {
    return Derived::Dispatch().Invoke(*static_cast<Derived*>(this), member, riid, lcid, flags,
                                      params, result, excepinfo, argErr);
  }

 protected:
  ~DispatchImpl() = default;
};

}  // namespace ze::com
