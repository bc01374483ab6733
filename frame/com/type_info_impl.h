// Type information built from plain descriptions.
//
// A library describes each of its interfaces as an InterfaceDescription (the
// library record, the interface's attributes, its members in dispatch order, a
// property's Get before its Let or Set) and each class as a ClassDescription (the
// coclass attributes and its interfaces with their IMPLTYPEFLAG_ flags). These
// functions turn them into ITypeInfo objects that answer hosts and browsers.
//
// The objects live in the platform runtime, not in the component library that
// described them: they copy the description, so a host may keep one after the
// library has been unloaded.
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

ComPtr<ITypeInfo> MakeTypeInfo(const InterfaceDescription& description);
ComPtr<ITypeInfo> MakeClassTypeInfo(const ClassDescription& description);

// Whether two member names are the same for dispatch (case-insensitive).
bool SameMemberName(std::u16string_view a, std::u16string_view b);

}  // namespace ze::com
