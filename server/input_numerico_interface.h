// ZEInputNumerico's members, declared once, and the dual interface made from them.
//
// ZE_INPUT_NUMERICO_MEMBERS lists the default interface's members with the dispatch
// ids the library's forms reach them by (frame/com/member_table.h says what each
// column means); the descriptions keep the double spaces of the texts property
// browsers have always shown. The events carry one Double each, by reference: a
// handler may write it, but the control sends a copy and never reads it back.
#pragma once

#include "frame/com/member_table.h"
#include "frame/container/object_members.h"
#include "server/kalendo_ids.h"

namespace zekalendo {

namespace members = ze::container::members;

// clang-format off
#define ZE_INPUT_NUMERICO_MEMBERS(PROPERTY, METHOD, FUNCTION)                                    \
  PROPERTY(valore, 0, members::Double, Let, valore, SetValore,                                   \
           u"Propriet\u00e0 che restituisce o imposta il valore contenuto nel controllo.",      \
           ze::com::FUNCFLAG_FUIDEFAULT)                                                         \
  PROPERTY(Massimo, 0x68030009, members::Double, Let, Massimo, SetMassimo,                       \
           u"Imposta il valore massimo che il controllo pu\u00f2 contenere. Se l'utente "        \
           u"inserisce un valore superiore  a tale limite verr\u00e0 generato l'evento "         \
           u"MassimoSuperato e il valore sar\u00e0 automaticamente impostato al valore massimo.", 0) \
  PROPERTY(Incremento, 0x68030008, members::Double, Let, Incremento, SetIncremento,              \
           u"Imposta o restituisce l'unit\u00e0 di incremento/decremento usata quando vengono "  \
           u"premuti i pulsanti di scorrimento a lato del controllo.", 0)                        \
  PROPERTY(Minimo, 0x68030007, members::Double, Let, Minimo, SetMinimo,                          \
           u"Restituisce o imposta il valore minimo che il controllo pu\u00f2 contenere. Se "    \
           u"l'utente tenta di immettere un valore inferiore a tale limite verr\u00e0 generato " \
           u"l'evento MinimoSuperato e il valore sar\u00e0 automaticamente impostato al valore " \
           u"minimo.", 0)                                                                        \
  PROPERTY(Font, 0x68030006, members::Font, Set, GetFont, SetFont,                               \
           u"Imposta o restituisce il font utilizzato dal controllo per visualizzare il testo.", 0) \
  PROPERTY(VisualizzaZero, 0x68030005, members::Boolean, Let, VisualizzaZero, SetVisualizzaZero, \
           u"Propriet\u00e0 booleana che consente di indicare se il controllo debba "            \
           u"visualizzare o meno il valore zero.", 0)                                            \
  PROPERTY(Text, 0x68030004, members::String, Let, Text, SetText,                                \
           u"Propriet\u00e0 che restituisce o imposta il testo contenuto nel controllo.", 0)     \
  PROPERTY(ForeColor, 0x68030003, members::Color, Let, ForeColor, SetForeColor,                  \
           u"Restituisce o imposta il colore  utilizzato per la visualizzazione del testo.", 0)  \
  PROPERTY(Enabled, 0x68030002, members::Boolean, Let, Enabled, SetEnabled,                      \
           u"Restituisce o imposta un valore che determina se un oggetto \u00e8 in grado di "    \
           u"rispondere agli eventi generati dall'utente.", 0)                                   \
  PROPERTY(Locked, 0x68030001, members::Boolean, Let, Locked, SetLocked,                         \
           u"Determina se un controllo pu\u00f2 essere modificato.", 0)                          \
  PROPERTY(CifreDecimali, 0x68030000, members::Integer, Let, CifreDecimali, SetCifreDecimali,    \
           u"", 0)                                                                               \
  METHOD(DecrementaValore, 0x60030011, DecrementaValore, u"", 0)                                \
  METHOD(IncrementaValore, 0x60030012, IncrementaValore, u"", 0)
// clang-format on

ZE_DUAL_INTERFACE(IZEInputNumerico, ids::kIidInputNumerico, ZE_INPUT_NUMERICO_MEMBERS);

}  // namespace zekalendo
