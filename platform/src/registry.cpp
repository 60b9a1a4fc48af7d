// The device registry over SQLite: RegCreateKeyEx, RegOpenKeyEx, RegCloseKey, RegQueryValueEx,
// RegSetValueEx, RegDeleteValue, RegDeleteKey, RegEnumValue.
//
// Store: registry.sqlite in the device image, in WAL mode with a busy timeout, so that the
// device's processes read and write it at the same time; every change is one transaction, so a
// crash in the middle of a write leaves the previous state. A batch (RegBeginBatch) holds one
// transaction open across many calls; each call inside it runs in a savepoint. Tables:
//   keys(id, parent, name, folded, class)  -- a tree; the three roots are ids 1..3
//   vals(key, name, folded, type, data)    -- data exactly as written
// Names are UTF-8 in the database; `folded` is the Unicode case-folded name, the lookup key.
// A key handle remembers the key's id, so a key deleted (and even recreated) behind a handle
// answers ERROR_KEY_DELETED; ids are never reused (AUTOINCREMENT) for that reason.
//
// Not implemented: RegEnumKeyEx, RegQueryInfoKey, RegFlushKey, notifications, security, volatile
// keys and size limits on names and data.
#include <device/registry.h>

#include <device/files.h>

#include "internal/kernel_objects.h"
#include "internal/registry_store.h"
#include "internal/wide_text.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;
using namespace device::internal;

namespace {

constexpr std::int64_t kClassesRootId = 1;
constexpr std::int64_t kCurrentUserId = 2;
constexpr std::int64_t kLocalMachineId = 3;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL, folded TEXT NOT NULL, class TEXT NOT NULL DEFAULT '',"
    " UNIQUE(parent, folded));"
    "CREATE TABLE IF NOT EXISTS vals(key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, folded));"
    "INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES"
    " (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'), (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
    " (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine');";

// One connection per process, opened on first use. It is reopened after a fork (SQLite
// connections must not cross fork) and when the device image moves or its database file is
// replaced (tests remove images and make fresh ones, possibly at the same path).
// The mutex serialises the connection's transactions among the process's threads.
struct Store {
  std::mutex mutex;
  sqlite3* db = nullptr;
  pid_t owner = 0;
  fs::path file;
  dev_t device = 0;
  ino_t inode = 0;
  bool batchOpen = false;  // a batch transaction is open on `db`
  int failWritesAfter = -1;  // test fault: changes allowed before the next one fails; -1 none
};

bool SameFile(const Store& store, const fs::path& file) {
  struct stat info;
  return store.file == file && ::stat(file.c_str(), &info) == 0 && info.st_dev == store.device &&
         info.st_ino == store.inode;
}

Store& TheStore() {
  static Store store;
  return store;
}

// RAII statement with one-line binding helpers.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return stmt_ != nullptr; }
  Statement& Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  Statement& Bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int index, const void* data, std::size_t size) {
    // A zero-length blob must still be a blob, not NULL, hence the non-null pointer.
    static const char kEmpty = 0;
    sqlite3_bind_blob(stmt_, index, size ? data : &kEmpty, static_cast<int>(size), SQLITE_TRANSIENT);
    return *this;
  }
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  std::int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) {
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }
  std::string Blob(int column) {
    auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Says once per file on standard error why the registry cannot be used (every registry call
// then fails), and closes the connection.
sqlite3* Unusable(const fs::path& file, sqlite3* db) {
  static std::set<fs::path> reported;
  if (reported.insert(file).second) {
    std::fprintf(stderr, "device: the registry %s cannot be used: %s\n", file.c_str(),
                 db ? sqlite3_errmsg(db) : "out of memory");
  }
  sqlite3_close(db);
  return nullptr;
}

sqlite3* OpenDatabase(const fs::path& file) {
  std::error_code ignored;
  fs::create_directories(file.parent_path(), ignored);
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) return Unusable(file, db);
  sqlite3_busy_timeout(db, 10000);
  // WAL lets readers go on while another process writes; NORMAL syncing in WAL mode never
  // corrupts the database and loses nothing when a program crashes (only a host power loss can
  // take back the last commits).
  bool ready = Exec(db, "PRAGMA journal_mode=WAL;") && Exec(db, "PRAGMA synchronous=NORMAL;") &&
               Exec(db, "BEGIN IMMEDIATE;") && Exec(db, kSchema) && Exec(db, "COMMIT;");
  if (!ready) return Unusable(file, db);
  return db;
}

// The open connection for the current device image, or null when it cannot be opened.
sqlite3* Database(Store& store) {
  fs::path file = device::DeviceImageRoot() / "registry.sqlite";
  if (store.db && store.owner == ::getpid() && SameFile(store, file)) return store.db;
  // A connection inherited over fork is abandoned, not closed: closing it could disturb the
  // parent's locks and WAL.
  if (store.db && store.owner == ::getpid()) sqlite3_close(store.db);
  store.batchOpen = false;  // a batch never survives its connection
  store.db = OpenDatabase(file);
  store.owner = ::getpid();
  store.file = file;
  struct stat info;
  if (store.db && ::stat(file.c_str(), &info) == 0) {
    store.device = info.st_dev;
    store.inode = info.st_ino;
  }
  return store.db;
}

// A transaction that rolls back unless committed. Writers take the write lock at once
// (IMMEDIATE), so that two processes never both read and then both fail to upgrade. Inside a
// batch it is a savepoint of the batch's transaction instead: committing releases it into the
// batch, failing rolls back this change only.
class Transaction {
 public:
  explicit Transaction(sqlite3* db, bool writes = true)
      : db_(db), nested_(TheStore().batchOpen), open_(Exec(db, Begin(writes, nested_))) {}
  ~Transaction() {
    if (open_) Exec(db_, nested_ ? "ROLLBACK TO change; RELEASE change;" : "ROLLBACK;");
  }
  bool ok() const { return open_; }
  bool Commit() {
    open_ = false;
    if (FaultDue()) {
      Exec(db_, nested_ ? "ROLLBACK TO change; RELEASE change;" : "ROLLBACK;");
      return false;
    }
    if (Exec(db_, nested_ ? "RELEASE change;" : "COMMIT;")) return true;
    Exec(db_, nested_ ? "ROLLBACK TO change; RELEASE change;" : "ROLLBACK;");
    return false;
  }

 private:
  static const char* Begin(bool writes, bool nested) {
    if (nested) return "SAVEPOINT change;";
    return writes ? "BEGIN IMMEDIATE;" : "BEGIN;";
  }
  // The test fault: counts committed changes down and fails the one after the allowance.
  static bool FaultDue() {
    int& left = TheStore().failWritesAfter;
    if (left < 0) return false;
    return left-- == 0;
  }

  sqlite3* db_;
  bool nested_;
  bool open_;
};

// Open key handles. Values are small numbers, never pointers, like the kernel's handles.
struct KeyHandles {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::int64_t> keys;
  std::uintptr_t next = 0x10000;
};

KeyHandles& Handles() {
  static KeyHandles handles;
  return handles;
}

std::optional<std::int64_t> KeyIdOf(HKEY key) {
  auto value = reinterpret_cast<std::uintptr_t>(key);
  if (key == HKEY_CLASSES_ROOT) return kClassesRootId;
  if (key == HKEY_CURRENT_USER) return kCurrentUserId;
  if (key == HKEY_LOCAL_MACHINE) return kLocalMachineId;
  auto& handles = Handles();
  std::lock_guard lock(handles.mutex);
  auto found = handles.keys.find(value);
  if (found == handles.keys.end()) return std::nullopt;
  return found->second;
}

HKEY NewKeyHandle(std::int64_t id) {
  auto& handles = Handles();
  std::lock_guard lock(handles.mutex);
  std::uintptr_t value = handles.next;
  handles.next += 4;
  handles.keys.emplace(value, id);
  return reinterpret_cast<HKEY>(value);
}

struct Name {
  std::string utf8;
  std::string folded;
};

bool MakeName(std::u16string_view name, Name& out) {
  return Utf16ToUtf8(name, out.utf8) && Utf16ToUtf8(FoldCase(name), out.folded);
}

// Splits a key path at '\'; empty components (a leading, doubled or trailing '\') are skipped.
bool SplitKeyPath(LPCWSTR path, std::vector<Name>& parts) {
  std::u16string_view rest(path ? path : u"");
  while (!rest.empty()) {
    std::size_t end = rest.find(u'\\');
    std::u16string_view part = rest.substr(0, end);
    if (!part.empty()) {
      Name name;
      if (!MakeName(part, name)) return false;
      parts.push_back(std::move(name));
    }
    if (end == std::u16string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return true;
}

bool KeyExists(sqlite3* db, std::int64_t id) {
  Statement query(db, "SELECT 1 FROM keys WHERE id = ?");
  return query.Bind(1, id).Step() == SQLITE_ROW;
}

std::optional<std::int64_t> FindChild(sqlite3* db, std::int64_t parent, const Name& name) {
  Statement query(db, "SELECT id FROM keys WHERE parent = ? AND folded = ?");
  if (query.Bind(1, parent).Bind(2, name.folded).Step() != SQLITE_ROW) return std::nullopt;
  return query.Int(0);
}

std::optional<std::int64_t> AddChild(sqlite3* db, std::int64_t parent, const Name& name, const std::string& keyClass) {
  Statement insert(db, "INSERT INTO keys(parent, name, folded, class) VALUES(?, ?, ?, ?)");
  if (insert.Bind(1, parent).Bind(2, name.utf8).Bind(3, name.folded).Bind(4, keyClass).Step() != SQLITE_DONE)
    return std::nullopt;
  return sqlite3_last_insert_rowid(db);
}

// Copies `stored` out the Win32 way: with no buffer, only the size; with a buffer too small,
// the needed size and ERROR_MORE_DATA.
LONG CopyData(const std::string& stored, LPBYTE data, LPDWORD dataSize) {
  auto needed = static_cast<DWORD>(stored.size());
  if (!dataSize) return data ? static_cast<LONG>(ERROR_INVALID_PARAMETER) : static_cast<LONG>(ERROR_SUCCESS);
  if (data && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data) std::copy(stored.begin(), stored.end(), data);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

// Runs `body(db, keyId)` with the store locked, after checking the handle and the database.
template <typename Body>
LONG WithKey(HKEY key, Body body) {
  std::optional<std::int64_t> id = KeyIdOf(key);
  if (!id) return ERROR_INVALID_HANDLE;
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  sqlite3* db = Database(store);
  if (!db) return ERROR_REGISTRY_IO_FAILED;
  return body(db, *id);
}

LONG OpenOrCreate(HKEY key, LPCWSTR subKey, bool create, LPCWSTR keyClass, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::vector<Name> parts;
  Name className;
  if (!SplitKeyPath(subKey, parts) || !MakeName(keyClass ? keyClass : u"", className)) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Transaction transaction(db, create);
    if (!transaction.ok()) return ERROR_REGISTRY_IO_FAILED;
    if (!KeyExists(db, id)) return ERROR_KEY_DELETED;
    bool created = false;
    for (const Name& part : parts) {
      std::optional<std::int64_t> child = FindChild(db, id, part);
      if (!child && create) {
        child = AddChild(db, id, part, className.utf8);
        if (!child) return ERROR_CANTWRITE;
        created = true;
      }
      if (!child) return ERROR_FILE_NOT_FOUND;
      id = *child;
    }
    if (created && !transaction.Commit()) return ERROR_CANTWRITE;
    *result = NewKeyHandle(id);
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

}  // namespace

LONG RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD reserved, LPCWSTR keyClass, DWORD options,
                    REGSAM access, LPSECURITY_ATTRIBUTES attributes, PHKEY result, LPDWORD disposition) {
  return OpenOrCreate(key, subKey, true, keyClass, result, disposition);
}

LONG RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return OpenOrCreate(key, subKey, false, nullptr, result, nullptr);
}

LONG RegCloseKey(HKEY key) {
  if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  auto& handles = Handles();
  std::lock_guard lock(handles.mutex);
  return handles.keys.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueEx(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD dataSize) {
  Name name;
  if (!MakeName(valueName ? valueName : u"", name)) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Statement query(db, "SELECT type, data FROM vals WHERE key = ? AND folded = ?");
    int step = query.Bind(1, id).Bind(2, name.folded).Step();
    if (step != SQLITE_ROW) {
      if (step != SQLITE_DONE) return ERROR_CANTREAD;
      return KeyExists(db, id) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    }
    if (type) *type = static_cast<DWORD>(query.Int(0));
    return CopyData(query.Blob(1), data, dataSize);
  });
}

LONG RegSetValueEx(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD dataSize) {
  Name name;
  if (!MakeName(valueName ? valueName : u"", name) || (!data && dataSize)) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Transaction transaction(db);
    if (!transaction.ok()) return ERROR_REGISTRY_IO_FAILED;
    if (!KeyExists(db, id)) return ERROR_KEY_DELETED;
    // An upsert keeps the row, so the value keeps its first spelling and its enumeration place.
    Statement upsert(db,
                     "INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)"
                     " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    upsert.Bind(1, id).Bind(2, name.utf8).Bind(3, name.folded).Bind(4, static_cast<std::int64_t>(type));
    upsert.BindBlob(5, data, dataSize);
    if (upsert.Step() != SQLITE_DONE || !transaction.Commit()) return ERROR_CANTWRITE;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValue(HKEY key, LPCWSTR valueName) {
  Name name;
  if (!MakeName(valueName ? valueName : u"", name)) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Transaction transaction(db);
    if (!transaction.ok()) return ERROR_REGISTRY_IO_FAILED;
    if (!KeyExists(db, id)) return ERROR_KEY_DELETED;
    Statement remove(db, "DELETE FROM vals WHERE key = ? AND folded = ?");
    if (remove.Bind(1, id).Bind(2, name.folded).Step() != SQLITE_DONE) return ERROR_CANTWRITE;
    if (sqlite3_changes(db) == 0) return ERROR_FILE_NOT_FOUND;
    return transaction.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
  });
}

LONG RegDeleteKey(HKEY key, LPCWSTR subKey) {
  std::vector<Name> parts;
  if (!SplitKeyPath(subKey, parts)) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Transaction transaction(db);
    if (!transaction.ok()) return ERROR_REGISTRY_IO_FAILED;
    if (!KeyExists(db, id)) return ERROR_KEY_DELETED;
    for (const Name& part : parts) {
      std::optional<std::int64_t> child = FindChild(db, id, part);
      if (!child) return ERROR_FILE_NOT_FOUND;
      id = *child;
    }
    if (id <= kLocalMachineId) return ERROR_ACCESS_DENIED;  // a root cannot be deleted
    const char* subtree = "WITH RECURSIVE tree(id) AS (SELECT ? UNION ALL"
                          " SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id)";
    Statement values(db, (std::string(subtree) + " DELETE FROM vals WHERE key IN tree").c_str());
    Statement keys(db, (std::string(subtree) + " DELETE FROM keys WHERE id IN tree").c_str());
    if (values.Bind(1, id).Step() != SQLITE_DONE || keys.Bind(1, id).Step() != SQLITE_DONE) return ERROR_CANTWRITE;
    return transaction.Commit() ? ERROR_SUCCESS : ERROR_CANTWRITE;
  });
}

LONG RegEnumValue(HKEY key, DWORD index, LPWSTR valueName, LPDWORD nameLength, LPDWORD reserved,
                  LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  if (!valueName || !nameLength) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](sqlite3* db, std::int64_t id) -> LONG {
    Statement query(db, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?");
    int step = query.Bind(1, id).Bind(2, static_cast<std::int64_t>(index)).Step();
    if (step != SQLITE_ROW) {
      if (step != SQLITE_DONE) return ERROR_CANTREAD;
      return KeyExists(db, id) ? ERROR_NO_MORE_ITEMS : ERROR_KEY_DELETED;
    }
    std::u16string name = Utf8ToUtf16(query.Text(0));
    if (name.size() + 1 > *nameLength) {
      *nameLength = static_cast<DWORD>(name.size());
      return ERROR_MORE_DATA;
    }
    std::copy(name.begin(), name.end(), valueName);
    valueName[name.size()] = 0;
    *nameLength = static_cast<DWORD>(name.size());
    if (type) *type = static_cast<DWORD>(query.Int(1));
    return CopyData(query.Blob(2), data, dataSize);
  });
}

LONG RegBeginBatch() {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  if (store.batchOpen) return ERROR_BUSY;
  sqlite3* db = Database(store);
  if (!db || !Exec(db, "BEGIN IMMEDIATE;")) return ERROR_REGISTRY_IO_FAILED;
  store.batchOpen = true;
  return ERROR_SUCCESS;
}

LONG RegCommitBatch() {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  if (!store.batchOpen) return ERROR_INVALID_FUNCTION;
  store.batchOpen = false;
  if (Exec(store.db, "COMMIT;")) return ERROR_SUCCESS;
  Exec(store.db, "ROLLBACK;");
  return ERROR_CANTWRITE;
}

LONG RegAbortBatch() {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  if (!store.batchOpen) return ERROR_INVALID_FUNCTION;
  store.batchOpen = false;
  Exec(store.db, "ROLLBACK;");
  return ERROR_SUCCESS;
}

namespace device::internal {

void FailRegistryChangeAfter(int changes) {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  store.failWritesAfter = changes;
}

bool OpenDeviceRegistry() {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  return Database(store) != nullptr;
}

// Copies the write-ahead log into the database and empties it (another process of the image
// may still be reading, in which case the log simply stays), then closes the connection.
void CloseDeviceRegistry() {
  auto& store = TheStore();
  std::lock_guard lock(store.mutex);
  if (store.db == nullptr || store.owner != ::getpid()) return;
  sqlite3_wal_checkpoint_v2(store.db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
  sqlite3_close(store.db);
  store.db = nullptr;
}

}  // namespace device::internal
