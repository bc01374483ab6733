// PostgresTable: the records of one table on a PostgreSQL server, walked one at a time.
//
// The shared engine behind provix2's data control, for a form used by several people
// at once; a TableSource (table_source.h) like the SQLite Recordset, so the bindings
// cannot tell them apart. It connects through libpq with a connection string or URI
// (an empty one: the PG environment variables), finds the table and the bound fields
// ignoring ASCII case (a server folds unquoted names to lower case, the form names
// them as it likes), and walks the table in the order of its primary key, which it
// must have: the key is how a record is found again by the next move or save.
//
// Values travel as text. A column reads by its type: boolean a Boolean, smallint and
// integer a Long, bigint a Long or a Double beyond it, real, double and numeric a
// Double, date and timestamp a Date (a timestamp with time zone in the session's zone),
// a text holding a stored date ("yyyy-mm-dd", as SQLite's engine stores them) a Date,
// anything else a String. A save compares every bound field's text with what was read.
//
// The connection: a failed statement on a connection that broke (the server stopped,
// restarted, the network cut) is reported as such; the next move or save connects
// again (Reconnect), and until then the position and the edits stay as they were.
#pragma once

#include <libpq-fe.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sample/data/table_source.h"

namespace provix2 {

class PostgresTable : public TableSource {
 public:
  // Connects with `connection` and opens `table` on its first record. Throws
  // RecordsetError when the server cannot be reached, or the table, a field or the
  // primary key is missing.
  PostgresTable(const std::string& connection, const std::string& table,
                std::vector<std::string> fields);
  ~PostgresTable() override;

 private:
  std::optional<Row> Fetch(Seek seek, const std::vector<Cell>& key) const override;
  std::optional<Row> Reread(const std::vector<Cell>& key) const override;
  std::optional<Row> Write(const std::vector<Cell>& key, const Edits& edits,
                           const std::vector<Cell>* expected) override;
  Row Insert(const std::vector<Cell>& key, const std::vector<Cell>& cells,
             const Edits& edits) override;
  std::size_t CountBefore(const std::vector<Cell>* key) const override;
  ze::Variant ValueOf(std::size_t field, const Cell& cell) const override;
  void CheckStorable(const ze::Variant& value) const override;
  void Reconnect() override;

  class Result;
  // Runs sql with text parameters (nullopt is NULL); throws RecordsetError, saying so
  // when the connection broke.
  Result Run(const std::string& sql, const std::vector<std::optional<std::string>>& params) const;
  std::optional<Row> One(const std::string& tail,
                         const std::vector<std::optional<std::string>>& params) const;
  void SetUpSession();
  // "k1 = $n AND k2 = $n+1", with the key's texts appended to params.
  std::string KeyIs(const std::vector<Cell>& key,
                    std::vector<std::optional<std::string>>& params) const;
  std::optional<std::string> TextOf(std::size_t field, const ze::Variant& value) const;

  PGconn* conn_ = nullptr;
  std::string connection_;
  std::string table_;                // quoted
  std::vector<std::string> keys_;    // quoted primary key columns
  std::vector<std::string> quoted_;  // quoted bound fields, as the server names them
  std::vector<unsigned> types_;      // the bound fields' type oids
  std::string columns_;              // keys, then fields
};

}  // namespace provix2
