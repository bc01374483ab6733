// One text from a query on a SQLite file, on a connection of its own, as another program
// would open the file (a writable one rolls back what a killed writer left). "NULL" for a
// NULL, `missing` when the query fails or finds no row.
#pragma once

#include <sqlite3.h>

#include <string>

namespace provix2::testing {

inline std::string QueryText(const std::string& path, const std::string& sql,
                             const std::string& missing = "?") {
  sqlite3* db = nullptr;
  std::string out = missing;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(s, 0);
      out = text ? reinterpret_cast<const char*>(text) : "NULL";
    }
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return out;
}

}  // namespace provix2::testing
