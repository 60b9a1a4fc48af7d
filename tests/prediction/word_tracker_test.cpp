#include "prediction/word_tracker.h"

#include "test_words.h"

#include <gtest/gtest.h>

#include <string>

using Words3 = std::vector<std::u16string>;
using Counted = std::vector<std::pair<std::u16string, int>>;

class WordTrackerTest : public ::testing::Test {
 protected:
  void Type(std::u16string_view text) {
    for (char16_t c : text) tracker.TypeCharacter(c);
  }
  Words3 Offered() const {
    Words3 words;
    for (int k = 0; k < 3; ++k) {
      WCHAR buffer[kWordBufferSize];
      tracker.GetCompletion(k, buffer);
      words.emplace_back(buffer);
    }
    return words;
  }
  std::u16string NextKeys() const { return tracker.GetNextKeys(); }

  WordDictionary dictionary;
  NextWordList nextWords;
  WordTracker tracker{dictionary, nextWords};
};

TEST_F(WordTrackerTest, SeparatorLearnsTheWordAndOffersTheWordsThatFollowIt) {
  nextWords.AddNextWordPair(u"the", u"end");
  nextWords.AddNextWordPair(u"the", u"best");
  nextWords.AddNextWordPair(u"the", u"way");
  nextWords.AddNextWordPair(u"the", u"other");
  Type(u"Th");
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"th");
  Type(u"e ");
  EXPECT_EQ(dictionary.CountOf(u"the"), 1);
  EXPECT_EQ(Offered(), (Words3{u"end", u"best", u"way"}));
  EXPECT_EQ(NextKeys(), u"ebw");
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"");
}

TEST_F(WordTrackerTest, NextKeysStopAtTheFirstEmptyNextWord) {
  nextWords.AddNextWordPair(u"thank", u"you");
  Type(u"thank.");
  EXPECT_EQ(Offered(), (Words3{u"you", u"", u""}));
  EXPECT_EQ(NextKeys(), u"y");
}

TEST_F(WordTrackerTest, TypingOffersCompletionsAndNextKeys) {
  Store(dictionary, {{u"hello", 3}, {u"help", 2}, {u"hat", 1}});
  Type(u"He");
  EXPECT_EQ(Offered(), (Words3{u"hello", u"help", u""}));
  EXPECT_EQ(NextKeys(), u"l");
  dictionary.AddStoredWord(u"hex", 9);
  tracker.TypeCharacter(0);  // only recomputes
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"he");
  EXPECT_EQ(Offered()[0], u"hex");
}

TEST_F(WordTrackerTest, TwoSpacesLearnNothingTheSecondTime) {
  nextWords.AddNextWordPair(u"go", u"home");
  Type(u"go ");
  EXPECT_EQ(Offered(), (Words3{u"home", u"", u""}));
  Type(u" ");
  EXPECT_EQ(dictionary.WordCount(), 1);
  EXPECT_EQ(dictionary.CountOf(u"go"), 1);
  EXPECT_EQ(Offered(), (Words3{u"", u"", u""}));
  EXPECT_EQ(NextKeys(), u"");
}

TEST_F(WordTrackerTest, EverySeparatorEndsAWord) {
  Type(u"e-mail");
  EXPECT_EQ(dictionary.CountOf(u"e"), 1);
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"mail");
  tracker.FinishWord();
  for (char16_t separator : std::u16string(u" \t\n\r,:.!?;\"-")) {
    Type(u"x");
    tracker.TypeCharacter(separator);
    EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"") << int(separator);
  }
  EXPECT_EQ(dictionary.CountOf(u"x"), 12);
  Type(u"it's");  // an apostrophe is part of the word
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"it's");
}

TEST_F(WordTrackerTest, FinishWordLearnsNothing) {
  nextWords.AddNextWordPair(u"dear", u"sir");
  Type(u"dear");
  tracker.FinishWord();
  EXPECT_EQ(dictionary.WordCount(), 0);
  EXPECT_EQ(Offered(), (Words3{u"sir", u"", u""}));
  EXPECT_EQ(NextKeys(), u"s");
}

TEST_F(WordTrackerTest, AcceptingSendsTheRestOfTheWord) {
  Store(dictionary, {{u"hello", 3}, {u"hellos", 1}});
  Type(u"hel");
  AcceptedCompletion accepted;
  ASSERT_TRUE(tracker.AcceptCompletion(0, false, accepted));
  EXPECT_EQ(std::u16string(accepted.rest), u"lo");
  EXPECT_FALSE(accepted.addedSpace);
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"hello");
  EXPECT_EQ(Offered(), (Words3{u"hellos", u"", u""}));
  EXPECT_EQ(dictionary.CountOf(u"hello"), 3);  // learned only when a separator follows
  EXPECT_FALSE(tracker.AcceptCompletion(2, false, accepted));  // an empty completion
  EXPECT_FALSE(tracker.AcceptCompletion(7, false, accepted));
}

TEST_F(WordTrackerTest, AcceptingANextWordSendsItWhole) {
  nextWords.AddNextWordPair(u"thank", u"you");
  Type(u"thank ");
  AcceptedCompletion accepted;
  ASSERT_TRUE(tracker.AcceptCompletion(0, false, accepted));
  EXPECT_EQ(std::u16string(accepted.rest), u"you");  // the current word was empty
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"you");
}

TEST_F(WordTrackerTest, SetCurrentWordLowerCasesSoTheRestIsFound) {
  Store(dictionary, {{u"world", 2}});
  tracker.SetCurrentWord(u"WOR");
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"wor");
  EXPECT_EQ(Offered()[0], u"world");
  AcceptedCompletion accepted;
  ASSERT_TRUE(tracker.AcceptCompletion(0, false, accepted));
  EXPECT_EQ(std::u16string(accepted.rest), u"ld");
}

TEST_F(WordTrackerTest, AcceptWithAddSpaceEndsTheWordUnlearned) {
  Store(dictionary, {{u"hello", 3}, {u"help", 2}});
  Type(u"hel");
  AcceptedCompletion accepted;
  ASSERT_TRUE(tracker.AcceptCompletion(0, true, accepted));
  EXPECT_EQ(std::u16string(accepted.rest), u"lo");
  EXPECT_TRUE(accepted.addedSpace);
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"");
  EXPECT_EQ(Offered(), (Words3{u"", u"", u""}));
  EXPECT_EQ(dictionary.CountOf(u"hello"), 3);
}

TEST_F(WordTrackerTest, AddSpaceWaitsWhileLongerWordsRemain) {
  Store(dictionary, {{u"hello", 3}, {u"hellos", 1}});
  Type(u"he");
  AcceptedCompletion accepted;
  ASSERT_TRUE(tracker.AcceptCompletion(0, true, accepted));
  EXPECT_FALSE(accepted.addedSpace);
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), u"hello");
}

TEST_F(WordTrackerTest, WordsStopGrowingAt255Letters) {
  Type(std::u16string(255, u'a'));
  EXPECT_EQ(std::u16string(tracker.CurrentWord()).size(), 255u);
  Type(u"b");
  EXPECT_EQ(std::u16string(tracker.CurrentWord()), std::u16string(255, u'a'));
  tracker.SetCurrentWord(std::u16string(300, u'c').c_str());
  EXPECT_EQ(std::u16string(tracker.CurrentWord()).size(), 255u);
}

TEST_F(WordTrackerTest, GetCompletionIgnoresOtherIndices) {
  Store(dictionary, {{u"cat", 1}});
  Type(u"c");
  WCHAR buffer[kWordBufferSize] = u"untouched";
  tracker.GetCompletion(3, buffer);
  tracker.GetCompletion(-1, buffer);
  EXPECT_EQ(std::u16string(buffer), u"untouched");
  tracker.GetCompletion(0, buffer);
  EXPECT_EQ(std::u16string(buffer), u"cat");
}
