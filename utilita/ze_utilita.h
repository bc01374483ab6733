// zeUtilita: the library's toolbox class, private to the library.
//
// A zeUtilita object keeps no state: every routine works on its arguments, the user
// locale and the system. Callers inside the library make one where they need it (the
// numeric field's key filter makes one per typed character, the calendar keeps one
// for the life of its form), so constructing one costs nothing.
//
// The routines fall into groups, each in its own source file:
//   stringhe_percorsi.cpp   strings and paths
//   date_numeri.cpp         dates and numbers
//   errori_log.cpp          error messages and the log file
//   ini_registro.cpp        INI files and registry stores
//   cartelle.cpp            shell folders and system directories
//   processi.cpp            processes, the shell and server registration
//   versioni_sistema.cpp    versions and system information
//   finestre.cpp            window helpers
//   giorni_separatori.cpp   days in a month and the locale's separators
// A new routine is one function in its group's file, its declaration below under the
// group's heading, and one line in ZE_UTILITA_MEMBERS (ze_utilita_members.h), which
// is what code reaching the class by dispatch sees.
#pragma once

#include <cstdint>

namespace zekalendo {

class zeUtilita {
 public:
  // --- days in a month and the locale's separators ---

  // The days of month m of year a (28 to 31). The month carries into the year (13 is
  // January of a + 1, 0 December of a - 1); a year of 0 to 99 is completed as
  // DateSerial completes it. Error 5 when the month lies outside the years 100 to 9999.
  // Both arguments are by reference, as callers declare them; neither is changed.
  std::int16_t MaxGiorni(std::int16_t& m, std::int16_t& a) const;
  // The code of the user locale's decimal separator: 44 for ",", 46 for ".", 0 for any
  // other character.
  std::uint8_t GetSeparatoreDecimale() const;
  // The code of the user locale's thousands separator, as above; 0 also when the
  // locale does not group thousands.
  std::uint8_t GetSeparatoreMigliaia() const;
};

}  // namespace zekalendo
