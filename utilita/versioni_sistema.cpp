// zeUtilita: file versions and their comparison, the operating system, volume serial numbers, write
// access.
//
// No routine of this group is built yet; each goes here as a member function of
// zeUtilita, declared in ze_utilita.h and listed in ze_utilita_members.h.
#include "utilita/ze_utilita.h"
