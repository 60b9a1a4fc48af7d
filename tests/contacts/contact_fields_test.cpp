// The contact menu's entries: the stored selection in the registry, the value texts made from
// a record, and edited texts read back into the record (dates, names, city and postal code).
#include "contacts/contact_fields.h"

#include "contacts_fixture.h"
#include "settings/registry_settings.h"

using contacts_test::ContactsTest;

namespace {

class ContactFieldsTest : public ContactsTest {
 protected:
  static std::vector<std::int32_t> StoredPositions() {
    std::vector<BYTE> data;
    if (!ReadBinarySetting(u"contactdata", data)) return {-100};
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4)
      positions.push_back(static_cast<std::int32_t>(data[i] | (data[i + 1] << 8) | (data[i + 2] << 16) |
                                                    (static_cast<DWORD>(data[i + 3]) << 24)));
    return positions;
  }

  static void StorePositions(const std::vector<std::int32_t>& positions) {
    std::vector<BYTE> data;
    for (std::int32_t p : positions)
      for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<BYTE>(static_cast<DWORD>(p) >> shift));
    WriteSetting(u"contactdata", REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
  }

  // The value text of one entry made from `record`.
  static std::optional<std::u16string> Shown(int position, const ContactRecord& record) {
    FieldEntryList selection;
    selection.Append(MakeFieldEntry(position));
    FormatFieldValue(selection, record);
    return selection.At(0)->valueText;
  }

  static DATE Date(WORD year, WORD month, WORD day) {
    SYSTEMTIME time{year, month, 0, day, 0, 0, 0, 0};
    DATE date = 0;
    SystemTimeToVariantTime(&time, &date);
    return date;
  }
};

TEST_F(ContactFieldsTest, Table_LabelsIdsAndNumericFlagsOfTheRowsThatDifferFromTheirPosition) {
  EXPECT_EQ(std::u16string(kContactFieldTable[2].label), u"Fax\r\n(work)");
  EXPECT_EQ(kContactFieldTable[29].fieldId, kFirstNameId);
  EXPECT_EQ(std::u16string(kContactFieldTable[30].label), u"Home:\r\ncountry/\r\nstate");
  EXPECT_EQ(kContactFieldTable[30].fieldId, 38);
  EXPECT_EQ(kContactFieldTable[33].fieldId, 45);
  EXPECT_EQ(kContactFieldTable[35].fieldId, 35);
  EXPECT_EQ(kContactFieldTable[36].fieldId, 34);
  int numeric = 0;
  for (const ContactFieldRow& row : kContactFieldTable) numeric += row.numeric;
  EXPECT_EQ(numeric, 13);
  EXPECT_EQ(FindFieldPosition(29), 0);  // Title is in no entry
  EXPECT_EQ(FindFieldPosition(45), 33);
  EXPECT_EQ(FindFieldPosition(kFileAsId), 25);
}

TEST_F(ContactFieldsTest, Load_WithoutContactdataTakesTheTenDefaultsAndWritesThem40Bytes) {
  FieldEntryList selection;
  LoadFieldSelection(selection);
  ASSERT_EQ(selection.Count(), 10);
  EXPECT_EQ(std::u16string(selection.At(0)->label), u"Name");
  EXPECT_EQ(std::u16string(selection.At(1)->label), u"Phone\r\n(mobile)");
  EXPECT_EQ(std::u16string(selection.At(9)->label), u"Business:\r\nstreet");
  EXPECT_EQ(selection.At(1)->numeric, 1);
  EXPECT_FALSE(selection.At(0)->valueText.has_value());
  std::vector<BYTE> data;
  ASSERT_TRUE(ReadBinarySetting(u"contactdata", data));
  EXPECT_EQ(data.size(), 40u);
  EXPECT_EQ(StoredPositions(), (std::vector<std::int32_t>{29, 6, 9, 11, 5, 35, 36, 3, 33, 34}));
}

TEST_F(ContactFieldsTest, Load_ZeroBytesIsAnEmptySelectionAndBadPositionsAreSkipped) {
  StorePositions({});
  FieldEntryList selection;
  LoadFieldSelection(selection);
  EXPECT_EQ(selection.Count(), 0);
  EXPECT_EQ(StoredPositions(), std::vector<std::int32_t>{});  // not replaced by the defaults
  StorePositions({25, 37, -1, 1});
  LoadFieldSelection(selection);
  ASSERT_EQ(selection.Count(), 2);
  EXPECT_EQ(selection.At(0)->fieldId, kFileAsId);
  EXPECT_EQ(selection.At(1)->fieldId, kBirthdayId);
}

TEST_F(ContactFieldsTest, Load_ValueOfAnotherTypeCountsAsMissing) {
  DWORD wrong = 5;
  WriteSetting(u"contactdata", REG_DWORD, &wrong, 4);
  FieldEntryList selection;
  LoadFieldSelection(selection);
  EXPECT_EQ(selection.Count(), 10);
}

TEST_F(ContactFieldsTest, Save_WritesPositionsByFieldIdAndDataPerPage12) {
  FieldEntryList selection;
  selection.Append(MakeFieldEntry(36));
  selection.Append(MakeFieldEntry(0));
  selection.InsertAt(1, MakeFieldEntry(29));
  SaveFieldSelection(selection);
  EXPECT_EQ(StoredPositions(), (std::vector<std::int32_t>{36, 29, 0}));
  DWORD perPage = 0;
  EXPECT_TRUE(ReadDwordSetting(u"dataperpage", &perPage));
  EXPECT_EQ(perPage, 12u);
}

TEST_F(ContactFieldsTest, EntryList_InsertBeyondEndAppendsNegativeDoesNothingReadOutsideIsNull) {
  FieldEntryList list;
  list.InsertAt(5, MakeFieldEntry(3));
  list.InsertAt(-1, MakeFieldEntry(4));
  list.InsertAt(0, MakeFieldEntry(5));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At(0)->fieldId, 5);
  EXPECT_EQ(list.At(1)->fieldId, 3);
  EXPECT_EQ(list.At(2), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);
  list.RemoveAt(7);
  list.RemoveAt(0);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.At(0)->fieldId, 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ContactFieldsTest, Format_DatesDayMonthYearNoLeadingZerosAndNoDateLeavesTheTextAsItWas) {
  ContactRecord record;
  record.Birthday = Date(2003, 2, 1);
  EXPECT_EQ(Shown(1, record), u"1/2/2003");
  record.Birthday = kStoreNoDate;
  EXPECT_FALSE(Shown(1, record).has_value());
  FieldEntryList selection;
  selection.Append(MakeFieldEntry(1));
  selection.At(0)->valueText = u"as before";
  FormatFieldValue(selection, record);
  EXPECT_EQ(selection.At(0)->valueText, u"as before");
}

TEST_F(ContactFieldsTest, Format_NameAlwaysHasBothBlanksAndCompositesJoinWithCommaBlank) {
  ContactRecord record;
  EXPECT_FALSE(Shown(29, record).has_value());
  SetContactString(record, kFirstNameId, u"Ann");
  SetContactString(record, kLastNameId, u"Lee");
  EXPECT_EQ(Shown(29, record), u"Ann  Lee");
  SetContactString(record, kHomeAddressCityId, u"Szeged");
  EXPECT_EQ(Shown(35, record), u"Szeged");
  SetContactString(record, kHomeAddressPostalCodeId, u"6720");
  EXPECT_EQ(Shown(35, record), u"Szeged, 6720");
  SetContactString(record, kBusinessAddressStateId, u"NY");
  EXPECT_EQ(Shown(32, record), u", NY");
  EXPECT_FALSE(Shown(25, record).has_value());
  SetContactString(record, kFileAsId, u"Lee, Ann");
  EXPECT_EQ(Shown(25, record), u"Lee, Ann");
}

TEST_F(ContactFieldsTest, Parse_BirthdayFormsWithSeparatorsAndWithout) {
  const DATE christmasEve = Date(1970, 12, 24);
  for (const char16_t* text : {u"24-12-1970", u"24 12 1970", u"24/12/1970"}) {
    ContactRecord record;
    ParseFieldValue(record, kBirthdayId, text);
    EXPECT_EQ(record.Birthday, christmasEve) << std::string(text, text + 10);
  }
  ContactRecord record;
  record.Birthday = 1234.0;
  ParseFieldValue(record, kBirthdayId, u"24.12.1970");  // one token: the full stop is no separator
  EXPECT_EQ(record.Birthday, 1234.0);
  ParseFieldValue(record, kBirthdayId, u"24/12");
  EXPECT_EQ(record.Birthday, 1234.0);
  ParseFieldValue(record, kBirthdayId, u"31/2/2000");  // rejected by the conversion
  EXPECT_EQ(record.Birthday, 1234.0);
  ParseFieldValue(record, kAnniversaryId, u"1x/2y/99999999999");  // year kept within 16 bits, rejected
  EXPECT_EQ(record.Anniversary, 0.0);
}

TEST_F(ContactFieldsTest, Parse_CityAndCodeSplitAtTheSeparatorSet) {
  ContactRecord record;
  ParseFieldValue(record, kHomeAddressCityId, u"Szeged 6720");
  EXPECT_EQ(Field(record, kHomeAddressCityId), u"Szeged");
  EXPECT_EQ(Field(record, kHomeAddressPostalCodeId), u"6720");
  ParseFieldValue(record, kHomeAddressCityId, u"New York 10001");
  EXPECT_EQ(Field(record, kHomeAddressCityId), u"New");
  EXPECT_EQ(Field(record, kHomeAddressPostalCodeId), u"York");
  ParseFieldValue(record, kHomeAddressCityId, u"Pécs");
  EXPECT_EQ(Field(record, kHomeAddressCityId), u"Pécs");
  EXPECT_EQ(Field(record, kHomeAddressPostalCodeId), u"York");  // no token: kept
}

TEST_F(ContactFieldsTest, Parse_UnchangedCompositeTextReadsBackIntoTheSameTwoFields) {
  ContactRecord record;
  SetContactString(record, kBusinessAddressCountryId, u"Hungary");
  SetContactString(record, kBusinessAddressStateId, u"Csongrad");
  ContactRecord copy = CopyContactRecord(record);
  ParseFieldValue(copy, kBusinessAddressCountryId, *Shown(32, record));
  EXPECT_EQ(Field(copy, kBusinessAddressCountryId), u"Hungary");
  EXPECT_EQ(Field(copy, kBusinessAddressStateId), u"Csongrad");
  ContactRecord onlyCode;
  SetContactString(onlyCode, kHomeAddressPostalCodeId, u"6720");
  ParseFieldValue(onlyCode, kHomeAddressCityId, *Shown(35, onlyCode));
  EXPECT_EQ(ContactString(onlyCode, kHomeAddressCityId), nullptr);
  EXPECT_EQ(Field(onlyCode, kHomeAddressPostalCodeId), u"6720");
}

TEST_F(ContactFieldsTest, Parse_NameSplitsAtBlanksIntoFirstMiddleLast) {
  ContactRecord record;
  ParseFieldValue(record, kFirstNameId, u"Cher");
  EXPECT_EQ(Field(record, kFirstNameId), u"Cher");
  EXPECT_EQ(ContactString(record, kLastNameId), nullptr);
  ParseFieldValue(record, kFirstNameId, u"Ann  Lee");
  EXPECT_EQ(Field(record, kFirstNameId), u"Ann");
  EXPECT_EQ(ContactString(record, kMiddleNameId), nullptr);
  EXPECT_EQ(Field(record, kLastNameId), u"Lee");
  ParseFieldValue(record, kFirstNameId, u" John Ronald Reuel Tolkien ");
  EXPECT_EQ(Field(record, kFirstNameId), u"John");
  EXPECT_EQ(Field(record, kMiddleNameId), u"Ronald Reuel");
  EXPECT_EQ(Field(record, kLastNameId), u"Tolkien");
  EXPECT_EQ(Shown(29, record), u"John Ronald Reuel Tolkien");
}

TEST_F(ContactFieldsTest, Parse_PlainFieldTakesTheWholeTextAndEmptyTextChangesNothing) {
  ContactRecord record;
  ParseFieldValue(record, kEmail1AddressId, u"a-b_c@x.org, second");
  EXPECT_EQ(Field(record, kEmail1AddressId), u"a-b_c@x.org, second");
  ParseFieldValue(record, kEmail1AddressId, u"");
  EXPECT_EQ(Field(record, kEmail1AddressId), u"a-b_c@x.org, second");
}

}  // namespace
