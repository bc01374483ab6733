// zeUtilita: dates and numbers to and from text, database date expressions.
//
// No routine of this group is built yet; each goes here as a member function of
// zeUtilita, declared in ze_utilita.h and listed in ze_utilita_members.h.
#include "utilita/ze_utilita.h"
