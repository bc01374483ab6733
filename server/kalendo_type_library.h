// What the type library says about Kalendo: the library record, the class, the
// default interface _Kalendo and the event interface __Kalendo, in dispatch order,
// with the help strings that property browsers show, and the earlier IIDs of the
// default interface as the aliases Kalendo___v0 (oldest) to Kalendo___v3.
#pragma once

#include <vector>

#include "frame/com/com_ptr.h"
#include "frame/com/type_info.h"

namespace zekalendo::typelib {

// Dispatch ids of _Kalendo.
namespace dispid {
inline constexpr ze::com::DISPID kBackColor = -501;
inline constexpr ze::com::DISPID kFont = -512;
inline constexpr ze::com::DISPID kForeColor = -513;
inline constexpr ze::com::DISPID kLocked = 0x68030003;
inline constexpr ze::com::DISPID kEnabled = 0x6803FE0D;
inline constexpr ze::com::DISPID kMouseIcon = 0x68030002;
inline constexpr ze::com::DISPID kMousePointer = 0x68030001;
inline constexpr ze::com::DISPID kText = 0;
inline constexpr ze::com::DISPID kValore = 0x6803FE0F;
inline constexpr ze::com::DISPID kDataText = 0x6803FE0C;
inline constexpr ze::com::DISPID kEvidenzia = 0x68030000;
inline constexpr ze::com::DISPID kPopSelezione = 0x6803FE0E;
inline constexpr ze::com::DISPID kDelData = 0x60030012;
inline constexpr ze::com::DISPID kAboutBox = -552;
// Events of __Kalendo.
inline constexpr ze::com::DISPID kClick = -600;
inline constexpr ze::com::DISPID kDblClick = -601;
inline constexpr ze::com::DISPID kDataNonValida = 1;
inline constexpr ze::com::DISPID kReturnPress = 2;
inline constexpr ze::com::DISPID kTastoPress = 3;
}  // namespace dispid

ze::com::TypeLibAttr LibraryAttr();
ze::com::TypeAttr ClassAttr();
ze::com::TypeAttr InterfaceAttr();
ze::com::TypeAttr EventsAttr();
// The members of _Kalendo, a property's Get before its Let / Set.
const std::vector<ze::com::FuncDesc>& InterfaceMembers();
// The events of __Kalendo.
const std::vector<ze::com::FuncDesc>& EventMembers();

// The library: _Kalendo, __Kalendo, the class Kalendo, then the four aliases.
ze::com::ComPtr<ze::com::ITypeLib> TypeLibrary();

}  // namespace zekalendo::typelib
