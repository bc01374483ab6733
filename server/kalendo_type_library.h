// What the type library says about Kalendo: the library record, the class, the
// default interface _Kalendo and the event interface __Kalendo, in dispatch order,
// with the help strings that property browsers show, and the earlier IIDs of the
// default interface as the aliases Kalendo___v0 (oldest) to Kalendo___v3.
#pragma once

#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/type_info.h"

namespace zekalendo::typelib {

ze::com::TypeLibAttr LibraryAttr();
// A type of the library, at the library's version (also for the types of the private
// classes, which the library does not list).
ze::com::TypeAttr Attr(const ze::com::GUID& guid, ze::String name, ze::com::TYPEKIND kind,
                       ze::com::WORD flags);
ze::com::TypeAttr ClassAttr();
ze::com::TypeAttr InterfaceAttr();
ze::com::TypeAttr EventsAttr();
// The members of _Kalendo, a property's Get before its Let / Set (from ZE_KALENDO_MEMBERS).
const std::vector<ze::com::FuncDesc>& InterfaceMembers();
// The events of __Kalendo (from ZE_KALENDO_EVENTS).
const std::vector<ze::com::FuncDesc>& EventMembers();

// The library: _Kalendo, __Kalendo, the class Kalendo, then the four aliases.
ze::com::ComPtr<ze::com::ITypeLib> TypeLibrary();

}  // namespace zekalendo::typelib
