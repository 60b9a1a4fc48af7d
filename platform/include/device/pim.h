// The device's personal-information store, reached the way the Pocket Outlook object model is
// reached: the component library (CoInitializeEx, CLSIDFromProgID, CoCreateInstance), strings
// as BSTRs, and the objects application, folder, item collection, contact, appointment,
// recipients and recipient, each a COM-style interface with the published method names.
//
// The store is pim.sqlite in the device image (see pim_store.cpp for its shape). Its class is
// registered under the programmatic identifier "PocketOutlook.Application" in
// HKEY_CLASSES_ROOT when the device image is set up, so a program finds it only through the
// registry: deleting the registration makes CLSIDFromProgID fail as on a device without it.
//
// Implemented: the calls and methods declared here, nothing more. Objects are reference
// counted; every method returns an HRESULT. Not implemented: IDispatch invocation, events,
// the other folders (tasks, inbox), item properties not declared here, aggregation, apartment
// threading (every thread is multithreaded; objects may be used from any thread).
//
// A fault: a test can make a named method raise a platform fault (device::SetPimFault). The
// method then throws device::PimFault, the stand-in for the device's structured exception;
// callers that guard their calls catch it. Nothing else in the store throws.
#pragma once

#include <device/kernel.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ---- Component library basics ------------------------------------------------------------
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
// The store's own failures: not logged on, database unusable, item gone.
constexpr HRESULT E_PIM_NOTLOGGEDON = static_cast<HRESULT>(0x80040201);
constexpr HRESULT E_PIM_STORE = static_cast<HRESULT>(0x80040202);
constexpr HRESULT E_PIM_NOITEM = static_cast<HRESULT>(0x80040203);

inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
  friend bool operator==(const GUID&, const GUID&) = default;
};
using CLSID = GUID;
using IID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr DWORD COINIT_MULTITHREADED = 0;
constexpr DWORD CLSCTX_INPROC_SERVER = 1;

using BSTR = WCHAR*;
using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// BSTRs: a length-prefixed, zero-terminated UTF-16 string. SysAllocString(null) gives null;
// SysFreeString(null) does nothing.
BSTR SysAllocString(LPCWSTR text);
BSTR SysAllocStringLen(LPCWSTR text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

// The component library needs no per-thread set-up on the device: both calls only count.
// CoInitializeEx accepts only COINIT_MULTITHREADED (else E_INVALIDARG) and a null reserved
// pointer.
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
void CoUninitialize();

// Reads HKEY_CLASSES_ROOT\<progId>\CLSID (REG_SZ, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}").
// A missing key or a malformed value gives CO_E_CLASSSTRING and a zero class id.
HRESULT CLSIDFromProgID(LPCWSTR progId, CLSID* clsid);

struct IUnknown;
// Creates an object of a class built into the device (only the store's application object)
// and asks it for `iid`. Only CLSCTX_INPROC_SERVER without an outer object is supported;
// an unknown class gives REGDB_E_CLASSNOTREG.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object);

// ---- Interface identifiers ----------------------------------------------------------------
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr CLSID CLSID_Application = {0x05058F23, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IPOutlookApp = {0x05058F22, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IFolder = {0x05058F24, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IPOutlookItemCollection = {0x6E3DBE90, 0x5411, 0x11D3, {0x8F, 0x39, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IContact = {0x05058F25, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IAppointment = {0x05058F26, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IRecipients = {0x05058F27, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IRecipient = {0x05058F28, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
inline constexpr IID IID_IPimChanges = {0x05058F29, 0x20BE, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};

inline constexpr WCHAR kPocketOutlookProgId[] = u"PocketOutlook.Application";

// The store's own constants: folders and item types.
constexpr int olFolderCalendar = 9;
constexpr int olFolderContacts = 10;
constexpr int olAppointmentItem = 1;
constexpr int olContactItem = 2;

// ---- Interfaces ---------------------------------------------------------------------------
struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, LPVOID* object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct IDispatch : IUnknown {
 protected:
  ~IDispatch() = default;
};

struct IFolder;
struct IPOutlookItemCollection;
struct IRecipients;
struct IRecipient;

// The application. Every other method fails with E_PIM_NOTLOGGEDON until Logon succeeded,
// and again after Logoff. Logon opens pim.sqlite of the current device image (creating it);
// a file that is no database, holds a newer schema or cannot be opened makes Logon fail with
// E_PIM_STORE and device::PimStoreProblem() says why; the file is never changed then.
// CreateItem gives an unsaved item (Oid 0) whose Save stores it and gives it its Oid.
// GetItemFromOid gives S_OK and the item, or E_PIM_NOITEM and null for an Oid no item has.
struct IPOutlookApp : IDispatch {
  virtual HRESULT Logon(LONG ownerWindow) = 0;
  virtual HRESULT Logoff() = 0;
  virtual HRESULT GetDefaultFolder(int folder, IFolder** result) = 0;
  virtual HRESULT CreateItem(int itemType, IDispatch** item) = 0;
  virtual HRESULT GetItemFromOid(LONG oid, IDispatch** item) = 0;

 protected:
  ~IPOutlookApp() = default;
};

struct IFolder : IDispatch {
  virtual HRESULT get_Items(IPOutlookItemCollection** items) = 0;

 protected:
  ~IFolder() = default;
};

// The items of a folder, in the order they were stored (oldest first), 1-based. Item past the
// end gives S_FALSE and null. The collection follows the changes made through this process at
// once, and those of other processes when a walk starts again (Item(1)) or get_Count is asked.
// Restrict accepts one form, the one the programs use on the calendar:
//   [Start]>"<date> " AND [Start]<"<date> "   (dates in the device's short date format M/d/yyyy)
// and gives the items whose Start lies strictly between the two dates' midnights; any other
// text gives E_INVALIDARG.
struct IPOutlookItemCollection : IDispatch {
  virtual HRESULT put_IncludeRecurrences(VARIANT_BOOL include) = 0;
  virtual HRESULT Restrict(BSTR restriction, IPOutlookItemCollection** result) = 0;
  virtual HRESULT Item(int index, IDispatch** item) = 0;
  virtual HRESULT get_Count(int* count) = 0;

 protected:
  ~IPOutlookItemCollection() = default;
};

// The contact's string properties, in the store's order. A getter gives a new BSTR the caller
// frees, or null for a property that is not set; a putter copies its argument (null or empty
// clears the property).
#define PIM_CONTACT_STRING_PROPERTIES(X)                                                        \
  X(BusinessFaxNumber) X(CompanyName) X(Department) X(Email1Address) X(MobileTelephoneNumber)   \
  X(OfficeLocation) X(PagerNumber) X(BusinessTelephoneNumber) X(JobTitle)                       \
  X(HomeTelephoneNumber) X(Email2Address) X(Spouse) X(Email3Address) X(Home2TelephoneNumber)    \
  X(HomeFaxNumber) X(CarTelephoneNumber) X(AssistantName) X(AssistantTelephoneNumber)           \
  X(Children) X(Categories) X(WebPage) X(Business2TelephoneNumber) X(RadioTelephoneNumber)      \
  X(FileAs) X(YomiCompanyName) X(YomiFirstName) X(YomiLastName) X(Title) X(FirstName)           \
  X(MiddleName) X(LastName) X(Suffix) X(HomeAddressStreet) X(HomeAddressCity)                   \
  X(HomeAddressState) X(HomeAddressPostalCode) X(HomeAddressCountry) X(OtherAddressStreet)      \
  X(OtherAddressCity) X(OtherAddressState) X(OtherAddressPostalCode) X(OtherAddressCountry)     \
  X(BusinessAddressStreet) X(BusinessAddressCity) X(BusinessAddressState)                       \
  X(BusinessAddressPostalCode) X(BusinessAddressCountry)

// A contact. Dates are OLE dates; an unset date reads as 949998.0 (1 January 4501), the
// store's own "none". Save stores all properties in one transaction and fails with
// E_PIM_STORE when the database refuses; Delete removes the item (E_PIM_NOITEM when it is
// already gone). An item read through the store keeps the values it was read with.
struct IContact : IDispatch {
#define PIM_DECLARE_STRING_PROPERTY(name)         \
  virtual HRESULT get_##name(BSTR* value) = 0; \
  virtual HRESULT put_##name(BSTR value) = 0;
  PIM_CONTACT_STRING_PROPERTIES(PIM_DECLARE_STRING_PROPERTY)
#undef PIM_DECLARE_STRING_PROPERTY
  virtual HRESULT get_Anniversary(DATE* value) = 0;
  virtual HRESULT put_Anniversary(DATE value) = 0;
  virtual HRESULT get_Birthday(DATE* value) = 0;
  virtual HRESULT put_Birthday(DATE value) = 0;
  virtual HRESULT get_Body(BSTR* value) = 0;  // the contact's notes
  virtual HRESULT put_Body(BSTR value) = 0;
  virtual HRESULT get_Oid(LONG* oid) = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;

 protected:
  ~IContact() = default;
};

struct IAppointment : IDispatch {
  virtual HRESULT get_Subject(BSTR* value) = 0;
  virtual HRESULT put_Subject(BSTR value) = 0;
  virtual HRESULT get_Body(BSTR* value) = 0;
  virtual HRESULT put_Body(BSTR value) = 0;
  virtual HRESULT get_Start(DATE* value) = 0;
  virtual HRESULT put_Start(DATE value) = 0;
  virtual HRESULT get_End(DATE* value) = 0;
  virtual HRESULT put_End(DATE value) = 0;
  virtual HRESULT get_Oid(LONG* oid) = 0;
  // The appointment's recipients; changes made through it are stored by the appointment's Save.
  virtual HRESULT get_Recipients(IRecipients** recipients) = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;

 protected:
  ~IAppointment() = default;
};

struct IRecipients : IDispatch {
  virtual HRESULT get_Count(int* count) = 0;
  virtual HRESULT Item(int index, IRecipient** recipient) = 0;  // 1-based; S_FALSE past the end
  virtual HRESULT Add(BSTR name, IRecipient** recipient) = 0;

 protected:
  ~IRecipients() = default;
};

struct IRecipient : IDispatch {
  virtual HRESULT get_Name(BSTR* value) = 0;
  virtual HRESULT get_Address(BSTR* value) = 0;
  virtual HRESULT put_Address(BSTR value) = 0;

 protected:
  ~IRecipient() = default;
};

// An extension of the device's store (from the application by QueryInterface), for callers
// that must change several items at once or exchange contacts with other address books.
// BeginChanges opens one store transaction for this application object: every Save and Delete
// made through it until CommitChanges lands together, or not at all after RollbackChanges (or
// when the object is released or the process dies first). Transactions do not nest.
// A contact's UID is the identifier another address book gave it (vCard UID); empty for none.
struct IPimChanges : IUnknown {
  virtual HRESULT BeginChanges() = 0;
  virtual HRESULT CommitChanges() = 0;
  virtual HRESULT RollbackChanges() = 0;
  virtual HRESULT FindContactByUid(BSTR uid, LONG* oid) = 0;  // S_FALSE and 0 when none
  virtual HRESULT GetContactUid(LONG oid, BSTR* uid) = 0;
  virtual HRESULT SetContactUid(LONG oid, BSTR uid) = 0;

 protected:
  ~IPimChanges() = default;
};

// ---- Set-up and test hooks (not Win32) -------------------------------------------------------
namespace device {

// The fault a method raises when a test asked for one.
struct PimFault {
  DWORD code;
};

// Registers the store's class under "PocketOutlook.Application" in the device registry unless
// it is registered already. Part of setting up the device image.
bool RegisterPimStore();

// Why the last Logon of this process failed to open the store ("" when it did not fail): for
// example "pim.sqlite: file is not a database".
std::string PimStoreProblem();

// The next `count` Logon calls of this process fail with E_FAIL; -1 makes every one fail; 0
// ends the hook.
void SetPimLogonFailures(int count);

// The method named `method` ("Item", "Save", "put_FileAs", ...) raises PimFault{code} on its
// call number `skip` + 1 from now, once. An empty name ends the hook.
void SetPimFault(std::string_view method, int skip, DWORD code);

// Records the names of the store methods called from now on, in order ("Logon", "CreateItem",
// "put_FileAs", "Save", "get_Oid", "Release", ...), until StopPimCallLog. QueryInterface,
// AddRef and Release of the store's own internal use are not recorded.
void StartPimCallLog();
std::vector<std::string> StopPimCallLog();

}  // namespace device
