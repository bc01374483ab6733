// The version of the platform runtime, for hosts that print what they loaded.
#include "ze_version.h"

extern "C" const char* ze_platform_version() { return ZE_VERSION_TEXT; }
