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
    : table_(recordSource), fields_(std::move(fields)) {
  for (const auto& field : fields_) names_.push_back(ze::FromUtf8(field));
  values_.assign(fields_.size(), ze::Variant::Null());
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
    for (const auto& field : fields_) {
      bool found = false;
      for (const auto& c : columns) found = found || sqlite3_stricmp(c.c_str(), field.c_str()) == 0;
      if (!found) {
        throw RecordsetError("la tabella \"" + table_ + "\" non ha il campo \"" + field + "\"");
      }
    }
    // The records, in table order.
    ze::sqlite::Statement ids(db_, "SELECT rowid FROM " + Quote(table_) + " ORDER BY rowid");
    while ((rc = ids.Step()) == SQLITE_ROW) rowids_.push_back(ids.Int(0));
    if (rc != SQLITE_DONE) throw RecordsetError(Describe(rc, path));
    if (!rowids_.empty()) {
      position_ = 0;
      Load();
    }
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

void Recordset::BeforeMove() {
  if (Dirty()) throw RecordsetError("il record corrente ha modifiche non salvate");
}

void Recordset::Load() {
  values_.assign(fields_.size(), ze::Variant::Null());
  if (!HasCurrent()) return;
  std::string sql = "SELECT ";
  for (size_t i = 0; i < fields_.size(); ++i) sql += (i ? ", " : "") + Quote(fields_[i]);
  sql += " FROM " + Quote(table_) + " WHERE rowid = ?";
  ze::sqlite::Statement s(db_, sql);
  s.Bind(1, rowids_[static_cast<size_t>(position_)]);
  const int rc = s.Step();
  Check(rc, "lettura del record");
  if (rc != SQLITE_ROW) return;  // a record deleted meanwhile reads as empty
  for (size_t i = 0; i < fields_.size(); ++i) {
    const int col = static_cast<int>(i);
    switch (s.ColumnType(col)) {
      case SQLITE_NULL:
        break;
      case SQLITE_INTEGER: {
        const std::int64_t n = s.Int(col);
        if (n >= INT32_MIN && n <= INT32_MAX) {
          values_[i] = static_cast<std::int32_t>(n);
        } else {
          values_[i] = static_cast<double>(n);
        }
        break;
      }
      case SQLITE_FLOAT:
        values_[i] = s.Double(col);
        break;
      default: {
        const std::string raw = s.Utf8(col);
        if (auto date = StoredDate(raw)) {
          values_[i] = *date;
        } else {
          values_[i] = ze::FromUtf8(raw);
        }
      }
    }
  }
}

ze::Variant Recordset::Field(std::u16string_view name) const {
  const std::size_t i = IndexOf(names_, name);
  RequireCurrent();
  if (auto e = edits_.find(i); e != edits_.end()) return e->second;
  return values_[i];
}

void Recordset::SetField(std::u16string_view name, const ze::Variant& value) {
  const std::size_t i = IndexOf(names_, name);
  RequireWritable();
  if (value.Is<ze::ObjectRef>() || value.Is<ze::ErrorValue>()) {
    ze::Raise(ze::errors::kTypeMismatch);
  }
  if (value.Is<ze::Date>()) DateText(value.Get<ze::Date>());  // error 6 for no date now
  if (Field(name) == value) return;  // no edit: a stored value stays as it is
  edits_[i] = value;
}

void Recordset::Update() {
  if (!Dirty() || !HasCurrent()) return;
  std::string sql = "UPDATE " + Quote(table_) + " SET ";
  bool first = true;
  for (const auto& [field, value] : edits_) {
    sql += (first ? "" : ", ") + Quote(fields_[field]) + " = ?";
    first = false;
  }
  sql += " WHERE rowid = ?";
  Check(sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), "salvataggio del record");
  try {
    ze::sqlite::Statement s(db_, sql);
    int index = 1;
    for (const auto& [field, value] : edits_) BindValue(s, index++, value);
    s.Bind(index, rowids_[static_cast<size_t>(position_)]);
    Check(s.Step(), "salvataggio del record");
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
  for (auto& [field, value] : edits_) values_[field] = value;
  edits_.clear();
}

void Recordset::CancelUpdate() {
  edits_.clear();
  Load();
  NotifyMove();
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
