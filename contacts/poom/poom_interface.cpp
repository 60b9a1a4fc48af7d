// The Pocket Outlook interface: operations on contacts and appointments over the device's
// personal-information store, each inside a guard, and the status and fault reports.
#include "contacts/poom/poom_interface.h"

#include <device/dialogs.h>

#include <cstdio>
#include <mutex>
#include <new>
#include <string>

namespace {

// The module's source path as the fault report names it, and the guard line of each operation.
constexpr char kModulePath[] = "poom\\poom_interface.cpp";
enum GuardLine : int {
  kConnectLine = 90,
  kLogoffLine = 101,
  kLogonLine = 126,
  kFindAppointmentsLine = 202,
  kLoadContactsLine = 274,
  kReadAppointmentAtLine = 342,
  kReadContactAtLine = 436,
  kReadContactByIdLine = 516,
  kReadAppointmentByIdLine = 582,
  kCreateAppointmentLine = 669,
  kCreateContactLine = 1058,
  kReplaceAppointmentAtLine = 1073,
  kReplaceAppointmentByIdLine = 1090,
  kDeleteAppointmentAtLine = 1125,
  kDeleteAppointmentByIdLine = 1158,
  kReplaceContactLine = 1174,
  kDeleteContactAtLine = 1209,
  kDeleteContactByIdLine = 1242,
};

constexpr DWORD kOutOfMemoryFault = 0xC0000017;
constexpr int kLogonAttempts = 4;
constexpr DWORD kLogonWaitStepMs = 300;

struct StatusRow {
  std::int32_t code;
  std::u16string_view text;
};
constexpr StatusRow kStatusTexts[] = {
    {kPoomNoClsid,        u"Failed to load CLSID!"},
    {kPoomNoInstance,     u"Instance is not created!"},
    {kPoomLoginFailed,    u"failed to login!"},
    {kPoomBadRestriction, u"error in restriction!"},
    {kPoomNoItems,        u"no items!"},
    {kPoomInvalidIndex,   u"invalid index!"},
    {kPoomError,          u"Error!"},
    {kPoomLateLogon,      u"Logged on after several attempts."},
};

// A counted reference that releases its object; `Put` gives the out pointer of a call, cleared
// first.
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* object) : p_(object) {}
  ~Ref() { Reset(); }
  Ref(const Ref& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  Ref& operator=(const Ref& other) {
    if (other.p_) other.p_->AddRef();
    Reset();
    p_ = other.p_;
    return *this;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** Put() {
    Reset();
    return &p_;
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // The object's interface `U`, or an empty reference.
  template <class U>
  Ref<U> As(REFIID iid) const {
    Ref<U> result;
    if (p_ && FAILED(p_->QueryInterface(iid, reinterpret_cast<LPVOID*>(result.Put())))) result.Reset();
    return result;
  }

 private:
  T* p_ = nullptr;
};

// The module state: the application object and the two kept collections. Guarded by a mutex
// so that the loader thread can replace them while the user-interface thread holds its own
// references.
struct PoomState {
  std::mutex mutex;
  Ref<IPOutlookApp> app;
  Ref<IPOutlookItemCollection> contacts;
  Ref<IPOutlookItemCollection> calendar;
};

PoomState& State() {
  static PoomState* state = new PoomState;  // never destroyed: the loader may outlive main
  return *state;
}

Ref<IPOutlookApp> App() {
  std::lock_guard lock(State().mutex);
  return State().app;
}
Ref<IPOutlookItemCollection> Contacts() {
  std::lock_guard lock(State().mutex);
  return State().contacts;
}
Ref<IPOutlookItemCollection> Calendar() {
  std::lock_guard lock(State().mutex);
  return State().calendar;
}

// ---- Reporting --------------------------------------------------------------------------------
struct Reports {
  std::mutex mutex;
  PoomMessageSink sink = nullptr;
  std::vector<std::pair<std::u16string, std::u16string>> pending;  // text, caption
};

Reports& TheReports() {
  static Reports* reports = new Reports;
  return *reports;
}

thread_local bool onLoaderThread = false;

void ShowMessage(std::u16string_view text, std::u16string_view caption) {
  Reports& reports = TheReports();
  PoomMessageSink sink;
  {
    std::lock_guard lock(reports.mutex);
    sink = reports.sink;
    if (!sink && onLoaderThread) {
      reports.pending.emplace_back(text, caption);
      return;
    }
  }
  if (sink) {
    sink(text, caption);
    return;
  }
  std::u16string textCopy(text), captionCopy(caption);
  MessageBox(nullptr, textCopy.c_str(), captionCopy.c_str(), MB_OK);
}

// Runs `body` inside the operation's guard; after a fault, reports it and returns `onFault()`.
template <class Body, class OnFault>
auto Guarded(int line, Body body, OnFault onFault) -> decltype(body()) {
  try {
    return body();
  } catch (const device::PimFault& fault) {
    PoomReportFault(kModulePath, line, fault.code);
  } catch (const std::bad_alloc&) {
    PoomReportFault(kModulePath, line, kOutOfMemoryFault);
  }
  return onFault();
}

// ---- Field access -----------------------------------------------------------------------------
struct StringAccessor {
  HRESULT (IContact::*get)(BSTR*);
  HRESULT (IContact::*put)(BSTR);
};

// The store's getters and putters of the string fields, by field id - 2 (the store declares
// its properties in field id order).
constexpr StringAccessor kStringAccessors[] = {
#define POOM_ACCESSOR(name) {&IContact::get_##name, &IContact::put_##name},
    PIM_CONTACT_STRING_PROPERTIES(POOM_ACCESSOR)
#undef POOM_ACCESSOR
};
static_assert(std::size(kStringAccessors) == kContactStringCount);

enum class FieldSet { kList, kBrief, kFull };

constexpr int kListSetIds[] = {kMobileTelephoneNumberId, kBusinessTelephoneNumberId, kFirstNameId, kLastNameId,
                               kJobTitleId, kCompanyNameId, kFileAsId};
constexpr int kBriefSetIds[] = {kMobileTelephoneNumberId, kBusinessTelephoneNumberId, kFirstNameId, kLastNameId,
                                kJobTitleId, kCompanyNameId};

void ReadString(IContact* contact, ContactRecord& record, int id) {
  BSTR value = nullptr;
  (contact->*kStringAccessors[id - kFirstStringFieldId].get)(&value);
  AdoptContactString(record, id, value);
}

// The getters of the set, each writing straight into its field, then the Oid.
void ReadFields(IContact* contact, ContactRecord& record, FieldSet set) {
  switch (set) {
    case FieldSet::kList:
      for (int id : kListSetIds) ReadString(contact, record, id);
      break;
    case FieldSet::kBrief:
      for (int id : kBriefSetIds) ReadString(contact, record, id);
      break;
    case FieldSet::kFull:
      contact->get_Anniversary(&record.Anniversary);
      contact->get_Birthday(&record.Birthday);
      for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) ReadString(contact, record, id);
      break;
  }
  contact->get_Oid(&record.Oid);
}

// Writes the dates that are set (a stored 949998.0 goes back unchanged) and every string field
// that is not null, in field id order, each through a freshly allocated store string.
void WriteFields(IContact* contact, const ContactRecord& record) {
  if (record.Anniversary != 0.0) contact->put_Anniversary(record.Anniversary);
  if (record.Birthday != 0.0) contact->put_Birthday(record.Birthday);
  for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) {
    const WCHAR* text = record.strings[id - kFirstStringFieldId];
    if (!text) continue;
    BSTR value = SysAllocString(text);
    (contact->*kStringAccessors[id - kFirstStringFieldId].put)(value);
    SysFreeString(value);
  }
}

// ---- Contacts and appointments without their guards ---------------------------------------------
std::int32_t ReadContact(Ref<IDispatch> item, ContactRecord& record, FieldSet set) {
  if (!item) return kPoomInvalidIndex;
  Ref<IContact> contact = item.As<IContact>(IID_IContact);
  if (!contact) return kPoomInvalidIndex;
  ReadFields(contact.get(), record, set);
  return kPoomOk;
}

LONG CreateContact(const ContactRecord& record, std::u16string_view body = {}) {
  Ref<IPOutlookApp> app = App();
  if (!app) return PoomReportStatus(kPoomNoInstance), kPoomError;
  Ref<IDispatch> item;
  app->CreateItem(olContactItem, item.Put());
  Ref<IContact> contact = item.As<IContact>(IID_IContact);
  if (!contact) return PoomReportStatus(kPoomError);
  WriteFields(contact.get(), record);
  if (!body.empty()) {
    BSTR value = SysAllocStringLen(body.data(), static_cast<UINT>(body.size()));
    contact->put_Body(value);
    SysFreeString(value);
  }
  if (FAILED(contact->Save())) return PoomReportStatus(kPoomError);
  LONG oid = kPoomError;
  contact->get_Oid(&oid);
  return oid;
}

std::int32_t DeleteItemById(LONG oid, REFIID iid) {
  Ref<IPOutlookApp> app = App();
  if (!app) return PoomReportStatus(kPoomNoInstance);
  Ref<IDispatch> item;
  app->GetItemFromOid(oid, item.Put());
  if (iid == IID_IContact) {
    Ref<IContact> contact = item.As<IContact>(iid);
    if (!contact || FAILED(contact->Delete())) return PoomReportStatus(kPoomInvalidIndex);
  } else {
    Ref<IAppointment> appointment = item.As<IAppointment>(iid);
    if (!appointment || FAILED(appointment->Delete())) return PoomReportStatus(kPoomInvalidIndex);
  }
  return kPoomOk;
}

std::int32_t DeleteItemAt(const Ref<IPOutlookItemCollection>& items, int position, REFIID iid) {
  if (!items) return PoomReportStatus(kPoomNoItems);
  Ref<IDispatch> item;
  items->Item(position, item.Put());
  bool deleted = false;
  if (iid == IID_IContact) {
    Ref<IContact> contact = item.As<IContact>(iid);
    deleted = contact && SUCCEEDED(contact->Delete());
  } else {
    Ref<IAppointment> appointment = item.As<IAppointment>(iid);
    deleted = appointment && SUCCEEDED(appointment->Delete());
  }
  return deleted ? kPoomOk : PoomReportStatus(kPoomInvalidIndex);
}

void ToSystemTime(DATE date, SYSTEMTIME& time) {
  time = SYSTEMTIME{};
  VariantTimeToSystemTime(date, &time);
}

BSTR TakeString(IAppointment* appointment, HRESULT (IAppointment::*get)(BSTR*)) {
  BSTR value = nullptr;
  (appointment->*get)(&value);
  return value;
}

std::int32_t ReadAppointment(Ref<IDispatch> item, AppointmentRecord& record) {
  Ref<IAppointment> appointment = item.As<IAppointment>(IID_IAppointment);
  if (!appointment) return kPoomInvalidIndex;
  record.Subject = TakeString(appointment.get(), &IAppointment::get_Subject);
  record.Body = TakeString(appointment.get(), &IAppointment::get_Body);
  DATE start = 0, end = 0;
  appointment->get_Start(&start);
  ToSystemTime(start, record.Start);
  appointment->get_End(&end);
  ToSystemTime(end, record.End);
  appointment->get_Oid(&record.Oid);
  Ref<IRecipients> recipients;
  appointment->get_Recipients(recipients.Put());
  int count = 0;
  if (recipients) recipients->get_Count(&count);
  for (int i = 1; i <= count; ++i) {
    Ref<IRecipient> recipient;
    recipients->Item(i, recipient.Put());
    if (!recipient) continue;
    BSTR name = nullptr, address = nullptr;
    recipient->get_Name(&name);
    recipient->get_Address(&address);
    AddRecipient(record, name ? name : u"", address ? address : u"");
    SysFreeString(name);
    SysFreeString(address);
  }
  return kPoomOk;
}

DATE ToDate(const SYSTEMTIME& time) {
  DATE date = 0;
  SystemTimeToVariantTime(&time, &date);
  return date;
}

LONG CreateAppointment(const AppointmentRecord& record) {
  Ref<IPOutlookApp> app = App();
  if (!app) return PoomReportStatus(kPoomNoInstance), kPoomError;
  Ref<IDispatch> item;
  app->CreateItem(olAppointmentItem, item.Put());
  Ref<IAppointment> appointment = item.As<IAppointment>(IID_IAppointment);
  if (!appointment) return PoomReportStatus(kPoomError);
  appointment->put_Start(ToDate(record.Start));
  appointment->put_End(ToDate(record.End));
  for (auto [text, put] : {std::pair{record.Subject, &IAppointment::put_Subject},
                           std::pair{record.Body, &IAppointment::put_Body}}) {
    if (!text) continue;
    BSTR value = SysAllocString(text);
    (appointment.get()->*put)(value);
    SysFreeString(value);
  }
  Ref<IRecipients> recipients;
  appointment->get_Recipients(recipients.Put());
  for (int i = 0; recipients && i < record.recipientCount; ++i) {
    BSTR name = SysAllocString(record.recipients[i].Name ? record.recipients[i].Name : u"");
    BSTR address = SysAllocString(record.recipients[i].Address ? record.recipients[i].Address : u"");
    Ref<IRecipient> recipient;
    recipients->Add(name, recipient.Put());
    if (recipient) recipient->put_Address(address);
    SysFreeString(name);
    SysFreeString(address);
  }
  if (FAILED(appointment->Save())) return PoomReportStatus(kPoomError);
  LONG oid = kPoomError;
  appointment->get_Oid(&oid);
  return oid;
}

// Deletes by `remove`, then creates from `record`, in one store transaction: either the new
// item exists under its new Oid or the old one is untouched.
template <class Remove, class Create>
LONG ReplaceInOneChange(Remove remove, Create create) {
  bool changing = PoomBeginChanges();
  std::int32_t status = remove();
  if (status != kPoomOk) {
    if (changing) PoomEndChanges(false);
    return status;
  }
  LONG oid = create();
  if (oid < 0) {
    if (changing) PoomEndChanges(false);
    return kPoomError;
  }
  if (changing && !PoomEndChanges(true)) return PoomReportStatus(kPoomError);
  return oid;
}

// The transaction of ReplaceInOneChange is rolled back when its guard caught a fault.
LONG RollBackAfterFault() {
  PoomEndChanges(false);
  return kPoomError;
}

}  // namespace

// ---- Reporting ----------------------------------------------------------------------------------
std::u16string_view PoomStatusText(std::int32_t code) {
  for (const StatusRow& row : kStatusTexts) {
    if (row.code == code) return row.text;
  }
  return {};
}

std::int32_t PoomReportStatus(std::int32_t code) {
  if (code == kPoomOk) return kPoomOk;
  ShowMessage(PoomStatusText(code), u"error");
  return code;
}

std::int32_t PoomReportFault(const char* sourcePath, int line, DWORD exceptionCode) {
  // The path's bytes are widened one by one to UTF-16 code units.
  std::u16string path;
  for (const char* p = sourcePath ? sourcePath : ""; *p; ++p) path += static_cast<char16_t>(static_cast<unsigned char>(*p));
  char tail[80];
  std::snprintf(tail, sizeof tail, "\nline num: %d\n error code: %x ", line, exceptionCode);
  std::u16string text = u"file : \n " + path;
  for (const char* p = tail; *p; ++p) text += static_cast<char16_t>(*p);
  ShowMessage(text, u"exception");
  return 1;  // handle the fault: the guarded operation ends
}

void SetPoomMessageSink(PoomMessageSink sink) {
  std::lock_guard lock(TheReports().mutex);
  TheReports().sink = sink;
}

void ShowPendingPoomReports() {
  std::vector<std::pair<std::u16string, std::u16string>> pending;
  {
    std::lock_guard lock(TheReports().mutex);
    pending.swap(TheReports().pending);
  }
  for (const auto& [text, caption] : pending) ShowMessage(text, caption);
}

namespace poom_internal {
void MarkLoaderThread() { onLoaderThread = true; }
}  // namespace poom_internal

// ---- Connection ---------------------------------------------------------------------------------
void PoomConnect() {
  Guarded(kConnectLine, [] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(kPocketOutlookProgId, &clsid))) {
      PoomReportStatus(kPoomNoClsid);
      return;
    }
    Ref<IPOutlookApp> app;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                reinterpret_cast<LPVOID*>(app.Put())))) {
      PoomReportStatus(kPoomNoInstance);
      return;
    }
    Ref<IPOutlookApp> earlier;
    {
      std::lock_guard lock(State().mutex);
      earlier = State().app;
      State().app = app;
    }
    if (earlier) earlier->Logoff();
    PoomLogon();
  }, [] {});
}

HRESULT PoomLogon() {
  HRESULT result = E_FAIL;
  Guarded(kLogonLine, [&] {
    Ref<IPOutlookApp> app = App();
    if (!app) return;
    int attempts = 0;
    // The wait follows every attempt, the successful one included.
    do {
      result = app->Logon(0);
      ++attempts;
      Sleep(static_cast<DWORD>(attempts) * kLogonWaitStepMs);
    } while (FAILED(result) && attempts < kLogonAttempts);
    if (attempts > 1 && SUCCEEDED(result)) PoomReportStatus(kPoomLateLogon);
  }, [] {});
  return result;
}

std::int32_t PoomLogoff() {
  return Guarded(kLogoffLine, [] {
    Ref<IPOutlookApp> app = App();
    if (app) app->Logoff();
    return std::int32_t{kPoomOk};
  }, [] { return std::int32_t{kPoomOk}; });
}

void PoomRelease() {
  Ref<IPOutlookApp> app;
  Ref<IPOutlookItemCollection> contacts, calendar;
  {
    std::lock_guard lock(State().mutex);
    std::swap(app, State().app);
    std::swap(contacts, State().contacts);
    std::swap(calendar, State().calendar);
  }
}

// ---- Contacts -------------------------------------------------------------------------------------
std::int32_t PoomLoadContacts(std::vector<ContactRecord>& records) {
  return Guarded(kLoadContactsLine, [&]() -> std::int32_t {
    Ref<IPOutlookApp> app = App();
    if (!app) return kPoomError;
    Ref<IFolder> folder;
    Ref<IPOutlookItemCollection> items;
    if (FAILED(app->GetDefaultFolder(olFolderContacts, folder.Put())) || !folder) return kPoomError;
    if (FAILED(folder->get_Items(items.Put())) || !items) return kPoomError;
    items->put_IncludeRecurrences(VARIANT_TRUE);
    Ref<IPOutlookItemCollection> collection = items.As<IPOutlookItemCollection>(IID_IPOutlookItemCollection);
    if (!collection) return kPoomError;
    {
      std::lock_guard lock(State().mutex);
      State().contacts = collection;
    }
    std::vector<ContactRecord> loaded;
    for (int position = 1;; ++position) {
      ContactRecord scratch;
      if (PoomReadContactAt(position, scratch, false) == kPoomInvalidIndex) break;
      loaded.push_back(std::move(scratch));
    }
    records = std::move(loaded);
    return kPoomOk;
  }, [] { return std::int32_t{kPoomError}; });
}

std::int32_t PoomReadContactAt(int position, ContactRecord& record, bool full) {
  return Guarded(kReadContactAtLine, [&] {
    Ref<IPOutlookItemCollection> contacts = Contacts();
    if (!contacts) return PoomReportStatus(kPoomNoItems);
    ClearContactRecord(record, 0);
    Ref<IDispatch> item;
    contacts->Item(position, item.Put());
    return ReadContact(item, record, full ? FieldSet::kFull : FieldSet::kList);
  }, [] { return PoomReportStatus(kPoomNoItems); });
}

std::int32_t PoomReadContactById(LONG oid, ContactRecord& record, bool full) {
  return Guarded(kReadContactByIdLine, [&] {
    if (!Contacts()) return PoomReportStatus(kPoomNoItems);
    ClearContactRecord(record, 0);
    Ref<IPOutlookApp> app = App();
    Ref<IDispatch> item;
    if (app) app->GetItemFromOid(oid, item.Put());
    return ReadContact(item, record, full ? FieldSet::kFull : FieldSet::kBrief);
  }, [] { return PoomReportStatus(kPoomNoItems); });
}

LONG PoomCreateContact(const ContactRecord& record) {
  return Guarded(kCreateContactLine, [&] { return CreateContact(record); }, [] { return LONG{kPoomError}; });
}

LONG PoomReplaceContact(LONG oid, const ContactRecord& record) {
  return Guarded(kReplaceContactLine, [&] {
    return ReplaceInOneChange([&] { return PoomDeleteContactById(oid); }, [&] { return PoomCreateContact(record); });
  }, RollBackAfterFault);
}

std::int32_t PoomDeleteContactById(LONG oid) {
  return Guarded(kDeleteContactByIdLine, [&] { return DeleteItemById(oid, IID_IContact); },
                 [] { return std::int32_t{kPoomError}; });
}

std::int32_t PoomDeleteContactAt(int position) {
  return Guarded(kDeleteContactAtLine, [&] { return DeleteItemAt(Contacts(), position, IID_IContact); },
                 [] { return PoomReportStatus(kPoomNoItems); });
}

// ---- Appointments ---------------------------------------------------------------------------------
namespace {

// The device's short date format (M/d/yyyy), as the calendar's restriction expects it.
std::u16string ShortDate(const SYSTEMTIME& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%u/%u/%u", time.wMonth, time.wDay, time.wYear);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

std::int32_t PoomFindAppointmentsInRange(const SYSTEMTIME& from, const SYSTEMTIME& to, std::vector<LONG>& oids) {
  return Guarded(kFindAppointmentsLine, [&]() -> std::int32_t {
    Ref<IPOutlookApp> app = App();
    if (!app) return kPoomError;
    Ref<IFolder> folder;
    Ref<IPOutlookItemCollection> items;
    if (FAILED(app->GetDefaultFolder(olFolderCalendar, folder.Put())) || !folder) return kPoomError;
    if (FAILED(folder->get_Items(items.Put())) || !items) return kPoomError;
    items->put_IncludeRecurrences(VARIANT_TRUE);
    std::u16string text = u"[Start]>\"" + ShortDate(from) + u" \" AND [Start]<\"" + ShortDate(to) + u" \"";
    BSTR restriction = SysAllocString(text.c_str());
    Ref<IPOutlookItemCollection> restricted;
    HRESULT hr = items->Restrict(restriction, restricted.Put());
    SysFreeString(restriction);
    if (FAILED(hr) || !restricted) return PoomReportStatus(kPoomError);
    Ref<IPOutlookItemCollection> collection = restricted.As<IPOutlookItemCollection>(IID_IPOutlookItemCollection);
    if (!collection) return kPoomError;
    {
      std::lock_guard lock(State().mutex);
      State().calendar = collection;
    }
    std::vector<LONG> found;
    for (int position = 1;; ++position) {
      AppointmentRecord scratch;
      if (PoomReadAppointmentAt(position, scratch) == kPoomInvalidIndex) break;
      found.push_back(scratch.Oid);
    }
    oids = std::move(found);
    return kPoomOk;
  }, [] { return std::int32_t{kPoomError}; });
}

std::int32_t PoomReadAppointmentAt(int position, AppointmentRecord& record) {
  return Guarded(kReadAppointmentAtLine, [&] {
    Ref<IPOutlookItemCollection> calendar = Calendar();
    if (!calendar) return PoomReportStatus(kPoomNoItems);
    ClearAppointmentRecord(record);
    Ref<IDispatch> item;
    calendar->Item(position, item.Put());
    return ReadAppointment(item, record);
  }, [] { return PoomReportStatus(kPoomNoItems); });
}

std::int32_t PoomReadAppointmentById(LONG oid, AppointmentRecord& record) {
  return Guarded(kReadAppointmentByIdLine, [&] {
    ClearAppointmentRecord(record);
    Ref<IPOutlookApp> app = App();
    Ref<IDispatch> item;
    if (app) app->GetItemFromOid(oid, item.Put());
    return ReadAppointment(item, record);
  }, [] { return std::int32_t{kPoomError}; });
}

LONG PoomCreateAppointment(const AppointmentRecord& record) {
  return Guarded(kCreateAppointmentLine, [&] { return CreateAppointment(record); }, [] { return LONG{kPoomError}; });
}

std::int32_t PoomDeleteAppointmentAt(int position) {
  return Guarded(kDeleteAppointmentAtLine, [&] { return DeleteItemAt(Calendar(), position, IID_IAppointment); },
                 [] { return PoomReportStatus(kPoomNoItems); });
}

std::int32_t PoomDeleteAppointmentById(LONG oid) {
  return Guarded(kDeleteAppointmentByIdLine, [&] { return DeleteItemById(oid, IID_IAppointment); },
                 [] { return std::int32_t{kPoomError}; });
}

LONG PoomReplaceAppointmentAt(int position, const AppointmentRecord& record) {
  return Guarded(kReplaceAppointmentAtLine, [&] {
    return ReplaceInOneChange([&] { return PoomDeleteAppointmentAt(position); },
                              [&] { return PoomCreateAppointment(record); });
  }, RollBackAfterFault);
}

LONG PoomReplaceAppointmentById(LONG oid, const AppointmentRecord& record) {
  return Guarded(kReplaceAppointmentByIdLine, [&] {
    return ReplaceInOneChange([&] { return PoomDeleteAppointmentById(oid); },
                              [&] { return PoomCreateAppointment(record); });
  }, RollBackAfterFault);
}

// ---- Changes as one transaction, and UIDs --------------------------------------------------------
// These four run inside guards of their own; a caught fault counts as a failure.
bool PoomBeginChanges() {
  return Guarded(__LINE__, [] {
    Ref<IPimChanges> changes = App().As<IPimChanges>(IID_IPimChanges);
    return changes && SUCCEEDED(changes->BeginChanges());
  }, [] { return false; });
}

bool PoomEndChanges(bool commit) {
  return Guarded(__LINE__, [&] {
    Ref<IPimChanges> changes = App().As<IPimChanges>(IID_IPimChanges);
    return changes && SUCCEEDED(commit ? changes->CommitChanges() : changes->RollbackChanges());
  }, [] { return false; });
}

LONG PoomFindContactByUid(std::u16string_view uid) {
  return Guarded(__LINE__, [&] {
    Ref<IPimChanges> changes = App().As<IPimChanges>(IID_IPimChanges);
    if (!changes || uid.empty()) return LONG{0};
    BSTR text = SysAllocStringLen(uid.data(), static_cast<UINT>(uid.size()));
    LONG oid = 0;
    changes->FindContactByUid(text, &oid);
    SysFreeString(text);
    return oid;
  }, [] { return LONG{0}; });
}

bool PoomSetContactUid(LONG oid, std::u16string_view uid) {
  return Guarded(__LINE__, [&] {
    Ref<IPimChanges> changes = App().As<IPimChanges>(IID_IPimChanges);
    if (!changes) return false;
    BSTR text = SysAllocStringLen(uid.data(), static_cast<UINT>(uid.size()));
    bool set = SUCCEEDED(changes->SetContactUid(oid, text));
    SysFreeString(text);
    return set;
  }, [] { return false; });
}

LONG PoomCreateContactWithExtras(const ContactRecord& record, std::u16string_view uid, std::u16string_view body) {
  return Guarded(kCreateContactLine, [&] {
    LONG oid = CreateContact(record, body);
    if (oid > 0 && !uid.empty() && !PoomSetContactUid(oid, uid)) return LONG{kPoomError};
    return oid;
  }, [] { return LONG{kPoomError}; });
}

bool PoomReadContactExtras(LONG oid, std::u16string* uid, std::u16string* body) {
  return Guarded(kReadContactByIdLine, [&] {
    Ref<IPOutlookApp> app = App();
    Ref<IDispatch> item;
    if (app) app->GetItemFromOid(oid, item.Put());
    Ref<IContact> contact = item.As<IContact>(IID_IContact);
    if (!contact) return false;
    BSTR text = nullptr;
    contact->get_Body(&text);
    *body = text ? std::u16string(text, SysStringLen(text)) : std::u16string();
    SysFreeString(text);
    text = nullptr;
    Ref<IPimChanges> changes = app.As<IPimChanges>(IID_IPimChanges);
    if (changes) changes->GetContactUid(oid, &text);
    *uid = text ? std::u16string(text, SysStringLen(text)) : std::u16string();
    SysFreeString(text);
    return true;
  }, [] { return false; });
}
