// ITypeInfo over descriptions; see type_info_impl.h.
#include "frame/com/type_info_impl.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "frame/com/com_object.h"

namespace ze::com {

bool SameMemberName(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    UChar32 x, y;
    U16_NEXT(a.data(), i, a.size(), x);
    U16_NEXT(b.data(), j, b.size(), y);
    if (x != y && u_toupper(x) != u_toupper(y)) return false;
  }
  return i == a.size() && j == b.size();
}

namespace {

class InterfaceTypeInfo final : public ComObject<ITypeInfo> {
 public:
  explicit InterfaceTypeInfo(const InterfaceDescription& d) : d_(d) {}

  HRESULT GetTypeAttr(TypeAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = d_.attr;
    out->cFuncs = static_cast<UINT>(d_.members.size());
    out->cImplTypes = 0;
    return S_OK;
  }

  HRESULT GetFuncDesc(UINT index, FuncDesc* out) override {
    if (out == nullptr) return E_POINTER;
    if (index >= d_.members.size()) return TYPE_E_ELEMENTNOTFOUND;
    *out = d_.members[index];
    return S_OK;
  }

  HRESULT GetIDsOfNames(const char16_t* const* names, UINT count, MEMBERID* ids) override {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    if (count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (names[0] == nullptr) return DISP_E_UNKNOWNNAME;
    const FuncDesc* member = nullptr;
    for (const FuncDesc& f : d_.members) {
      if (SameMemberName(f.name, names[0])) {
        member = &f;
        break;
      }
    }
    if (member == nullptr) return DISP_E_UNKNOWNNAME;
    ids[0] = member->memid;
    HRESULT hr = S_OK;
    // Parameter names: their position among the parameters of the member's
    // method (or put) entry.
    for (UINT i = 1; i < count; ++i) {
      bool found = false;
      for (const FuncDesc& f : d_.members) {
        if (f.memid != member->memid || names[i] == nullptr) continue;
        for (std::size_t p = 0; p < f.params.size() && !found; ++p) {
          if (SameMemberName(f.params[p].name, names[i])) {
            ids[i] = static_cast<DISPID>(p);
            found = true;
          }
        }
        if (found) break;
      }
      if (!found) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  HRESULT GetDocumentation(MEMBERID memid, String* name, String* help) override {
    if (memid == MEMBERID_NIL) {
      if (name != nullptr) *name = d_.attr.name;
      if (help != nullptr) *help = d_.attr.help;
      return S_OK;
    }
    for (const FuncDesc& f : d_.members) {
      if (f.memid == memid) {
        if (name != nullptr) *name = f.name;
        if (help != nullptr) *help = f.help;
        return S_OK;
      }
    }
    return TYPE_E_ELEMENTNOTFOUND;
  }

  HRESULT GetImplTypeFlags(UINT, int*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetImplTypeInfo(UINT, ITypeInfo** out) override {
    if (out != nullptr) *out = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
  }

  HRESULT GetContainingTypeLib(TypeLibAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = d_.library;
    return S_OK;
  }

 private:
  const InterfaceDescription d_;
};

class CoClassTypeInfo final : public ComObject<ITypeInfo> {
 public:
  explicit CoClassTypeInfo(const ClassDescription& d) : d_(d) {}

  HRESULT GetTypeAttr(TypeAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = d_.attr;
    out->cFuncs = 0;
    out->cImplTypes = static_cast<UINT>(d_.interfaces.size());
    return S_OK;
  }
  HRESULT GetFuncDesc(UINT, FuncDesc* out) override {
    return out == nullptr ? E_POINTER : TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT GetIDsOfNames(const char16_t* const* names, UINT count, MEMBERID* ids) override {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT GetDocumentation(MEMBERID memid, String* name, String* help) override {
    if (memid != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    if (name != nullptr) *name = d_.attr.name;
    if (help != nullptr) *help = d_.attr.help;
    return S_OK;
  }
  HRESULT GetImplTypeFlags(UINT index, int* flags) override {
    if (flags == nullptr) return E_POINTER;
    if (index >= d_.interfaces.size()) return TYPE_E_ELEMENTNOTFOUND;
    *flags = d_.interfaces[index].flags;
    return S_OK;
  }
  HRESULT GetImplTypeInfo(UINT index, ITypeInfo** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (index >= d_.interfaces.size() || !d_.interfaces[index].type) return TYPE_E_ELEMENTNOTFOUND;
    *out = ComPtr<ITypeInfo>(d_.interfaces[index].type).Detach();
    return S_OK;
  }
  HRESULT GetContainingTypeLib(TypeLibAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = d_.library;
    return S_OK;
  }

 private:
  const ClassDescription d_;
};

}  // namespace

ComPtr<ITypeInfo> MakeTypeInfo(const InterfaceDescription& description) {
  return MakeCom<InterfaceTypeInfo>(description);
}

ComPtr<ITypeInfo> MakeClassTypeInfo(const ClassDescription& description) {
  return MakeCom<CoClassTypeInfo>(description);
}

String TypeName(const TypeDesc& type) {
  if (!type.name.empty()) return type.name;
  switch (type.vt) {
    case VT_I2:
      return u"Integer";
    case VT_I4:
      return u"Long";
    case VT_R4:
      return u"Single";
    case VT_R8:
      return u"Double";
    case VT_DATE:
      return u"Date";
    case VT_BSTR:
      return u"String";
    case VT_DISPATCH:
      return u"Object";
    case VT_ERROR:
      return u"Error";
    case VT_BOOL:
      return u"Boolean";
    case VT_VARIANT:
      return u"Variant";
    case VT_UNKNOWN:
      return u"Unknown";
    default:
      return u"";
  }
}

}  // namespace ze::com
