// The personal-information store's database: pim.sqlite in the device image.
//
// Tables (schema version 1, kept in PRAGMA user_version):
//   items(oid INTEGER PRIMARY KEY AUTOINCREMENT, kind)        -- every item; Oids are never reused
//   contacts(oid, uid, Anniversary, Birthday, <the 47 string properties by name>, Body)
//   appointments(oid, Start, End, Subject, Body)
//   recipients(appointment, position, name, address)
// Oids are positive signed 32-bit integers given in increasing order; they survive restarts
// and are never given twice, so an Oid kept by a program names the same item or none. When the
// Oid space is used up, saving a new item fails rather than wrap.
//
// WAL mode and a busy timeout let the device's processes read and write at once; every change
// is one IMMEDIATE transaction (or part of the caller's transaction), so a process killed in
// the middle of a change leaves the store as it was before it. A file that is not a database,
// or holds a schema newer than this store knows, is refused without writing anything to it.
#include "internal/pim_store.h"

#include <device/files.h>

#include "internal/wide_text.h"

#include <sqlite3.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace device::internal {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 5000;

#define PIM_COLUMN_NAME(name) #name,
constexpr const char* kContactColumns[kPimContactStringCount] = {PIM_CONTACT_STRING_PROPERTIES(PIM_COLUMN_NAME)};
#undef PIM_COLUMN_NAME

// The string columns in property order, then Body.
std::string ContactColumnList() {
  std::string list;
  for (const char* column : kContactColumns) list += std::string(", ") + column;
  return list + ", Body";
}

std::string SchemaSql() {
  std::string contacts = "CREATE TABLE contacts(oid INTEGER PRIMARY KEY, uid TEXT NOT NULL DEFAULT '',"
                         " Anniversary REAL NOT NULL, Birthday REAL NOT NULL";
  for (const char* column : kContactColumns) contacts += std::string(", ") + column + " TEXT";
  contacts += ", Body TEXT);";
  return "CREATE TABLE items(oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL);" + contacts +
         "CREATE INDEX contacts_uid ON contacts(uid) WHERE uid <> '';"
         "CREATE TABLE appointments(oid INTEGER PRIMARY KEY, Start REAL NOT NULL, End REAL NOT NULL,"
         " Subject TEXT, Body TEXT);"
         "CREATE TABLE recipients(appointment INTEGER NOT NULL, position INTEGER NOT NULL, name TEXT, address TEXT,"
         " PRIMARY KEY(appointment, position));"
         "PRAGMA user_version = 1;";
}

// Statement with binding helpers; text crosses as UTF-8.
// Statements come from the connection's cache and are reset, not finalised, when done.
class Statement {
 public:
  explicit Statement(sqlite3_stmt* cached) : stmt_(cached) {}
  ~Statement() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  Statement& BindReal(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
    return *this;
  }
  // Unset text is stored as NULL.
  Statement& BindText(int index, const std::u16string& text) {
    std::string utf8;
    if (text.empty() || !Utf16ToUtf8(text, utf8)) {
      sqlite3_bind_null(stmt_, index);
    } else {
      sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    return *this;
  }
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  std::int64_t Changes() { return stmt_ ? sqlite3_changes(sqlite3_db_handle(stmt_)) : 0; }
  std::int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  double Real(int column) { return sqlite3_column_double(stmt_, column); }
  std::u16string Text(int column) {
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text) return {};
    return Utf8ToUtf16(std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))));
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

int UserVersion(sqlite3* db, int* version) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA user_version;", -1, &stmt, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    *version = sqlite3_column_int(stmt, 0);
    rc = SQLITE_OK;
  }
  sqlite3_finalize(stmt);
  return rc;
}

std::string Describe(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_NOTADB: return "file is not a database";
    case SQLITE_CORRUPT: return "the store is damaged";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "locked by another program";
    case SQLITE_CANTOPEN: return "cannot be opened";
    case SQLITE_READONLY: return "cannot be written";
    case SQLITE_FULL: return "the disk is full";
    default: return sqlite3_errstr(rc);
  }
}

// Brings a new or current database to version 1; refuses anything else. Nothing is written
// unless the file is an empty database.
bool PrepareSchema(sqlite3* db, std::string* problem) {
  int version = 0;
  if (int rc = UserVersion(db, &version); rc != SQLITE_OK) {
    *problem = "pim.sqlite: " + Describe(rc);
    return false;
  }
  if (version > kSchemaVersion) {
    *problem = "pim.sqlite: made by a newer version of the store (schema " + std::to_string(version) + ")";
    return false;
  }
  if (version == kSchemaVersion) return true;
  // Version 0: a new, empty file. Another process may be creating it at the same moment, so
  // look again inside the write transaction.
  if (int rc = sqlite3_exec(db, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr); rc != SQLITE_OK) {
    *problem = "pim.sqlite: " + Describe(rc);
    return false;
  }
  int rc = UserVersion(db, &version);
  if (rc == SQLITE_OK && version == 0) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master;", -1, &stmt, nullptr);
    bool empty = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 0;
    sqlite3_finalize(stmt);
    if (!empty) {
      sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
      *problem = "pim.sqlite: a database of another program";
      return false;
    }
    rc = sqlite3_exec(db, SchemaSql().c_str(), nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
    *problem = "pim.sqlite: " + Describe(rc);
    return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<PimDatabase> PimDatabase::Open(const std::filesystem::path& image, std::string* problem) {
  // The image folder must exist: a store is never made where no device image is.
  std::error_code error;
  if (!fs::is_directory(image, error)) {
    *problem = "pim.sqlite: no device image at " + image.string();
    return nullptr;
  }
  const fs::path file = image / "pim.sqlite";
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    *problem = "pim.sqlite: " + Describe(rc);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // The schema check comes first: switching a foreign file to WAL would already change it.
  if (!PrepareSchema(db, problem)) {
    sqlite3_close(db);
    return nullptr;
  }
  // NORMAL syncing in WAL mode never corrupts the store; a program crash loses nothing.
  if (sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr) != SQLITE_OK) {
    *problem = "pim.sqlite: " + Describe(sqlite3_errcode(db));
    sqlite3_close(db);
    return nullptr;
  }
  problem->clear();
  return std::shared_ptr<PimDatabase>(new PimDatabase(db));
}

PimDatabase::~PimDatabase() {
  if (inTransaction_) Exec("ROLLBACK;");
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

sqlite3_stmt* PimDatabase::Prepare(const std::string& sql) {
  auto found = statements_.find(sql);
  if (found != statements_.end()) return found->second;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  // A statement that does not prepare (a damaged store) is not cached, so it is tried again.
  if (stmt) statements_.emplace(sql, stmt);
  return stmt;
}

bool PimDatabase::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool PimDatabase::Begin() {
  std::lock_guard lock(mutex_);
  if (inTransaction_ || !Exec("BEGIN IMMEDIATE;")) return false;
  inTransaction_ = true;
  return true;
}

bool PimDatabase::Commit() {
  std::lock_guard lock(mutex_);
  if (!inTransaction_) return false;
  inTransaction_ = false;
  ++localChanges_;
  if (Exec("COMMIT;")) return true;
  Exec("ROLLBACK;");
  return false;
}

void PimDatabase::Rollback() {
  std::lock_guard lock(mutex_);
  if (!inTransaction_) return;
  inTransaction_ = false;
  ++localChanges_;
  Exec("ROLLBACK;");
}

template <class ChangeFn>
bool PimDatabase::Change(ChangeFn change) {
  std::lock_guard lock(mutex_);
  ++localChanges_;
  if (inTransaction_) {
    // Part of the caller's transaction: a failed step undoes only itself.
    if (!Exec("SAVEPOINT step;")) return false;
    bool ok = change();
    Exec(ok ? "RELEASE step;" : "ROLLBACK TO step; RELEASE step;");
    return ok;
  }
  if (!Exec("BEGIN IMMEDIATE;")) return false;
  if (change() && Exec("COMMIT;")) return true;
  Exec("ROLLBACK;");
  return false;
}

PimKind PimDatabase::KindOf(LONG oid) {
  std::lock_guard lock(mutex_);
  Statement query(Prepare("SELECT kind FROM items WHERE oid = ?"));
  if (query.Bind(1, oid).Step() != SQLITE_ROW) return PimKind::kNone;
  return static_cast<PimKind>(query.Int(0));
}

namespace {

// Reads a row of "SELECT oid, Anniversary, Birthday, <strings>, Body".
PimContactRow ContactRowOf(Statement& query) {
  PimContactRow row;
  row.oid = static_cast<LONG>(query.Int(0));
  row.anniversary = query.Real(1);
  row.birthday = query.Real(2);
  for (int i = 0; i < kPimContactStringCount; ++i) row.strings[static_cast<std::size_t>(i)] = query.Text(i + 3);
  row.body = query.Text(kPimContactStringCount + 3);
  return row;
}

}  // namespace

std::optional<PimContactRow> PimDatabase::ReadContact(LONG oid) {
  std::lock_guard lock(mutex_);
  static const std::string sql =
      "SELECT oid, Anniversary, Birthday" + ContactColumnList() + " FROM contacts WHERE oid = ?";
  Statement query(Prepare(sql));
  if (query.Bind(1, oid).Step() != SQLITE_ROW) return std::nullopt;
  return ContactRowOf(query);
}

std::vector<PimContactRow> PimDatabase::ReadContacts() {
  std::lock_guard lock(mutex_);
  static const std::string sql = "SELECT oid, Anniversary, Birthday" + ContactColumnList() + " FROM contacts ORDER BY oid";
  Statement query(Prepare(sql));
  std::vector<PimContactRow> rows;
  while (query.Step() == SQLITE_ROW) rows.push_back(ContactRowOf(query));
  return rows;
}

bool PimDatabase::SaveContact(PimContactRow& row) {
  static const std::string sql = [] {
    // The UID another address book gave the contact stays with it.
    std::string text = "INSERT OR REPLACE INTO contacts(oid, uid, Anniversary, Birthday" + ContactColumnList() +
                       ") VALUES(?1, coalesce((SELECT uid FROM contacts WHERE oid = ?1), ''), ?2, ?3";
    for (int i = 0; i <= kPimContactStringCount; ++i) text += ", ?" + std::to_string(i + 4);
    return text + ")";
  }();
  LONG oid = row.oid;
  bool saved = Change([&] {
    if (oid == 0) {
      Statement insert(Prepare("INSERT INTO items(kind) VALUES(?)"));
      if (insert.Bind(1, static_cast<int>(PimKind::kContact)).Step() != SQLITE_DONE) return false;
      std::int64_t id = sqlite3_last_insert_rowid(db_);
      if (id > INT32_MAX) return false;
      oid = static_cast<LONG>(id);
    } else if (KindOf(oid) != PimKind::kContact) {
      return false;
    }
    Statement write(Prepare(sql));
    write.Bind(1, oid).BindReal(2, row.anniversary).BindReal(3, row.birthday);
    for (int i = 0; i < kPimContactStringCount; ++i) write.BindText(i + 4, row.strings[static_cast<std::size_t>(i)]);
    write.BindText(kPimContactStringCount + 4, row.body);
    return write.Step() == SQLITE_DONE;
  });
  if (saved) row.oid = oid;
  return saved;
}

std::optional<PimAppointmentRow> PimDatabase::ReadAppointment(LONG oid) {
  std::lock_guard lock(mutex_);
  Statement query(Prepare("SELECT Start, End, Subject, Body FROM appointments WHERE oid = ?"));
  if (query.Bind(1, oid).Step() != SQLITE_ROW) return std::nullopt;
  PimAppointmentRow row;
  row.oid = oid;
  row.start = query.Real(0);
  row.end = query.Real(1);
  row.subject = query.Text(2);
  row.body = query.Text(3);
  Statement recipients(Prepare("SELECT name, address FROM recipients WHERE appointment = ? ORDER BY position"));
  recipients.Bind(1, oid);
  while (recipients.Step() == SQLITE_ROW) row.recipients.push_back({recipients.Text(0), recipients.Text(1)});
  return row;
}

bool PimDatabase::SaveAppointment(PimAppointmentRow& row) {
  LONG oid = row.oid;
  bool saved = Change([&] {
    if (oid == 0) {
      Statement insert(Prepare("INSERT INTO items(kind) VALUES(?)"));
      if (insert.Bind(1, static_cast<int>(PimKind::kAppointment)).Step() != SQLITE_DONE) return false;
      std::int64_t id = sqlite3_last_insert_rowid(db_);
      if (id > INT32_MAX) return false;
      oid = static_cast<LONG>(id);
    } else if (KindOf(oid) != PimKind::kAppointment) {
      return false;
    }
    Statement write(Prepare("INSERT OR REPLACE INTO appointments(oid, Start, End, Subject, Body) VALUES(?, ?, ?, ?, ?)"));
    write.Bind(1, oid).BindReal(2, row.start).BindReal(3, row.end).BindText(4, row.subject).BindText(5, row.body);
    if (write.Step() != SQLITE_DONE) return false;
    Statement clear(Prepare("DELETE FROM recipients WHERE appointment = ?"));
    if (clear.Bind(1, oid).Step() != SQLITE_DONE) return false;
    for (std::size_t i = 0; i < row.recipients.size(); ++i) {
      Statement add(Prepare("INSERT INTO recipients(appointment, position, name, address) VALUES(?, ?, ?, ?)"));
      add.Bind(1, oid).Bind(2, static_cast<std::int64_t>(i)).BindText(3, row.recipients[i].name);
      if (add.BindText(4, row.recipients[i].address).Step() != SQLITE_DONE) return false;
    }
    return true;
  });
  if (saved) row.oid = oid;
  return saved;
}

bool PimDatabase::DeleteItem(LONG oid, PimKind kind) {
  return Change([&] {
    if (KindOf(oid) != kind) return false;
    Statement item(Prepare("DELETE FROM items WHERE oid = ?"));
    Statement contact(Prepare("DELETE FROM contacts WHERE oid = ?"));
    Statement appointment(Prepare("DELETE FROM appointments WHERE oid = ?"));
    Statement recipients(Prepare("DELETE FROM recipients WHERE appointment = ?"));
    return item.Bind(1, oid).Step() == SQLITE_DONE && contact.Bind(1, oid).Step() == SQLITE_DONE &&
           appointment.Bind(1, oid).Step() == SQLITE_DONE && recipients.Bind(1, oid).Step() == SQLITE_DONE;
  });
}

std::vector<LONG> PimDatabase::ItemOids(PimKind kind) {
  std::lock_guard lock(mutex_);
  std::vector<LONG> oids;
  Statement query(Prepare("SELECT oid FROM items WHERE kind = ? ORDER BY oid"));
  query.Bind(1, static_cast<int>(kind));
  while (query.Step() == SQLITE_ROW) oids.push_back(static_cast<LONG>(query.Int(0)));
  return oids;
}

std::vector<LONG> PimDatabase::AppointmentOidsBetween(DATE from, DATE to) {
  std::lock_guard lock(mutex_);
  std::vector<LONG> oids;
  Statement query(Prepare("SELECT oid FROM appointments WHERE Start > ? AND Start < ? ORDER BY oid"));
  query.BindReal(1, from).BindReal(2, to);
  while (query.Step() == SQLITE_ROW) oids.push_back(static_cast<LONG>(query.Int(0)));
  return oids;
}

std::uint64_t PimDatabase::Version() {
  std::lock_guard lock(mutex_);
  Statement query(Prepare("PRAGMA data_version;"));
  std::uint64_t others = query.Step() == SQLITE_ROW ? static_cast<std::uint64_t>(query.Int(0)) : 0;
  return (others << 32) | (localChanges_ & 0xFFFFFFFF);
}

std::uint64_t PimDatabase::LocalVersion(std::uint64_t known) {
  std::lock_guard lock(mutex_);
  return (known & ~std::uint64_t{0xFFFFFFFF}) | (localChanges_ & 0xFFFFFFFF);
}

LONG PimDatabase::FindContactByUid(const std::u16string& uid) {
  std::lock_guard lock(mutex_);
  if (uid.empty()) return 0;
  Statement query(Prepare("SELECT oid FROM contacts WHERE uid = ? AND uid <> '' ORDER BY oid LIMIT 1"));
  if (query.BindText(1, uid).Step() != SQLITE_ROW) return 0;
  return static_cast<LONG>(query.Int(0));
}

std::u16string PimDatabase::ContactUid(LONG oid) {
  std::lock_guard lock(mutex_);
  Statement query(Prepare("SELECT uid FROM contacts WHERE oid = ?"));
  return query.Bind(1, oid).Step() == SQLITE_ROW ? query.Text(0) : std::u16string();
}

bool PimDatabase::SetContactUid(LONG oid, const std::u16string& uid) {
  return Change([&] {
    // The uid column holds '' for none, never NULL.
    Statement update(Prepare("UPDATE contacts SET uid = coalesce(?, '') WHERE oid = ?"));
    return update.BindText(1, uid).Bind(2, oid).Step() == SQLITE_DONE && update.Changes() == 1;
  });
}

}  // namespace device::internal
