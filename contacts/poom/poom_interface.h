// The Pocket Outlook interface: the only place where the program talks to the device's
// personal-information store. It hides the store's objects behind plain operations on two
// records, `ContactRecord` and `AppointmentRecord`, reports every failure itself, and owns the
// in-memory `ContactList` that `ContactLoader` fills on its own thread.
//
// Results are `PoomStatus` codes or, where stated, Oids. Positions are 1-based. "Reported"
// means the code's message was shown (PoomReportStatus) before the code is returned.
//
// Every operation runs inside a guard: a fault raised by the store while the operation's calls
// are made is shown by PoomReportFault with the operation's guard line and ends the operation.
//
// Deliberate choices where the behaviour is ours to choose, and mended faults:
// - Replacing a contact or an appointment deletes the old item and creates the new one in one
//   store transaction, so a failure in between leaves the old item untouched (it used to lose
//   it). A replacement that fails returns -1 (the old Oid stays valid) rather than 0.
// - Creating an item whose Save the store refuses reports "Error!" and returns -1, never an
//   Oid the store did not give.
// - A load cut short (a fault, a missing folder) leaves the caller's list as it was: the list is
//   replaced only when the walk completes.
// - Status 7 (logon succeeded only after several attempts) shows "Logged on after several
//   attempts." (the status has no text of its own).
// - Messages from `ContactLoader` are not shown on its thread: the device's windows belong to
//   the user-interface thread. They wait until that thread next waits for the contacts
//   (`WaitForContacts`) or calls `ShowPendingPoomReports`.
// - Reloading the list (`ReloadContacts`) first waits for a running load to finish, so that
//   clearing and reloading never overlap a load (they used to).
// - Before a new `ContactLoader` connects, the application object of the earlier load is logged
//   off and released.
#pragma once

#include <device/kernel.h>
#include <device/pim.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ---- Status codes ---------------------------------------------------------------------------
enum PoomStatus : std::int32_t {
  kPoomOk = 0,
  kPoomNoClsid = 1,          // "Failed to load CLSID!"
  kPoomNoInstance = 2,       // "Instance is not created!"
  kPoomLoginFailed = 3,      // "failed to login!" (no operation reports it)
  kPoomBadRestriction = 4,   // "error in restriction!" (no operation reports it)
  kPoomNoItems = 5,          // "no items!"
  kPoomInvalidIndex = 6,     // "invalid index!"
  kPoomLateLogon = 7,        // logon succeeded only at a later attempt
  kPoomError = -1,           // "Error!"
};

// ---- Contact records -----------------------------------------------------------------------
// Field ids: the two dates, then the 47 strings in the store's order; the Oid comes last.
enum ContactFieldId : int {
  kAnniversaryId = 0, kBirthdayId, kBusinessFaxNumberId, kCompanyNameId, kDepartmentId, kEmail1AddressId,
  kMobileTelephoneNumberId, kOfficeLocationId, kPagerNumberId, kBusinessTelephoneNumberId, kJobTitleId,
  kHomeTelephoneNumberId, kEmail2AddressId, kSpouseId, kEmail3AddressId, kHome2TelephoneNumberId,
  kHomeFaxNumberId, kCarTelephoneNumberId, kAssistantNameId, kAssistantTelephoneNumberId, kChildrenId,
  kCategoriesId, kWebPageId, kBusiness2TelephoneNumberId, kRadioTelephoneNumberId, kFileAsId,
  kYomiCompanyNameId, kYomiFirstNameId, kYomiLastNameId, kTitleId, kFirstNameId, kMiddleNameId, kLastNameId,
  kSuffixId, kHomeAddressStreetId, kHomeAddressCityId, kHomeAddressStateId, kHomeAddressPostalCodeId,
  kHomeAddressCountryId, kOtherAddressStreetId, kOtherAddressCityId, kOtherAddressStateId,
  kOtherAddressPostalCodeId, kOtherAddressCountryId, kBusinessAddressStreetId, kBusinessAddressCityId,
  kBusinessAddressStateId, kBusinessAddressPostalCodeId, kBusinessAddressCountryId,
};
constexpr int kFirstStringFieldId = kBusinessFaxNumberId;
constexpr int kContactFieldCount = 49;
constexpr int kContactStringCount = kContactFieldCount - kFirstStringFieldId;

// The store's own value for an unset date (1 January 4501); 0.0 means unset too.
constexpr DATE kStoreNoDate = 949998.0;
constexpr bool IsNoDate(DATE date) { return date == 0.0 || date == kStoreNoDate; }

// One contact. A string field is a nullable pointer to a string the record owns (a BSTR);
// null and empty both mean not set. Oid -1 marks a record not stored yet. Records move; a
// copy is made with CopyContactRecord.
struct ContactRecord {
  DATE Anniversary = 0.0;
  DATE Birthday = 0.0;
  WCHAR* strings[kContactStringCount] = {};  // field ids 2..48
  LONG Oid = -1;

  ContactRecord() = default;
  ~ContactRecord();
  ContactRecord(ContactRecord&& other) noexcept;
  ContactRecord& operator=(ContactRecord&& other) noexcept;
  ContactRecord(const ContactRecord&) = delete;
  ContactRecord& operator=(const ContactRecord&) = delete;
};

// The string of field `id` (2..48), or null when it is not set (also for an empty string).
LPCWSTR ContactString(const ContactRecord& record, int id);
// Replaces field `id` (2..48) with a copy of `text`; an empty text clears it.
void SetContactString(ContactRecord& record, int id, std::u16string_view text);
// Takes over `text` (a BSTR) as field `id`, releasing the old value.
void AdoptContactString(ContactRecord& record, int id, WCHAR* text);
DATE ContactDate(const ContactRecord& record, int id);  // id 0 or 1
void SetContactDate(ContactRecord& record, int id, DATE date);
// Releases every string and sets every field to zero and the Oid to `oid`.
void ClearContactRecord(ContactRecord& record, LONG oid = -1);
ContactRecord CopyContactRecord(const ContactRecord& record);
// Every field zero or null and the Oid -1.
bool IsEmptyRecord(const ContactRecord& record);
// The store property name of a field id ("FileAs"), or "" outside 0..48.
const char* ContactFieldName(int id);

// ---- Appointment records --------------------------------------------------------------------
struct RecipientEntry {
  WCHAR* Name = nullptr;
  WCHAR* Address = nullptr;
};

struct AppointmentRecord {
  SYSTEMTIME Start = {};
  SYSTEMTIME End = {};
  WCHAR* Subject = nullptr;
  WCHAR* Body = nullptr;
  std::int32_t recipientCount = 0;
  RecipientEntry* recipients = nullptr;
  LONG Oid = -1;

  AppointmentRecord() = default;
  ~AppointmentRecord();
  AppointmentRecord(const AppointmentRecord&) = delete;
  AppointmentRecord& operator=(const AppointmentRecord&) = delete;
};
void ClearAppointmentRecord(AppointmentRecord& record);
// Appends a recipient (copies of both strings).
void AddRecipient(AppointmentRecord& record, std::u16string_view name, std::u16string_view address);

// ---- Operations -------------------------------------------------------------------------------
void PoomConnect();
HRESULT PoomLogon();  // the last Logon result
std::int32_t PoomLogoff();
// Releases the application object and the kept collections (a new PoomConnect starts afresh).
void PoomRelease();
// Replaces `records` with the list set of every contact, in store order, once the walk ends.
std::int32_t PoomLoadContacts(std::vector<ContactRecord>& records);
std::int32_t PoomReadContactAt(int position, ContactRecord& record, bool full);
std::int32_t PoomReadContactById(LONG oid, ContactRecord& record, bool full);
LONG PoomCreateContact(const ContactRecord& record);
LONG PoomReplaceContact(LONG oid, const ContactRecord& record);
std::int32_t PoomDeleteContactById(LONG oid);
std::int32_t PoomDeleteContactAt(int position);
std::int32_t PoomFindAppointmentsInRange(const SYSTEMTIME& from, const SYSTEMTIME& to, std::vector<LONG>& oids);
std::int32_t PoomReadAppointmentAt(int position, AppointmentRecord& record);
std::int32_t PoomReadAppointmentById(LONG oid, AppointmentRecord& record);
LONG PoomCreateAppointment(const AppointmentRecord& record);
std::int32_t PoomDeleteAppointmentAt(int position);
std::int32_t PoomDeleteAppointmentById(LONG oid);
LONG PoomReplaceAppointmentAt(int position, const AppointmentRecord& record);
LONG PoomReplaceAppointmentById(LONG oid, const AppointmentRecord& record);
std::int32_t PoomReportStatus(std::int32_t code);
std::int32_t PoomReportFault(const char* sourcePath, int line, DWORD exceptionCode);

// The text PoomReportStatus shows for `code` (empty for 0 and unknown codes).
std::u16string_view PoomStatusText(std::int32_t code);

// Several changes as one store transaction (for importing contacts). Between Begin and End,
// creations and deletions land together when End commits, or not at all.
bool PoomBeginChanges();
bool PoomEndChanges(bool commit);
// The contact another address book knows by `uid` (a vCard UID), or 0.
LONG PoomFindContactByUid(std::u16string_view uid);
bool PoomSetContactUid(LONG oid, std::u16string_view uid);
// Creates a contact as PoomCreateContact does, with its notes (`body`, written before the
// save) and its UID; returns the new Oid or -1.
LONG PoomCreateContactWithExtras(const ContactRecord& record, std::u16string_view uid, std::u16string_view body);
// The UID and the notes of a stored contact (empty when it has none); false when the Oid
// names no contact.
bool PoomReadContactExtras(LONG oid, std::u16string* uid, std::u16string* body);

// Where reports go. By default a modal message box without owner and with an OK button, shown
// on the user-interface thread. A command-line tool or a test installs its own.
using PoomMessageSink = void (*)(std::u16string_view text, std::u16string_view caption);
void SetPoomMessageSink(PoomMessageSink sink);  // null: the message box again
void ShowPendingPoomReports();

// ---- The contact list -------------------------------------------------------------------------
// The program's copy of all contacts (list set only), sorted by CompareContacts at all times,
// and the contacts-ready flag: 0 until a load has completed, published with release semantics
// after the list is complete and read with acquire semantics.
struct ContactList {
  std::vector<ContactRecord> records;
  std::atomic<std::int32_t> ready{0};
  std::int32_t count() const { return static_cast<std::int32_t>(records.size()); }
};
ContactList& TheContactList();

void ContactListRemove(LONG oid);
void ContactListInsert(ContactRecord record);
void ContactListClear();
// LastName immediately followed by FirstName, folded to lower case, compared code unit by code
// unit: negative, zero or positive.
int CompareContacts(const ContactRecord& a, const ContactRecord& b);

// The loader thread's function: connect, load, sort, set the ready flag. Returns 0.
DWORD ContactLoader(LPVOID unused);
// Starts ContactLoader on a new thread; the handle is the caller's to keep (never waited for
// at start-up).
HANDLE StartContactLoader();
// After a new contact is saved: waits for a load still running, clears the list and starts a
// new load. Returns the new thread's handle.
HANDLE ReloadContacts();
// Waits, polling every 10 ms, until the ready flag is set, then shows the loader's pending
// reports. Returns at once when no loader was ever started.
void WaitForContacts();
