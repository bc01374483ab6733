// Identifiers of the test component library (libzecontatore.so), shared by the
// library and the tests that drive it through its binary interfaces.
#pragma once

#include "frame/com/dispatch.h"
#include "frame/com/guid.h"

namespace zeprova {

using ze::com::DISPID;
using ze::com::GUID;

inline constexpr GUID kLibId{0x5a1e0000, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
inline constexpr GUID kClsidContatore{
    0x5a1e0001, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
inline constexpr GUID kIidContatore{0x5a1e0002, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
// An earlier version of the interface: still answered, as the current one.
inline constexpr GUID kIidContatoreOld{
    0x5a1e0003, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
inline constexpr GUID kIidContatoreEvents{
    0x5a1e0004, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
inline constexpr GUID kIidContatoreEventsOld{
    0x5a1e0005, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
// A class the library creates but does not register.
inline constexpr GUID kClsidPrivata{0x5a1e0006, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
inline constexpr char16_t kProgIdContatore[] = u"ZeProva.Contatore";

namespace dispid {
inline constexpr DISPID kValore = 0;  // the default member
inline constexpr DISPID kNome = 1;
inline constexpr DISPID kColore = 2;
inline constexpr DISPID kOggetto = 3;
inline constexpr DISPID kVivi = 4;
inline constexpr DISPID kAggiungi = 10;
inline constexpr DISPID kFallisci = 11;
inline constexpr DISPID kSomma = 12;
inline constexpr DISPID kPremi = 13;
inline constexpr DISPID kScatta = 14;
inline constexpr DISPID kLancia = 15;
// Events.
inline constexpr DISPID kCambiato = 1;
inline constexpr DISPID kTastoPremuto = 2;
}  // namespace dispid

}  // namespace zeprova
