// _Kalendo: Kalendo's members, declared once, and the dual interface made from them.
//
// ZE_KALENDO_MEMBERS is the one list of the default interface's members, in the type
// library's order (frame/com/member_table.h says what each column means); the type
// library, the dispatch table and the vtable below are made from it. ZE_KALENDO_EVENTS
// is the same for the event interface __Kalendo.
//
// A host compiled against the type library calls the members directly, in that
// order: get_X and put_X for each property (putref_X for the objects Font and
// MouseIcon), then the methods by name. Every entry returns an HRESULT; a get_X
// writes its value through its final parameter. Each entry does what Invoke does for
// the same member, so the two ways behave alike. A member that fails returns the
// error's own code (MAKE_HRESULT(1, FACILITY_CONTROL, n) for error n) and leaves the
// number, description and source as the thread's error information (error_info.h);
// the object answers ISupportErrorInfo for this interface.
#pragma once

#include "frame/com/member_table.h"
#include "frame/container/object_members.h"
#include "server/kalendo_ids.h"

namespace zekalendo {

namespace members = ze::container::members;
using ze::com::MousePointerConstants;

// clang-format off
#define ZE_KALENDO_MEMBERS(PROPERTY, METHOD, FUNCTION)                                                \
  PROPERTY(BackColor, -501, members::Color, Let, BackColor, SetBackColor,                         \
           u"Restituisce o imposta il colore di sfondo. ", 0)                                     \
  PROPERTY(Font, -512, members::Font, Set, GetFont, SetFont,                                      \
           u"Imposto il tipo di carattere utilizzato dal controllo.", 0)                          \
  PROPERTY(ForeColor, -513, members::Color, Let, ForeColor, SetForeColor,                         \
           u"Imposta il colore utilizzato per il testo.", 0)                                      \
  PROPERTY(Locked, 0x68030003, members::Boolean, Let, Locked, SetLocked,                          \
           u"Blocca il controllo da  scrittura.", 0)                                              \
  PROPERTY(Enabled, 0x6803FE0D, members::Boolean, Let, Enabled, SetEnabled, u"", 0)               \
  PROPERTY(MouseIcon, 0x68030002, members::Picture, Set, MouseIcon, SetMouseIcon,                 \
           u"Imposta l'immagine del cursore.", 0)                                                 \
  PROPERTY(MousePointer, 0x68030001, members::MousePointer, Let, MousePointer, SetMousePointer,   \
           u"Imposta il tipo di cursore.", 0)                                                     \
  PROPERTY(Text, 0, members::String, Let, Text, SetText,                                          \
           u"Imposta o restituisce la data contenuta nel controllo.", ze::com::FUNCFLAG_FUIDEFAULT) \
  PROPERTY(valore, 0x6803FE0F, members::Date, Let, valore, SetValore, u"", 0)                     \
  PROPERTY(DataText, 0x6803FE0C, members::Date, Let, DataText, SetDataText, u"",                  \
           ze::com::FUNCFLAG_FBINDABLE | ze::com::FUNCFLAG_FDEFAULTBIND |                         \
           ze::com::FUNCFLAG_FREQUESTEDIT | ze::com::FUNCFLAG_FIMMEDIATEBIND)                     \
  PROPERTY(Evidenzia, 0x68030000, members::Boolean, Let, Evidenzia, SetEvidenzia,                 \
           u"Indica se il controllo si deve evidenziare o meno quando riceve il focus.", 0)       \
  PROPERTY(PopSelezione, 0x6803FE0E, members::Boolean, Let, PopSelezione, SetPopSelezione, u"", 0) \
  METHOD(DelData, 0x60030012, DelData,                                                            \
         u"Metodo utilizzato per azzerrare il contenuto del controllo.", 0)                       \
  METHOD(AboutBox, -552, AboutBox, u"Visualizza la finestra informazioni sul controllo.", 0)

#define ZE_KALENDO_EVENTS(EVENT)                                                         \
  EVENT(Click, -600, u"Evento Click.")                                                   \
  EVENT(DblClick, -601, u"Evento Doppio Click.")                                         \
  EVENT(DataNonValida, 1, u"Evento. Si verifica quando l'utente immette una data non valida.") \
  EVENT(ReturnPress, 2, u"")                                                             \
  EVENT(TastoPress, 3, u"")
// clang-format on

ZE_DUAL_INTERFACE(IKalendo, ids::kIidKalendo, ZE_KALENDO_MEMBERS);

}  // namespace zekalendo
