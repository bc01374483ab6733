// Invoke and friends over a member table; see dispatch_table.h for the rules.
#include "frame/com/dispatch_table.h"

#include "frame/com/coerce.h"
#include "frame/com/dispatch_errors.h"

namespace ze::com {
namespace {

String DefaultSource(const InterfaceDescription& d) {
  std::u16string_view name = d.attr.name;
  while (!name.empty() && name.front() == u'_') name.remove_prefix(1);
  if (d.library.name.empty()) return String(name);
  return d.library.name + u"." + String(name);
}

}  // namespace

DispatchCore::DispatchCore(InterfaceDescription description)
    : d_(std::move(description)), bindings_(d_.members.size()), source_(DefaultSource(d_)) {
  for (std::size_t i = 0; i < d_.members.size(); ++i) Index(i);
}

void DispatchCore::Index(std::size_t member) {
  by_id_[d_.members[member].memid].push_back(member);
}

std::size_t DispatchCore::Find(DISPID id, INVOKEKIND kind) const {
  auto it = by_id_.find(id);
  if (it == by_id_.end()) return kNone;
  for (std::size_t i : it->second)
    if (d_.members[i].invkind == kind) return i;
  return kNone;
}

void DispatchCore::AddPropertyErased(DISPID id, String name, TypeDesc type, String help, WORD flags,
                                     Getter get, Putter let, Putter set) {
  auto add = [&](INVOKEKIND kind, std::vector<ParamDesc> params, Binding binding) {
    d_.members.push_back(FuncDesc{id, name, kind, type, std::move(params), flags, help});
    bindings_.push_back(std::move(binding));
    Index(d_.members.size() - 1);
  };
  // A write-only property has no Get entry at all.
  if (get) add(INVOKE_PROPERTYGET, {}, Binding{std::move(get), nullptr, nullptr});
  const std::vector<ParamDesc> value{ParamDesc{u"Value", type, PARAMFLAG_FIN, {}}};
  if (let) add(INVOKE_PROPERTYPUT, value, Binding{nullptr, std::move(let), nullptr});
  if (set) add(INVOKE_PROPERTYPUTREF, value, Binding{nullptr, std::move(set), nullptr});
}

void DispatchCore::AddMethodErased(DISPID id, String name, TypeDesc result,
                                   std::vector<ParamDesc> params, String help, WORD flags,
                                   Caller call) {
  d_.members.push_back(FuncDesc{id, std::move(name), INVOKE_FUNC, std::move(result),
                                std::move(params), flags, std::move(help)});
  bindings_.push_back(Binding{nullptr, nullptr, std::move(call)});
  Index(d_.members.size() - 1);
}

bool DispatchCore::BindErased(DISPID id, INVOKEKIND kind, Getter get, Putter put, Caller call) {
  const std::size_t m = Find(id, kind);
  if (m == kNone) return false;
  Binding& b = bindings_[m];
  if (get) b.get = std::move(get);
  if (put) b.put = std::move(put);
  if (call) b.call = std::move(call);
  return true;
}

void DispatchCore::UseTypeInfo(ComPtr<ITypeInfo> type) {
  std::call_once(type_once_, [&] { type_info_ = std::move(type); });
}

ComPtr<ITypeInfo> DispatchCore::TypeInfo() const {
  std::call_once(type_once_, [this] { type_info_ = MakeTypeInfo(d_); });
  return type_info_;
}

HRESULT DispatchCore::GetTypeInfoCount(UINT* count) const {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT DispatchCore::GetTypeInfo(UINT index, LCID, ITypeInfo** out) const {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *out = TypeInfo().Detach();
  return S_OK;
}

HRESULT DispatchCore::GetIDsOfNames(const IID& riid, const char16_t* const* names, UINT count, LCID,
                                    DISPID* ids) const {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return TypeInfo()->GetIDsOfNames(names, count, ids);
}

HRESULT DispatchCore::Invoke(void* self, DISPID member, const IID& riid, LCID, WORD flags,
                             DISPPARAMS* params, Variant* result, EXCEPINFO* info,
                             UINT* argErr) const {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none;
  if (params == nullptr) params = &none;
  if ((params->cArgs > 0 && params->rgvarg == nullptr) || params->cNamedArgs > params->cArgs ||
      (params->cNamedArgs > 0 && params->rgdispidNamedArgs == nullptr)) {
    return E_INVALIDARG;
  }
  if (result != nullptr) *result = Variant();
  if (by_id_.find(member) == by_id_.end()) return DISP_E_MEMBERNOTFOUND;

  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    return InvokePut(self, flags, Find(member, INVOKE_PROPERTYPUT),
                     Find(member, INVOKE_PROPERTYPUTREF), params, info, argErr);
  }
  // A caller that reads a value asks with METHOD | PROPERTYGET when it cannot
  // tell a property from a method; a property wins.
  if ((flags & DISPATCH_PROPERTYGET) != 0) {
    const std::size_t get = Find(member, INVOKE_PROPERTYGET);
    if (get != kNone) return InvokeGet(self, get, params, result, info);
  }
  if ((flags & DISPATCH_METHOD) != 0) {
    const std::size_t func = Find(member, INVOKE_FUNC);
    if (func != kNone) return InvokeMethod(self, func, params, result, info, argErr);
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT DispatchCore::InvokeGet(void* self, std::size_t m, DISPPARAMS* params, Variant* result,
                                EXCEPINFO* info) const {
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  const Binding& b = bindings_[m];
  if (!b.get) return DISP_E_MEMBERNOTFOUND;
  try {
    Variant value = b.get(self);
    if (result != nullptr) *result = std::move(value);
  } catch (...) {
    return ResultFromException(std::current_exception(), info, source_);
  }
  return S_OK;
}

HRESULT DispatchCore::InvokePut(void* self, WORD flags, std::size_t put, std::size_t putref,
                                DISPPARAMS* params, EXCEPINFO* info, UINT* argErr) const {
  // The value travels as the one named argument DISPID_PROPERTYPUT.
  if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
    return DISP_E_PARAMNOTFOUND;
  if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  const Variant& value = params->rgvarg[0];
  // Set (by reference) for an object when the member has one, else Let.
  std::size_t chosen = kNone;
  const bool by_ref = (flags & DISPATCH_PROPERTYPUTREF) != 0;
  const bool by_value = (flags & DISPATCH_PROPERTYPUT) != 0;
  if (by_ref && putref != kNone && (value.Is<ObjectRef>() || !by_value || put == kNone)) {
    chosen = putref;
  } else if (by_value && put != kNone) {
    chosen = put;
  }
  if (chosen == kNone || !bindings_[chosen].put) return DISP_E_MEMBERNOTFOUND;
  Variant coerced;
  const HRESULT hr = CoerceTo(value, d_.members[chosen].type.vt, &coerced);
  if (FAILED(hr)) {
    if (argErr != nullptr) *argErr = 0;
    return hr;
  }
  try {
    bindings_[chosen].put(self, coerced);
  } catch (...) {
    return ResultFromException(std::current_exception(), info, source_);
  }
  return S_OK;
}

HRESULT DispatchCore::InvokeMethod(void* self, std::size_t m, DISPPARAMS* params, Variant* result,
                                   EXCEPINFO* info, UINT* argErr) const {
  const FuncDesc& f = d_.members[m];
  const Binding& b = bindings_[m];
  if (!b.call) return DISP_E_MEMBERNOTFOUND;
  const std::size_t count = f.params.size();
  const UINT named = params->cNamedArgs;
  const UINT positional = params->cArgs - named;
  if (positional > count) return DISP_E_BADPARAMCOUNT;

  // Where each parameter's value sits in rgvarg (-1: not passed). Positional
  // arguments are stored last first, after the named ones.
  std::vector<long> from(count, -1);
  for (UINT i = 0; i < positional; ++i) from[i] = static_cast<long>(params->cArgs - 1 - i);
  for (UINT n = 0; n < named; ++n) {
    const DISPID p = params->rgdispidNamedArgs[n];
    if (p < 0 || static_cast<std::size_t>(p) >= count || from[p] != -1) {
      if (argErr != nullptr) *argErr = n;
      return DISP_E_PARAMNOTFOUND;
    }
    from[p] = static_cast<long>(n);
  }

  std::vector<Variant> args(count);
  for (std::size_t p = 0; p < count; ++p) {
    const ParamDesc& pd = f.params[p];
    const bool optional = (pd.flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
    const bool has_default = (pd.flags & PARAMFLAG_FHASDEFAULT) != 0;
    if (from[p] < 0 || (optional && IsMissing(params->rgvarg[from[p]]))) {
      if (!optional) return named == 0 ? DISP_E_BADPARAMCOUNT : DISP_E_PARAMNOTOPTIONAL;
      args[p] = has_default ? pd.defaultValue : Variant(ErrorValue{DISP_E_PARAMNOTFOUND});
      continue;
    }
    const HRESULT hr = CoerceTo(params->rgvarg[from[p]], pd.type.vt, &args[p]);
    if (FAILED(hr)) {
      if (argErr != nullptr) *argErr = static_cast<UINT>(from[p]);
      return hr;
    }
  }

  Variant value;
  try {
    value = b.call(self, std::span<Variant>(args));
  } catch (...) {
    return ResultFromException(std::current_exception(), info, source_);
  }
  // ByRef parameters hand their new value back to the caller.
  for (std::size_t p = 0; p < count; ++p) {
    if (from[p] >= 0 && (f.params[p].flags & PARAMFLAG_FOUT) != 0)
      params->rgvarg[from[p]] = args[p];
  }
  if (result != nullptr && f.type.vt != VT_VOID) *result = std::move(value);
  return S_OK;
}

}  // namespace ze::com
