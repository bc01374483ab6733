// Type information built from plain descriptions.
//
// A library describes each of its interfaces as an InterfaceDescription (the
// library record, the interface's attributes, its members in dispatch order, a
// property's Get before its Let or Set), each class as a ClassDescription (the
// coclass attributes and its interfaces with their IMPLTYPEFLAG_ flags) and each
// alias as an AliasDescription. These functions turn them into ITypeInfo objects
// that answer hosts and browsers, and gather them into the library's ITypeLib.
//
// The objects live in the platform runtime, not in the component library that
// described them: they copy the description, so a host may keep one after the
// library has been unloaded.
//
// A type library copies the types it is given. The copies count with their library
// (a host holding one type holds the whole library) and tell it through
// GetContainingTypeLib; a class's interface or an alias's type that the library
// lists too is the library's own copy, found by its identifier.
#pragma once

#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/type_info.h"

namespace ze::com {

struct InterfaceDescription {
  TypeLibAttr library;
  TypeAttr attr;
  std::vector<FuncDesc> members;
};

struct ImplementedInterface {
  ComPtr<ITypeInfo> type;
  int flags = 0;  // IMPLTYPEFLAG_FDEFAULT, IMPLTYPEFLAG_FSOURCE
};

struct ClassDescription {
  TypeLibAttr library;
  TypeAttr attr;  // typekind TKIND_COCLASS, guid = CLSID
  std::vector<ImplementedInterface> interfaces;
};

struct AliasDescription {
  TypeLibAttr library;
  TypeAttr attr;  // typekind TKIND_ALIAS, guid = the alias's own identifier
  ComPtr<ITypeInfo> aliased;
};

struct TypeLibDescription {
  TypeLibAttr attr;
  std::vector<ComPtr<ITypeInfo>> types;  // in the order the library lists them
};

ComPtr<ITypeInfo> MakeTypeInfo(const InterfaceDescription& description);
ComPtr<ITypeInfo> MakeClassTypeInfo(const ClassDescription& description);
// The alias's tdescAlias names the aliased type (VT_USERDEFINED, reference 0).
ComPtr<ITypeInfo> MakeAliasTypeInfo(const AliasDescription& description);
ComPtr<ITypeLib> MakeTypeLib(const TypeLibDescription& description);

// Whether two member names are the same for dispatch (case-insensitive).
bool SameMemberName(std::u16string_view a, std::u16string_view b);

}  // namespace ze::com
