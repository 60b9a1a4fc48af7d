// The personal-information store's database, under the object model of pim_objects.cpp.
#pragma once

#include <device/pim.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace device::internal {

// The store's "no date": 1 January 4501.
constexpr DATE kPimNoDate = 949998.0;

constexpr int kPimContactStringCount = 47;

// Item kinds, as the store numbers its item types.
enum class PimKind { kNone = 0, kAppointment = olAppointmentItem, kContact = olContactItem };

struct PimContactRow {
  LONG oid = 0;  // 0 until saved
  DATE anniversary = kPimNoDate;
  DATE birthday = kPimNoDate;
  std::array<std::u16string, kPimContactStringCount> strings;  // in PIM_CONTACT_STRING_PROPERTIES order
  std::u16string body;
};

struct PimRecipientRow {
  std::u16string name;
  std::u16string address;
};

struct PimAppointmentRow {
  LONG oid = 0;
  DATE start = 0.0;
  DATE end = 0.0;
  std::u16string subject;
  std::u16string body;
  std::vector<PimRecipientRow> recipients;
};

// One connection to pim.sqlite. Safe to use from several threads (calls are serialised);
// several processes share the file through SQLite's locking (WAL, busy timeout). Every change
// is one transaction of its own unless a transaction opened by Begin is running.
class PimDatabase {
 public:
  // Opens (creating when missing) pim.sqlite in the device image folder `image`; null with a
  // reason in `problem` when the file is no store of this version or cannot be opened.
  static std::shared_ptr<PimDatabase> Open(const std::filesystem::path& image, std::string* problem);
  ~PimDatabase();
  PimDatabase(const PimDatabase&) = delete;
  PimDatabase& operator=(const PimDatabase&) = delete;

  bool Begin();
  bool Commit();
  void Rollback();

  PimKind KindOf(LONG oid);
  std::optional<PimContactRow> ReadContact(LONG oid);
  std::optional<PimAppointmentRow> ReadAppointment(LONG oid);
  // Inserts a row with oid 0 (giving it a new Oid) or replaces the stored row. False when the
  // database refuses or an existing row's item has gone.
  bool SaveContact(PimContactRow& row);
  bool SaveAppointment(PimAppointmentRow& row);
  bool DeleteItem(LONG oid, PimKind kind);  // false when there is no such item

  // Oids of one kind in stored order; for appointments optionally only those starting
  // strictly between `from` and `to`.
  std::vector<LONG> ItemOids(PimKind kind);
  std::vector<LONG> AppointmentOidsBetween(DATE from, DATE to);
  // Changes when any process changed the store, so that collections know to read again.
  std::uint64_t Version();
  // `known` (an earlier Version) with this connection's own changes since brought up to date,
  // without asking the database.
  std::uint64_t LocalVersion(std::uint64_t known);
  // Every contact, in stored order, in one query.
  std::vector<PimContactRow> ReadContacts();

  LONG FindContactByUid(const std::u16string& uid);  // 0 for none
  std::u16string ContactUid(LONG oid);
  bool SetContactUid(LONG oid, const std::u16string& uid);

 private:
  explicit PimDatabase(sqlite3* db) : db_(db) {}
  bool Exec(const char* sql);
  sqlite3_stmt* Prepare(const std::string& sql);  // cached for the connection's life
  // Runs `change` in a transaction of its own unless one opened by Begin is running.
  template <class Change>
  bool Change(Change change);

  std::recursive_mutex mutex_;
  sqlite3* db_;
  bool inTransaction_ = false;
  std::uint64_t localChanges_ = 0;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// The hooks of pim.h, for the objects: records `method` in the call log and raises the fault
// a test asked for.
void TracePimCall(const char* method);
bool TakePimLogonFailure();
void SetPimStoreProblem(const std::string& problem);

}  // namespace device::internal
