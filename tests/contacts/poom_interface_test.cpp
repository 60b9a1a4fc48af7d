// The Pocket Outlook interface as the contact windows and the start-up rely on it: logon
// attempts and their exact waits on the virtual clock, the messages and status codes of every
// failure, the calls made to the store, the sort order of the list, and the two mended faults
// (a replacement that fails half way, a reload while a load is running).
#include "contacts_fixture.h"

#include <device/registry.h>

#include <algorithm>

using contacts_test::ContactsTest;
using contacts_test::Report;
using contacts_test::TakeReports;

namespace {

const Report kLateLogon{u"Logged on after several attempts.", u"error"};

int CountOf(const std::vector<std::string>& log, const std::string& call) {
  return static_cast<int>(std::count(log.begin(), log.end(), call));
}

std::u16string FaultText(int line, const char* code) {
  std::u16string text = u"file : \n poom\\poom_interface.cpp\nline num: ";
  for (char c : std::to_string(line)) text += static_cast<char16_t>(c);
  text += u"\n error code: ";
  for (const char* p = code; *p; ++p) text += static_cast<char16_t>(*p);
  return text + u" ";
}

TEST_F(ContactsTest, Logon_FirstAttemptWaitsOnce300msAndShowsNothing) {
  device::StartPimCallLog();
  std::uint64_t before = driver.Now();
  PoomConnect();
  EXPECT_EQ(driver.Now() - before, 300u);
  EXPECT_EQ(CountOf(device::StopPimCallLog(), "Logon"), 1);
  EXPECT_TRUE(TakeReports().empty());
}

TEST_F(ContactsTest, Logon_ThirdAttemptWaits300Then600Then900AndReportsStatus7) {
  device::SetPimLogonFailures(2);
  device::StartPimCallLog();
  std::uint64_t before = driver.Now();
  PoomConnect();
  EXPECT_EQ(driver.Now() - before, 300u + 600u + 900u);
  EXPECT_EQ(CountOf(device::StopPimCallLog(), "Logon"), 3);
  EXPECT_EQ(TakeReports(), std::vector<Report>{kLateLogon});
}

TEST_F(ContactsTest, Logon_NeverSucceedsFourAttemptsThreeSecondsSilentListEmptyButReady) {
  device::SetPimLogonFailures(-1);
  device::StartPimCallLog();
  std::uint64_t before = driver.Now();
  EXPECT_EQ(ContactLoader(nullptr), 0u);
  EXPECT_EQ(driver.Now() - before, 3000u);
  EXPECT_EQ(CountOf(device::StopPimCallLog(), "Logon"), 4);
  EXPECT_TRUE(TakeReports().empty());
  EXPECT_EQ(TheContactList().count(), 0);
  EXPECT_EQ(TheContactList().ready.load(), 1);
}

TEST_F(ContactsTest, Connect_NotRegisteredShowsFailedToLoadClsidAndListStaysEmpty) {
  ASSERT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, kPocketOutlookProgId), ERROR_SUCCESS);
  ContactLoader(nullptr);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{u"Failed to load CLSID!", u"error"}}));
  EXPECT_EQ(TheContactList().count(), 0);
  EXPECT_EQ(TheContactList().ready.load(), 1);
}

TEST_F(ContactsTest, Load_EmptyStoreGivesEmptyReadyList) {
  device::StartPimCallLog();
  ContactLoader(nullptr);
  std::vector<std::string> log = device::StopPimCallLog();
  EXPECT_EQ(CountOf(log, "Item"), 1);  // the first Item already gives no item
  EXPECT_EQ(TheContactList().count(), 0);
  EXPECT_EQ(TheContactList().ready.load(), 1);
  EXPECT_TRUE(TakeReports().empty());
}

TEST_F(ContactsTest, Load_ListSetOnlySortedByLastThenFirstWithoutSeparator) {
  Connect();
  ContactRecord smit = Person(u"Han", u"Smit", u"555-1");
  SetContactString(smit, kDepartmentId, u"not in the list set");
  ASSERT_GT(PoomCreateContact(smit), 0);
  ASSERT_GT(PoomCreateContact(Person(u"Al", u"Smith", u"555-2")), 0);
  ASSERT_GT(PoomCreateContact(Person(u"Zoe", u"Adams")), 0);
  ContactLoader(nullptr);
  ContactList& list = TheContactList();
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(Field(list.records[0], kLastNameId), u"Adams");
  EXPECT_EQ(Field(list.records[1], kLastNameId), u"Smith");  // "smithal" < "smithan"
  EXPECT_EQ(Field(list.records[2], kLastNameId), u"Smit");
  EXPECT_EQ(Field(list.records[2], kMobileTelephoneNumberId), u"555-1");
  EXPECT_EQ(Field(list.records[2], kFileAsId), u"Smit, Han");
  EXPECT_EQ(ContactString(list.records[2], kDepartmentId), nullptr);
  EXPECT_GT(list.records[2].Oid, 0);
}

TEST_F(ContactsTest, CompareContacts_CaseOnlyDifferenceIsEqualAndMissingPartsLeftOut) {
  EXPECT_EQ(CompareContacts(Person(u"AL", u"SMITH"), Person(u"al", u"smith")), 0);
  EXPECT_LT(CompareContacts(Person(u"Al", u"Smith"), Person(u"Han", u"Smit")), 0);
  EXPECT_GT(CompareContacts(Person(u"Han", u"Smit"), Person(u"Al", u"Smith")), 0);
  EXPECT_EQ(CompareContacts(Person(u"", u"Smithal"), Person(u"al", u"Smith")), 0);
  EXPECT_LT(CompareContacts(ContactRecord(), Person(u"", u"A")), 0);
}

TEST_F(ContactsTest, ContactList_InsertKeepsOrderRemoveFindsOidClearDropsFlagFirst) {
  ContactList& list = TheContactList();
  ContactRecord b = Person(u"B", u"Bee");
  b.Oid = 2;
  ContactRecord a = Person(u"A", u"Ant");
  a.Oid = 1;
  ContactListInsert(std::move(b));
  ContactListInsert(std::move(a));
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.records[0].Oid, 1);
  ContactListRemove(99);
  EXPECT_EQ(list.count(), 2);
  ContactListRemove(1);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.records[0].Oid, 2);
  list.ready.store(1);
  ContactListClear();
  EXPECT_EQ(list.ready.load(), 0);
  EXPECT_EQ(list.count(), 0);
}

TEST_F(ContactsTest, ReadById_VanishedOidGives6SilentlyAndAllZeroRecord) {
  Connect();
  LONG oid = PoomCreateContact(Person(u"Gone", u"Soon"));
  ASSERT_EQ(PoomDeleteContactById(oid), kPoomOk);
  ContactRecord record = Person(u"Left", u"Over");
  EXPECT_EQ(PoomReadContactById(oid, record, true), kPoomInvalidIndex);
  EXPECT_TRUE(TakeReports().empty());
  EXPECT_EQ(record.Oid, 0);
  EXPECT_EQ(record.Birthday, 0.0);
  for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) EXPECT_EQ(ContactString(record, id), nullptr);
}

TEST_F(ContactsTest, DeleteAndReplace_VanishedOidShowInvalidIndexReturn6AndCreateNothing) {
  Connect();
  LONG oid = PoomCreateContact(Person(u"Gone", u"Soon"));
  ASSERT_EQ(PoomDeleteContactById(oid), kPoomOk);
  EXPECT_EQ(PoomDeleteContactById(oid), kPoomInvalidIndex);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{u"invalid index!", u"error"}}));
  EXPECT_EQ(PoomReplaceContact(oid, Person(u"New", u"One")), kPoomInvalidIndex);
  std::vector<ContactRecord> all;
  PoomLoadContacts(all);
  EXPECT_TRUE(all.empty());
}

TEST_F(ContactsTest, Create_FileAsOnlyMakesOnePutThenSaveAndReturnsTheNewOid) {
  Connect();
  ContactRecord record;
  SetContactString(record, kFileAsId, u"Plumber");
  device::StartPimCallLog();
  LONG oid = PoomCreateContact(record);
  std::vector<std::string> log = device::StopPimCallLog();
  std::vector<std::string> writes;
  std::copy_if(log.begin(), log.end(), std::back_inserter(writes),
               [](const std::string& call) { return call.starts_with("put_") || call == "Save" || call == "get_Oid"; });
  EXPECT_EQ(writes, (std::vector<std::string>{"put_FileAs", "Save", "get_Oid"}));
  EXPECT_EQ(log.front(), "CreateItem");
  EXPECT_GT(oid, 0);
  ContactRecord read;
  ASSERT_EQ(PoomReadContactById(oid, read, true), kPoomOk);
  EXPECT_EQ(Field(read, kFileAsId), u"Plumber");
  EXPECT_EQ(read.Oid, oid);
}

TEST_F(ContactsTest, Dates_StoreNoDateReadBackAndWrittenBackUnchanged) {
  Connect();
  LONG oid = PoomCreateContact(Person(u"No", u"Birthday"));
  ContactRecord full;
  ASSERT_EQ(PoomReadContactById(oid, full, true), kPoomOk);
  EXPECT_EQ(full.Birthday, kStoreNoDate);
  EXPECT_TRUE(IsNoDate(full.Birthday));
  device::StartPimCallLog();
  LONG replaced = PoomReplaceContact(oid, full);
  std::vector<std::string> log = device::StopPimCallLog();
  EXPECT_EQ(CountOf(log, "put_Birthday"), 1);
  EXPECT_EQ(CountOf(log, "put_Anniversary"), 1);
  ContactRecord again;
  ASSERT_EQ(PoomReadContactById(replaced, again, true), kPoomOk);
  EXPECT_EQ(again.Birthday, kStoreNoDate);
  EXPECT_EQ(Field(again, kLastNameId), u"Birthday");
}

TEST_F(ContactsTest, Oids_StableAcrossReconnectAndNeverReused) {
  Connect();
  LONG first = PoomCreateContact(Person(u"A", u"One"));
  LONG second = PoomCreateContact(Person(u"B", u"Two"));
  ASSERT_EQ(PoomDeleteContactById(second), kPoomOk);
  PoomLogoff();
  PoomRelease();
  Connect();
  ContactRecord read;
  ASSERT_EQ(PoomReadContactById(first, read, false), kPoomOk);
  EXPECT_EQ(read.Oid, first);
  EXPECT_EQ(Field(read, kLastNameId), u"One");
  EXPECT_GT(PoomCreateContact(Person(u"C", u"Three")), second);
}

TEST_F(ContactsTest, WithoutCollection_ReadsAndPositionalDeleteReportNoItems) {
  ContactRecord record;
  EXPECT_EQ(PoomReadContactAt(1, record, false), kPoomNoItems);
  EXPECT_EQ(PoomReadContactById(1, record, false), kPoomNoItems);
  EXPECT_EQ(PoomDeleteContactAt(1), kPoomNoItems);
  AppointmentRecord appointment;
  EXPECT_EQ(PoomReadAppointmentAt(1, appointment), kPoomNoItems);
  EXPECT_EQ(TakeReports(), std::vector<Report>(4, Report{u"no items!", u"error"}));
}

TEST_F(ContactsTest, DeleteAt_PastTheEndShowsInvalidIndex) {
  Connect();
  PoomCreateContact(Person(u"Only", u"One"));
  EXPECT_EQ(PoomDeleteContactAt(2), kPoomInvalidIndex);
  EXPECT_EQ(PoomDeleteContactAt(1), kPoomOk);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{u"invalid index!", u"error"}}));
}

TEST_F(ContactsTest, Fault_InItemShowsFaultBoxWithGuardLineThenNoItems) {
  Connect();
  PoomCreateContact(Person(u"A", u"One"));
  device::SetPimFault("Item", 0, 0xC0000005);
  ContactRecord record;
  EXPECT_EQ(PoomReadContactAt(1, record, false), kPoomNoItems);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{FaultText(436, "c0000005"), u"exception"},
                                                {u"no items!", u"error"}}));
}

TEST_F(ContactsTest, Fault_DuringLoadLeavesTheCallersListAsItWas) {
  Connect();
  PoomCreateContact(Person(u"A", u"One"));
  PoomCreateContact(Person(u"B", u"Two"));
  std::vector<ContactRecord> records;
  records.push_back(Person(u"Kept", u"Record"));
  device::SetPimFault("GetDefaultFolder", 0, 0xC0000005);
  EXPECT_EQ(PoomLoadContacts(records), kPoomError);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Field(records[0], kLastNameId), u"Record");
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{FaultText(274, "c0000005"), u"exception"}}));
  EXPECT_EQ(PoomLoadContacts(records), kPoomOk);
  EXPECT_EQ(records.size(), 2u);
}

// A replacement is a deletion and a creation in one store transaction.
TEST_F(ContactsTest, Replace_FaultDuringCreationLeavesTheOldContactUntouched) {
  Connect();
  LONG oid = PoomCreateContact(Person(u"Old", u"Name", u"555"));
  device::SetPimFault("Save", 0, 0xC0000005);
  EXPECT_EQ(PoomReplaceContact(oid, Person(u"New", u"Name")), kPoomError);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{FaultText(1058, "c0000005"), u"exception"}}));
  ContactRecord read;
  ASSERT_EQ(PoomReadContactById(oid, read, true), kPoomOk);
  EXPECT_EQ(Field(read, kFirstNameId), u"Old");
  std::vector<ContactRecord> all;
  PoomLoadContacts(all);
  EXPECT_EQ(all.size(), 1u);
}

TEST_F(ContactsTest, Replace_SucceedsUnderANewOidAndTheOldOneIsGone) {
  Connect();
  LONG oid = PoomCreateContact(Person(u"Old", u"Name"));
  LONG replaced = PoomReplaceContact(oid, Person(u"New", u"Name"));
  EXPECT_GT(replaced, oid);
  ContactRecord read;
  EXPECT_EQ(PoomReadContactById(oid, read, false), kPoomInvalidIndex);
  ASSERT_EQ(PoomReadContactById(replaced, read, false), kPoomOk);
  EXPECT_EQ(Field(read, kFirstNameId), u"New");
  EXPECT_TRUE(TakeReports().empty());
}

TEST_F(ContactsTest, FullRecord_EveryFieldRoundTripsThroughTheStore) {
  Connect();
  ContactRecord record;
  for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) {
    std::u16string text = u"v";
    for (const char* p = ContactFieldName(id); *p; ++p) text += static_cast<char16_t>(*p);
    SetContactString(record, id, text + u" \u00e9\u4e2d");
  }
  record.Birthday = 25000.5;
  record.Anniversary = 30000.0;
  LONG oid = PoomCreateContact(record);
  ContactRecord read;
  ASSERT_EQ(PoomReadContactById(oid, read, true), kPoomOk);
  for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id)
    EXPECT_EQ(Field(read, id), Field(record, id)) << ContactFieldName(id);
  EXPECT_EQ(read.Birthday, 25000.5);
  EXPECT_EQ(read.Anniversary, 30000.0);
  ContactRecord brief;
  ASSERT_EQ(PoomReadContactById(oid, brief, false), kPoomOk);
  EXPECT_EQ(ContactString(brief, kFileAsId), nullptr);  // the brief set has no FileAs
  EXPECT_EQ(Field(brief, kJobTitleId), Field(record, kJobTitleId));
  EXPECT_EQ(brief.Birthday, 0.0);
}

TEST_F(ContactsTest, Appointments_FindInRangeReadsRecipientsAndReplaceGivesNewOid) {
  Connect();
  AppointmentRecord meeting;
  meeting.Start = {2026, 3, 0, 10, 9, 30, 0, 0};
  meeting.End = {2026, 3, 0, 10, 10, 0, 0, 0};
  meeting.Subject = SysAllocString(u"Budget");
  AddRecipient(meeting, u"Ann", u"ann@example.org");
  AddRecipient(meeting, u"Bo", u"bo@example.org");
  LONG oid = PoomCreateAppointment(meeting);
  ASSERT_GT(oid, 0);
  AppointmentRecord later;
  later.Start = {2026, 5, 0, 1, 8, 0, 0, 0};
  later.End = later.Start;
  PoomCreateAppointment(later);
  std::vector<LONG> oids;
  ASSERT_EQ(PoomFindAppointmentsInRange({2026, 3, 0, 1, 0, 0, 0, 0}, {2026, 4, 0, 1, 0, 0, 0, 0}, oids), kPoomOk);
  EXPECT_EQ(oids, std::vector<LONG>{oid});
  AppointmentRecord read;
  ASSERT_EQ(PoomReadAppointmentAt(1, read), kPoomOk);
  EXPECT_EQ(std::u16string(read.Subject), u"Budget");
  EXPECT_EQ(read.Body, nullptr);
  EXPECT_EQ(read.Start.wHour, 9);
  EXPECT_EQ(read.Start.wMinute, 30);
  ASSERT_EQ(read.recipientCount, 2);
  EXPECT_EQ(std::u16string(read.recipients[1].Address), u"bo@example.org");
  LONG replaced = PoomReplaceAppointmentById(oid, read);
  EXPECT_GT(replaced, oid);
  AppointmentRecord gone;
  EXPECT_EQ(PoomReadAppointmentById(oid, gone), kPoomInvalidIndex);
  EXPECT_EQ(PoomDeleteAppointmentById(oid), kPoomInvalidIndex);
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{u"invalid index!", u"error"}}));
}

// A reload waits for the running load: the second connection's logon comes only after the
// first load walked to the end of the collection.
TEST_F(ContactsTest, Reload_WaitsForARunningLoadBeforeClearingAndLoadingAgain) {
  Connect();
  for (int i = 0; i < 20; ++i) PoomCreateContact(Person(u"P", u"Person" + std::u16string(1, u'a' + i)));
  PoomRelease();
  device::StartPimCallLog();
  HANDLE first = StartContactLoader();
  HANDLE second = ReloadContacts();
  WaitForContacts();
  ASSERT_EQ(WaitForSingleObject(second, INFINITE), WAIT_OBJECT_0);
  std::vector<std::string> log = device::StopPimCallLog();
  CloseHandle(first);
  CloseHandle(second);
  auto secondLogon = std::find(std::find(log.begin(), log.end(), "Logon") + 1, log.end(), "Logon");
  ASSERT_NE(secondLogon, log.end());
  EXPECT_EQ(std::count(log.begin(), secondLogon, "Item"), 21);  // 20 contacts, then the end
  EXPECT_EQ(TheContactList().count(), 20);
  EXPECT_EQ(TheContactList().ready.load(), 1);
}

// The loader's messages wait for the user-interface thread, which owns the device's windows.
TEST_F(ContactsTest, LoaderThread_MessagesWaitUntilTheInterfaceShowsThem) {
  ASSERT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, kPocketOutlookProgId), ERROR_SUCCESS);
  SetPoomMessageSink(nullptr);
  HANDLE loader = StartContactLoader();
  ASSERT_EQ(WaitForSingleObject(loader, INFINITE), WAIT_OBJECT_0);
  CloseHandle(loader);
  EXPECT_EQ(TheContactList().ready.load(), 1);
  SetPoomMessageSink(contacts_test::CaptureReport);
  EXPECT_TRUE(TakeReports().empty());
  ShowPendingPoomReports();
  EXPECT_EQ(TakeReports(), (std::vector<Report>{{u"Failed to load CLSID!", u"error"}}));
  ShowPendingPoomReports();
  EXPECT_TRUE(TakeReports().empty());
}

}  // namespace
