// OpenTable: the data engine a data control's settings name, opened on its first record.
//
// The form description chooses the engine: Connect "PostgreSQL" is a shared server,
// reached through DatabaseName as a libpq connection string or URI (empty: the PG
// environment variables alone); anything else is a SQLite file, DatabaseName its path,
// made with the sample records when it is missing. A DatabaseName that is a
// "postgresql://" or "postgres://" URI names a server whatever Connect says, so a user
// points provix2 at a server without editing the form.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sample/data/table_source.h"

namespace provix2 {

// Throws RecordsetError, with a message for the user, when the table cannot be opened.
std::unique_ptr<TableSource> OpenTable(const std::string& connect, const std::string& database,
                                       const std::string& table, std::vector<std::string> fields);

// Whether these settings name a database server rather than a file.
bool NamesServer(const std::string& connect, const std::string& database);

}  // namespace provix2
