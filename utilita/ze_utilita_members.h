// zeUtilita's members, declared once, and the dual interface made from them.
//
// ZE_UTILITA_MEMBERS lists the class's routines for code that reaches a zeUtilita by
// dispatch (frame/com/member_table.h says what each column means). The class is not
// in the library's type library and no host can create it, so the dispatch ids are
// the library's own choice: routine n of the list has 0x60030000 + n, in the order the
// routines were added; a new routine takes the next free id, and no id is reused.
//
// The table still lacks three kinds of line that later routines need: a routine with
// parameters and no result (a Sub), an array parameter, and a by-reference parameter
// that may be left out. Until member_table.h has them, such a routine is described and
// bound by hand with DispatchTable::Method in utilita_object.cpp.
#pragma once

#include "frame/com/member_table.h"
#include "utilita/utilita_id.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace members = ze::com::members;

// clang-format off
#define ZE_UTILITA_MEMBERS(PROPERTY, METHOD, FUNCTION)                                    \
  FUNCTION(MaxGiorni, 0x60030000, MaxGiorni, members::Integer,                            \
           (PARAM(m, members::Integer, ByRef, _), PARAM(a, members::Integer, ByRef, _)),  \
           u"", 0)                                                                        \
  FUNCTION(GetSeparatoreDecimale, 0x60030001, GetSeparatoreDecimale, members::Byte, (),   \
           u"", 0)                                                                        \
  FUNCTION(GetSeparatoreMigliaia, 0x60030002, GetSeparatoreMigliaia, members::Byte, (),   \
           u"", 0)
// clang-format on

ZE_DUAL_INTERFACE(IzeUtilita, ids::kIidUtilita, ZE_UTILITA_MEMBERS);

}  // namespace zekalendo
