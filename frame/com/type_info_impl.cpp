// ITypeInfo and ITypeLib over descriptions; see type_info_impl.h.
#include "frame/com/type_info_impl.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <memory>
#include <new>

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

// What one type says, whatever its kind: an interface's members, a class's
// implemented interfaces (their flags here; the types themselves are references
// 0 .. n-1), an alias's aliased type (reference 0).
struct TypeData {
  TypeLibAttr library;
  TypeAttr attr;
  std::vector<FuncDesc> members;
  std::vector<int> implFlags;
};

// The ITypeInfo methods over TypeData. `Counted` supplies IUnknown; the final class
// supplies the referenced types and the containing library.
template <class Counted>
class DescribedType : public Counted {
 public:
  HRESULT GetTypeAttr(TypeAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = d_.attr;
    out->cFuncs = static_cast<UINT>(d_.members.size());
    out->cImplTypes = static_cast<UINT>(d_.implFlags.size());
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

  HRESULT GetImplTypeFlags(UINT index, int* flags) override {
    if (flags == nullptr) return E_POINTER;
    if (index >= d_.implFlags.size()) return TYPE_E_ELEMENTNOTFOUND;
    *flags = d_.implFlags[index];
    return S_OK;
  }

  HRESULT GetImplTypeInfo(UINT index, ITypeInfo** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (index >= d_.implFlags.size()) return TYPE_E_ELEMENTNOTFOUND;
    return GetRefTypeInfo(index, out);
  }

  HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** out) override {
    if (out == nullptr) return E_POINTER;
    *out = Referenced(ref);
    if (*out == nullptr) return TYPE_E_ELEMENTNOTFOUND;
    (*out)->AddRef();
    return S_OK;
  }

  const TypeData& data() const { return d_; }

 protected:
  template <class... CountedArgs>
  explicit DescribedType(TypeData d, CountedArgs&&... args)
      : Counted(std::forward<CountedArgs>(args)...), d_(std::move(d)) {}

  // The type behind reference `ref`, not counted; nullptr when there is none.
  virtual ITypeInfo* Referenced(HREFTYPE ref) const = 0;

  const TypeData d_;
};

// A type made on its own, with a count of its own.
class OwnType final : public DescribedType<ComObject<ITypeInfo>> {
 public:
  OwnType(TypeData d, std::vector<ComPtr<ITypeInfo>> refs)
      : DescribedType(std::move(d)), refs_(std::move(refs)) {}

  HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) override {
    if (index != nullptr) *index = 0;
    if (lib == nullptr) return S_OK;
    *lib = nullptr;
    try {
      *lib = MakeTypeLib(TypeLibDescription{d_.library, {ComPtr<ITypeInfo>(this)}}).Detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  ITypeInfo* Referenced(HREFTYPE ref) const override {
    return ref < refs_.size() ? refs_[ref].Get() : nullptr;
  }

  const std::vector<ComPtr<ITypeInfo>> refs_;
};

// A type inside a library, which owns it: it counts with the library.
class LibraryPart : public ITypeInfo {
 public:
  HRESULT QueryInterface(const IID& iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_ITypeInfo) return E_NOINTERFACE;
    *out = static_cast<ITypeInfo*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return library_->AddRef(); }
  ULONG Release() override { return library_->Release(); }

 protected:
  explicit LibraryPart(ITypeLib* library) : library_(library) {}
  ~LibraryPart() = default;

  ITypeLib* const library_;
};

class LibraryType final : public DescribedType<LibraryPart> {
 public:
  LibraryType(TypeData d, ITypeLib* library, UINT index)
      : DescribedType(std::move(d), library), index_(index) {}

  // What the type's references name: the library's own types (not counted, they
  // live as long as the library), or types from outside, which it keeps.
  void Refer(std::vector<ITypeInfo*> refs, std::vector<ComPtr<ITypeInfo>> outside) {
    refs_ = std::move(refs);
    outside_ = std::move(outside);
  }

  HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) override {
    if (index != nullptr) *index = index_;
    if (lib != nullptr) {
      library_->AddRef();
      *lib = library_;
    }
    return S_OK;
  }

 private:
  ITypeInfo* Referenced(HREFTYPE ref) const override {
    return ref < refs_.size() ? refs_[ref] : nullptr;
  }

  const UINT index_;
  std::vector<ITypeInfo*> refs_;
  std::vector<ComPtr<ITypeInfo>> outside_;
};

// A copy of what `type` says, read through its interface; the types it refers to
// are appended to `refs` in reference order.
TypeData Read(ITypeInfo& type, const TypeLibAttr& library, std::vector<ComPtr<ITypeInfo>>* refs) {
  TypeData d{library, {}, {}, {}};
  type.GetTypeAttr(&d.attr);
  for (UINT i = 0; i < d.attr.cFuncs; ++i) {
    FuncDesc f;
    if (SUCCEEDED(type.GetFuncDesc(i, &f))) d.members.push_back(std::move(f));
  }
  for (UINT i = 0; i < d.attr.cImplTypes; ++i) {
    int flags = 0;
    type.GetImplTypeFlags(i, &flags);
    d.implFlags.push_back(flags);
    type.GetImplTypeInfo(i, refs->emplace_back().Put());
  }
  if (d.attr.typekind == TKIND_ALIAS && d.attr.tdescAlias.vt == VT_USERDEFINED) {
    type.GetRefTypeInfo(d.attr.tdescAlias.hreftype, refs->emplace_back().Put());
    d.attr.tdescAlias.hreftype = 0;
  }
  return d;
}

GUID GuidOf(ITypeInfo& type) {
  TypeAttr attr;
  return SUCCEEDED(type.GetTypeAttr(&attr)) ? attr.guid : GUID_NULL;
}

class TypeLib final : public ComObject<ITypeLib> {
 public:
  explicit TypeLib(const TypeLibDescription& d) : attr_(d.attr) {
    std::vector<std::vector<ComPtr<ITypeInfo>>> refs;
    for (const ComPtr<ITypeInfo>& type : d.types) {
      if (!type) continue;
      const UINT index = static_cast<UINT>(types_.size());
      types_.push_back(
          std::make_unique<LibraryType>(Read(*type, attr_, &refs.emplace_back()), this, index));
    }
    for (std::size_t i = 0; i < types_.size(); ++i) {
      std::vector<ITypeInfo*> resolved;
      std::vector<ComPtr<ITypeInfo>> outside;
      for (const ComPtr<ITypeInfo>& ref : refs[i]) {
        ITypeInfo* own = ref ? Find(GuidOf(*ref)) : nullptr;
        if (own == nullptr && ref) outside.push_back(ref);
        resolved.push_back(own != nullptr ? own : ref.Get());
      }
      types_[i]->Refer(std::move(resolved), std::move(outside));
    }
  }

  UINT GetTypeInfoCount() override { return static_cast<UINT>(types_.size()); }

  HRESULT GetTypeInfo(UINT index, ITypeInfo** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (index >= types_.size()) return TYPE_E_ELEMENTNOTFOUND;
    return Give(types_[index].get(), out);
  }

  HRESULT GetTypeInfoType(UINT index, TYPEKIND* out) override {
    if (out == nullptr) return E_POINTER;
    if (index >= types_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *out = types_[index]->data().attr.typekind;
    return S_OK;
  }

  HRESULT GetTypeInfoOfGuid(const GUID& guid, ITypeInfo** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    ITypeInfo* type = Find(guid);
    return type != nullptr ? Give(type, out) : TYPE_E_ELEMENTNOTFOUND;
  }

  HRESULT GetLibAttr(TypeLibAttr* out) override {
    if (out == nullptr) return E_POINTER;
    *out = attr_;
    return S_OK;
  }

  HRESULT GetDocumentation(int index, String* name, String* help) override {
    if (index == -1) {
      if (name != nullptr) *name = attr_.name;
      if (help != nullptr) *help = attr_.help;
      return S_OK;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= types_.size()) {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    return types_[index]->GetDocumentation(MEMBERID_NIL, name, help);
  }

 private:
  // A type without an identifier cannot be found by one.
  ITypeInfo* Find(const GUID& guid) const {
    if (guid == GUID_NULL) return nullptr;
    for (const auto& type : types_) {
      if (type->data().attr.guid == guid) return type.get();
    }
    return nullptr;
  }

  static HRESULT Give(ITypeInfo* type, ITypeInfo** out) {
    type->AddRef();
    *out = type;
    return S_OK;
  }

  const TypeLibAttr attr_;
  std::vector<std::unique_ptr<LibraryType>> types_;
};

}  // namespace

ComPtr<ITypeInfo> MakeTypeInfo(const InterfaceDescription& description) {
  return MakeCom<OwnType>(TypeData{description.library, description.attr, description.members, {}},
                          std::vector<ComPtr<ITypeInfo>>{});
}

ComPtr<ITypeInfo> MakeClassTypeInfo(const ClassDescription& description) {
  TypeData d{description.library, description.attr, {}, {}};
  std::vector<ComPtr<ITypeInfo>> refs;
  for (const ImplementedInterface& i : description.interfaces) {
    d.implFlags.push_back(i.flags);
    refs.push_back(i.type);
  }
  return MakeCom<OwnType>(std::move(d), std::move(refs));
}

ComPtr<ITypeInfo> MakeAliasTypeInfo(const AliasDescription& description) {
  TypeData d{description.library, description.attr, {}, {}};
  d.attr.typekind = TKIND_ALIAS;
  TypeAttr aliased;
  if (description.aliased) description.aliased->GetTypeAttr(&aliased);
  d.attr.tdescAlias = TypeDesc{VT_USERDEFINED, aliased.name, 0};
  return MakeCom<OwnType>(std::move(d), std::vector<ComPtr<ITypeInfo>>{description.aliased});
}

ComPtr<ITypeLib> MakeTypeLib(const TypeLibDescription& description) {
  return MakeCom<TypeLib>(description);
}

String TypeName(const TypeDesc& type) {
  if (!type.name.empty()) return type.name;
  switch (type.vt) {
    case VT_UI1:
      return u"Byte";
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
