// The contact list and the details window as a person uses them from the start window, with the
// program's own contacts thread loading the store: search as you type, the red counters, the
// details pages, and deleting after the question.
#include "contact_windows_fixture.h"

#include "settings/settings_store.h"

#include <gtest/gtest.h>

using namespace contact_windows_test;

namespace {

constexpr RECT kRow0Counter{160, 30, 210, 60};
constexpr COLORREF kLabelBand = 0xDCDCDC;
constexpr COLORREF kPageGrey = 0xB3B3B3;

std::vector<ContactRecord> ThreePeople() {
  std::vector<ContactRecord> people;
  people.push_back(Person(u"John", u"Smith"));
  people.push_back(Person(u"Al", u"Johnson"));
  people.push_back(Person(u"Joan", u"Major"));
  return people;
}

TEST(ContactList, TypingFindsWordStartsCutsFailedLettersAndReddensTheCounters) {
  RunProgram(ThreePeople(), [](device::Driver& d) {
    HWND list = OpenContactList(d);
    ASSERT_NE(list, StartWindow(d));
    EXPECT_EQ(EditMode, kEditContactList);
    EXPECT_EQ(TheContactList().count(), 3) << "the band waited for the contacts thread";
    EXPECT_FALSE(AnyRedPixel(d, kRow0Counter)) << "every contact matches: black counters";
    Type(d, list, u"Jo");
    EXPECT_EQ(d.WindowText(list), u"jo");
    EXPECT_TRUE(AnyRedPixel(d, kRow0Counter)) << "narrowed: the counter's end is red";
    d.Screenshot("contact-list-jo");
    // Johnson, Al and Smith, John match; Major, Joan does not (its first jo is inside major).
    TapRow(d, 1);
    HWND details = TopWindow();
    EXPECT_EQ(d.WindowText(details), u"Smith, John");
    d.Tap(120, 200);  // a tap anywhere closes the details
    EXPECT_FALSE(IsWindow(details));
    EXPECT_EQ(TopWindow(), list);
    TapRow(d, 2);
    EXPECT_EQ(TopWindow(), list) << "the third row shows no match";
    Type(d, list, u"x");
    EXPECT_EQ(d.WindowText(list), u"jo") << "a letter that starts no word goes again";
    Backspace(d, list);
    Backspace(d, list);
    EXPECT_FALSE(AnyRedPixel(d, kRow0Counter));
    Type(d, list, u"oh");
    EXPECT_EQ(d.WindowText(list), u"") << "oh and o start no word: cut back to the empty text";
    TapMenu(d, 2);  // "Keys": the phone keypad after the predictive one
    EXPECT_NE(d.Find(u"PhoneKeyClass"), nullptr);
    EXPECT_EQ(d.Find(u"PredictKeyClass"), nullptr);
    EXPECT_EQ(TheSettings().inputmethod2, 2);
    TapMenu(d, 4);  // "Back"
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(TopWindow(), StartWindow(d));
  });
}

ContactRecord AddressOnSecondPage() {
  ContactRecord record = Person(u"Ilse", u"Brandt");
  for (int id : {kJobTitleId, kDepartmentId, kCompanyNameId, kBusinessTelephoneNumberId, kBusinessFaxNumberId})
    SetContactString(record, id, u"x");
  SetContactString(record, kBusinessAddressCityId, u"Hamburg");
  SetContactString(record, kBusinessAddressCountryId, u"Germany");
  SetContactString(record, kBusinessAddressPostalCodeId, u"20095");
  SetContactString(record, kBusinessAddressStreetId, u"Kai 1");
  return record;
}

TEST(ContactDetails, AFourLineAddressMovesToThe2ndPageAndDeleteAsksFirst) {
  std::vector<ContactRecord> people;
  people.push_back(AddressOnSecondPage());
  people.push_back(Person(u"Daniel", u"Okafor"));
  RunProgram(people, [](device::Driver& d) {
    HWND list = OpenContactList(d);
    TapRow(d, 0);
    HWND details = TopWindow();
    ASSERT_EQ(d.WindowText(details), u"Brandt, Ilse");
    // Page 0: the second line's label band at y 67; page 1: the address alone, its value from 46.
    EXPECT_EQ(d.Pixel(5, 70), kLabelBand);
    TapMenu(d, 2);
    EXPECT_EQ(d.Pixel(5, 35), kLabelBand);
    EXPECT_EQ(d.Pixel(5, 70), kPageGrey);
    d.Screenshot("contact-details-page-2");
    TapMenu(d, 2);
    EXPECT_EQ(d.Pixel(5, 35), kLabelBand) << "page 1 is the last";
    TapMenu(d, 1);
    EXPECT_EQ(d.Pixel(5, 70), kLabelBand);

    const LONG oid = TheContactList().records[0].Oid;
    TapMenu(d, 3);  // "Delete"
    HWND box = device::FindMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(device::MessageBoxText(box), u"Are you sure you want to permanently remove this contact?");
    EXPECT_EQ(device::MessageBoxCaption(box), u"");
    EXPECT_EQ(device::MessageBoxType(box), UINT{MB_YESNO | MB_ICONQUESTION});
    device::PressMessageBoxButton(box, IDNO);
    d.RunUntilIdle();
    EXPECT_TRUE(IsWindow(details));
    EXPECT_EQ(TheContactList().count(), 2);
    TapMenu(d, 3);
    device::PressMessageBoxButton(device::FindMessageBox(), IDYES);
    d.RunUntilIdle();
    EXPECT_FALSE(IsWindow(details));
    EXPECT_EQ(TopWindow(), list);
    ASSERT_EQ(TheContactList().count(), 1);
    EXPECT_NE(TheContactList().records[0].Oid, oid);
    ContactRecord gone;
    EXPECT_EQ(PoomReadContactById(oid, gone, false), kPoomInvalidIndex) << "the store lost it too";
    TapRow(d, 0);
    EXPECT_EQ(d.WindowText(TopWindow()), u"Okafor, Daniel") << "the list searched again without it";
  });
}

}  // namespace
