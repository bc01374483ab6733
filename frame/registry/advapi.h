// The registry through open-key handles, in the shape of the advapi32 functions.
//
// For code written against those calls step by step (the utility class's registry
// readers and writers). Handles are numbers: the predefined roots
// keep their values (HKEY_CLASSES_ROOT = 0x80000000 ...), opened keys get small
// numbers of their own. The predefined roots work on the process's default store
// (see store.h); a key opened from a handle works on that handle's store. Results
// are Win32 error codes (errors.h). Strings are UTF-16 (the wide functions); a null
// or empty subkey names the key itself, a null or empty value name the default
// value. Sizes count bytes for data and characters for names, as the originals do:
// a buffer too small gives ERROR_MORE_DATA with the size needed.
//
// Access rights are checked as the original does for the common cases: querying
// values needs KEY_QUERY_VALUE, setting and deleting values KEY_SET_VALUE,
// creating subkeys KEY_CREATE_SUB_KEY, enumerating subkeys KEY_ENUMERATE_SUB_KEYS.
#pragma once

#include <cstdint>

#include "frame/registry/errors.h"
#include "frame/registry/store.h"
#include "frame/registry/value.h"

namespace ze::registry {

using HKEY = std::uint32_t;
using REGSAM = DWORD;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

LSTATUS RegOpenKeyEx(HKEY key, const char16_t* subKey, DWORD options, REGSAM samDesired,
                     HKEY* result);
LSTATUS RegCreateKeyEx(HKEY key, const char16_t* subKey, DWORD reserved, const char16_t* keyClass,
                       DWORD options, REGSAM samDesired, const void* securityAttributes,
                       HKEY* result, DWORD* disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegSetValueEx(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                      const std::uint8_t* data, DWORD cbData);
LSTATUS RegQueryValueEx(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                        std::uint8_t* data, DWORD* cbData);
LSTATUS RegDeleteValue(HKEY key, const char16_t* valueName);
// Deletes a subkey that has no subkeys of its own.
LSTATUS RegDeleteKey(HKEY key, const char16_t* subKey);
// Deletes a subkey and everything below it; a null subkey empties `key`.
LSTATUS RegDeleteTree(HKEY key, const char16_t* subKey);
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, char16_t* name, DWORD* cchName, DWORD* reserved,
                     char16_t* keyClass, DWORD* cchClass, void* lastWriteTime);
LSTATUS RegEnumValue(HKEY key, DWORD index, char16_t* valueName, DWORD* cchValueName,
                     DWORD* reserved, DWORD* type, std::uint8_t* data, DWORD* cbData);

// The ANSI forms. Names and the data of text values (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) cross in the ANSI code page (Windows-1252) and are stored as
// UTF-16, converted one character per byte as the original converts them: a
// stored text of n units reads back as n bytes (its NUL included when it has
// one), and a character the code page lacks reads as "?". Data of other types
// passes unchanged.
LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM samDesired, HKEY* result);
LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, const char* keyClass,
                        DWORD options, REGSAM samDesired, const void* securityAttributes,
                        HKEY* result, DWORD* disposition);
LSTATUS RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                       const std::uint8_t* data, DWORD cbData);
LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                         std::uint8_t* data, DWORD* cbData);
LSTATUS RegDeleteValueA(HKEY key, const char* valueName);
LSTATUS RegDeleteKeyA(HKEY key, const char* subKey);
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* cchName, DWORD* reserved,
                      char* keyClass, DWORD* cchClass, void* lastWriteTime);
LSTATUS RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* cchValueName, DWORD* reserved,
                      DWORD* type, std::uint8_t* data, DWORD* cbData);

// The number of handles open now (for leak checks in tests).
std::size_t OpenKeyHandleCount();

}  // namespace ze::registry
