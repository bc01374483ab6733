// Statement: one prepared SQLite statement, finalized when it goes.
//
// Every user of SQLite in the platform and its programs (the registry store, the data
// engines) prepares, binds, steps and reads through this one class. A failed prepare or
// bind is remembered and returned by the next Step, so a chain of binds needs a single
// check; reading a column of a statement that is not on a row gives Null, 0 or empty.
// Reset makes the statement ready to run again with new bindings, which is how a cache
// of persistent statements reuses it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"

namespace ze::sqlite {

class Statement {
 public:
  // Prepares sql on db; flags are sqlite3_prepare_v3's (SQLITE_PREPARE_PERSISTENT for
  // a statement that is kept and run many times). A failure shows in rc() and Step().
  Statement(sqlite3* db, std::string_view sql, unsigned flags = 0);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Whether the statement was prepared (sql named tables and columns that exist).
  bool Prepared() const { return stmt_ != nullptr; }

  // Parameters count from 1. Text is bound as UTF-8, copied.
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::string_view utf8);
  Statement& Bind(int index, std::u16string_view text);
  Statement& BindBlob(int index, std::span<const std::uint8_t> data);
  Statement& BindNull(int index);

  // SQLITE_ROW, SQLITE_DONE, or the error of this step or of an earlier prepare or bind.
  int Step();
  // The last result: SQLITE_OK before the first step.
  int rc() const { return rc_; }
  // Ready to run again: the result, the bindings and the row are cleared.
  void Reset();

  // The current row's columns, counted from 0.
  int ColumnType(int col) const;  // SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT...
  std::int64_t Int(int col) const;
  double Double(int col) const;
  std::string Utf8(int col) const;
  String Text(int col) const;
  std::vector<std::uint8_t> Blob(int col) const;

 private:
  bool Usable() const { return stmt_ != nullptr && (rc_ == SQLITE_OK || rc_ == SQLITE_ROW); }
  Statement& Check(int rc);

  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

// The text of an error: the connection's own message when there is a connection, else
// the generic text of the code.
std::string ErrorText(sqlite3* db, int rc);

}  // namespace ze::sqlite
