// Statement: prepare, bind, step, read, finalize.
#include "frame/sqlite/statement.h"

#include <limits>
#include <utility>

namespace ze::sqlite {

Statement::Statement(sqlite3* db, std::string_view sql, unsigned flags) {
  if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    rc_ = SQLITE_TOOBIG;
    return;
  }
  rc_ = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), flags, &stmt_, nullptr);
  if (rc_ != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), rc_(other.rc_) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
    rc_ = other.rc_;
  }
  return *this;
}

Statement& Statement::Check(int rc) {
  if (rc != SQLITE_OK) rc_ = rc;
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t value) {
  return Usable() ? Check(sqlite3_bind_int64(stmt_, index, value)) : *this;
}

Statement& Statement::Bind(int index, double value) {
  return Usable() ? Check(sqlite3_bind_double(stmt_, index, value)) : *this;
}

Statement& Statement::Bind(int index, std::string_view utf8) {
  if (!Usable()) return *this;
  if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return Check(SQLITE_TOOBIG);
  // A null pointer would bind NULL, not an empty text.
  return Check(sqlite3_bind_text(stmt_, index, utf8.empty() ? "" : utf8.data(),
                                 static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
}

Statement& Statement::Bind(int index, std::u16string_view text) {
  return Usable() ? Bind(index, std::string_view(ToUtf8(text))) : *this;
}

Statement& Statement::BindBlob(int index, std::span<const std::uint8_t> data) {
  static const std::uint8_t kEmpty = 0;  // a null pointer would bind NULL, not an empty blob
  if (!Usable()) return *this;
  if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return Check(SQLITE_TOOBIG);
  return Check(sqlite3_bind_blob(stmt_, index, data.empty() ? &kEmpty : data.data(),
                                 static_cast<int>(data.size()), SQLITE_TRANSIENT));
}

Statement& Statement::BindNull(int index) {
  return Usable() ? Check(sqlite3_bind_null(stmt_, index)) : *this;
}

int Statement::Step() {
  if (!Usable()) return rc_ == SQLITE_OK ? SQLITE_MISUSE : rc_;
  rc_ = sqlite3_step(stmt_);
  return rc_;
}

void Statement::Reset() {
  if (stmt_ == nullptr) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  rc_ = SQLITE_OK;
}

int Statement::ColumnType(int col) const {
  return rc_ == SQLITE_ROW ? sqlite3_column_type(stmt_, col) : SQLITE_NULL;
}

std::int64_t Statement::Int(int col) const {
  return rc_ == SQLITE_ROW ? sqlite3_column_int64(stmt_, col) : 0;
}

double Statement::Double(int col) const {
  return rc_ == SQLITE_ROW ? sqlite3_column_double(stmt_, col) : 0;
}

std::string Statement::Utf8(int col) const {
  if (rc_ != SQLITE_ROW) return {};
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
  const int n = sqlite3_column_bytes(stmt_, col);
  return p == nullptr ? std::string() : std::string(p, static_cast<std::size_t>(n));
}

String Statement::Text(int col) const {
  return FromUtf8(Utf8(col));
}

std::vector<std::uint8_t> Statement::Blob(int col) const {
  if (rc_ != SQLITE_ROW) return {};
  const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, col));
  const int n = sqlite3_column_bytes(stmt_, col);
  return p == nullptr ? std::vector<std::uint8_t>() : std::vector<std::uint8_t>(p, p + n);
}

std::string ErrorText(sqlite3* db, int rc) {
  return db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
}

}  // namespace ze::sqlite
