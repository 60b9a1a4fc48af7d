// The objects of the personal-information store (device/pim.h): application, folder, item
// collection, contact, appointment, recipients, recipient, and the store's test hooks.
//
// Each application object has its own connection to pim.sqlite of the device image that was
// current when the object was made, opened by Logon and closed when the object and every item
// read through it are released. Items hold their values in
// memory: an item is read whole when it is taken from the store and written whole by Save.
// Collections read the Oids of their folder when first asked and again whenever the store
// changed since (in this or another process).
#include "internal/pim_store.h"

#include "internal/wide_text.h"

#include <device/files.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace device::internal {
namespace {

// ---- Hooks ----------------------------------------------------------------------------------
struct Hooks {
  std::mutex mutex;
  int logonFailures = 0;
  std::string faultMethod;
  int faultSkip = 0;
  DWORD faultCode = 0;
  bool logging = false;
  std::vector<std::string> log;
  std::string storeProblem;
};

// Never destroyed: a store thread may still run while the process exits.
Hooks& TheHooks() {
  static Hooks* hooks = new Hooks;
  return *hooks;
}

template <class I>
constexpr const IID& IidOf();
template <> constexpr const IID& IidOf<IFolder>() { return IID_IFolder; }
template <> constexpr const IID& IidOf<IPOutlookItemCollection>() { return IID_IPOutlookItemCollection; }
template <> constexpr const IID& IidOf<IContact>() { return IID_IContact; }
template <> constexpr const IID& IidOf<IAppointment>() { return IID_IAppointment; }
template <> constexpr const IID& IidOf<IRecipients>() { return IID_IRecipients; }
template <> constexpr const IID& IidOf<IRecipient>() { return IID_IRecipient; }

// Reference counting and QueryInterface for an object of one interface. Drop is the store's
// own Release, which the call log does not record.
template <class Interface>
class Object : public Interface {
 public:
  virtual ~Object() = default;
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override {
    TracePimCall("QueryInterface");
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!(iid == IID_IUnknown || iid == IID_IDispatch || iid == IidOf<Interface>())) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    TracePimCall("Release");
    return Drop();
  }
  ULONG Drop() {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

BSTR NewBstr(const std::u16string& text) {
  return text.empty() ? nullptr : SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::u16string TextOf(BSTR value) { return value ? std::u16string(value, SysStringLen(value)) : std::u16string(); }

using Database = std::shared_ptr<PimDatabase>;

// ---- Contact --------------------------------------------------------------------------------
enum ContactString {
#define PIM_STRING_INDEX(name) k##name,
  PIM_CONTACT_STRING_PROPERTIES(PIM_STRING_INDEX)
#undef PIM_STRING_INDEX
};

// A date property of an item record: get copies it out, put stores it (saved by Save).
HRESULT GetDate(const char* method, DATE stored, DATE* value) {
  TracePimCall(method);
  if (!value) return E_POINTER;
  *value = stored;
  return S_OK;
}

HRESULT PutDate(const char* method, DATE& stored, DATE value) {
  TracePimCall(method);
  stored = value;
  return S_OK;
}

class Contact final : public Object<IContact> {
 public:
  Contact(Database db, PimContactRow row) : db_(std::move(db)), row_(std::move(row)) {}

#define PIM_DEFINE_STRING_PROPERTY(name)                            \
  HRESULT get_##name(BSTR* value) override {                        \
    TracePimCall("get_" #name);                                     \
    if (!value) return E_POINTER;                                   \
    *value = NewBstr(row_.strings[k##name]);                        \
    return S_OK;                                                    \
  }                                                                 \
  HRESULT put_##name(BSTR value) override {                         \
    TracePimCall("put_" #name);                                     \
    row_.strings[k##name] = TextOf(value);                          \
    return S_OK;                                                    \
  }
  PIM_CONTACT_STRING_PROPERTIES(PIM_DEFINE_STRING_PROPERTY)
#undef PIM_DEFINE_STRING_PROPERTY

  HRESULT get_Anniversary(DATE* value) override { return GetDate("get_Anniversary", row_.anniversary, value); }
  HRESULT put_Anniversary(DATE value) override { return PutDate("put_Anniversary", row_.anniversary, value); }
  HRESULT get_Birthday(DATE* value) override { return GetDate("get_Birthday", row_.birthday, value); }
  HRESULT put_Birthday(DATE value) override { return PutDate("put_Birthday", row_.birthday, value); }
  HRESULT get_Body(BSTR* value) override {
    TracePimCall("get_Body");
    if (!value) return E_POINTER;
    *value = NewBstr(row_.body);
    return S_OK;
  }
  HRESULT put_Body(BSTR value) override {
    TracePimCall("put_Body");
    row_.body = TextOf(value);
    return S_OK;
  }
  HRESULT get_Oid(LONG* oid) override {
    TracePimCall("get_Oid");
    if (!oid) return E_POINTER;
    *oid = row_.oid;
    return S_OK;
  }
  HRESULT Save() override {
    TracePimCall("Save");
    return db_->SaveContact(row_) ? S_OK : E_PIM_STORE;
  }
  HRESULT Delete() override {
    TracePimCall("Delete");
    return row_.oid != 0 && db_->DeleteItem(row_.oid, PimKind::kContact) ? S_OK : E_PIM_NOITEM;
  }

 private:
  Database db_;
  PimContactRow row_;
};

// ---- Appointment, recipients ----------------------------------------------------------------
using SharedRecipients = std::shared_ptr<std::vector<PimRecipientRow>>;

class Recipient final : public Object<IRecipient> {
 public:
  Recipient(SharedRecipients list, std::size_t index) : list_(std::move(list)), index_(index) {}
  HRESULT get_Name(BSTR* value) override { return Get("get_Name", &PimRecipientRow::name, value); }
  HRESULT get_Address(BSTR* value) override { return Get("get_Address", &PimRecipientRow::address, value); }
  HRESULT put_Address(BSTR value) override {
    TracePimCall("put_Address");
    (*list_)[index_].address = TextOf(value);
    return S_OK;
  }

 private:
  HRESULT Get(const char* method, std::u16string PimRecipientRow::*field, BSTR* value) {
    TracePimCall(method);
    if (!value) return E_POINTER;
    *value = NewBstr((*list_)[index_].*field);
    return S_OK;
  }
  SharedRecipients list_;
  std::size_t index_;
};

class Recipients final : public Object<IRecipients> {
 public:
  explicit Recipients(SharedRecipients list) : list_(std::move(list)) {}
  HRESULT get_Count(int* count) override {
    TracePimCall("get_Count");
    if (!count) return E_POINTER;
    *count = static_cast<int>(list_->size());
    return S_OK;
  }
  HRESULT Item(int index, IRecipient** recipient) override {
    TracePimCall("Item");
    if (!recipient) return E_POINTER;
    *recipient = nullptr;
    if (index < 1 || static_cast<std::size_t>(index) > list_->size()) return S_FALSE;
    *recipient = new Recipient(list_, static_cast<std::size_t>(index - 1));
    return S_OK;
  }
  HRESULT Add(BSTR name, IRecipient** recipient) override {
    TracePimCall("Add");
    list_->push_back({TextOf(name), {}});
    if (recipient) *recipient = new Recipient(list_, list_->size() - 1);
    return S_OK;
  }

 private:
  SharedRecipients list_;
};

class Appointment final : public Object<IAppointment> {
 public:
  Appointment(Database db, PimAppointmentRow row)
      : db_(std::move(db)), row_(std::move(row)),
        recipients_(std::make_shared<std::vector<PimRecipientRow>>(std::move(row_.recipients))) {}
  HRESULT get_Subject(BSTR* value) override { return GetText("get_Subject", row_.subject, value); }
  HRESULT put_Subject(BSTR value) override { return PutText("put_Subject", row_.subject, value); }
  HRESULT get_Body(BSTR* value) override { return GetText("get_Body", row_.body, value); }
  HRESULT put_Body(BSTR value) override { return PutText("put_Body", row_.body, value); }
  HRESULT get_Start(DATE* value) override { return GetDate("get_Start", row_.start, value); }
  HRESULT put_Start(DATE value) override { return PutDate("put_Start", row_.start, value); }
  HRESULT get_End(DATE* value) override { return GetDate("get_End", row_.end, value); }
  HRESULT put_End(DATE value) override { return PutDate("put_End", row_.end, value); }
  HRESULT get_Oid(LONG* oid) override {
    TracePimCall("get_Oid");
    if (!oid) return E_POINTER;
    *oid = row_.oid;
    return S_OK;
  }
  HRESULT get_Recipients(IRecipients** recipients) override {
    TracePimCall("get_Recipients");
    if (!recipients) return E_POINTER;
    *recipients = new Recipients(recipients_);
    return S_OK;
  }
  HRESULT Save() override {
    TracePimCall("Save");
    row_.recipients = *recipients_;
    return db_->SaveAppointment(row_) ? S_OK : E_PIM_STORE;
  }
  HRESULT Delete() override {
    TracePimCall("Delete");
    return row_.oid != 0 && db_->DeleteItem(row_.oid, PimKind::kAppointment) ? S_OK : E_PIM_NOITEM;
  }

 private:
  static HRESULT GetText(const char* method, const std::u16string& stored, BSTR* value) {
    TracePimCall(method);
    if (!value) return E_POINTER;
    *value = NewBstr(stored);
    return S_OK;
  }
  static HRESULT PutText(const char* method, std::u16string& stored, BSTR value) {
    TracePimCall(method);
    stored = TextOf(value);
    return S_OK;
  }

  Database db_;
  PimAppointmentRow row_;
  SharedRecipients recipients_;
};

// An item of the store as the object of its kind; null when the Oid names no item.
IDispatch* ItemFromOid(const Database& db, LONG oid) {
  switch (db->KindOf(oid)) {
    case PimKind::kContact:
      if (auto row = db->ReadContact(oid)) return new Contact(db, std::move(*row));
      return nullptr;
    case PimKind::kAppointment:
      if (auto row = db->ReadAppointment(oid)) return new Appointment(db, std::move(*row));
      return nullptr;
    default: return nullptr;
  }
}

// ---- Collections and folders ----------------------------------------------------------------
// The restriction the calendar is asked with: [Start]>"M/d/yyyy " AND [Start]<"M/d/yyyy ".
bool ParseShortDate(std::u16string_view text, DATE* date) {
  int parts[3] = {0, 0, 0};
  int part = 0;
  bool digits = false;
  for (char16_t c : text) {
    if (c >= u'0' && c <= u'9') {
      if (parts[part] > 100000) return false;
      parts[part] = parts[part] * 10 + (c - u'0');
      digits = true;
    } else if (c == u'/' && digits && part < 2) {
      ++part;
      digits = false;
    } else {
      return false;
    }
  }
  if (part != 2 || !digits) return false;
  SYSTEMTIME time{};
  time.wMonth = static_cast<WORD>(parts[0]);
  time.wDay = static_cast<WORD>(parts[1]);
  time.wYear = static_cast<WORD>(parts[2]);
  return SystemTimeToVariantTime(&time, date) != FALSE;
}

bool ParseStartRestriction(std::u16string_view text, DATE* from, DATE* to) {
  constexpr std::u16string_view kFirst = u"[Start]>\"";
  constexpr std::u16string_view kMiddle = u" \" AND [Start]<\"";
  constexpr std::u16string_view kLast = u" \"";
  if (!text.starts_with(kFirst) || !text.ends_with(kLast)) return false;
  text = text.substr(kFirst.size(), text.size() - kFirst.size() - kLast.size());
  std::size_t middle = text.find(kMiddle);
  if (middle == std::u16string_view::npos) return false;
  return ParseShortDate(text.substr(0, middle), from) && ParseShortDate(text.substr(middle + kMiddle.size()), to);
}

class Collection final : public Object<IPOutlookItemCollection> {
 public:
  Collection(Database db, PimKind kind) : db_(std::move(db)), kind_(kind) {}
  Collection(Database db, DATE from, DATE to)
      : db_(std::move(db)), kind_(PimKind::kAppointment), restricted_(true), from_(from), to_(to) {}

  HRESULT put_IncludeRecurrences(VARIANT_BOOL include) override {
    TracePimCall("put_IncludeRecurrences");
    return S_OK;  // the store keeps no recurrences, so every item is included either way
  }
  HRESULT Restrict(BSTR restriction, IPOutlookItemCollection** result) override {
    TracePimCall("Restrict");
    if (!result) return E_POINTER;
    *result = nullptr;
    DATE from = 0, to = 0;
    if (kind_ != PimKind::kAppointment || !ParseStartRestriction(TextOf(restriction), &from, &to)) return E_INVALIDARG;
    *result = new Collection(db_, from, to);
    return S_OK;
  }
  HRESULT Item(int index, IDispatch** item) override {
    TracePimCall("Item");
    if (!item) return E_POINTER;
    *item = nullptr;
    Refresh(index == 1);
    if (index < 1 || static_cast<std::size_t>(index) > oids_.size()) return S_FALSE;
    auto at = static_cast<std::size_t>(index - 1);
    if (kind_ == PimKind::kContact) *item = new Contact(db_, contacts_[at]);
    else *item = ItemFromOid(db_, oids_[at]);
    return *item ? S_OK : S_FALSE;
  }
  HRESULT get_Count(int* count) override {
    TracePimCall("get_Count");
    if (!count) return E_POINTER;
    Refresh(true);
    *count = static_cast<int>(oids_.size());
    return S_OK;
  }

 private:
  // Reads the folder's items again when they changed. Changes made through this process are
  // noticed at every call; those of other processes when a walk starts (Item(1)) or the count
  // is asked, so that a walk costs one query rather than one per item. Contacts are read whole
  // in that one query.
  void Refresh(bool walkStarts) {
    std::uint64_t version = walkStarts || !read_ ? db_->Version() : db_->LocalVersion(version_);
    if (read_ && version == version_) return;
    if (kind_ == PimKind::kContact && !restricted_) {
      contacts_ = db_->ReadContacts();
      oids_.clear();
      for (const PimContactRow& row : contacts_) oids_.push_back(row.oid);
    } else {
      oids_ = restricted_ ? db_->AppointmentOidsBetween(from_, to_) : db_->ItemOids(kind_);
    }
    version_ = version;
    read_ = true;
  }

  Database db_;
  PimKind kind_;
  bool restricted_ = false;
  DATE from_ = 0, to_ = 0;
  bool read_ = false;
  std::uint64_t version_ = 0;
  std::vector<LONG> oids_;
  std::vector<PimContactRow> contacts_;  // for the contacts folder: the rows of oids_
};

class Folder final : public Object<IFolder> {
 public:
  Folder(Database db, PimKind kind) : db_(std::move(db)), kind_(kind) {}
  HRESULT get_Items(IPOutlookItemCollection** items) override {
    TracePimCall("get_Items");
    if (!items) return E_POINTER;
    *items = new Collection(db_, kind_);
    return S_OK;
  }

 private:
  Database db_;
  PimKind kind_;
};

// ---- Application ----------------------------------------------------------------------------
class Application final : public IPOutlookApp, public IPimChanges {
 public:
  // The store belongs to the device image current when the object is made.
  Application() : image_(DeviceImageRoot()) {}
  virtual ~Application() {
    if (db_ && changing_) db_->Rollback();
  }

  HRESULT QueryInterface(REFIID iid, LPVOID* object) override {
    TracePimCall("QueryInterface");
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IPOutlookApp) {
      *object = static_cast<IPOutlookApp*>(this);
    } else if (iid == IID_IPimChanges) {
      *object = static_cast<IPimChanges*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    TracePimCall("Release");
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Logon(LONG ownerWindow) override {
    TracePimCall("Logon");
    std::lock_guard lock(mutex_);
    if (TakePimLogonFailure()) return E_FAIL;
    if (db_) return S_OK;
    std::string problem;
    db_ = PimDatabase::Open(image_, &problem);
    SetPimStoreProblem(problem);
    return db_ ? S_OK : E_PIM_STORE;
  }
  HRESULT Logoff() override {
    TracePimCall("Logoff");
    std::lock_guard lock(mutex_);
    if (db_ && changing_) db_->Rollback();
    changing_ = false;
    db_.reset();
    return S_OK;
  }
  HRESULT GetDefaultFolder(int folder, IFolder** result) override {
    TracePimCall("GetDefaultFolder");
    if (!result) return E_POINTER;
    *result = nullptr;
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    if (folder == olFolderContacts) *result = new Folder(db, PimKind::kContact);
    if (folder == olFolderCalendar) *result = new Folder(db, PimKind::kAppointment);
    return *result ? S_OK : E_INVALIDARG;
  }
  HRESULT CreateItem(int itemType, IDispatch** item) override {
    TracePimCall("CreateItem");
    if (!item) return E_POINTER;
    *item = nullptr;
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    if (itemType == olContactItem) *item = new Contact(db, PimContactRow{});
    if (itemType == olAppointmentItem) *item = new Appointment(db, PimAppointmentRow{});
    return *item ? S_OK : E_INVALIDARG;
  }
  HRESULT GetItemFromOid(LONG oid, IDispatch** item) override {
    TracePimCall("GetItemFromOid");
    if (!item) return E_POINTER;
    *item = nullptr;
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    *item = ItemFromOid(db, oid);
    return *item ? S_OK : E_PIM_NOITEM;
  }

  HRESULT BeginChanges() override {
    TracePimCall("BeginChanges");
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    if (changing_.exchange(true)) return E_FAIL;
    if (db->Begin()) return S_OK;
    changing_ = false;
    return E_PIM_STORE;
  }
  HRESULT CommitChanges() override {
    TracePimCall("CommitChanges");
    Database db = Db();
    if (!db || !changing_.exchange(false)) return E_FAIL;
    return db->Commit() ? S_OK : E_PIM_STORE;
  }
  HRESULT RollbackChanges() override {
    TracePimCall("RollbackChanges");
    Database db = Db();
    if (!db || !changing_.exchange(false)) return E_FAIL;
    db->Rollback();
    return S_OK;
  }
  HRESULT FindContactByUid(BSTR uid, LONG* oid) override {
    TracePimCall("FindContactByUid");
    if (!oid) return E_POINTER;
    *oid = 0;
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    *oid = db->FindContactByUid(TextOf(uid));
    return *oid ? S_OK : S_FALSE;
  }
  HRESULT GetContactUid(LONG oid, BSTR* uid) override {
    TracePimCall("GetContactUid");
    if (!uid) return E_POINTER;
    Database db = Db();
    *uid = nullptr;
    if (!db) return E_PIM_NOTLOGGEDON;
    *uid = NewBstr(db->ContactUid(oid));
    return S_OK;
  }
  HRESULT SetContactUid(LONG oid, BSTR uid) override {
    TracePimCall("SetContactUid");
    Database db = Db();
    if (!db) return E_PIM_NOTLOGGEDON;
    return db->SetContactUid(oid, TextOf(uid)) ? S_OK : E_PIM_NOITEM;
  }

 private:
  Database Db() {
    std::lock_guard lock(mutex_);
    return db_;
  }

  std::atomic<ULONG> refs_{1};
  const std::filesystem::path image_;
  std::mutex mutex_;
  Database db_;
  std::atomic<bool> changing_{false};
};

}  // namespace

IUnknown* CreatePimApplication() { return static_cast<IPOutlookApp*>(new Application); }

void TracePimCall(const char* method) {
  Hooks& hooks = TheHooks();
  std::lock_guard lock(hooks.mutex);
  if (hooks.logging) hooks.log.emplace_back(method);
  if (hooks.faultMethod.empty() || hooks.faultMethod != method) return;
  if (hooks.faultSkip-- > 0) return;
  DWORD code = hooks.faultCode;
  hooks.faultMethod.clear();
  throw PimFault{code};
}

bool TakePimLogonFailure() {
  Hooks& hooks = TheHooks();
  std::lock_guard lock(hooks.mutex);
  if (hooks.logonFailures == 0) return false;
  if (hooks.logonFailures > 0) --hooks.logonFailures;
  return true;
}

void SetPimStoreProblem(const std::string& problem) {
  Hooks& hooks = TheHooks();
  std::lock_guard lock(hooks.mutex);
  hooks.storeProblem = problem;
}

}  // namespace device::internal

namespace device {

std::string PimStoreProblem() {
  internal::Hooks& hooks = internal::TheHooks();
  std::lock_guard lock(hooks.mutex);
  return hooks.storeProblem;
}

void SetPimLogonFailures(int count) {
  internal::Hooks& hooks = internal::TheHooks();
  std::lock_guard lock(hooks.mutex);
  hooks.logonFailures = count;
}

void SetPimFault(std::string_view method, int skip, DWORD code) {
  internal::Hooks& hooks = internal::TheHooks();
  std::lock_guard lock(hooks.mutex);
  hooks.faultMethod = std::string(method);
  hooks.faultSkip = skip;
  hooks.faultCode = code;
}

void StartPimCallLog() {
  internal::Hooks& hooks = internal::TheHooks();
  std::lock_guard lock(hooks.mutex);
  hooks.logging = true;
  hooks.log.clear();
}

std::vector<std::string> StopPimCallLog() {
  internal::Hooks& hooks = internal::TheHooks();
  std::lock_guard lock(hooks.mutex);
  hooks.logging = false;
  return std::move(hooks.log);
}

}  // namespace device
