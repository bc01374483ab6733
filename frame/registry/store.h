// The registry store: a hierarchical key/value database in one SQLite file.
//
// Keys form a tree under five roots; each key has values, each value a type and
// raw bytes (see value.h). Names are case-insensitive and case-preserving (see
// key_path.h). A key is addressed by a KeyId, found from a base key and a path;
// a KeyId stays valid until its key is deleted, after which every use of it gives
// ERROR_KEY_DELETED (ids are never reused).
//
// Representation: table `keys`(id, parent, name, fold), table `vals`(id, key,
// name, fold, type, data) where `fold` is the comparison form of the name, unique
// per parent (per key for values); table `meta` marks the file as a registry
// store. The roots are keys 1 to 5. Subkeys enumerate in name order, values in
// the order they were first written.
//
// Every write is one transaction (BEGIN IMMEDIATE ... COMMIT), so a crash or a
// failure never leaves half a change; Batch() makes several writes (a whole server
// registration) one transaction, and any failure inside rolls all of it back.
// Reads that take several statements run in one read transaction so they see one
// state. Another process holding the file locked makes a call wait up to the busy
// timeout and then fail with ERROR_BUSY; a read-only file refuses writes with
// ERROR_ACCESS_DENIED; a file that is not a registry database fails every call
// with ERROR_BADDB; a store that cannot be created fails with ERROR_CANTOPEN. In
// each case LastErrorDetail() tells the file and the cause. A missing store is
// created, with its parent folders, on first use (unless opened read-only).
//
// A Store may be shared between threads (calls are serialised). A process that
// forks must open its own Store in the child.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/errors.h"
#include "frame/registry/key_path.h"
#include "frame/registry/value.h"

struct sqlite3;

namespace ze::sqlite {
class Statement;
}

namespace ze::registry {

inline constexpr LSTATUS ERROR_UNSUPPORTED_TYPE = 1630;

struct KeyId {
  std::int64_t value = 0;
  friend bool operator==(KeyId, KeyId) = default;
};

// A subkey as listed by EnumSubkeys.
struct Subkey {
  String name;
  KeyId id;
};

struct StoreOptions {
  bool readOnly = false;
  int busyTimeoutMs = 5000;
  // For tests of the failure paths: the write statement with this index (counted
  // from 0 over the store's life) fails as an I/O error would. -1: never.
  int failWriteNumber = -1;
  // Likewise the commit of a write transaction with this index fails as on a full
  // disk. -1: never.
  int failCommitNumber = -1;
};

class Store {
 public:
  // A store on the file at `path`. Never null: a store that cannot be opened
  // answers every call with the reason.
  static std::shared_ptr<Store> Open(std::string path, StoreOptions options = {});
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const std::string& path() const { return path_; }
  // ERROR_SUCCESS once the file has been opened and found to be a registry store
  // (creating it if need be), else the reason, which every call would give too. A
  // lock held by another process shows in the calls that read or write.
  LSTATUS Status();
  // Whether writes are refused (opened read-only, or the file is not writable).
  bool IsReadOnly();

  static KeyId RootKey(Root root);

  // The key at `path` below `base` ("" is `base` itself).
  LSTATUS OpenKey(KeyId base, std::u16string_view path, KeyId* out);
  // Opens the key, creating it and any missing parents; *created tells whether
  // the last component was new.
  LSTATUS CreateKey(KeyId base, std::u16string_view path, KeyId* out = nullptr,
                    bool* created = nullptr);
  // Deletes a key that has no subkeys (ERROR_ACCESS_DENIED when it has some, and
  // for a root), with its values. An empty path deletes `base` itself.
  LSTATUS DeleteKey(KeyId base, std::u16string_view path);
  // Deletes a key with everything below it. An empty path empties `base` (its
  // subkeys and values) and keeps it.
  LSTATUS DeleteTree(KeyId base, std::u16string_view path);

  // Writes a value (the empty name is the default value), replacing any value of
  // the same name; an existing value keeps the case of its name.
  LSTATUS SetValue(KeyId key, std::u16string_view name, DWORD type,
                   std::span<const std::uint8_t> data);
  LSTATUS QueryValue(KeyId key, std::u16string_view name, Value* out);
  LSTATUS DeleteValue(KeyId key, std::u16string_view name);

  LSTATUS EnumKeys(KeyId key, std::vector<String>* names);
  // The subkeys with their ids, in name order.
  LSTATUS EnumSubkeys(KeyId key, std::vector<Subkey>* subkeys);
  LSTATUS EnumValues(KeyId key, std::vector<NamedValue>* values);

  // Conveniences over SetValue / QueryValue for text and numbers.
  LSTATUS SetString(KeyId key, std::u16string_view name, std::u16string_view text,
                    DWORD type = REG_SZ);
  LSTATUS SetDword(KeyId key, std::u16string_view name, std::uint32_t number);
  // REG_SZ or REG_EXPAND_SZ text; ERROR_UNSUPPORTED_TYPE for other types.
  LSTATUS GetString(KeyId key, std::u16string_view name, String* text);

  // Runs `body` as one transaction: every call on this store from this thread
  // inside it joins the transaction. It commits when `body` returns
  // ERROR_SUCCESS and no storage failure happened inside; otherwise nothing of it
  // stays and the result is `body`'s error (or the storage failure). Batches
  // nest; only the outermost commits.
  LSTATUS Batch(const std::function<LSTATUS()>& body);
  // Runs `body` as one read transaction, so that several reads see one state
  // (an export of a whole tree). Nothing may be written inside.
  LSTATUS ReadBatch(const std::function<LSTATUS()>& body);

 private:
  class Statement;
  Store(std::string path, StoreOptions options);

  enum class Access { Read, Write };
  LSTATUS Ready(Access access);
  LSTATUS Connect();
  LSTATUS CreateFile();
  LSTATUS CheckColumns();
  LSTATUS EnsureSchema();
  LSTATUS Fail(int rc, const std::string& what);
  bool InjectedFailure();
  sqlite::Statement* Prepare(const char* sql, std::optional<sqlite::Statement>& failed);
  LSTATUS Exec(const char* sql);

  template <class F>
  LSTATUS Read(F&& body);
  template <class F>
  LSTATUS Write(F&& body);

  LSTATUS CheckKey(KeyId key);
  LSTATUS FindChild(KeyId parent, const String& name, KeyId* out);
  LSTATUS Resolve(KeyId base, std::u16string_view path, KeyId* out);
  LSTATUS HasChildren(KeyId key, bool* has);
  LSTATUS KeyDepth(KeyId key, std::size_t* depth);
  LSTATUS DeleteBelow(KeyId key, bool includingKey);

  std::string path_;
  StoreOptions options_;
  std::recursive_mutex mutex_;
  sqlite3* db_ = nullptr;
  bool schema_ready_ = false;
  // Reads find an empty store: a read-only file without our tables, or no file yet.
  bool schema_absent_ = false;
  LSTATUS connect_status_ = ERROR_SUCCESS;
  std::unordered_map<const char*, std::unique_ptr<sqlite::Statement>> statements_;
  int writes_ = 0;                  // write statements so far (for failWriteNumber)
  int commits_ = 0;                 // write commits so far (for failCommitNumber)
  int depth_ = 0;                   // transaction nesting of the thread holding mutex_
  bool writing_ = false;            // the open transaction holds the write lock
  LSTATUS doomed_ = ERROR_SUCCESS;  // a storage failure inside the open transaction
};

// The store of the process: the file named by ZE_REGISTRO, else
// $XDG_CONFIG_HOME/zekalendo/registro.db, else ~/.config/zekalendo/registro.db
// ("" when none of HOME and XDG_CONFIG_HOME is set).
std::string DefaultStorePath();
// The store at DefaultStorePath(), opened on first use; a change of the
// environment since the last call opens the new file.
std::shared_ptr<Store> DefaultStore();
// Forgets the default store (the next call opens it again).
void ResetDefaultStore();

}  // namespace ze::registry
