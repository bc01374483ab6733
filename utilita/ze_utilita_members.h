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
           u"", 0)                                                                        \
  /* INI files and registry stores */                                                     \
  FUNCTION(LeggiINI, 0x60030020, LeggiINI, members::String,                               \
           (PARAM(fileINI, members::String, ByRef, _),                                     \
            PARAM(Sezione, members::String, ByRef, _),                                     \
            PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(DefaultValore, members::String, ByRef, _)),                              \
           u"", 0)                                                                        \
  FUNCTION(ScriviINI, 0x60030021, ScriviINI, members::Boolean,                            \
           (PARAM(fileINI, members::String, ByRef, _),                                     \
            PARAM(Sezione, members::String, ByRef, _),                                     \
            PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(valore, members::String, ByRef, _)),                                     \
           u"", 0)                                                                        \
  FUNCTION(PathServerOcx, 0x60030022, PathServerOcx, members::String,                     \
           (PARAM(applicazione, members::String, ByRef, _)), u"", 0)                       \
  FUNCTION(PathServerExe, 0x60030023, PathServerExe, members::String,                     \
           (PARAM(applicazione, members::String, ByRef, _)), u"", 0)                       \
  FUNCTION(SetFileShared, 0x60030024, SetFileShared, members::Boolean,                    \
           (PARAM(pathfile, members::String, ByRef, _),                                    \
            PARAM(EsisteGia, members::Boolean, ByRef, _)),                                 \
           u"", 0)                                                                        \
  FUNCTION(DecFileShared, 0x60030025, DecFileShared, members::Boolean,                    \
           (PARAM(pathfile, members::String, ByRef, _)), u"", 0)                           \
  FUNCTION(GetInfoDisinstallazione, 0x60030026, GetInfoDisinstallazione, members::String, \
           (PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(subchiave, members::Long, ByRef, _)),                                    \
           u"", 0)                                                                        \
  FUNCTION(SetInfoDisinstallazione, 0x60030027, SetInfoDisinstallazione, members::Boolean, \
           (PARAM(chiave, members::String, ByRef, _),                                      \
            PARAM(subchiave, members::Long, ByRef, _),                                     \
            PARAM(valore, members::String, ByRef, _),                                      \
            PARAM(crea, members::Any, Optional, _)),                                       \
           u"", 0)
// clang-format on

ZE_DUAL_INTERFACE(IzeUtilita, ids::kIidUtilita, ZE_UTILITA_MEMBERS);

}  // namespace zekalendo
