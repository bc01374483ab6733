// The interface identifier of zeUtilita. The class has no registration record and no
// type-library entry: the identifier only names its interface inside the library.
#pragma once

#include "frame/com/guid.h"

namespace zekalendo::ids {

inline constexpr ze::com::GUID kIidUtilita{
    0xcaa1f130, 0x1d6a, 0x11da, {0x9f, 0xab, 0x00, 0x05, 0x5d, 0x33, 0xbb, 0xe7}};

}  // namespace zekalendo::ids
