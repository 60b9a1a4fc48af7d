// The contact menu and the contacts setup from the start window: a new contact, entries over
// two pages, and choosing the entries (the stored `contactdata`).
#include "contact_windows_fixture.h"

#include "resources/tavrel_dialogs.h"

#include <gtest/gtest.h>

using namespace contact_windows_test;

namespace {

constexpr WCHAR kMobile[] = u"+36 30 555 0199";

// Types into the main screen's editor and ends it with "Ok".
void EnterInMainScreen(device::Driver& d, const WCHAR* text) {
  SendMessage(TopWindow(), KeyboardInputMessage, kInputInsertText, reinterpret_cast<LPARAM>(text));
  d.RunUntilIdle();
  TapMenu(d, 3);  // "Ok"
}

TEST(ContactMenu, ANewContactWithOnlyAMobileIsStoredAndTheListReloadedEmptyOnesAreNot) {
  std::vector<ContactRecord> people;
  people.push_back(Person(u"Daniel", u"Okafor"));
  RunProgram(people, [](device::Driver& d) {
    HWND menu = OpenNewContact(d);
    ASSERT_NE(menu, StartWindow(d));
    TapMenu(d, 3);  // "Save" with nothing entered
    EXPECT_FALSE(IsWindow(menu));
    EXPECT_EQ(TopWindow(), StartWindow(d));

    menu = OpenNewContact(d);
    TapEntry(d, 1);  // "Phone (mobile)", the second entry of the default selection
    HWND screen = TopWindow();
    ASSERT_NE(screen, menu);
    EXPECT_EQ(EditMode, kEditField);
    EXPECT_NE(d.Find(u"NumExpKeyClass"), nullptr) << "a phone number is edited in numeric mode";
    EnterInMainScreen(d, kMobile);
    EXPECT_FALSE(IsWindow(screen));
    EXPECT_EQ(TopWindow(), menu);
    d.Screenshot("contact-menu-new-mobile");
    TapMenu(d, 3);  // "Save"
    EXPECT_FALSE(IsWindow(menu));

    HWND list = OpenContactList(d);
    ASSERT_NE(list, StartWindow(d));
    ASSERT_EQ(TheContactList().count(), 2) << "the list was reloaded before it opened";
    int mobiles = 0;
    for (const ContactRecord& record : TheContactList().records) {
      if (ContactString(record, kMobileTelephoneNumberId) == nullptr) continue;
      ++mobiles;
      EXPECT_EQ(std::u16string(ContactString(record, kMobileTelephoneNumberId)), kMobile);
      EXPECT_EQ(ContactString(record, kFileAsId), nullptr);
      EXPECT_EQ(ContactString(record, kFirstNameId), nullptr);
    }
    EXPECT_EQ(mobiles, 1);
  });
}

// Opens the contact menu on the first contact of the list through its details ("Edit").
HWND EditFirstContact(device::Driver& d) {
  OpenContactList(d);
  TapRow(d, 0);
  TapMenu(d, 0);  // "Edit"
  return TopWindow();
}

TEST(ContactMenu, ThirteenEntriesTakeTwoPagesTwelveOne) {
  std::vector<ContactRecord> people;
  ContactRecord person = Person(u"Ilse", u"Brandt");
  SetContactString(person, kCompanyNameId, u"Lindenhof");           // table position 3
  SetContactString(person, kEmail2AddressId, u"second@example.org");  // table position 12
  people.push_back(std::move(person));
  RunProgram(people, [](device::Driver& d) {
    StoreSelection({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    HWND menu = EditFirstContact(d);
    TapMenu(d, 2);  // next page: entry 12 alone
    d.Screenshot("contact-menu-page-2");
    TapEntry(d, 1);
    EXPECT_EQ(TopWindow(), menu) << "the second button of the last page is empty";
    TapEntry(d, 0);
    ASSERT_NE(TopWindow(), menu);
    EXPECT_EQ(EditorText(d), u"second@example.org");
    TapMenu(d, 4);  // "Cancel"
    TapMenu(d, 4);  // "Back"
    EXPECT_FALSE(IsWindow(menu));

    StoreSelection({3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    TapMenu(d, 0);  // the details window's "Edit" again
    TapMenu(d, 2);  // nothing after twelve entries
    TapEntry(d, 0);
    EXPECT_EQ(EditorText(d), u"Lindenhof");
    TapMenu(d, 4);
  });
}

HWND UsedList(HWND setup) { return GetDlgItem(setup, kSetupUsedList); }
HWND UnusedList(HWND setup) { return GetDlgItem(setup, kSetupUnusedList); }
int Count(HWND box) { return static_cast<int>(SendMessage(box, LB_GETCOUNT, 0, 0)); }

std::u16string Row(HWND box, int row) {
  WCHAR text[256] = {};
  SendMessage(box, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
  return text;
}

void Press(device::Driver& d, HWND setup, int id) {
  PostMessage(setup, WM_COMMAND, static_cast<WPARAM>(id), 0);
  d.RunUntilIdle();
}

void Select(device::Driver& d, HWND box, int row) {
  SendMessage(box, LB_SETCURSEL, row, 0);
  d.RunUntilIdle();
}

TEST(ContactSetup, UpAndDownStopAtTheEndsAndTheOrderIsStored) {
  RunProgram({}, [](device::Driver& d) {
    HWND menu = OpenNewContact(d);
    EXPECT_EQ(StoredSelection(), (std::vector<std::int32_t>{29, 6, 9, 11, 5, 35, 36, 3, 33, 34}))
        << "the default selection is written when the menu opens";
    TapMenu(d, 0);  // "Setup"
    HWND setup = TopWindow();
    ASSERT_NE(setup, menu);
    EXPECT_EQ(d.WindowText(setup), u"Contact details - setup");
    ASSERT_EQ(Count(UsedList(setup)), 10);
    EXPECT_EQ(Count(UnusedList(setup)), 27);
    EXPECT_EQ(Row(UsedList(setup), 1), u"Phone (mobile)") << "CR a blank, LF dropped";
    d.Screenshot("contact-setup");
    Press(d, setup, kSetupUp);  // on the first row
    EXPECT_EQ(Row(UsedList(setup), 0), u"Name");
    Select(d, UsedList(setup), 9);
    Press(d, setup, kSetupDown);  // on the last row
    EXPECT_EQ(Row(UsedList(setup), 9), u"Business: street");
    Select(d, UsedList(setup), 1);
    Press(d, setup, kSetupUp);
    EXPECT_EQ(Row(UsedList(setup), 0), u"Phone (mobile)");
    EXPECT_EQ(SendMessage(UsedList(setup), LB_GETCURSEL, 0, 0), 0);
    Press(d, setup, IDOK);  // the shell's Done
    EXPECT_EQ(TopWindow(), menu);
    EXPECT_EQ(StoredSelection(), (std::vector<std::int32_t>{6, 29, 9, 11, 5, 35, 36, 3, 33, 34}));
    DWORD perPage = 0;
    EXPECT_TRUE(ReadDwordSetting(u"dataperpage", &perPage));
    EXPECT_EQ(perPage, 12u);
  });
}

TEST(ContactSetup, RemovingEveryEntryStoresNothingAndTheMenuShowsNoEntry) {
  RunProgram({}, [](device::Driver& d) {
    HWND menu = OpenNewContact(d);
    TapMenu(d, 0);
    HWND setup = TopWindow();
    for (int i = 0; i < 11; ++i) Press(d, setup, kSetupRemove);  // the eleventh finds none
    EXPECT_EQ(Count(UsedList(setup)), 0);
    ASSERT_EQ(Count(UnusedList(setup)), 37);
    EXPECT_EQ(Row(UnusedList(setup), 0), u"Anniversary") << "table order, whatever the order removed";
    EXPECT_EQ(Row(UnusedList(setup), 36), u"Home: street");
    Select(d, UnusedList(setup), 5);
    Press(d, setup, kSetupAdd);
    EXPECT_EQ(Row(UsedList(setup), 0), u"Email");
    EXPECT_EQ(Count(UnusedList(setup)), 36);
    Press(d, setup, kSetupRemove);
    Press(d, setup, IDOK);
    EXPECT_EQ(StoredSelection(), std::vector<std::int32_t>{});
    TapEntry(d, 0);
    EXPECT_EQ(TopWindow(), menu) << "no entry to edit";
    TapMenu(d, 4);
    EXPECT_EQ(TopWindow(), StartWindow(d));
  });
}

}  // namespace
