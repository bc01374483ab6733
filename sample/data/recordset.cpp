// The SQLite recordset behind provix2's data control.
#include "sample/data/recordset.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "frame/automation/date_serial.h"
#include "frame/automation/string.h"

namespace provix2 {

namespace {

constexpr int kBusyTimeoutMs = 2000;

std::string Quote(const std::string& identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

// A prepared statement that finalizes itself.
struct Statement {
  sqlite3_stmt* stmt = nullptr;
  ~Statement() { sqlite3_finalize(stmt); }
};

std::string Describe(int rc, const std::string& path) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "il database \"" + path + "\" è bloccato da un altro programma";
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return "il file \"" + path + "\" non è un database valido";
    case SQLITE_READONLY:
      return "il database \"" + path + "\" è in sola lettura";
    case SQLITE_CANTOPEN:
      return "impossibile aprire il database \"" + path + "\"";
    case SQLITE_FULL:
      return "il disco è pieno: impossibile scrivere nel database \"" + path + "\"";
    default:
      return "errore del database \"" + path + "\": " + sqlite3_errstr(rc);
  }
}

}  // namespace

Recordset::Recordset(const std::string& path, const std::string& recordSource,
                     std::vector<std::string> fields)
    : table_(recordSource), fields_(std::move(fields)) {
  if (!std::filesystem::exists(path)) {
    throw RecordsetError("il database \"" + path + "\" non esiste");
  }
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = Describe(rc, path);
    sqlite3_close(db_);
    db_ = nullptr;
    throw RecordsetError(message);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  try {
    if (sqlite3_db_readonly(db_, "main") == 1 || access(path.c_str(), W_OK) != 0) {
      throw RecordsetError(Describe(SQLITE_READONLY, path));
    }
    // The table and its fields, as the database describes them.
    Statement info;
    const std::string pragma = "PRAGMA table_info(" + Quote(table_) + ")";
    rc = sqlite3_prepare_v2(db_, pragma.c_str(), -1, &info.stmt, nullptr);
    if (rc != SQLITE_OK) throw RecordsetError(Describe(rc, path));
    std::vector<std::string> columns;
    while ((rc = sqlite3_step(info.stmt)) == SQLITE_ROW) {
      const auto* name = sqlite3_column_text(info.stmt, 1);
      columns.emplace_back(name ? reinterpret_cast<const char*>(name) : "");
    }
    if (rc != SQLITE_DONE) throw RecordsetError(Describe(rc, path));
    if (columns.empty()) {
      throw RecordsetError("il database \"" + path + "\" non contiene la tabella \"" + table_ +
                           "\"");
    }
    for (const auto& field : fields_) {
      bool found = false;
      for (const auto& c : columns) found = found || sqlite3_stricmp(c.c_str(), field.c_str()) == 0;
      if (!found) {
        throw RecordsetError("la tabella \"" + table_ + "\" non ha il campo \"" + field + "\"");
      }
    }
    // The records, in table order.
    Statement ids;
    const std::string select = "SELECT rowid FROM " + Quote(table_) + " ORDER BY rowid";
    rc = sqlite3_prepare_v2(db_, select.c_str(), -1, &ids.stmt, nullptr);
    if (rc != SQLITE_OK) throw RecordsetError(Describe(rc, path));
    while ((rc = sqlite3_step(ids.stmt)) == SQLITE_ROW) {
      rowids_.push_back(sqlite3_column_int64(ids.stmt, 0));
    }
    if (rc != SQLITE_DONE) throw RecordsetError(Describe(rc, path));
  } catch (...) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
  if (!rowids_.empty()) MoveTo(0);
}

Recordset::~Recordset() {
  sqlite3_close(db_);
}

void Recordset::CreateSampleIfMissing(const std::string& path) {
  if (std::filesystem::exists(path)) return;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(db,
                      "BEGIN;"
                      "CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, "
                      "DataFinale TEXT);"
                      "INSERT INTO Data (DataIniziale, DataFinale) VALUES "
                      "('2005-09-01', '2005-12-25'),"
                      "('2006-01-10', '2006-06-30'),"
                      "(NULL, NULL);"
                      "COMMIT;",
                      nullptr, nullptr, nullptr);
  }
  const std::string message = Describe(rc, path);
  sqlite3_close(db);
  if (rc != SQLITE_OK) {
    std::remove(path.c_str());  // no half-made sample database is left behind
    throw RecordsetError(message);
  }
}

void Recordset::Check(int rc, const char* what) const {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  throw RecordsetError(std::string(what) + ": " + Describe(rc, sqlite3_db_filename(db_, "main")));
}

void Recordset::MoveTo(int position) {
  if (Dirty()) throw RecordsetError("il record corrente ha modifiche non salvate");
  if (rowids_.empty()) return;
  if (position < 0) position = 0;
  if (position >= RecordCount()) position = RecordCount() - 1;
  position_ = position;
  Load();
}

void Recordset::MoveFirst() {
  MoveTo(0);
}
void Recordset::MovePrevious() {
  MoveTo(position_ - 1);
}
void Recordset::MoveNext() {
  MoveTo(position_ + 1);
}
void Recordset::MoveLast() {
  MoveTo(RecordCount() - 1);
}

void Recordset::Load() {
  values_.clear();
  std::string sql = "SELECT ";
  for (size_t i = 0; i < fields_.size(); ++i) sql += (i ? ", " : "") + Quote(fields_[i]);
  sql += " FROM " + Quote(table_) + " WHERE rowid = ?";
  Statement s;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &s.stmt, nullptr), "lettura del record");
  sqlite3_bind_int64(s.stmt, 1, rowids_[static_cast<size_t>(position_)]);
  const int rc = sqlite3_step(s.stmt);
  Check(rc, "lettura del record");
  for (size_t i = 0; i < fields_.size(); ++i) {
    ze::Variant v = ze::Variant::Null();  // a record deleted meanwhile reads as empty
    if (rc == SQLITE_ROW) {
      const int col = static_cast<int>(i);
      switch (sqlite3_column_type(s.stmt, col)) {
        case SQLITE_NULL:
          break;
        case SQLITE_INTEGER:
          v = static_cast<double>(sqlite3_column_int64(s.stmt, col));
          break;
        case SQLITE_FLOAT:
          v = sqlite3_column_double(s.stmt, col);
          break;
        default: {
          const auto* text = sqlite3_column_text(s.stmt, col);
          const std::string raw = text ? reinterpret_cast<const char*>(text) : "";
          if (auto date = IsoToDate(raw)) {
            v = *date;
          } else {
            v = ze::FromUtf8(raw);
          }
        }
      }
    }
    values_[fields_[i]] = v;
  }
}

ze::Variant Recordset::Field(const std::string& name) const {
  if (auto e = edits_.find(name); e != edits_.end()) return e->second;
  if (auto v = values_.find(name); v != values_.end()) return v->second;
  return ze::Variant::Null();
}

bool Recordset::FieldIsDate(const std::string& name) const {
  const ze::Variant v = Field(name);
  return v.IsNull() || v.Is<ze::Date>();
}

void Recordset::SetField(const std::string& name, const ze::Variant& value) {
  if (!HasCurrent()) return;
  if (Field(name) == value) return;  // no edit: a stored non-date stays as it is
  edits_[name] = value;
}

void Recordset::Update() {
  if (!Dirty() || !HasCurrent()) return;
  std::string sql = "UPDATE " + Quote(table_) + " SET ";
  bool first = true;
  for (const auto& [name, value] : edits_) {
    sql += (first ? "" : ", ") + Quote(name) + " = ?";
    first = false;
  }
  sql += " WHERE rowid = ?";
  Check(sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), "salvataggio del record");
  try {
    Statement s;
    Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &s.stmt, nullptr), "salvataggio del record");
    int index = 1;
    for (const auto& [name, value] : edits_) {
      if (value.Is<ze::Date>()) {
        const std::string iso = DateToIso(value.Get<ze::Date>());
        sqlite3_bind_text(s.stmt, index, iso.c_str(), -1, SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_null(s.stmt, index);
      }
      ++index;
    }
    sqlite3_bind_int64(s.stmt, index, rowids_[static_cast<size_t>(position_)]);
    Check(sqlite3_step(s.stmt), "salvataggio del record");
    // Another program may have deleted the record meanwhile: an update that reaches no
    // row saved nothing and must not pass for a save.
    if (sqlite3_changes(db_) != 1)
      throw RecordsetError(
          "il record non esiste più nel database (cancellato da un altro programma?)");
    Check(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), "salvataggio del record");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;  // the edits stay: the record is still dirty
  }
  for (auto& [name, value] : edits_) values_[name] = value;
  edits_.clear();
}

void Recordset::CancelUpdate() {
  edits_.clear();
  if (HasCurrent()) Load();
}

std::string Recordset::DateToIso(ze::Date d) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", ze::Year(d), ze::Month(d), ze::Day(d));
  return text;
}

bool Recordset::IsTimeOfDay(std::string_view text) {
  // " hh:mm", " hh:mm:ss" or " hh:mm:ss.fff" (or "T" for the blank), in range.
  auto digits = [&](std::size_t at, std::size_t n) {
    if (at + n > text.size()) return -1;
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      v = v * 10 + (text[i] - '0');
    }
    return v;
  };
  if (text.size() < 6 || (text[0] != ' ' && text[0] != 'T') || text[3] != ':') return false;
  const int hour = digits(1, 2), minute = digits(4, 2);
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
  if (text.size() == 6) return true;
  if (text.size() < 9 || text[6] != ':') return false;
  const int second = digits(7, 2);
  if (second < 0 || second > 59) return false;
  if (text.size() == 9) return true;
  return text[9] == '.' && text.size() > 10 && digits(10, text.size() - 10) >= 0;
}

std::optional<ze::Date> Recordset::IsoToDate(const std::string& text) {
  // "yyyy-mm-dd" with a real calendar day, alone or followed by a time of day as
  // SQLite's own date-time texts carry it ("2005-09-01 13:45:00", "...T13:45"), which
  // a date field shows without its time; anything else is no date.
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (text.size() > 10 && !IsTimeOfDay(std::string_view(text).substr(10))) return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  if (year < 100 || month < 1 || month > 12 || day < 1) return std::nullopt;
  const ze::Date d = ze::DateSerial(year, month, day);
  if (ze::Day(d) != day) return std::nullopt;  // 31 February carried into March
  return d;
}

}  // namespace provix2
