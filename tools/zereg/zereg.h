// zereg: the registry store from the command line, in the manner of reg.exe.
//
//   zereg query  KEY [/v NAME | /ve] [/s]
//   zereg add    KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]
//   zereg delete KEY [/v NAME | /ve | /va] [/f]
//   zereg export KEY FILE [/y]
//   zereg import FILE
//
// KEY is ROOT\path with ROOT one of HKEY_CLASSES_ROOT (HKCR), HKEY_CURRENT_USER
// (HKCU), HKEY_LOCAL_MACHINE (HKLM), HKEY_USERS (HKU), HKEY_CURRENT_CONFIG (HKCC).
// A switch is a word starting with "/" that the command knows, in any case; any
// other word is an argument, so Linux paths such as /tmp/x.reg need no quoting.
// Without /f (or /y for export) a command that would overwrite or delete asks on
// standard input first. The store is the process's default store (ZE_REGISTRO).
// Exit code 0 on success, 1 on failure with a message on standard error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ze::zereg {

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace ze::zereg
