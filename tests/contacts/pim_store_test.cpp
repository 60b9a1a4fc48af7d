// The personal-information store on its own: a pim.sqlite that is no store of ours is refused
// and left byte for byte as it was; a writer killed in the middle of a transaction leaves all
// or nothing of it; the programmatic identifier is found only through the registry.
#include <device/files.h>
#include <device/pim.h>
#include <device/registry.h>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class PimStoreTest : public ::testing::Test {
 protected:
  fs::path image;

  PimStoreTest() {
    char pattern[] = "/tmp/pim-store-test-XXXXXX";
    image = ::mkdtemp(pattern);
    ::setenv("TAVREL_DEVICE", image.c_str(), 1);
  }
  ~PimStoreTest() override {
    std::error_code ignored;
    fs::remove_all(image, ignored);
    ::unsetenv("TAVREL_DEVICE");
  }

  fs::path StoreFile() const { return image / "pim.sqlite"; }

  static IPOutlookApp* NewApplication() {
    IPOutlookApp* app = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                               reinterpret_cast<LPVOID*>(&app)),
              S_OK);
    return app;
  }

  static std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static int ContactCount(IPOutlookApp* app) {
    IFolder* folder = nullptr;
    IPOutlookItemCollection* items = nullptr;
    int count = -1;
    if (app->GetDefaultFolder(olFolderContacts, &folder) == S_OK && folder->get_Items(&items) == S_OK)
      items->get_Count(&count);
    if (items) items->Release();
    if (folder) folder->Release();
    return count;
  }

  static LONG SaveContact(IPOutlookApp* app, LPCWSTR fileAs) {
    IDispatch* item = nullptr;
    IContact* contact = nullptr;
    LONG oid = 0;
    app->CreateItem(olContactItem, &item);
    item->QueryInterface(IID_IContact, reinterpret_cast<LPVOID*>(&contact));
    BSTR text = SysAllocString(fileAs);
    contact->put_FileAs(text);
    SysFreeString(text);
    if (contact->Save() == S_OK) contact->get_Oid(&oid);
    contact->Release();
    item->Release();
    return oid;
  }
};

TEST_F(PimStoreTest, Logon_FileThatIsNoDatabaseIsRefusedAndLeftUnchanged) {
  const std::string junk(4096, '\x5a');
  std::ofstream(StoreFile(), std::ios::binary) << junk;
  IPOutlookApp* app = NewApplication();
  EXPECT_EQ(app->Logon(0), E_PIM_STORE);
  EXPECT_EQ(device::PimStoreProblem(), "pim.sqlite: file is not a database");
  IFolder* folder = nullptr;
  EXPECT_EQ(app->GetDefaultFolder(olFolderContacts, &folder), E_PIM_NOTLOGGEDON);
  app->Release();
  EXPECT_EQ(ReadBytes(StoreFile()), junk);
  EXPECT_FALSE(fs::exists(image / "pim.sqlite-wal"));
}

TEST_F(PimStoreTest, Logon_NewerSchemaIsRefusedAndLeftUnchanged) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE future(x); PRAGMA user_version = 2;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  const std::string before = ReadBytes(StoreFile());
  IPOutlookApp* app = NewApplication();
  EXPECT_EQ(app->Logon(0), E_PIM_STORE);
  EXPECT_EQ(device::PimStoreProblem(), "pim.sqlite: made by a newer version of the store (schema 2)");
  app->Release();
  EXPECT_EQ(ReadBytes(StoreFile()), before);
}

TEST_F(PimStoreTest, Logon_ForeignDatabaseWithoutVersionIsRefused) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE other(x);", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  IPOutlookApp* app = NewApplication();
  EXPECT_EQ(app->Logon(0), E_PIM_STORE);
  EXPECT_EQ(device::PimStoreProblem(), "pim.sqlite: a database of another program");
  app->Release();
}

TEST_F(PimStoreTest, Registration_ProgIdFoundOnlyThroughTheRegistry) {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(kPocketOutlookProgId, &clsid), CO_E_CLASSSTRING);
  ASSERT_TRUE(device::RegisterPimStore());
  ASSERT_EQ(CLSIDFromProgID(kPocketOutlookProgId, &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Application);
  EXPECT_TRUE(device::RegisterPimStore());  // again: kept as it is
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, u"PocketOutlook.Application\\CLSID", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const WCHAR bad[] = u"{not-a-class-id}";
  RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(bad), sizeof bad);
  RegCloseKey(key);
  EXPECT_EQ(CLSIDFromProgID(kPocketOutlookProgId, &clsid), CO_E_CLASSSTRING);
  IUnknown* object = nullptr;
  EXPECT_EQ(CoCreateInstance(IID_IContact, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<LPVOID*>(&object)),
            REGDB_E_CLASSNOTREG);
}

TEST_F(PimStoreTest, Changes_RollbackDropsEverySaveAndCommitKeepsThem) {
  IPOutlookApp* app = NewApplication();
  ASSERT_EQ(app->Logon(0), S_OK);
  IPimChanges* changes = nullptr;
  ASSERT_EQ(app->QueryInterface(IID_IPimChanges, reinterpret_cast<LPVOID*>(&changes)), S_OK);
  ASSERT_EQ(changes->BeginChanges(), S_OK);
  EXPECT_EQ(changes->BeginChanges(), E_FAIL);  // no nesting
  SaveContact(app, u"a");
  SaveContact(app, u"b");
  EXPECT_EQ(ContactCount(app), 2);
  ASSERT_EQ(changes->RollbackChanges(), S_OK);
  EXPECT_EQ(ContactCount(app), 0);
  ASSERT_EQ(changes->BeginChanges(), S_OK);
  LONG oid = SaveContact(app, u"c");
  BSTR uid = SysAllocString(u"urn:uuid:1");
  EXPECT_EQ(changes->SetContactUid(oid, uid), S_OK);
  ASSERT_EQ(changes->CommitChanges(), S_OK);
  LONG found = 0;
  EXPECT_EQ(changes->FindContactByUid(uid, &found), S_OK);
  EXPECT_EQ(found, oid);
  SysFreeString(uid);
  changes->Release();
  app->Release();
  IPOutlookApp* other = NewApplication();  // another connection sees the commit
  ASSERT_EQ(other->Logon(0), S_OK);
  EXPECT_EQ(ContactCount(other), 1);
  other->Release();
}

// A writer process killed while its transaction is open, or after it committed.
void KilledWriter(const fs::path& image, bool commitFirst, int contacts) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    IPOutlookApp* app = nullptr;
    CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, reinterpret_cast<LPVOID*>(&app));
    IPimChanges* changes = nullptr;
    if (!app || app->Logon(0) != S_OK ||
        app->QueryInterface(IID_IPimChanges, reinterpret_cast<LPVOID*>(&changes)) != S_OK || changes->BeginChanges() != S_OK)
      ::_exit(3);
    for (int i = 0; i < contacts; ++i) {
      IDispatch* item = nullptr;
      IContact* contact = nullptr;
      app->CreateItem(olContactItem, &item);
      item->QueryInterface(IID_IContact, reinterpret_cast<LPVOID*>(&contact));
      BSTR text = SysAllocString(u"imported");
      contact->put_FileAs(text);
      SysFreeString(text);
      if (contact->Save() != S_OK) ::_exit(4);
    }
    if (commitFirst && changes->CommitChanges() != S_OK) ::_exit(5);
    char byte = 1;
    if (::write(ready[1], &byte, 1) != 1) ::_exit(6);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ::close(ready[0]);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
}

TEST_F(PimStoreTest, KilledWriter_OpenTransactionLeavesNothingCommittedOneLeavesAll) {
  KilledWriter(image, false, 200);
  IPOutlookApp* app = NewApplication();
  ASSERT_EQ(app->Logon(0), S_OK);
  EXPECT_EQ(ContactCount(app), 0);
  LONG oid = SaveContact(app, u"after the crash");
  EXPECT_GT(oid, 0);
  app->Release();
  KilledWriter(image, true, 150);
  app = NewApplication();
  ASSERT_EQ(app->Logon(0), S_OK);
  EXPECT_EQ(ContactCount(app), 151);
  app->Release();
}

}  // namespace
