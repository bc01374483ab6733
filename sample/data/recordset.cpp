// The SQLite recordset behind provix2's data control.
#include "sample/data/recordset.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "frame/automation/date_serial.h"
#include "frame/automation/date_text.h"
#include "frame/automation/error.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/string.h"
#include "frame/sqlite/statement.h"

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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Two digits at `at` as a number.
int TwoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// Binds a value as SetField lets it in.
void BindValue(ze::sqlite::Statement& s, int index, const ze::Variant& value) {
  if (value.Is<ze::Date>()) {
    s.Bind(index, std::string_view(Recordset::DateText(value.Get<ze::Date>())));
  } else if (value.Is<ze::String>()) {
    s.Bind(index, std::u16string_view(value.Get<ze::String>()));
  } else if (value.Is<std::int16_t>()) {
    s.Bind(index, std::int64_t{value.Get<std::int16_t>()});
  } else if (value.Is<std::int32_t>()) {
    s.Bind(index, std::int64_t{value.Get<std::int32_t>()});
  } else if (value.Is<float>()) {
    s.Bind(index, double{value.Get<float>()});
  } else if (value.Is<double>()) {
    s.Bind(index, value.Get<double>());
  } else if (value.Is<bool>()) {
    s.Bind(index, std::int64_t{value.Get<bool>() ? -1 : 0});
  } else {
    s.BindNull(index);
  }
}

// Binds a stored cell back as it was read, so that a comparison with the stored value
// is exact.
void BindCell(ze::sqlite::Statement& s, int index, const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::Null:
      s.BindNull(index);
      break;
    case Cell::Kind::Integer:
      s.Bind(index, cell.integer);
      break;
    case Cell::Kind::Real:
      s.Bind(index, cell.real);
      break;
    case Cell::Kind::Text:
      s.Bind(index, std::string_view(cell.bytes));
      break;
    case Cell::Kind::Blob:
      s.BindBlob(index, std::span(reinterpret_cast<const std::uint8_t*>(cell.bytes.data()),
                                  cell.bytes.size()));
      break;
  }
}

Cell CellOf(const ze::sqlite::Statement& s, int col) {
  Cell cell;
  switch (s.ColumnType(col)) {
    case SQLITE_NULL:
      break;
    case SQLITE_INTEGER:
      cell.kind = Cell::Kind::Integer;
      cell.integer = s.Int(col);
      break;
    case SQLITE_FLOAT:
      cell.kind = Cell::Kind::Real;
      cell.real = s.Double(col);
      break;
    case SQLITE_BLOB: {
      cell.kind = Cell::Kind::Blob;
      const std::vector<std::uint8_t> bytes = s.Blob(col);
      cell.bytes.assign(bytes.begin(), bytes.end());
      break;
    }
    default:
      cell.kind = Cell::Kind::Text;
      cell.bytes = s.Utf8(col);
  }
  return cell;
}

// The row a statement stands on: the rowid, then the bound fields.
Row RowOf(const ze::sqlite::Statement& s, std::size_t fields) {
  Row row;
  row.key.push_back(CellOf(s, 0));
  for (std::size_t i = 0; i < fields; ++i) row.cells.push_back(CellOf(s, static_cast<int>(i) + 1));
  return row;
}

// The sample database, built whole in a file of its own beside `path` and then moved
// into place, so that no other run ever sees it half made: a first run killed while
// building leaves only its own temporary file, and two first runs at once both end
// with one whole database. Only the temporary file is ever removed.
class SampleFile {
 public:
  explicit SampleFile(const std::string& path) : path_(path), temporary_(path + ".nuovo-XXXXXX") {
    const int fd = mkstemp(temporary_.data());
    if (fd < 0) {
      throw RecordsetError("impossibile creare il database \"" + path_ +
                           "\": " + std::strerror(errno));
    }
    owned_ = true;
    try {
      Fill();
      // SQLite has flushed its own writes; this makes sure of the file before its name
      // is published.
      if (fsync(fd) != 0) {
        throw RecordsetError("impossibile scrivere il database \"" + path_ +
                             "\": " + std::strerror(errno));
      }
    } catch (...) {
      close(fd);
      throw;
    }
    close(fd);
  }
  ~SampleFile() {
    if (owned_) unlink(temporary_.c_str());
  }
  SampleFile(const SampleFile&) = delete;
  SampleFile& operator=(const SampleFile&) = delete;

  // Gives the sample the database's name unless something stands there already.
  bool PlaceIfMissing() {
    if (renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE) == 0)
      return Placed();
    if (errno == EEXIST) return false;
    if (errno == EINVAL || errno == ENOSYS) {
      // A file system without the no-replace rename: a hard link fails the same way
      // when the name is taken.
      if (link(temporary_.c_str(), path_.c_str()) == 0) {
        unlink(temporary_.c_str());
        return Placed();
      }
      if (errno == EEXIST) return false;
    }
    throw RecordsetError("impossibile creare il database \"" + path_ +
                         "\": " + std::strerror(errno));
  }

  // Replaces an empty file at the database's name (a first run killed while an older
  // version created the database in place), but only that very empty file: the lock
  // keeps two runs from both replacing it, and the second finds the name taken by a
  // whole database.
  bool ReplaceEmpty() {
    const int fd = open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;  // gone or no plain file: the caller looks again
    bool replaced = false;
    struct stat held {
    }, named{};
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &held) == 0 && stat(path_.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino && held.st_size == 0 &&
        std::rename(temporary_.c_str(), path_.c_str()) == 0) {
      replaced = Placed();
    }
    close(fd);
    return replaced;
  }

 private:
  void Fill() {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_busy_timeout(db, kBusyTimeoutMs);
      // Nobody else knows the file: a journal would only be litter after a kill.
      rc = sqlite3_exec(db,
                        "PRAGMA journal_mode=OFF;"
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
    const std::string message = Describe(rc, path_);
    const int closed = sqlite3_close(db);
    if (rc != SQLITE_OK) throw RecordsetError(message);
    if (closed != SQLITE_OK) throw RecordsetError(Describe(closed, path_));
  }

  bool Placed() {
    owned_ = false;
    // The new name lasts only once the folder is on disk too.
    const std::string folder = std::filesystem::path(path_).parent_path().string();
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }

  std::string path_;
  std::string temporary_;
  bool owned_ = false;
};

}  // namespace

Recordset::Recordset(const std::string& path, const std::string& recordSource,
                     std::vector<std::string> fields)
    : TableSource(std::move(fields)), table_(recordSource) {
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
    ze::sqlite::Statement info(db_, "PRAGMA table_info(" + Quote(table_) + ")");
    std::vector<std::string> columns;
    while ((rc = info.Step()) == SQLITE_ROW) columns.push_back(info.Utf8(1));
    if (rc != SQLITE_DONE) throw RecordsetError(Describe(rc, path));
    if (columns.empty()) {
      throw RecordsetError("il database \"" + path + "\" non contiene la tabella \"" + table_ +
                           "\"");
    }
    columns_ = "rowid";
    for (const auto& field : this->fields()) {
      bool found = false;
      for (const auto& c : columns) found = found || sqlite3_stricmp(c.c_str(), field.c_str()) == 0;
      if (!found) {
        throw RecordsetError("la tabella \"" + table_ + "\" non ha il campo \"" + field + "\"");
      }
      columns_ += ", " + Quote(field);
    }
    Open();
  } catch (...) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

Recordset::~Recordset() {
  sqlite3_close(db_);
}

void Recordset::CreateSampleIfMissing(const std::string& path) {
  std::optional<SampleFile> sample;
  // A few rounds at most: each one ends when a database stands at `path`, ours or
  // another first run's; only an empty file left there brings another round.
  for (int round = 0; round < 8; ++round) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
      if (!S_ISREG(st.st_mode) || st.st_size > 0) return;  // opening says what it is
    } else if (errno != ENOENT) {
      return;  // opening the database says why it cannot be reached
    }
    if (!sample) sample.emplace(path);
    if (sample->PlaceIfMissing() || sample->ReplaceEmpty()) return;
  }
  throw RecordsetError("impossibile creare il database \"" + path + "\"");
}

void Recordset::Check(int rc, const char* what) const {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  throw RecordsetError(std::string(what) + ": " + Describe(rc, sqlite3_db_filename(db_, "main")));
}

std::optional<Row> Recordset::SelectOne(const std::string& tail,
                                        const std::vector<Cell>& key) const {
  ze::sqlite::Statement s(db_, "SELECT " + columns_ + " FROM " + Quote(table_) + " " + tail);
  if (!key.empty()) BindCell(s, 1, key[0]);
  const int rc = s.Step();
  Check(rc, "lettura del record");
  if (rc != SQLITE_ROW) return std::nullopt;
  return RowOf(s, fields().size());
}

std::optional<Row> Recordset::Fetch(Seek seek, const std::vector<Cell>& key) const {
  switch (seek) {
    case Seek::First:
      return SelectOne("ORDER BY rowid LIMIT 1", {});
    case Seek::Last:
      return SelectOne("ORDER BY rowid DESC LIMIT 1", {});
    case Seek::After:
      return SelectOne("WHERE rowid > ? ORDER BY rowid LIMIT 1", key);
    case Seek::Before:
      return SelectOne("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1", key);
  }
  return std::nullopt;
}

std::optional<Row> Recordset::Reread(const std::vector<Cell>& key) const {
  return SelectOne("WHERE rowid = ?", key);
}

std::optional<Row> Recordset::Write(const std::vector<Cell>& key, const Edits& edits,
                                    const std::vector<Cell>* expected) {
  std::string sql = "UPDATE " + Quote(table_) + " SET ";
  bool first = true;
  for (const auto& [field, value] : edits) {
    sql += (first ? "" : ", ") + Quote(fields()[field]) + " = ?";
    first = false;
  }
  sql += " WHERE rowid = ?";
  // IS compares NULL with NULL as equal: a field that was empty must still be empty.
  if (expected) {
    for (const auto& field : fields()) sql += " AND " + Quote(field) + " IS ?";
  }
  sql += " RETURNING " + columns_;
  ze::sqlite::Statement s(db_, sql);
  int index = 1;
  for (const auto& [field, value] : edits) BindValue(s, index++, value);
  BindCell(s, index++, key[0]);
  if (expected) {
    for (const Cell& cell : *expected) BindCell(s, index++, cell);
  }
  int rc = s.Step();
  Check(rc, "salvataggio del record");
  if (rc != SQLITE_ROW) return std::nullopt;
  Row row = RowOf(s, fields().size());
  Check(s.Step(), "salvataggio del record");
  return row;
}

Row Recordset::Insert(const std::vector<Cell>& key, const std::vector<Cell>& cells,
                      const Edits& edits) {
  std::string sql = "INSERT INTO " + Quote(table_) + " (" + columns_ + ") VALUES (?";
  for (std::size_t i = 0; i < cells.size(); ++i) sql += ", ?";
  sql += ") RETURNING " + columns_;
  ze::sqlite::Statement s(db_, sql);
  BindCell(s, 1, key[0]);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int index = static_cast<int>(i) + 2;
    if (auto e = edits.find(i); e != edits.end()) {
      BindValue(s, index, e->second);
    } else {
      BindCell(s, index, cells[i]);
    }
  }
  const int rc = s.Step();
  Check(rc, "salvataggio del record");
  if (rc != SQLITE_ROW) throw RecordsetError("salvataggio del record: nessuna riga scritta");
  Row row = RowOf(s, fields().size());
  Check(s.Step(), "salvataggio del record");
  return row;
}

std::size_t Recordset::CountBefore(const std::vector<Cell>* key) const {
  ze::sqlite::Statement s(
      db_, "SELECT count(*) FROM " + Quote(table_) + (key ? " WHERE rowid < ?" : ""));
  if (key) BindCell(s, 1, (*key)[0]);
  Check(s.Step(), "conteggio dei record");
  return static_cast<std::size_t>(s.Int(0));
}

ze::Variant Recordset::ValueOf(std::size_t, const Cell& cell) const {
  switch (cell.kind) {
    case Cell::Kind::Null:
      return ze::Variant::Null();
    case Cell::Kind::Integer:
      if (cell.integer >= INT32_MIN && cell.integer <= INT32_MAX) {
        return static_cast<std::int32_t>(cell.integer);
      }
      return static_cast<double>(cell.integer);
    case Cell::Kind::Real:
      return cell.real;
    case Cell::Kind::Text:
    case Cell::Kind::Blob:
      if (auto date = StoredDate(cell.bytes)) return *date;
      return ze::FromUtf8(cell.bytes);
  }
  return ze::Variant::Null();
}

void Recordset::CheckStorable(const ze::Variant& value) const {
  if (value.Is<ze::Date>()) DateText(value.Get<ze::Date>());  // error 6 for no date now
}

std::string Recordset::DateText(ze::Date d) {
  const bool timed = ze::Hour(d) != 0 || ze::Minute(d) != 0 || ze::Second(d) != 0;
  return ze::ToUtf8(ze::Format(d, timed ? u"yyyy-mm-dd hh:nn:ss" : u"yyyy-mm-dd"));
}

std::optional<ze::Date> Recordset::StoredDate(std::string_view text) {
  // The shape is checked here; the reading is the runtime's. Only the year-first form
  // is a stored date, so a database reads the same under every locale.
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(text[i])) return std::nullopt;
  }
  std::string normal(text);
  if (normal.size() > 10) {
    if (normal[10] != ' ' && normal[10] != 'T') return std::nullopt;
    normal[10] = ' ';
    if (const auto dot = normal.find('.', 11); dot != std::string::npos) {
      // Whole seconds before the fraction, digits only after it.
      if (std::count(normal.begin() + 11, normal.begin() + static_cast<std::ptrdiff_t>(dot), ':') !=
              2 ||
          dot + 1 == normal.size() ||
          !std::all_of(normal.begin() + static_cast<std::ptrdiff_t>(dot) + 1, normal.end(),
                       IsDigit)) {
        return std::nullopt;
      }
      normal.resize(dot);
    }
  }
  static const ze::Locale& locale = ze::Locale::Get(std::string(ze::Locale::kHomeLocale));
  ze::Date d;
  if (!ze::ParseDate(ze::FromUtf8(normal), locale, d)) return std::nullopt;
  // The runtime would read a month above 12 as a day, swapped; a stored date is not.
  if (ze::Month(d) != TwoDigits(text, 5) || ze::Day(d) != TwoDigits(text, 8)) return std::nullopt;
  return d;
}

}  // namespace provix2
