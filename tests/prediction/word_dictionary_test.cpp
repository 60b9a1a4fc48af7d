#include "prediction/word_dictionary.h"

#include "test_words.h"

#include <gtest/gtest.h>

using Words3 = std::vector<std::u16string>;
using Counted = std::vector<std::pair<std::u16string, int>>;

constexpr int kBucketT = 20;  // 't' = 0x74; 116 mod 32 = 20

TEST(LearnWord, CountsPrefixesBothWays) {
  WordDictionary d;
  Learn(d, u"the");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"the", 1}}));
  Learn(d, u"there");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"the", 2}, {u"there", 1}}));
  Learn(d, u"th");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"the", 2}, {u"there", 1}, {u"th", 3}}));
}

TEST(LearnWord, LowerCasesInPlaceAndMergesCaseVariants) {
  WordDictionary d;
  std::u16string cat = u"Cat";
  d.LearnWord(cat.data());
  EXPECT_EQ(cat, u"cat");
  Learn(d, u"CAT");
  EXPECT_EQ(Bucket(d, WordDictionary::BucketOf(u'c')), (Counted{{u"cat", 2}}));
  Learn(d, u"ÉTÉ");  // non-ASCII capitals go through the Unicode case mapping
  EXPECT_EQ(d.CountOf(u"été"), 1);
}

TEST(LearnWord, ScanStopsAtTheEqualEntry) {
  WordDictionary d;
  Store(d, {{u"then", 1}, {u"the", 1}, {u"th", 1}});
  Learn(d, u"the");
  // "then" is not a prefix of "the"; "the" counts up and the scan stops before "th".
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"then", 1}, {u"the", 2}, {u"th", 1}}));
  Learn(d, u"thence");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"then", 2}, {u"the", 3}, {u"th", 2}, {u"thence", 1}}));
}

TEST(LearnWord, EmptyWordAndOneLetterWords) {
  WordDictionary d;
  Learn(d, u"");
  EXPECT_EQ(d.WordCount(), 0);
  Learn(d, u"to");
  Learn(d, u"t");  // one longer word begins with it
  Learn(d, u"tap");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"to", 1}, {u"t", 3}, {u"tap", 1}}));
}

TEST(LearnWord, LongWordsAreCutTo255) {
  WordDictionary d;
  std::u16string longWord(300, u'a');
  Learn(d, longWord);
  Learn(d, longWord);
  EXPECT_EQ(d.CountOf(std::u16string(255, u'a').c_str()), 2);
  EXPECT_EQ(d.WordCount(), 1);
}

TEST(LearnWord, BucketsShareLowBitsButNeverMatch) {
  WordDictionary d;
  // 'a' (0x61) and U+0161 (s with caron, low byte 0x61) both land in bucket 1.
  Learn(d, u"ab");
  Learn(d, u"\u0160b");  // stored lower case, U+0161
  EXPECT_EQ(WordDictionary::BucketOf(u'a'), WordDictionary::BucketOf(u'\u0161'));
  EXPECT_EQ(d.EntryCount(1), 2);
  EXPECT_EQ(Words(Complete(d, u"a")), (Words3{u"ab", u"", u""}));
  EXPECT_EQ(Words(Complete(d, u"\u0160")), (Words3{u"\u0161b", u"", u""}));
}

TEST(FindCompletions, GroupingLeavesTwoSlotsSoThePlainRankingIsUsed) {
  WordDictionary d;
  Store(d, {{u"the", 9}, {u"then", 4}, {u"they", 3}, {u"tea", 2}});
  Completions c = Complete(d, u"t");
  EXPECT_EQ(Words(c), (Words3{u"the", u"then", u"they"}));
  EXPECT_EQ(std::u16string(c.nextKeys), u"he");
}

TEST(FindCompletions, GroupingKeepsTheShortestWordOfAFamily) {
  WordDictionary d;
  Store(d, {{u"then", 5}, {u"the", 1}, {u"cat", 1}, {u"tea", 3}, {u"toe", 2}, {u"tip", 1}});
  // "the" begins "then", so it joins that slot and takes its place; the family scores 6.
  EXPECT_EQ(Words(Complete(d, u"t")), (Words3{u"the", u"tea", u"toe"}));
}

TEST(FindCompletions, GroupedScoresOutrankSingleWords) {
  WordDictionary d;
  Store(d, {{u"tab", 5}, {u"tone", 3}, {u"tones", 3}, {u"ten", 4}, {u"toy", 1}});
  // "tones" joins "tone" in slot 1 (score 6); "ten" (4) beats neither "tab" (5) nor that
  // group and takes slot 2 although "tone" and "tones" alone count only 3 each.
  EXPECT_EQ(Words(Complete(d, u"t")), (Words3{u"tab", u"tone", u"ten"}));
  Store(d, {{u"tabs", 3}});  // grouped under "tab": 8; order of slots unchanged
  Store(d, {{u"tick", 9}});  // beats slot 0 and pushes the others down
  EXPECT_EQ(Words(Complete(d, u"t")), (Words3{u"tick", u"tab", u"tone"}));
}

TEST(FindCompletions, EqualCountsKeepStoredOrder) {
  WordDictionary d;
  Store(d, {{u"tax", 2}, {u"tin", 2}, {u"top", 2}, {u"tub", 2}});
  EXPECT_EQ(Words(Complete(d, u"t")), (Words3{u"tax", u"tin", u"top"}));
  // Next keys: equal tallies, lowest character code first.
  EXPECT_EQ(std::u16string(Complete(d, u"t").nextKeys), u"aio");
}

TEST(FindCompletions, LowerCasesThePrefixAndSkipsTheEqualWord) {
  WordDictionary d;
  Store(d, {{u"the", 5}, {u"then", 1}, {u"The", 7}});
  std::u16string prefix = u"THE";
  Completions c;
  d.FindCompletions(prefix.data(), c);
  EXPECT_EQ(prefix, u"the");
  EXPECT_EQ(Words(c), (Words3{u"then", u"", u""}));
  EXPECT_EQ(std::u16string(c.nextKeys), u"n");
  // A word stored with capitals (from a file) is not found by a lower-cased prefix.
  EXPECT_EQ(Words(Complete(d, u"Th")), (Words3{u"the", u"then", u""}));
}

TEST(FindCompletions, NothingFoundGivesEmptyResults) {
  WordDictionary d;
  Store(d, {{u"tree", 3}});
  for (const char16_t* prefix : {u"x", u"tree", u"trees", u""}) {
    Completions c = Complete(d, prefix);
    EXPECT_EQ(Words(c), (Words3{u"", u"", u""})) << std::string(prefix, prefix + std::char_traits<char16_t>::length(prefix));
    EXPECT_EQ(c.nextKeys[0], 0);
  }
}

// An empty prefix (nothing typed yet) suggests nothing and marks no key, even though every
// word "begins with" it. The search would otherwise look in bucket 0, the bucket of the
// terminator, which holds the words starting with a space, '@', '`', U+00C0 or U+00E0.
TEST(FindCompletions, AnEmptyPrefixSuggestsNothingAndMarksNoKey) {
  WordDictionary d;
  Store(d, {{u"\u00e0la", 5}, {u"@home", 3}, {u"`quoted", 2}});
  ASSERT_EQ(Words(Complete(d, u"\u00e0")), (Words3{u"\u00e0la", u"", u""}));  // the words are there
  const Completions c = Complete(d, u"");
  EXPECT_EQ(Words(c), (Words3{u"", u"", u""}));
  EXPECT_EQ(std::u16string(c.nextKeys), u"");
}

TEST(FindCompletions, NextKeysTallyCountsAndStopsAtZero) {
  WordDictionary d;
  Store(d, {{u"sat", 1}, {u"sit", 4}, {u"sip", 1}, {u"sun", 2}, {u"sea", 0}});
  // i: 5, u: 2, a: 1, e: 0 (never listed)
  EXPECT_EQ(std::u16string(Complete(d, u"s").nextKeys), u"iua");
  EXPECT_EQ(std::u16string(Complete(d, u"se").nextKeys), u"");
  EXPECT_EQ(Words(Complete(d, u"se")), (Words3{u"", u"", u""}));  // a count of 0 never takes a slot
  EXPECT_EQ(std::u16string(Complete(d, u"si").nextKeys), u"tp");
}

TEST(FindCompletions, LongPrefixesCompareEveryCharacter) {
  WordDictionary d;
  Store(d, {{u"interaction", 2}, {u"internal", 3}, {u"interact", 1}, {u"intern", 5}});
  EXPECT_EQ(Words(Complete(d, u"intera")), (Words3{u"interaction", u"interact", u""}));
  EXPECT_EQ(Words(Complete(d, u"intern")), (Words3{u"internal", u"", u""}));
  EXPECT_EQ(std::u16string(Complete(d, u"inter").nextKeys), u"na");
}

TEST(FindCompletions, ManyDistinctNextCharactersAreTalliedExactly) {
  WordDictionary d;
  // 700 distinct characters follow "q", more than the lookup's table holds at once.
  for (int i = 0; i < 700; ++i) {
    const char16_t word[] = {u'q', static_cast<char16_t>(0x4E00 + i), 0};
    d.AddStoredWord(word, i == 650 ? 50 : (i == 10 ? 40 : 1));
  }
  const char16_t extra[] = {u'q', static_cast<char16_t>(0x4E00 + 3), u'x', 0};
  d.AddStoredWord(extra, 39);  // char 3 totals 40 too, ties with char 10 and wins by code
  Completions c = Complete(d, u"q");
  EXPECT_EQ(std::u16string(c.nextKeys), (std::u16string{char16_t(0x4E00 + 650), char16_t(0x4E00 + 3), char16_t(0x4E00 + 10)}));
}

TEST(WordDictionary, EmptyAndGrowth) {
  WordDictionary d;
  for (int i = 0; i < 300; ++i) {
    const char16_t word[] = {u't', static_cast<char16_t>(u'a' + i % 26), static_cast<char16_t>(0x100 + i), 0};
    d.AddStoredWord(word, 1);
  }
  EXPECT_EQ(d.EntryCount(kBucketT), 300);
  // Insertion order is kept.
  EXPECT_EQ(d.Text(d.Entry(kBucketT, 299))[2], char16_t(0x100 + 299));
  d.EmptyDictionary();
  EXPECT_EQ(d.WordCount(), 0);
  Learn(d, u"tap");
  EXPECT_EQ(Bucket(d, kBucketT), (Counted{{u"tap", 1}}));
}

TEST(WordDictionary, RemoveWordsAtOrBelowKeepsOrder) {
  WordDictionary d;
  Store(d, {{u"a1", 0}, {u"a2", 3}, {u"a3", 1}, {u"a4", 2}, {u"a5", 0}});
  d.RemoveWordsAtOrBelow(1);
  EXPECT_EQ(Bucket(d, 1), (Counted{{u"a2", 3}, {u"a4", 2}}));
}
