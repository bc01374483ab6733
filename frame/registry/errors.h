// Result codes of the registry store: the Win32 error numbers its callers test.
//
// Every reader and writer of the store returns one of these. Failures of the
// database underneath map onto the registry's own codes: a store locked by another
// process past the busy timeout is ERROR_BUSY, a read-only store refuses writes
// with ERROR_ACCESS_DENIED, a file that is not a registry database is ERROR_BADDB,
// a store that cannot be created or opened is ERROR_CANTOPEN. The calling thread's
// LastErrorDetail() then holds a sentence for people (file name, what SQLite said).
#pragma once

#include <cstdint>
#include <string>

namespace ze::registry {

using LSTATUS = std::int32_t;
using DWORD = std::uint32_t;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_OUTOFMEMORY = 14;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_BUSY = 170;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_BADDB = 1009;
inline constexpr LSTATUS ERROR_BADKEY = 1010;
inline constexpr LSTATUS ERROR_CANTOPEN = 1011;
inline constexpr LSTATUS ERROR_CANTREAD = 1012;
inline constexpr LSTATUS ERROR_CANTWRITE = 1013;
inline constexpr LSTATUS ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr LSTATUS ERROR_KEY_DELETED = 1018;

// The system's sentence for a code ("Access is denied."); unknown codes give
// "Error N.".
std::string ErrorText(LSTATUS code);

// Detail of the calling thread's last failure in the store ("" when none happened
// yet). Successful calls leave it as it was.
const std::string& LastErrorDetail();
void SetLastErrorDetail(std::string detail);

}  // namespace ze::registry
