// zeUtilita: opening documents and addresses, starting programs and waiting for them, shortcuts,
// server registration, expanding compressed files.
//
// No routine of this group is built yet; each goes here as a member function of
// zeUtilita, declared in ze_utilita.h and listed in ze_utilita_members.h.
#include "utilita/ze_utilita.h"
