// The user's word pairs: what counts a pair, when and in what order pairs are offered next to
// the shipped ones, the bound, and the pairs file with its faults.
#include "prediction/learned_pairs.h"
#include "prediction/learned_pairs_file.h"
#include "prediction/word_tracker.h"
#include "prediction/zlib_stream.h"

#include "common/file_helpers.h"
#include "device_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Offered(const LearnedPairs* learned, const NextWordList& shipped, std::u16string word) {
  SuggestionArray out;
  FindNextWords(learned, shipped, reinterpret_cast<const WCHAR*>(word.c_str()), out);
  return {out[0], out[1], out[2]};
}

void CountTimes(LearnedPairs& pairs, const char16_t* first, const char16_t* following, int times) {
  for (int i = 0; i < times; ++i) pairs.CountPair(first, following);
}

// Types text through a tracker, one character at a time, as the keyboards do.
void Type(WordTracker& tracker, const std::u16string& text) {
  for (char16_t c : text) tracker.TypeCharacter(c);
}

std::vector<std::u16string> Offers(const WordTracker& tracker) {
  std::vector<std::u16string> words;
  for (int k = 0; k < kSuggestionCount; ++k) {
    WCHAR buffer[kWordBufferSize];
    tracker.GetCompletion(k, buffer);
    words.emplace_back(buffer);
  }
  return words;
}

using Words = std::vector<std::u16string>;

class TypedPairs : public ::testing::Test {
 protected:
  TypedPairs() { tracker.SetLearnedPairs(&pairs); }
  WordDictionary dictionary;
  NextWordList shipped;
  LearnedPairs pairs;
  WordTracker tracker{dictionary, shipped};
};

}  // namespace

TEST_F(TypedPairs, APairWrittenTwiceIsOfferedAfterItsFirstWordBeforeTheShippedOnes) {
  shipped.AddNextWordPair(u"the", u"way");
  shipped.AddNextWordPair(u"the", u"end");
  shipped.AddNextWordPair(u"the", u"first");
  Type(tracker, u"see you at the office ");
  Type(tracker, u"the ");
  EXPECT_EQ(Offers(tracker), (Words{u"way", u"end", u"first"})) << "one use is not enough";
  Type(tracker, u"office the ");
  EXPECT_EQ(Offers(tracker), (Words{u"office", u"way", u"end"}));
  EXPECT_EQ(std::u16string(tracker.GetNextKeys()), u"owe");
}

TEST_F(TypedPairs, OnlySpacesBetweenTwoFinishedWordsMakeAPair) {
  Type(tracker, u"Good  Morning. good, morning\ngood\tmorning. good-morning ");
  ASSERT_EQ(pairs.PairCount(), 1);
  EXPECT_EQ(pairs.First(0), u"good");  // learned lower case, as the dictionary learns
  EXPECT_EQ(pairs.Following(0), u"morning");
  EXPECT_EQ(pairs.Count(0), 1u);

  // A word ended without learning, or a caret moved elsewhere, starts no pair.
  Type(tracker, u"good");
  tracker.FinishWord();
  Type(tracker, u"morning ");
  Type(tracker, u"good ");
  tracker.SetCurrentWord(u"mor");
  Type(tracker, u"ning ");
  EXPECT_EQ(pairs.Count(0), 1u);
  Type(tracker, u"good morning ");
  EXPECT_EQ(pairs.Count(0), 2u);
}

TEST(LearnedPairs, OfferedByCountThenMostRecentFirstAmongEquals) {
  LearnedPairs pairs;
  NextWordList shipped;
  CountTimes(pairs, u"a", u"x", 3);
  CountTimes(pairs, u"a", u"old", 2);
  CountTimes(pairs, u"a", u"y", 2);
  CountTimes(pairs, u"a", u"z", 2);
  CountTimes(pairs, u"a", u"once", 1);
  CountTimes(pairs, u"b", u"x", 9);
  EXPECT_EQ(Offered(&pairs, shipped, u"A"), (Words{u"x", u"z", u"y"}));
  pairs.CountPair(u"a", u"old");  // now 3, and used last
  EXPECT_EQ(Offered(&pairs, shipped, u"a"), (Words{u"old", u"x", u"z"}));
  EXPECT_EQ(Offered(&pairs, shipped, u"c"), (Words{u"", u"", u""}));
}

TEST(LearnedPairs, APairNeedsATenthOfItsWordsUsesToBeOffered) {
  LearnedPairs pairs;
  NextWordList shipped;
  shipped.AddNextWordPair(u"the", u"way");
  CountTimes(pairs, u"the", u"end", 17);
  CountTimes(pairs, u"the", u"rare", 2);  // 2 of 19 uses
  EXPECT_EQ(Offered(&pairs, shipped, u"the"), (Words{u"end", u"rare", u"way"}));
  pairs.CountPair(u"the", u"end");        // 2 of 20 uses: still a tenth
  EXPECT_EQ(Offered(&pairs, shipped, u"the"), (Words{u"end", u"rare", u"way"}));
  pairs.CountPair(u"the", u"end");        // 2 of 21 uses: no longer
  EXPECT_EQ(Offered(&pairs, shipped, u"the"), (Words{u"end", u"way", u""}));
}

TEST(LearnedPairs, ShippedPairsFillTheRestWithoutRepeatingAWordAndLendTheirWrittenForm) {
  LearnedPairs pairs;
  NextWordList shipped;
  shipped.AddNextWordPair(u"and", u"the");
  shipped.AddNextWordPair(u"and", u"I");
  shipped.AddNextWordPair(u"and", u"then");
  shipped.AddNextWordPair(u"and", u"so");  // a fourth shipped pair fills a slot a learned one took
  CountTimes(pairs, u"and", u"i", 2);
  CountTimes(pairs, u"and", u"then", 3);
  EXPECT_EQ(Offered(&pairs, shipped, u"and"), (Words{u"then", u"I", u"the"}));
  CountTimes(pairs, u"and", u"the", 4);
  EXPECT_EQ(Offered(&pairs, shipped, u"and"), (Words{u"the", u"then", u"I"}));
  // Without learned pairs for the word, or without learned pairs at all, the shipped list
  // answers alone, as it always did.
  EXPECT_EQ(Offered(&pairs, shipped, u"so"), (Words{u"", u"", u""}));
  EXPECT_EQ(Offered(nullptr, shipped, u"and"), (Words{u"the", u"I", u"then"}));
}

TEST(LearnedPairs, TheLeastUsedPairGoesFirstWhenTheStoreIsFull) {
  LearnedPairs pairs;
  NextWordList shipped;
  CountTimes(pairs, u"keep", u"me", 2);
  pairs.CountPair(u"old", u"one");     // 1 use, the oldest of the single uses
  pairs.CountPair(u"newer", u"one");   // 1 use
  for (int i = 3; i < kMaxLearnedPairs; ++i) {
    const std::u16string word = u"w" + std::u16string(1, static_cast<char16_t>(0x4E00 + i));
    CountTimes(pairs, word.c_str(), u"filler", 2);
  }
  pairs.CountPair(u"keep", u"me");  // used again: now the most recent of all
  ASSERT_EQ(pairs.PairCount(), kMaxLearnedPairs);

  pairs.CountPair(u"fresh", u"pair");
  EXPECT_EQ(pairs.PairCount(), kMaxLearnedPairs);
  pairs.CountPair(u"fresh", u"pair");
  EXPECT_EQ(Offered(&pairs, shipped, u"fresh"), (Words{u"pair", u"", u""}));
  pairs.CountPair(u"other", u"pair");
  EXPECT_EQ(pairs.PairCount(), kMaxLearnedPairs);
  // "old one" went first (1 use, oldest), then "newer one"; the pairs with more uses stay.
  EXPECT_EQ(Offered(&pairs, shipped, u"keep"), (Words{u"me", u"", u""}));
  pairs.CountPair(u"old", u"one");
  pairs.CountPair(u"newer", u"one");
  EXPECT_EQ(Offered(&pairs, shipped, u"old"), (Words{u"", u"", u""})) << "its first use was forgotten";
  EXPECT_EQ(Offered(&pairs, shipped, u"newer"), (Words{u"", u"", u""}));
}

TEST_F(TypedPairs, WithTheSettingOffTheTrackerGivesTodaysResultsAndLearnsNoPairs) {
  shipped.AddNextWordPair(u"the", u"way");
  WordDictionary plainDictionary;
  NextWordList plainShipped;
  plainShipped.AddNextWordPair(u"the", u"way");
  WordTracker plain(plainDictionary, plainShipped);
  tracker.SetLearnedPairs(nullptr);
  const std::u16string text = u"the office. the office the office the ";
  for (char16_t c : text) {
    tracker.TypeCharacter(c);
    plain.TypeCharacter(c);
    ASSERT_EQ(Offers(tracker), Offers(plain));
    ASSERT_EQ(std::u16string(tracker.GetNextKeys()), std::u16string(plain.GetNextKeys()));
  }
  EXPECT_EQ(Offers(tracker), (Words{u"way", u"", u""}));
  EXPECT_EQ(pairs.PairCount(), 0);
  EXPECT_FALSE(pairs.Changed());
}

class PairsFile : public DeviceImageTest {
 protected:
  static constexpr const char16_t* kPath = u"\\Program Files\\Tavrel\\pairs.dat";
};

TEST_F(PairsFile, LivesBesideTheWordDictionary) {
  EXPECT_EQ(LearnedPairsPath(u"\\Program Files\\Tavrel\\english\\db.dat"), u"\\Program Files\\Tavrel\\english\\pairs.dat");
  EXPECT_EQ(LearnedPairsPath(u"-"), u"-");
  EXPECT_EQ(LearnedPairsPath(u"db.dat"), u"-");
}

TEST_F(PairsFile, RoundTripKeepsCountsAndRecency) {
  LearnedPairs pairs;
  NextWordList shipped;
  CountTimes(pairs, u"to", u"be", 2);
  CountTimes(pairs, u"to", u"go", 2);
  CountTimes(pairs, u"to", u"\u00e9t\u00e9", 5);
  CountTimes(pairs, u"one", u"use", 1);
  pairs.CountPair(u"to", u"be");
  pairs.CountPair(u"to", u"go");  // go is now the more recent of the two with 3 uses
  ASSERT_TRUE(SaveLearnedPairs(kPath, pairs));
  EXPECT_FALSE(pairs.Changed());

  LearnedPairs loaded;
  ASSERT_TRUE(LoadLearnedPairs(kPath, loaded));
  EXPECT_EQ(loaded.PairCount(), 4);
  EXPECT_EQ(Offered(&loaded, shipped, u"to"), (Words{u"\u00e9t\u00e9", u"go", u"be"}));
  loaded.CountPair(u"one", u"use");
  EXPECT_EQ(Offered(&loaded, shipped, u"one"), (Words{u"use", u"", u""}));
  EXPECT_EQ(BuildLearnedPairsFile(pairs), ReadDeviceFile(kPath));
}

TEST_F(PairsFile, EachSaveStepFailingOnceLeavesAWholeFile) {
  for (SaveStep step : {SaveStep::Write, SaveStep::Flush, SaveStep::Rename, SaveStep::FolderSync}) {
    LearnedPairs pairs;
    CountTimes(pairs, u"to", u"be", 2);
    ASSERT_TRUE(SaveLearnedPairs(kPath, pairs));
    const std::vector<std::uint8_t> before = ReadDeviceFile(kPath);
    CountTimes(pairs, u"to", u"go", 3);
    const std::vector<std::uint8_t> after = BuildLearnedPairsFile(pairs);
    FailSaveStepOnceForTesting(step);
    EXPECT_FALSE(SaveLearnedPairs(kPath, pairs)) << static_cast<int>(step);
    EXPECT_EQ(ReadDeviceFile(kPath), step == SaveStep::FolderSync ? after : before) << static_cast<int>(step);
    LearnedPairs loaded;
    EXPECT_TRUE(LoadLearnedPairs(kPath, loaded));
  }
}

TEST_F(PairsFile, NothingIsWrittenWhenNothingWasLearned) {
  LearnedPairs pairs;
  EXPECT_TRUE(SaveLearnedPairs(kPath, pairs));
  EXPECT_FALSE(Exists(kPath));
  EXPECT_FALSE(SaveLearnedPairs(u"-", pairs));
}

TEST_F(PairsFile, CountsAboveTheFieldSaveAsItsLargestValue) {
  LearnedPairs pairs;
  ASSERT_TRUE(pairs.AddStoredPair(u"very", u"much", 0xFFFF));
  pairs.CountPair(u"very", u"much");
  EXPECT_EQ(pairs.Count(0), 0x10000u);
  ASSERT_TRUE(SaveLearnedPairs(kPath, pairs));
  LearnedPairs loaded;
  ASSERT_TRUE(LoadLearnedPairs(kPath, loaded));
  EXPECT_EQ(loaded.Count(0), 0xFFFFu);
}

TEST_F(PairsFile, ADamagedFileLoadsNoPairsAndIsKeptAsideBeforeTheNextSave) {
  LearnedPairs good;
  CountTimes(good, u"thank", u"you", 3);
  const std::vector<std::uint8_t> bytes = BuildLearnedPairsFile(good);
  ASSERT_GT(bytes.size(), 12u);

  std::vector<std::vector<std::uint8_t>> damaged;
  damaged.push_back(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3));  // truncated
  damaged.push_back(bytes);
  damaged.back()[0] = 'X';  // not a pairs file
  damaged.push_back(bytes);
  damaged.back()[bytes.size() / 2 + 4] ^= 0x20;  // a flipped bit in the stream
  damaged.push_back({'P', 'R', 'S', '1', 0xFF, 0xFF, 0xFF, 0x7F, 0x78, 0x9C});  // a length no stream can hold
  for (const auto& file : damaged) {
    LearnedPairs pairs;
    EXPECT_FALSE(ParseLearnedPairsFile(file.data(), file.size(), pairs));
    EXPECT_EQ(pairs.PairCount(), 0);
  }

  WriteDeviceFile(kPath, damaged[2]);
  LearnedPairs pairs;
  pairs.CountPair(u"stale", u"pair");
  EXPECT_FALSE(LoadLearnedPairs(kPath, pairs));
  EXPECT_EQ(pairs.PairCount(), 0);
  EXPECT_TRUE(SaveLearnedPairs(kPath, pairs)) << "nothing learned: nothing written, the file stays";
  EXPECT_EQ(ReadDeviceFile(kPath), damaged[2]);

  CountTimes(pairs, u"new", u"pair", 2);
  std::u16string keptAs;
  ASSERT_TRUE(SaveLearnedPairs(kPath, pairs, &keptAs));
  EXPECT_EQ(keptAs, u"\\Program Files\\Tavrel\\pairs.dat.bad");
  EXPECT_EQ(ReadDeviceFile(keptAs.c_str()), damaged[2]);
  LearnedPairs reloaded;
  ASSERT_TRUE(LoadLearnedPairs(kPath, reloaded));
  EXPECT_EQ(reloaded.PairCount(), 1);
  reloaded.CountPair(u"new", u"pair");
  ASSERT_TRUE(SaveLearnedPairs(kPath, reloaded, &keptAs));
  EXPECT_EQ(keptAs, u"") << "a good file is saved over in place";
}

TEST_F(PairsFile, RecordsThatDoNotAddUpAreRefused) {
  // Payloads built by hand: N, then count, length, characters, length, characters.
  const auto file = [](std::vector<std::uint8_t> payload) {
    std::vector<std::uint8_t> out = {'P', 'R', 'S', '1'};
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(payload.size() >> shift));
    CompressZlibStream(payload.data(), payload.size(), 3, out);
    return out;
  };
  const std::vector<std::uint8_t> one = {1, 0, 0, 0, 2, 0, 1, 'a', 0, 1, 'b', 0};
  LearnedPairs pairs;
  ASSERT_TRUE(ParseLearnedPairsFile(file(one).data(), file(one).size(), pairs));
  EXPECT_EQ(pairs.PairCount(), 1);

  const std::vector<std::vector<std::uint8_t>> bad = {
      {2, 0, 0, 0, 2, 0, 1, 'a', 0, 1, 'b', 0},            // N says two records
      {1, 0, 0, 0, 2, 0, 1, 'a', 0, 1, 'b', 0, 7},         // a byte after the last record
      {1, 0, 0, 0, 0, 0, 1, 'a', 0, 1, 'b', 0},            // a count of 0
      {1, 0, 0, 0, 2, 0, 0, 1, 'b', 0},                    // an empty first word
      {0x21, 0x4E, 0, 0},                                  // more than the bound
  };
  for (const auto& payload : bad) {
    LearnedPairs refused;
    const auto bytes = file(payload);
    EXPECT_FALSE(ParseLearnedPairsFile(bytes.data(), bytes.size(), refused));
    EXPECT_EQ(refused.PairCount(), 0);
  }
}
