#include "prediction/next_word_file.h"
#include "prediction/next_word_list.h"

#include "device_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using Words3 = std::vector<std::u16string>;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

namespace {

Words3 Next(const NextWordList& list, const std::u16string& word) {
  SuggestionArray out;
  list.FindNextWords(word.c_str(), out);
  return {out[0], out[1], out[2]};
}

Pairs AllPairs(const NextWordList& list) {
  Pairs pairs;
  for (int i = 0; i < list.PairCount(); ++i) pairs.emplace_back(list.First(i), list.Following(i));
  return pairs;
}

Bytes Utf8(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Utf16(const std::u16string& text, bool bom = true) {
  Bytes bytes;
  if (bom) bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

Pairs Parse(const Bytes& bytes) {
  NextWordList list;
  ParseNextWordFile(bytes.data(), bytes.size(), list);
  return AllPairs(list);
}

}  // namespace

TEST(FindNextWords, FirstThreePairsInListOrderIgnoringCase) {
  NextWordList list;
  list.AddNextWordPair(u"thank", u"you");
  list.AddNextWordPair(u"the", u"end");
  list.AddNextWordPair(u"The", u"best");
  list.AddNextWordPair(u"THE", u"end");  // duplicates are kept
  list.AddNextWordPair(u"the", u"last");
  EXPECT_EQ(Next(list, u"the"), (Words3{u"end", u"best", u"end"}));
  EXPECT_EQ(Next(list, u"Thank"), (Words3{u"you", u"", u""}));
  EXPECT_EQ(Next(list, u"than"), (Words3{u"", u"", u""}));
  EXPECT_EQ(Next(list, u""), (Words3{u"", u"", u""}));
  list.EmptyNextWordList();
  EXPECT_EQ(list.PairCount(), 0);
  EXPECT_EQ(Next(list, u"the"), (Words3{u"", u"", u""}));
}

TEST(NextWordFile, LinesWithTwoTokensBecomePairs) {
  EXPECT_EQ(Parse(Utf8("thank you\r\nsee you later\r\nalone\r\n\r\n  good \t morning  \nlast line")),
            (Pairs{{u"thank", u"you"}, {u"see", u"you"}, {u"good", u"morning"}, {u"last", u"line"}}));
}

TEST(NextWordFile, EncodingFollowsTheByteOrderMark) {
  const Pairs greek = {{u"\u03ba\u03b1\u03bb\u03ae", u"\u03bd\u03cd\u03c7\u03c4\u03b1"}};
  EXPECT_EQ(Parse(Utf16(u"\u03ba\u03b1\u03bb\u03ae \u03bd\u03cd\u03c7\u03c4\u03b1\r\n")), greek);
  EXPECT_EQ(Parse(Utf8("\xce\xba\xce\xb1\xce\xbb\xce\xae \xce\xbd\xcf\x8d\xcf\x87\xcf\x84\xce\xb1\n")), greek);
  EXPECT_EQ(Parse(Utf8("\xef\xbb\xbf\xce\xba\xce\xb1\xce\xbb\xce\xae \xce\xbd\xcf\x8d\xcf\x87\xcf\x84\xce\xb1")), greek);
  // Without a UTF-16 mark the bytes are UTF-8: "a\0 b\0" is not read as two UTF-16 words.
  EXPECT_EQ(Parse(Utf16(u"ab cd", false)).size(), 0u);
}

TEST(NextWordFile, LongLinesAreReadInPiecesOf255) {
  // 250 filler characters, two spaces, "next word": the first read of 255 characters ends
  // inside "next", so the first piece gives (filler cut to 127, "nex"), the second ("t", "word").
  const std::string line = std::string(250, 'f') + "  next word\r\n";
  EXPECT_EQ(Parse(Utf8(line + "a b\r\n")),
            (Pairs{{std::u16string(127, u'f'), u"nex"}, {u"t", u"word"}, {u"a", u"b"}}));
}

TEST(NextWordFile, ExactlyFullReadLeavesTheLineEndAlone) {
  // 255 characters fill one read; the line end that follows is a piece of its own.
  const std::string line = "one two" + std::string(248, ' ');
  EXPECT_EQ(Parse(Utf8(line + "\nthree four\n")), (Pairs{{u"one", u"two"}, {u"three", u"four"}}));
}

TEST(NextWordFile, InvalidUtf8ReadsAsReplacementCharacter) {
  EXPECT_EQ(Parse(Utf8("a\xff b\n")), (Pairs{{u"a\ufffd", u"b"}}));
}

class NextWordFileOnDevice : public DeviceImageTest {};

TEST_F(NextWordFileOnDevice, LoadEmptiesFirstAndMissingFilesGiveNoPairs) {
  NextWordList list;
  list.AddNextWordPair(u"old", u"pair");
  WriteDeviceFile(u"\\Program Files\\Tavrel\\phrases.dat", Utf16(u"thank you\r\nthe end\r\n"));
  ASSERT_TRUE(LoadNextWordList(u"\\Program Files\\Tavrel\\phrases.dat", list));
  EXPECT_EQ(AllPairs(list), (Pairs{{u"thank", u"you"}, {u"the", u"end"}}));
  EXPECT_FALSE(LoadNextWordList(u"\\Program Files\\Tavrel\\missing.dat", list));
  EXPECT_EQ(list.PairCount(), 0);
  list.AddNextWordPair(u"old", u"pair");
  EXPECT_FALSE(LoadNextWordList(u"-", list));
  EXPECT_EQ(list.PairCount(), 0);
}
