// Choosing and opening a data control's engine.
#include "sample/data/open_table.h"

#include "frame/automation/string.h"
#include "sample/data/recordset.h"
#ifdef ZE_HAVE_POSTGRESQL
#include "sample/data/postgres_table.h"
#endif

namespace provix2 {

bool NamesServer(const std::string& connect, const std::string& database) {
  return database.starts_with("postgresql://") || database.starts_with("postgres://") ||
         ze::EqualsIgnoringAsciiCase(ze::FromUtf8(connect), u"PostgreSQL");
}

std::unique_ptr<TableSource> OpenTable(const std::string& connect, const std::string& database,
                                       const std::string& table, std::vector<std::string> fields) {
  if (NamesServer(connect, database)) {
#ifdef ZE_HAVE_POSTGRESQL
    return std::make_unique<PostgresTable>(database, table, std::move(fields));
#else
    throw RecordsetError("questo provix2 è stato compilato senza PostgreSQL (libpq)");
#endif
  }
  Recordset::CreateSampleIfMissing(database);
  return std::make_unique<Recordset>(database, table, std::move(fields));
}

}  // namespace provix2
