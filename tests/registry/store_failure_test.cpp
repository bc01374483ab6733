// A registry store that is missing, cannot be created, is read-only, is locked
// by another process, or is not a registry database: every reader and writer
// answers with a clear error, nothing crashes, and nothing is half written. And
// two processes writing at once both succeed.
#include <grp.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "frame/registry/store.h"
#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs every kind of call once and returns their results.
std::vector<LSTATUS> EveryCall(Store& store) {
  const KeyId root = Store::RootKey(Root::CurrentUser);
  KeyId key;
  Value value;
  std::vector<String> names;
  std::vector<NamedValue> values;
  const std::uint8_t byte = 1;
  return {
      store.Status(),
      store.OpenKey(root, u"Software", &key),
      store.CreateKey(root, u"Software\\Nuovo", &key),
      store.SetValue(root, u"v", REG_BINARY, {&byte, 1}),
      store.QueryValue(root, u"v", &value),
      store.DeleteValue(root, u"v"),
      store.EnumKeys(root, &names),
      store.EnumValues(root, &values),
      store.DeleteKey(root, u"Software"),
      store.DeleteTree(root, u"Software"),
      store.Batch([] { return ERROR_SUCCESS; }),
  };
}

class StoreFailureTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
};

TEST_F(StoreFailureTest, NotADatabase) {
  const std::string garbage(8192, '\x5a');
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"random bytes", garbage},
      {"text", "Windows Registry Editor Version 5.00\r\n"},
  };
  for (const auto& f : files) {
    const std::string path = dir.Write("file.db", f.bytes);
    auto store = Store::Open(path);
    for (LSTATUS st : EveryCall(*store)) EXPECT_EQ(st, ERROR_BADDB) << f.name;
    EXPECT_NE(LastErrorDetail().find("file.db"), std::string::npos);
    EXPECT_EQ(ReadFile(path), f.bytes) << f.name << ": the file is left as it was";
  }
}

TEST_F(StoreFailureTest, ADatabaseOfAnotherKind) {
  const std::string path = dir.File("clienti.db");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE clienti(nome TEXT); INSERT INTO clienti VALUES('x')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  const std::string before = ReadFile(path);
  auto store = Store::Open(path);
  for (LSTATUS st : EveryCall(*store)) EXPECT_EQ(st, ERROR_BADDB);
  EXPECT_NE(LastErrorDetail().find("another kind"), std::string::npos);
  EXPECT_EQ(ReadFile(path), before);

  // A registry store of a format this version does not know.
  const std::string future = dir.File("futuro.db");
  {
    auto made = Store::Open(future);
    ASSERT_EQ(made->Status(), ERROR_SUCCESS);
  }
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(future.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value='zekalendo-registro 99'", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  EXPECT_EQ(Store::Open(future)->Status(), ERROR_BADDB);
}

TEST_F(StoreFailureTest, AStoreThatCannotBeCreated) {
  const std::string blocker = dir.Write("file", "x");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"folder is a file", blocker + "/sotto/registro.db"},
      {"path is a folder", dir.path()},
      {"no path", ""},
  };
  for (const auto& c : cases) {
    auto store = Store::Open(c.path);
    for (LSTATUS st : EveryCall(*store)) EXPECT_EQ(st, ERROR_CANTOPEN) << c.name;
    EXPECT_FALSE(LastErrorDetail().empty()) << c.name;
  }
  EXPECT_EQ(ReadFile(blocker), "x");
}

TEST_F(StoreFailureTest, AMissingStoreIsCreatedExceptReadOnly) {
  StoreOptions read_only;
  read_only.readOnly = true;
  auto absent = Store::Open(dir.File("mancante.db"), read_only);
  for (LSTATUS st : EveryCall(*absent)) EXPECT_EQ(st, ERROR_CANTOPEN);
  EXPECT_FALSE(std::filesystem::exists(dir.File("mancante.db")));

  auto created = Store::Open(dir.File("a/b/c/nuovo.db"));
  EXPECT_EQ(created->CreateKey(Store::RootKey(Root::CurrentUser), u"Software"), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(dir.File("a/b/c/nuovo.db")));
}

TEST_F(StoreFailureTest, ReadOnlyStoresReadButRefuseWrites) {
  const std::string path = dir.File("registro.db");
  {
    auto store = Store::Open(path);
    KeyId key;
    ASSERT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), u"Software", &key),
              ERROR_SUCCESS);
    ASSERT_EQ(store->SetDword(key, u"n", 5), ERROR_SUCCESS);
  }
  const std::string before = ReadFile(path);
  StoreOptions read_only;
  read_only.readOnly = true;
  auto store = Store::Open(path, read_only);
  EXPECT_TRUE(store->IsReadOnly());
  KeyId key;
  ASSERT_EQ(store->OpenKey(Store::RootKey(Root::CurrentUser), u"software", &key), ERROR_SUCCESS);
  Value v;
  EXPECT_EQ(store->QueryValue(key, u"n", &v), ERROR_SUCCESS);
  EXPECT_EQ(v.data, EncodeDword(5));
  EXPECT_EQ(store->SetDword(key, u"n", 6), ERROR_ACCESS_DENIED);
  EXPECT_EQ(store->CreateKey(key, u"Figlio"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(store->DeleteTree(key, u""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(store->Batch([] { return ERROR_SUCCESS; }), ERROR_ACCESS_DENIED);
  EXPECT_NE(LastErrorDetail().find("read-only"), std::string::npos);
  EXPECT_EQ(ReadFile(path), before);

  // An empty file opened read-only is an empty store.
  auto empty = Store::Open(dir.Write("vuoto.db", ""), read_only);
  std::vector<String> names;
  EXPECT_EQ(empty->EnumKeys(Store::RootKey(Root::ClassesRoot), &names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(empty->OpenKey(Store::RootKey(Root::ClassesRoot), u"CLSID", &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(empty->QueryValue(Store::RootKey(Root::ClassesRoot), u"", &v), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(empty->SetDword(Store::RootKey(Root::ClassesRoot), u"x", 1), ERROR_ACCESS_DENIED);
}

// Runs `check` as an ordinary user: in this process when it is one, else in a child
// that drops to nobody, since the superuser writes any file whatever its mode. The
// result is what `check` found wrong ("" for nothing).
std::string AsAnOrdinaryUser(const std::function<std::string()>& check) {
  if (::geteuid() != 0) return check();
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipe_fds[0]);
    std::string found = "cannot drop to an ordinary user";
    if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0)
      found = check();
    (void)!::write(pipe_fds[1], found.data(), found.size());
    ::_exit(0);
  }
  ::close(pipe_fds[1]);
  std::string found;
  char buffer[256];
  ssize_t n;
  while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0) found.append(buffer, n);
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return "the child died";
  return found;
}

TEST_F(StoreFailureTest, AFileWithoutWritePermission) {
  const std::string path = dir.File("registro.db");
  {
    auto store = Store::Open(path);
    ASSERT_EQ(store->CreateKey(Store::RootKey(Root::CurrentUser), u"Software"), ERROR_SUCCESS);
  }
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0) << "the child must reach the file";
  const std::string before = ReadFile(path);
  EXPECT_EQ(
      AsAnOrdinaryUser([&]() -> std::string {
        auto store = Store::Open(path);
        if (!store->IsReadOnly()) return "not read-only";
        KeyId key;
        if (store->OpenKey(Store::RootKey(Root::CurrentUser), u"Software", &key) != ERROR_SUCCESS)
          return "cannot read";
        if (store->SetDword(key, u"x", 1) != ERROR_ACCESS_DENIED) return "wrote";
        return "";
      }),
      "");
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(StoreFailureTest, AStoreIsCreatedPrivateAndNeverByReading) {
  const mode_t old_umask = ::umask(0);
  const std::string path = dir.File("nuova/cartella/registro.db");
  auto reader = Store::Open(path);
  const KeyId root = Store::RootKey(Root::CurrentUser);
  KeyId key;
  std::vector<String> names;
  EXPECT_EQ(reader->OpenKey(root, u"Software", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reader->EnumKeys(root, &names), ERROR_SUCCESS);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(reader->QueryValue(root, u"x", nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reader->ReadBatch([] { return ERROR_SUCCESS; }), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(dir.File("nuova"))) << "reading made files";

  // Another process creates it meanwhile: the reader sees what it wrote.
  auto writer = Store::Open(path);
  ASSERT_EQ(writer->CreateKey(root, u"Software", &key), ERROR_SUCCESS);
  ASSERT_EQ(writer->SetDword(key, u"n", 7), ERROR_SUCCESS);
  EXPECT_EQ(reader->OpenKey(root, u"Software", &key), ERROR_SUCCESS);
  EXPECT_EQ(reader->SetDword(key, u"m", 8), ERROR_SUCCESS) << "and may write to it";
  ::umask(old_umask);

  auto mode = [](const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  };
  EXPECT_EQ(mode(path), 0600u) << "even under umask 000";
  EXPECT_EQ(mode(dir.File("nuova")), 0700u);
  EXPECT_EQ(mode(dir.File("nuova/cartella")), 0700u);
}

TEST_F(StoreFailureTest, TablesWithOtherColumnsAreNotAStore) {
  const struct {
    const char* name;
    const char* sql;
  } cases[] = {
      {"keys without fold", "ALTER TABLE keys RENAME COLUMN fold TO piega"},
      {"keys without parent", "ALTER TABLE keys RENAME COLUMN parent TO padre"},
      {"vals without data", "ALTER TABLE vals DROP COLUMN data"},
      {"vals without type", "ALTER TABLE vals RENAME COLUMN type TO tipo"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = dir.File("colonne" + std::to_string(n++) + ".db");
    { ASSERT_EQ(Store::Open(path)->Status(), ERROR_SUCCESS); }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr), SQLITE_OK) << c.name;
    sqlite3_close(db);
    auto store = Store::Open(path);
    for (LSTATUS st : EveryCall(*store)) EXPECT_EQ(st, ERROR_BADDB) << c.name;
    EXPECT_NE(LastErrorDetail().find("columns"), std::string::npos) << LastErrorDetail();
  }
}

// A child process that holds the store's file locked until told to let go.
class Locker {
 public:
  explicit Locker(const std::string& path) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      sqlite3* db = nullptr;
      char byte = 0;
      const bool locked =
          sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
          sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
      byte = locked ? 'L' : 'E';
      (void)!::write(ready[1], &byte, 1);
      (void)!::read(release[0], &byte, 1);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char byte = 0;
    locked_ = ::read(ready[0], &byte, 1) == 1 && byte == 'L';
    ::close(ready[0]);
  }
  ~Locker() { Release(); }
  bool locked() const { return locked_; }
  void Release() {
    if (pid_ <= 0) return;
    const char byte = 'x';
    (void)!::write(release_, &byte, 1);
    ::close(release_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

TEST_F(StoreFailureTest, LockedByAnotherProcess) {
  const std::string path = dir.File("registro.db");
  StoreOptions quick;
  quick.busyTimeoutMs = 100;
  auto ready = Store::Open(path, quick);
  KeyId key;
  ASSERT_EQ(ready->CreateKey(Store::RootKey(Root::CurrentUser), u"Software", &key), ERROR_SUCCESS);
  ASSERT_EQ(ready->SetDword(key, u"n", 1), ERROR_SUCCESS);

  Locker locker(path);
  ASSERT_TRUE(locker.locked());
  // A store already in use, and one opened while the lock is held.
  auto fresh = Store::Open(path, quick);
  for (Store* store : {ready.get(), fresh.get()}) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<LSTATUS> results = EveryCall(*store);
    // Status() of a store already found good does not go to the file again.
    EXPECT_EQ(results[0], store == ready.get() ? ERROR_SUCCESS : ERROR_BUSY);
    for (std::size_t i = 1; i < results.size(); ++i) EXPECT_EQ(results[i], ERROR_BUSY) << i;
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90))
        << "the busy timeout is waited out";
    EXPECT_NE(LastErrorDetail().find("locked by another process"), std::string::npos);
  }
  locker.Release();
  // Both work again, and nothing of the refused writes happened.
  for (Store* store : {ready.get(), fresh.get()}) {
    KeyId k;
    ASSERT_EQ(store->OpenKey(Store::RootKey(Root::CurrentUser), u"Software", &k), ERROR_SUCCESS);
    std::vector<String> names;
    EXPECT_EQ(store->EnumKeys(k, &names), ERROR_SUCCESS);
    EXPECT_TRUE(names.empty()) << "Software\\Nuovo was never created";
    Value v;
    EXPECT_EQ(store->QueryValue(Store::RootKey(Root::CurrentUser), u"v", &v), ERROR_FILE_NOT_FOUND);
  }
}

TEST_F(StoreFailureTest, TwoProcessesWritingAtOnceBothSucceed) {
  const std::string path = dir.File("registro.db");
  ASSERT_EQ(Store::Open(path)->Status(), ERROR_SUCCESS);
  constexpr int kWrites = 150;
  pid_t pids[2];
  for (int which = 0; which < 2; ++which) {
    pids[which] = ::fork();
    ASSERT_GE(pids[which], 0);
    if (pids[which] == 0) {
      auto store = Store::Open(path);
      KeyId key;
      if (store->CreateKey(Store::RootKey(Root::CurrentUser), u"Condiviso", &key) != ERROR_SUCCESS)
        ::_exit(1);
      for (int i = 0; i < kWrites; ++i) {
        const String name = FromUtf8(std::to_string(which) + "-" + std::to_string(i));
        if (store->SetDword(key, name, static_cast<std::uint32_t>(i)) != ERROR_SUCCESS) ::_exit(2);
        // Every tenth change as a batch of two, with a key of its own.
        if (i % 10 == 0 && store->Batch([&] {
              LSTATUS st = store->CreateKey(key, name);
              if (st == ERROR_SUCCESS) st = store->SetDword(key, name + u"-lotto", 1);
              return st;
            }) != ERROR_SUCCESS)
          ::_exit(3);
      }
      ::_exit(0);
    }
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  auto store = Store::Open(path);
  KeyId key;
  ASSERT_EQ(store->OpenKey(Store::RootKey(Root::CurrentUser), u"Condiviso", &key), ERROR_SUCCESS);
  std::vector<NamedValue> values;
  std::vector<String> keys;
  ASSERT_EQ(store->EnumValues(key, &values), ERROR_SUCCESS);
  ASSERT_EQ(store->EnumKeys(key, &keys), ERROR_SUCCESS);
  EXPECT_EQ(values.size(), 2u * (kWrites + kWrites / 10));
  EXPECT_EQ(keys.size(), 2u * (kWrites / 10));
}

}  // namespace
}  // namespace ze::registry
