// The version of the platform runtime, for hosts that print what they loaded.
extern "C" const char* ze_platform_version() { return "1.4"; }
