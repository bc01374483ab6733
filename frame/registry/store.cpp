// The registry store over SQLite; see store.h for the model and the failure rules.
#include "frame/registry/store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "frame/sqlite/statement.h"

namespace ze::registry {
namespace {

// The marker that tells our file from any other SQLite database.
constexpr const char* kFormat = "zekalendo-registro 1";

// Root keys have fixed ids, the same in every store.
constexpr std::int64_t RootId(Root root) {
  switch (root) {
    case Root::ClassesRoot:
      return 1;
    case Root::CurrentUser:
      return 2;
    case Root::LocalMachine:
      return 3;
    case Root::Users:
      return 4;
    case Root::CurrentConfig:
      return 5;
  }
  return 0;
}
constexpr bool IsRootId(std::int64_t id) {
  return id >= 1 && id <= 5;
}

LSTATUS MapSqliteError(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_SCHEMA:
      return ERROR_BADDB;
    case SQLITE_CANTOPEN:
      return ERROR_CANTOPEN;
    case SQLITE_NOMEM:
      return ERROR_OUTOFMEMORY;
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_REGISTRY_IO_FAILED;
  }
}

bool ValidValueName(std::u16string_view name) {
  return name.size() <= kMaxValueNameLength && IsWellFormed(name);
}

}  // namespace

// One use of a cached prepared statement, reset when the use ends. A statement that
// failed to prepare is not cached: this use keeps it, so its error reaches Step.
class Store::Statement {
 public:
  Statement(Store& store, const char* sql) : stmt_(store.Prepare(sql, failed_)) {}
  ~Statement() { stmt_->Reset(); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite::Statement* operator->() { return stmt_; }

 private:
  std::optional<sqlite::Statement> failed_;
  sqlite::Statement* stmt_;
};

// ---------------------------------------------------------------------------
// Opening

std::shared_ptr<Store> Store::Open(std::string path, StoreOptions options) {
  return std::shared_ptr<Store>(new Store(std::move(path), options));
}

Store::Store(std::string path, StoreOptions options) : path_(std::move(path)), options_(options) {}

Store::~Store() {
  statements_.clear();  // finalized before their connection closes
  if (db_ != nullptr) sqlite3_close(db_);
}

LSTATUS Store::Status() {
  std::lock_guard lock(mutex_);
  return Ready(Access::Write);
}

bool Store::IsReadOnly() {
  std::lock_guard lock(mutex_);
  if (options_.readOnly) return true;
  // Whether the file can be written shows only once it is open.
  Ready(Access::Read);
  return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1;
}

KeyId Store::RootKey(Root root) {
  return KeyId{RootId(root)};
}

LSTATUS Store::Ready(Access access) {
  if (schema_ready_) return ERROR_SUCCESS;
  if (db_ == nullptr) {
    // Reading a store that is not there finds it empty and leaves it not there: a
    // query or an activation must not lay out files and folders.
    struct stat st {};
    if (access == Access::Read && !options_.readOnly && !path_.empty() &&
        ::stat(path_.c_str(), &st) != 0 && errno == ENOENT) {
      schema_absent_ = true;
      return ERROR_SUCCESS;
    }
    schema_absent_ = false;
    const LSTATUS status = Connect();
    if (status != ERROR_SUCCESS) return status;
  }
  return EnsureSchema();
}

LSTATUS Store::Connect() {
  if (path_.empty()) {
    SetLastErrorDetail("no registry store path: set ZE_REGISTRO, XDG_CONFIG_HOME or HOME");
    return ERROR_CANTOPEN;
  }
  int flags = SQLITE_OPEN_NOMUTEX;
  if (options_.readOnly) {
    flags |= SQLITE_OPEN_READONLY;
  } else {
    flags |= SQLITE_OPEN_READWRITE;
    const LSTATUS st = CreateFile();
    if (st != ERROR_SUCCESS) return st;
  }
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path_.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    SetLastErrorDetail(path_ + ": cannot open the registry store: " + sqlite::ErrorText(db, rc));
    sqlite3_close(db);
    return ERROR_CANTOPEN;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, options_.busyTimeoutMs);
  db_ = db;
  return ERROR_SUCCESS;
}

// Makes the file (and its missing folders) if it is not there yet, private to its
// owner: SQLite would make it with the umask's mode, and its journal takes the
// file's mode.
LSTATUS Store::CreateFile() {
  const std::filesystem::path file(path_);
  std::filesystem::path folder;
  for (const std::filesystem::path& part : file.parent_path()) {
    folder /= part;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
      SetLastErrorDetail(path_ + ": cannot create the folder " + folder.string() + ": " +
                         std::strerror(errno));
      return ERROR_CANTOPEN;
    }
  }
  const int fd =
      ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) {
    // Already there (made meanwhile by another process, or a folder that sqlite
    // will refuse with its own message).
    if (errno == EEXIST) return ERROR_SUCCESS;
    SetLastErrorDetail(path_ + ": cannot create the registry store: " + std::strerror(errno));
    return ERROR_CANTOPEN;
  }
  const bool made = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
  const int error = errno;
  ::close(fd);
  if (!made) {
    SetLastErrorDetail(path_ + ": cannot make the registry store private: " + std::strerror(error));
    return ERROR_CANTOPEN;
  }
  return ERROR_SUCCESS;
}

// Whether the tables have every column the statements use: a table of the right
// name but another layout would otherwise fail each statement in its own way.
LSTATUS Store::CheckColumns() {
  static constexpr const char* kNeeded[] = {
      "SELECT id, parent, name, fold FROM keys LIMIT 0",
      "SELECT id, key, name, fold, type, data FROM vals LIMIT 0",
  };
  for (const char* sql : kNeeded) {
    sqlite::Statement probe(db_, sql);
    if (!probe.Prepared()) {
      const std::string table = std::strstr(sql, "FROM keys") != nullptr ? "keys" : "vals";
      SetLastErrorDetail(path_ + ": the table " + table +
                         " has not the columns of a registry store (" + sqlite3_errmsg(db_) + ")");
      return ERROR_BADDB;
    }
  }
  return ERROR_SUCCESS;
}

LSTATUS Store::EnsureSchema() {
  // Which tables are there? Reading the schema is also what finds out that the
  // file is not a database at all, or is locked.
  bool has_meta = false, has_keys = false, has_vals = false, others = false;
  {
    Statement q(*this, "SELECT name FROM sqlite_master WHERE type='table'");
    int rc;
    while ((rc = q->Step()) == SQLITE_ROW) {
      const String name = q->Text(0);
      if (name == u"meta")
        has_meta = true;
      else if (name == u"keys")
        has_keys = true;
      else if (name == u"vals")
        has_vals = true;
      else if (name != u"sqlite_sequence")
        others = true;
    }
    if (rc != SQLITE_DONE) return Fail(rc, "cannot read the registry store");
  }
  if (has_meta) {
    Statement q(*this, "SELECT value FROM meta WHERE name='format'");
    const int rc = q->Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc, "cannot read the registry store");
    if (rc != SQLITE_ROW || q->Text(0) != FromUtf8(kFormat) || !has_keys || !has_vals) {
      SetLastErrorDetail(path_ + ": not a registry store of this version");
      return ERROR_BADDB;
    }
    const LSTATUS st = CheckColumns();
    if (st != ERROR_SUCCESS) return st;
    schema_ready_ = true;
    return ERROR_SUCCESS;
  }
  if (has_keys || has_vals || others) {
    SetLastErrorDetail(path_ + ": a database of another kind, not a registry store");
    return ERROR_BADDB;
  }
  // An empty database: lay out the tables, unless we may not write, in which case
  // it is simply an empty store.
  if (options_.readOnly || sqlite3_db_readonly(db_, "main") == 1) {
    schema_absent_ = true;
    schema_ready_ = true;
    return ERROR_SUCCESS;
  }
  LSTATUS st = Exec("BEGIN IMMEDIATE");
  if (st != ERROR_SUCCESS) return st;
  static constexpr const char* kSchema[] = {
      "CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT NOT NULL)",
      "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER, "
      "name TEXT NOT NULL, fold TEXT NOT NULL)",
      "CREATE UNIQUE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, fold)",
      "CREATE TABLE IF NOT EXISTS vals(id INTEGER PRIMARY KEY AUTOINCREMENT, "
      "key INTEGER NOT NULL, name TEXT NOT NULL, fold TEXT NOT NULL, type INTEGER NOT NULL, "
      "data BLOB NOT NULL)",
      "CREATE UNIQUE INDEX IF NOT EXISTS vals_by_key ON vals(key, fold)",
      "INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES "
      "(1, NULL, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'), "
      "(2, NULL, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'), "
      "(3, NULL, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'), "
      "(4, NULL, 'HKEY_USERS', 'HKEY_USERS'), "
      "(5, NULL, 'HKEY_CURRENT_CONFIG', 'HKEY_CURRENT_CONFIG')",
  };
  for (const char* sql : kSchema) {
    st = Exec(sql);
    if (st != ERROR_SUCCESS) break;
  }
  if (st == ERROR_SUCCESS) {
    // Another process may have laid it out first, between our look and our lock.
    Statement q(*this, "INSERT OR IGNORE INTO meta(name, value) VALUES ('format', ?1)");
    q->Bind(1, FromUtf8(kFormat));
    const int rc = q->Step();
    if (rc != SQLITE_DONE) st = Fail(rc, "cannot create the registry store");
  }
  if (st == ERROR_SUCCESS) st = Exec("COMMIT");
  if (st != ERROR_SUCCESS) {
    const std::string why = LastErrorDetail();
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    SetLastErrorDetail(why);
    return st;
  }
  // Statements prepared before the tables existed must be prepared again.
  statements_.clear();
  schema_ready_ = true;
  return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// SQLite plumbing

LSTATUS Store::Fail(int rc, const std::string& what) {
  const LSTATUS code = MapSqliteError(rc);
  std::string detail = path_ + ": " + what + ": ";
  detail += sqlite::ErrorText(db_, rc);
  if (code == ERROR_BUSY) {
    detail += " (locked by another process; gave up after " +
              std::to_string(options_.busyTimeoutMs) + " ms)";
  }
  SetLastErrorDetail(std::move(detail));
  // Once SQLite failed inside a write transaction, the transaction cannot be
  // trusted to hold all of its changes: it will be rolled back whole.
  if (depth_ > 0 && writing_ && doomed_ == ERROR_SUCCESS) doomed_ = code;
  return code;
}

bool Store::InjectedFailure() {
  return options_.failWriteNumber >= 0 && writes_++ == options_.failWriteNumber;
}

sqlite::Statement* Store::Prepare(const char* sql, std::optional<sqlite::Statement>& failed) {
  auto it = statements_.find(sql);
  if (it != statements_.end()) return it->second.get();
  auto stmt = std::make_unique<sqlite::Statement>(db_, sql, SQLITE_PREPARE_PERSISTENT);
  if (!stmt->Prepared()) return &failed.emplace(std::move(*stmt));
  return statements_.emplace(sql, std::move(stmt)).first->second.get();
}

LSTATUS Store::Exec(const char* sql) {
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return Fail(rc, std::string("cannot run ") + sql);
  return ERROR_SUCCESS;
}

template <class F>
LSTATUS Store::Read(F&& body) {
  std::lock_guard lock(mutex_);
  LSTATUS st = Ready(Access::Read);
  if (st != ERROR_SUCCESS) return st;
  if (depth_ > 0 || schema_absent_) return body();
  st = Exec("BEGIN");
  if (st != ERROR_SUCCESS) return st;
  depth_ = 1;
  try {
    st = body();
  } catch (...) {
    depth_ = 0;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  depth_ = 0;
  // A read transaction keeps nothing; ending it only releases the shared lock.
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return st;
}

template <class F>
LSTATUS Store::Write(F&& body) {
  return Batch(std::function<LSTATUS()>(std::forward<F>(body)));
}

LSTATUS Store::Batch(const std::function<LSTATUS()>& body) {
  std::lock_guard lock(mutex_);
  LSTATUS st = Ready(Access::Write);
  if (st != ERROR_SUCCESS) return st;
  if (options_.readOnly || schema_absent_ || sqlite3_db_readonly(db_, "main") == 1) {
    SetLastErrorDetail(path_ + ": the registry store is read-only");
    return ERROR_ACCESS_DENIED;
  }
  if (depth_ > 0) {
    // Joins the open transaction. A failure here is the caller's to weigh; only a
    // storage failure (recorded by Fail) dooms the whole transaction.
    if (!writing_) {
      SetLastErrorDetail(path_ + ": a write inside a read");
      return ERROR_INVALID_PARAMETER;
    }
    return body();
  }
  st = Exec("BEGIN IMMEDIATE");
  if (st != ERROR_SUCCESS) return st;
  depth_ = 1;
  writing_ = true;
  doomed_ = ERROR_SUCCESS;
  try {
    st = body();
  } catch (...) {
    depth_ = 0;
    writing_ = false;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  depth_ = 0;
  writing_ = false;
  if (st == ERROR_SUCCESS) st = doomed_;
  if (st == ERROR_SUCCESS && options_.failCommitNumber >= 0 &&
      commits_++ == options_.failCommitNumber)
    st = Fail(SQLITE_FULL, "cannot commit (injected)");
  if (st == ERROR_SUCCESS) st = Exec("COMMIT");
  if (st != ERROR_SUCCESS) {
    const std::string why = LastErrorDetail();
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    SetLastErrorDetail(why);
  }
  doomed_ = ERROR_SUCCESS;
  return st;
}

LSTATUS Store::ReadBatch(const std::function<LSTATUS()>& body) {
  return Read(body);
}

// ---------------------------------------------------------------------------
// Keys

LSTATUS Store::CheckKey(KeyId key) {
  // The roots are made with the tables and can never be deleted.
  if (IsRootId(key.value)) return ERROR_SUCCESS;
  if (!schema_absent_) {
    Statement q(*this, "SELECT 1 FROM keys WHERE id = ?1");
    q->Bind(1, key.value);
    const int rc = q->Step();
    if (rc == SQLITE_ROW) return ERROR_SUCCESS;
    if (rc != SQLITE_DONE) return Fail(rc, "cannot read a key");
  }
  SetLastErrorDetail(path_ + ": the key was deleted");
  return ERROR_KEY_DELETED;
}

LSTATUS Store::FindChild(KeyId parent, const String& name, KeyId* out) {
  if (schema_absent_) return ERROR_FILE_NOT_FOUND;
  Statement q(*this, "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2");
  q->Bind(1, parent.value).Bind(2, FoldName(name));
  const int rc = q->Step();
  if (rc == SQLITE_ROW) {
    *out = KeyId{q->Int(0)};
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return Fail(rc, "cannot read a key");
  return ERROR_FILE_NOT_FOUND;
}

LSTATUS Store::Resolve(KeyId base, std::u16string_view path, KeyId* out) {
  std::vector<String> parts;
  LSTATUS st = SplitKeyPath(path, &parts);
  if (st != ERROR_SUCCESS) return st;
  st = CheckKey(base);
  if (st != ERROR_SUCCESS) return st;
  KeyId current = base;
  for (const String& part : parts) {
    st = FindChild(current, part, &current);
    if (st != ERROR_SUCCESS) return st;
  }
  *out = current;
  return ERROR_SUCCESS;
}

LSTATUS Store::HasChildren(KeyId key, bool* has) {
  Statement q(*this, "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
  q->Bind(1, key.value);
  const int rc = q->Step();
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc, "cannot read a key");
  *has = rc == SQLITE_ROW;
  return ERROR_SUCCESS;
}

// The keys below ?1. UNION, not UNION ALL: in a damaged store whose parents form a
// cycle the walk then ends, and the cycle shows as ?1 or a root among them.
#define ZE_KEYS_BELOW                                                   \
  "WITH RECURSIVE below(id) AS (SELECT id FROM keys WHERE parent = ?1 " \
  "UNION SELECT k.id FROM keys k JOIN below ON k.parent = below.id) "

LSTATUS Store::DeleteBelow(KeyId key, bool including_key) {
  {
    Statement q(*this, ZE_KEYS_BELOW "SELECT 1 FROM below WHERE id = ?1 OR id <= 5 LIMIT 1");
    q->Bind(1, key.value);
    const int rc = q->Step();
    if (rc == SQLITE_ROW) {
      SetLastErrorDetail(path_ +
                         ": the keys below the one to delete form a cycle (a damaged store)");
      return ERROR_BADDB;
    }
    if (rc != SQLITE_DONE) return Fail(rc, "cannot read keys");
  }
  if (InjectedFailure()) return Fail(SQLITE_IOERR, "cannot delete keys (injected)");
  {
    Statement q(*this, ZE_KEYS_BELOW "DELETE FROM vals WHERE key = ?1 OR key IN below");
    q->Bind(1, key.value);
    const int rc = q->Step();
    if (rc != SQLITE_DONE) return Fail(rc, "cannot delete values");
  }
  Statement q(*this, ZE_KEYS_BELOW "DELETE FROM keys WHERE id IN below OR (?2 AND id = ?1)");
  q->Bind(1, key.value).Bind(2, std::int64_t{including_key ? 1 : 0});
  const int rc = q->Step();
  if (rc != SQLITE_DONE) return Fail(rc, "cannot delete keys");
  return ERROR_SUCCESS;
}
#undef ZE_KEYS_BELOW

// How many levels below its root `key` lies. A chain of parents longer than any key
// may be deep (or a cycle) counts as too deep.
LSTATUS Store::KeyDepth(KeyId key, std::size_t* depth) {
  *depth = 0;
  if (schema_absent_) return ERROR_SUCCESS;
  KeyId current = key;
  while (!IsRootId(current.value) && *depth <= kMaxKeyDepth) {
    Statement q(*this, "SELECT parent FROM keys WHERE id = ?1");
    q->Bind(1, current.value);
    const int rc = q->Step();
    if (rc == SQLITE_DONE) break;  // a key without a root: nothing deeper to count
    if (rc != SQLITE_ROW) return Fail(rc, "cannot read a key");
    current = KeyId{q->Int(0)};
    ++*depth;
  }
  return ERROR_SUCCESS;
}

LSTATUS Store::OpenKey(KeyId base, std::u16string_view path, KeyId* out) {
  KeyId found;
  const LSTATUS st = Read([&] { return Resolve(base, path, &found); });
  if (st == ERROR_SUCCESS && out != nullptr) *out = found;
  return st;
}

LSTATUS Store::CreateKey(KeyId base, std::u16string_view path, KeyId* out, bool* created) {
  std::vector<String> parts;
  LSTATUS st = SplitKeyPath(path, &parts);
  if (st != ERROR_SUCCESS) return st;
  KeyId current = base;
  bool made = false;
  st = Write([&]() -> LSTATUS {
    LSTATUS s = CheckKey(base);
    if (s != ERROR_SUCCESS) return s;
    if (!parts.empty()) {
      std::size_t depth = 0;
      s = KeyDepth(base, &depth);
      if (s != ERROR_SUCCESS) return s;
      if (depth + parts.size() > kMaxKeyDepth) {
        SetLastErrorDetail(path_ + ": the key would lie " + std::to_string(depth + parts.size()) +
                           " levels deep; at most " + std::to_string(kMaxKeyDepth) +
                           " are allowed");
        return ERROR_INVALID_PARAMETER;
      }
    }
    for (const String& part : parts) {
      made = false;
      s = FindChild(current, part, &current);
      if (s == ERROR_SUCCESS) continue;
      if (s != ERROR_FILE_NOT_FOUND) return s;
      if (InjectedFailure()) return Fail(SQLITE_IOERR, "cannot create a key (injected)");
      Statement q(*this, "INSERT INTO keys(parent, name, fold) VALUES (?1, ?2, ?3)");
      q->Bind(1, current.value).Bind(2, part).Bind(3, FoldName(part));
      const int rc = q->Step();
      if (rc != SQLITE_DONE) return Fail(rc, "cannot create a key");
      current = KeyId{sqlite3_last_insert_rowid(db_)};
      made = true;
    }
    return ERROR_SUCCESS;
  });
  if (st != ERROR_SUCCESS) return st;
  if (out != nullptr) *out = current;
  if (created != nullptr) *created = made;
  return ERROR_SUCCESS;
}

LSTATUS Store::DeleteKey(KeyId base, std::u16string_view path) {
  return Write([&]() -> LSTATUS {
    KeyId target;
    LSTATUS st = Resolve(base, path, &target);
    if (st != ERROR_SUCCESS) return st;
    if (IsRootId(target.value)) {
      SetLastErrorDetail(path_ + ": a root key cannot be deleted");
      return ERROR_ACCESS_DENIED;
    }
    bool has_children = false;
    st = HasChildren(target, &has_children);
    if (st != ERROR_SUCCESS) return st;
    if (has_children) {
      SetLastErrorDetail(path_ + ": the key has subkeys");
      return ERROR_ACCESS_DENIED;
    }
    return DeleteBelow(target, true);
  });
}

LSTATUS Store::DeleteTree(KeyId base, std::u16string_view path) {
  std::vector<String> parts;
  const LSTATUS st = SplitKeyPath(path, &parts);
  if (st != ERROR_SUCCESS) return st;
  return Write([&]() -> LSTATUS {
    KeyId target;
    LSTATUS s = Resolve(base, path, &target);
    if (s != ERROR_SUCCESS) return s;
    if (parts.empty()) return DeleteBelow(target, false);
    if (IsRootId(target.value)) {
      SetLastErrorDetail(path_ + ": a root key cannot be deleted");
      return ERROR_ACCESS_DENIED;
    }
    return DeleteBelow(target, true);
  });
}

// ---------------------------------------------------------------------------
// Values

LSTATUS Store::SetValue(KeyId key, std::u16string_view name, DWORD type,
                        std::span<const std::uint8_t> data) {
  if (!ValidValueName(name)) return ERROR_INVALID_PARAMETER;
  return Write([&]() -> LSTATUS {
    const LSTATUS st = CheckKey(key);
    if (st != ERROR_SUCCESS) return st;
    if (InjectedFailure()) return Fail(SQLITE_IOERR, "cannot write a value (injected)");
    Statement q(*this,
                "INSERT INTO vals(key, name, fold, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
                "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data");
    q->Bind(1, key.value).Bind(2, name).Bind(3, FoldName(name)).Bind(4, std::int64_t{type});
    q->BindBlob(5, data);
    const int rc = q->Step();
    if (rc != SQLITE_DONE) return Fail(rc, "cannot write a value");
    return ERROR_SUCCESS;
  });
}

LSTATUS Store::QueryValue(KeyId key, std::u16string_view name, Value* out) {
  if (!ValidValueName(name)) return ERROR_INVALID_PARAMETER;
  return Read([&]() -> LSTATUS {
    if (schema_absent_) {
      const LSTATUS st = CheckKey(key);
      return st != ERROR_SUCCESS ? st : ERROR_FILE_NOT_FOUND;
    }
    // A key's values go with it, so a value found proves its key alive; only a miss
    // needs the key looked at, to tell a deleted key from an absent value.
    Statement q(*this, "SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2");
    q->Bind(1, key.value).Bind(2, FoldName(name));
    const int rc = q->Step();
    if (rc == SQLITE_DONE) {
      const LSTATUS st = CheckKey(key);
      return st != ERROR_SUCCESS ? st : ERROR_FILE_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) return Fail(rc, "cannot read a value");
    if (out != nullptr) {
      out->type = static_cast<DWORD>(q->Int(0));
      out->data = q->Blob(1);
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS Store::DeleteValue(KeyId key, std::u16string_view name) {
  if (!ValidValueName(name)) return ERROR_INVALID_PARAMETER;
  return Write([&]() -> LSTATUS {
    const LSTATUS st = CheckKey(key);
    if (st != ERROR_SUCCESS) return st;
    if (InjectedFailure()) return Fail(SQLITE_IOERR, "cannot delete a value (injected)");
    Statement q(*this, "DELETE FROM vals WHERE key = ?1 AND fold = ?2");
    q->Bind(1, key.value).Bind(2, FoldName(name));
    const int rc = q->Step();
    if (rc != SQLITE_DONE) return Fail(rc, "cannot delete a value");
    return sqlite3_changes(db_) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LSTATUS Store::EnumKeys(KeyId key, std::vector<String>* names) {
  names->clear();
  std::vector<Subkey> subkeys;
  const LSTATUS st = EnumSubkeys(key, &subkeys);
  for (Subkey& subkey : subkeys) names->push_back(std::move(subkey.name));
  return st;
}

LSTATUS Store::EnumSubkeys(KeyId key, std::vector<Subkey>* subkeys) {
  subkeys->clear();
  return Read([&]() -> LSTATUS {
    const LSTATUS st = CheckKey(key);
    if (st != ERROR_SUCCESS || schema_absent_) return st;
    Statement q(*this, "SELECT name, id FROM keys WHERE parent = ?1 ORDER BY fold");
    q->Bind(1, key.value);
    int rc;
    while ((rc = q->Step()) == SQLITE_ROW) subkeys->push_back(Subkey{q->Text(0), KeyId{q->Int(1)}});
    if (rc != SQLITE_DONE) {
      subkeys->clear();
      return Fail(rc, "cannot list subkeys");
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS Store::EnumValues(KeyId key, std::vector<NamedValue>* values) {
  values->clear();
  return Read([&]() -> LSTATUS {
    const LSTATUS st = CheckKey(key);
    if (st != ERROR_SUCCESS || schema_absent_) return st;
    Statement q(*this, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id");
    q->Bind(1, key.value);
    int rc;
    while ((rc = q->Step()) == SQLITE_ROW) {
      values->push_back(NamedValue{q->Text(0), Value{static_cast<DWORD>(q->Int(1)), q->Blob(2)}});
    }
    if (rc != SQLITE_DONE) {
      values->clear();
      return Fail(rc, "cannot list values");
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS Store::SetString(KeyId key, std::u16string_view name, std::u16string_view text,
                         DWORD type) {
  const Bytes data = EncodeString(text);
  return SetValue(key, name, type, data);
}

LSTATUS Store::SetDword(KeyId key, std::u16string_view name, std::uint32_t number) {
  const Bytes data = EncodeDword(number);
  return SetValue(key, name, REG_DWORD, data);
}

LSTATUS Store::GetString(KeyId key, std::u16string_view name, String* text) {
  Value value;
  const LSTATUS st = QueryValue(key, name, &value);
  if (st != ERROR_SUCCESS) return st;
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
  *text = DecodeString(value.data);
  return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// The process's store

std::string DefaultStorePath() {
  if (const char* p = std::getenv("ZE_REGISTRO"); p != nullptr && *p != '\0') return p;
  if (const char* p = std::getenv("XDG_CONFIG_HOME"); p != nullptr && *p == '/')
    return std::string(p) + "/zekalendo/registro.db";
  if (const char* p = std::getenv("HOME"); p != nullptr && *p != '\0')
    return std::string(p) + "/.config/zekalendo/registro.db";
  return "";
}

namespace {
struct DefaultStoreState {
  std::mutex mutex;
  std::shared_ptr<Store> store;
  std::string path;
};
DefaultStoreState& DefaultState() {
  static DefaultStoreState state;
  return state;
}
}  // namespace

std::shared_ptr<Store> DefaultStore() {
  DefaultStoreState& state = DefaultState();
  const std::string path = DefaultStorePath();
  std::lock_guard lock(state.mutex);
  if (state.store == nullptr || state.path != path) {
    state.store = Store::Open(path);
    state.path = path;
  }
  return state.store;
}

void ResetDefaultStore() {
  DefaultStoreState& state = DefaultState();
  std::lock_guard lock(state.mutex);
  state.store.reset();
  state.path.clear();
}

}  // namespace ze::registry
