// The contact list's search and paging, and the details layout: what the windows show is what
// these return.
#include "contacts/contact_details_lines.h"
#include "contacts/contact_search.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::vector<ContactRecord> FiledAs(std::initializer_list<std::u16string_view> names) {
  std::vector<ContactRecord> contacts;
  for (std::u16string_view name : names) {
    ContactRecord record;
    SetContactString(record, kFileAsId, name);
    contacts.push_back(std::move(record));
  }
  return contacts;
}

TEST(ContactSearch, WordStartsAfterCommaAndBlankMatchAndAFailedLetterIsDroppedAgain) {
  const std::vector<ContactRecord> contacts = FiledAs({u"Johnson, Al", u"Smith, John"});
  std::u16string text = u"J";
  ContactSearchResult found = ContactSearch(contacts, text, 0);
  EXPECT_EQ(text, u"j");
  EXPECT_EQ(found.totalMatches, 2);
  EXPECT_EQ(found.rowContact[0], 0);
  EXPECT_EQ(found.rowContact[1], 1);
  // "oh" lies inside both names; "o" starts no word either; the empty text matches everyone.
  text = u"oh";
  found = ContactSearch(contacts, text, 0);
  EXPECT_EQ(text, u"");
  EXPECT_EQ(found.totalMatches, 2);
  text = u"smx";
  found = ContactSearch(contacts, text, 0);
  EXPECT_EQ(text, u"sm");
  EXPECT_EQ(found.totalMatches, 1);
  EXPECT_EQ(found.rowContact[0], 1);
}

TEST(ContactSearch, OnlyTheFirstOccurrenceCounts) {
  const std::vector<ContactRecord> contacts = FiledAs({u"Major, Joan", u"Jones, Ed"});
  std::u16string text = u"jo";
  const ContactSearchResult found = ContactSearch(contacts, text, 0);
  EXPECT_EQ(found.totalMatches, 1) << "the first jo lies inside major";
  EXPECT_EQ(found.rowContact[0], 1);
  EXPECT_EQ(MatchPosition(u"major, joan", u"jo"), std::u16string::npos);
}

TEST(ContactSearch, SevenMatchesPageByThreeThenToTheLastThree) {
  const std::vector<ContactRecord> contacts =
      FiledAs({u"Ann A", u"Ann B", u"Bob", u"Ann C", u"Ann D", u"Ann E", u"Ann F", u"Ann G"});
  std::u16string text = u"ann";
  int offset = 0;
  ContactSearchResult found = ContactSearch(contacts, text, offset);
  EXPECT_EQ(found.totalMatches, 7);
  EXPECT_EQ(found.matchesCounted, 6) << "counting stops six matches after the offset";
  EXPECT_EQ(found.rowContact[2], 3) << "Bob is skipped";
  offset = PageDownOffset(offset, found.matchesCounted);
  EXPECT_EQ(offset, 3);
  found = ContactSearch(contacts, text, offset);
  EXPECT_EQ(found.matchesCounted, 7);
  EXPECT_EQ(found.rowsFilled, 4);
  EXPECT_EQ(found.rowContact[0], 4) << "match 4 (Ann D) heads the page";
  offset = PageDownOffset(offset, found.matchesCounted);
  EXPECT_EQ(offset, 4) << "7 mod 3 = 1: the last page shows matches 5 to 7";
  found = ContactSearch(contacts, text, offset);
  EXPECT_EQ(found.rowContact[2], 7);
  EXPECT_EQ(PageDownOffset(offset, found.matchesCounted), 4) << "nothing after the last";
  EXPECT_EQ(PageUpOffset(4), 1);
  EXPECT_EQ(PageUpOffset(2), 0);
}

TEST(ContactSearch, AnEmptyListMatchesNothingAndKeepsTheText) {
  std::u16string text = u"abc";
  const ContactSearchResult found = ContactSearch({}, text, 0);
  EXPECT_EQ(found.totalMatches, 0);
  EXPECT_EQ(text, u"abc");
}

ContactRecord LongContact() {
  ContactRecord record;
  SetContactString(record, kFirstNameId, u"Ilse");
  SetContactString(record, kLastNameId, u"Brandt");
  SetContactString(record, kFileAsId, u"Brandt, Ilse");
  SetContactString(record, kYomiFirstNameId, u"never shown");
  for (int id : {kJobTitleId, kDepartmentId, kCompanyNameId, kBusinessTelephoneNumberId, kBusinessFaxNumberId})
    SetContactString(record, id, u"x");
  SetContactString(record, kBusinessAddressCityId, u"Hamburg");
  SetContactString(record, kBusinessAddressCountryId, u"Germany");
  SetContactString(record, kBusinessAddressPostalCodeId, u"20095");
  SetContactString(record, kBusinessAddressStreetId, u"Kai 1");
  SetContactString(record, kBusinessAddressStateId, u"never shown");
  record.Birthday = kStoreNoDate;
  return record;
}

TEST(ContactDetails, AFourLineAddressThatWouldCrossThePageStartsTheNextPage) {
  const std::vector<DetailsLine> lines = ContactDetailsLines(LongContact());
  ASSERT_EQ(lines.size(), 7u) << "no Birthday line for the store's no-date, no Yomi, no state";
  EXPECT_EQ(std::u16string(lines[0].label), u"Name:");
  EXPECT_EQ(lines[0].value, u"Ilse Brandt");
  EXPECT_EQ(lines[6].value, u"Hamburg\nGermany\n20095\nKai 1");
  int lastPage = -1;
  const std::vector<DetailsLinePlace> places = LayOutDetailsLines(lines, &lastPage);
  // Six one-line lines take 37 pixels each from y = 30: the address would end at 252 + 85.
  EXPECT_EQ(places[5].page, 0);
  EXPECT_EQ(places[5].valueBottom, 30 + 6 * 37);
  EXPECT_EQ(places[6].page, 1);
  EXPECT_EQ(places[6].labelTop, 30);
  EXPECT_EQ(places[6].valueBottom - places[6].valueTop, 64);
  EXPECT_EQ(lastPage, 1);
}

TEST(ContactDetails, AContactWithOnlyAFileAsHasNoLine) {
  ContactRecord record;
  SetContactString(record, kFileAsId, u"Nobody");
  int lastPage = -1;
  EXPECT_TRUE(LayOutDetailsLines(ContactDetailsLines(record), &lastPage).empty());
  EXPECT_EQ(lastPage, 0);
}

}  // namespace
