// What provix2 needs around its form: the program's folder, the registration of the
// component library in the user's registry store, and the database rows for printing.
#pragma once

#include <string>
#include <vector>

namespace provix2 {

// The folder of the running program (where Form1.frm, the database and the component
// library live).
std::string ProgramFolder();

// Makes sure "zeKalendo.Kalendo" can be created from the library that travels beside
// the program: when it cannot, or the registration names another file, registers that
// library. Returns an empty string, or why it failed.
std::string EnsureKalendoRegistered(const std::string& programFolder);

// The rows of the record source, one text line each ("1 | 2005-09-01 | NULL").
std::vector<std::string> DatabaseRows(const std::string& path, const std::string& table);

}  // namespace provix2
