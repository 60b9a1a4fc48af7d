#include "prediction/language_table.h"

#include "device_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Utf16(const std::u16string& text) {
  Bytes bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

// A well-formed block with the given name values; key strings are "<key letter><index>".
std::u16string Block(const std::u16string& name, const std::u16string& extra = u"") {
  return u"CHARSET=START\r\n"
         u"LONG=" + name + u"Long\r\nNAME=" + name + u"\r\nPREDICTDB=" + name + u"\\db.dat\r\n"
         u"NEXTWORDDB=" + name + u"\\phrases.dat\r\n" + extra +
         u"PHONEKEYS_1=p1\r\nPHONEKEYS_2=p2\r\nQWERTY_1=q1\r\nQWERTY_2=q2\r\nQWERTY_3=q3\r\n"
         u"QWERTYFULL_1=f1\r\nQWERTYFULL_2=f2\r\nQWERTYFULL_3=f3\r\nQWERTYFULL_MODIFIERS=m\r\n"
         u"PREDICT_1=r1\r\nPREDICT_2=r2\r\nPREDICT_3=r3\r\nCHARSET=END\r\n";
}

LanguageTable Parse(const std::u16string& text) {
  LanguageTable table;
  const Bytes bytes = Utf16(text);
  ParseLanguageFile(bytes.data(), bytes.size(), table);
  return table;
}

std::u16string S(const WCHAR* field) { return field; }

}  // namespace

TEST(LanguageFile, WellFormedBlocksFillRecordsInFileOrder) {
  const LanguageTable table = Parse(Block(u"english") + Block(u"german"));
  ASSERT_EQ(table.count, 2);
  EXPECT_EQ(table.firstIncomplete, -1);
  const LanguageRecord& de = table.records[1];
  EXPECT_EQ(S(de.LONG), u"germanLong");
  EXPECT_EQ(S(de.NAME), u"german");
  EXPECT_EQ(S(de.PREDICTDB), u"german\\db.dat");
  EXPECT_EQ(S(de.NEXTWORDDB), u"german\\phrases.dat");
  for (auto [field, value] : {std::pair{de.PHONEKEYS_1, u"p1"}, {de.PHONEKEYS_2, u"p2"}, {de.QWERTY_1, u"q1"},
                              {de.QWERTY_2, u"q2"}, {de.QWERTY_3, u"q3"}, {de.QWERTYFULL_1, u"f1"},
                              {de.QWERTYFULL_2, u"f2"}, {de.QWERTYFULL_3, u"f3"}, {de.QWERTYFULL_MODIFIERS, u"m "},
                              {de.PREDICT_1, u"r1"}, {de.PREDICT_2, u"r2"}, {de.PREDICT_3, u"r3"}})
    EXPECT_EQ(S(field), value);
}

TEST(LanguageFile, TabsVanishEverywhere) {
  std::u16string text = Block(u"english");
  text.replace(text.find(u"q1"), 2, u"\tq\t1");
  text.replace(text.find(u"LONG="), 5, u"LO\tNG=\t\t");
  const LanguageTable table = Parse(text);
  EXPECT_EQ(S(table.records[0].QWERTY_1), u"q1");
  EXPECT_EQ(S(table.records[0].LONG), u"englishLong");
}

TEST(LanguageFile, NameValuesAreOneTokenKeyStringsAreRaw) {
  std::u16string text = Block(u"english");
  text.replace(text.find(u"LONG=englishLong"), 16, u"LONG=  Modern English");
  text.replace(text.find(u"QWERTY_2=q2"), 11, u"QWERTY_2= q w e  ");
  text.replace(text.find(u"QWERTYFULL_MODIFIERS=m"), 22, u"QWERTYFULL_MODIFIERS=");
  text.replace(text.find(u"PREDICT_3=r3\r\n"), 14, u"PREDICT_3=a b\nc\r\n");
  const LanguageRecord& r = Parse(text).records[0];
  EXPECT_EQ(S(r.LONG), u"Modern");
  EXPECT_EQ(S(r.QWERTY_2), u" q w e  ");
  EXPECT_EQ(S(r.QWERTYFULL_MODIFIERS), u" ");
  EXPECT_EQ(S(r.PREDICT_3), u"a b\nc");  // a lone LF does not end a value
}

TEST(LanguageFile, ValuesAreCutToTheirFields) {
  std::u16string text = Block(u"english");
  text.replace(text.find(u"NAME=english"), 12, u"NAME=Englishlonger");
  text.replace(text.find(u"QWERTY_1=q1"), 11, u"QWERTY_1=" + std::u16string(150, u'x'));
  text.replace(text.find(u"QWERTYFULL_MODIFIERS=m"), 22, u"QWERTYFULL_MODIFIERS=" + std::u16string(120, u'y'));
  const LanguageTable table = Parse(text);
  const LanguageRecord& r = table.records[0];
  EXPECT_EQ(S(r.NAME), u"Englishlo");
  EXPECT_EQ(S(r.QWERTY_1), std::u16string(99, u'x'));
  EXPECT_EQ(S(r.QWERTYFULL_MODIFIERS), std::u16string(98, u'y') + u" ");
  EXPECT_EQ(S(r.QWERTY_2), u"q2");  // the next key is still found after the long value
}

TEST(LanguageFile, MissingKeyStopsTheBlockWithoutTakingTheNextBlocksKeys) {
  std::u16string first = Block(u"english");
  first.erase(first.find(u"QWERTY_3=q3\r\n"), 13);
  LanguageTable table = Parse(Block(u"greek") + first + Block(u"german"));
  ASSERT_EQ(table.count, 3);
  EXPECT_EQ(table.firstIncomplete, 1);  // start-up names the damaged block
  table = Parse(first + Block(u"german"));
  ASSERT_EQ(table.count, 2);
  EXPECT_EQ(S(table.records[0].QWERTY_2), u"q2");
  EXPECT_EQ(S(table.records[0].QWERTY_3), u"");
  EXPECT_EQ(S(table.records[0].PREDICT_1), u"");  // keys after the missing one are not read
  EXPECT_EQ(S(table.records[1].NAME), u"german");
  EXPECT_EQ(S(table.records[1].QWERTY_3), u"q3");
}

TEST(LanguageFile, KeysOutOfOrderStopTheBlock) {
  const LanguageTable table = Parse(
      u"CHARSET=START\r\nNAME=en\r\nLONG=English\r\nPREDICTDB=x\r\nNEXTWORDDB=y\r\nPHONEKEYS_1=p\r\n");
  ASSERT_EQ(table.count, 1);
  EXPECT_EQ(S(table.records[0].LONG), u"English");
  EXPECT_EQ(S(table.records[0].NAME), u"");  // NAME= stands before LONG=, so it is not found
  EXPECT_EQ(S(table.records[0].PHONEKEYS_1), u"");
}

TEST(LanguageFile, AtMostTenBlocks) {
  std::u16string text;
  for (int i = 0; i < 12; ++i) text += Block(u"lang" + std::u16string(1, char16_t(u'a' + i)));
  const LanguageTable table = Parse(text);
  EXPECT_EQ(table.count, kMaxLanguages);
  EXPECT_EQ(S(table.records[9].NAME), u"langj");
}

TEST(LanguageFile, EmptyAndTinyFilesHoldNoLanguage) {
  EXPECT_EQ(Parse(u"").count, 0);
  EXPECT_EQ(Parse(u"C").count, 0);  // 4 bytes with the mark, but no block
  LanguageTable table;
  const Bytes three = {0xFF, 0xFE, 'C'};
  ParseLanguageFile(three.data(), three.size(), table);
  EXPECT_EQ(table.count, 0);
  EXPECT_EQ(S(table.Language(0).NAME), u"");  // out of range: an empty record
  EXPECT_EQ(S(table.Language(-1).PREDICTDB), u"");
}

TEST(LanguageFile, FirstTwoBytesAreSkippedUnread) {
  Bytes bytes = Utf16(Block(u"english"));
  bytes[0] = 'X';
  bytes[1] = 'Y';
  LanguageTable table;
  ParseLanguageFile(bytes.data(), bytes.size(), table);
  EXPECT_EQ(table.count, 1);
}

class LanguageFileOnDevice : public DeviceImageTest {};

TEST_F(LanguageFileOnDevice, ReadsTheFileOrReportsItMissing) {
  LanguageTable table;
  table.count = 3;
  EXPECT_FALSE(ReadLanguageFile(u"\\Program Files\\Tavrel\\keyboard.txt", table));
  EXPECT_EQ(table.count, 0);
  WriteDeviceFile(u"\\Program Files\\Tavrel\\keyboard.txt", Utf16(Block(u"english") + Block(u"greek")));
  EXPECT_TRUE(ReadLanguageFile(u"\\Program Files\\Tavrel\\keyboard.txt", table));
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(S(table.records[1].NAME), u"greek");
}
