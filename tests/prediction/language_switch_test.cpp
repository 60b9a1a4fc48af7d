#include "prediction/language_choice.h"
#include "prediction/language_switch.h"

#include "device_image.h"
#include "test_words.h"

#include <gtest/gtest.h>

TEST(LanguageChoice, NextUsedLanguageCyclesInListOrder) {
  LanguageChoice choice{0, {2, 0, 5}};
  EXPECT_EQ(NextUsedLanguage(choice, 0), 5);
  EXPECT_EQ(NextUsedLanguage(choice, 5), 2);
  EXPECT_EQ(NextUsedLanguage(choice, 2), 0);
  EXPECT_EQ(NextUsedLanguage(choice, 7), 2);  // not in the list: the first entry
  EXPECT_TRUE(IsUsedLanguage(choice, 5));
  EXPECT_FALSE(IsUsedLanguage(choice, 1));
  EXPECT_EQ(NextUsedLanguage(LanguageChoice{3, {}}, 3), 3);
  EXPECT_EQ(NextUsedLanguage(LanguageChoice{4, {4}}, 4), 4);
}

TEST(LanguageChoice, UnusedCurrentLanguageBecomesTheFirstUsed) {
  LanguageChoice unused{1, {2, 0}};
  ApplyUsedLanguageRule(unused);
  EXPECT_EQ(unused.CurrentLang, 2);
  LanguageChoice used{0, {2, 0}};
  ApplyUsedLanguageRule(used);
  EXPECT_EQ(used.CurrentLang, 0);
  LanguageChoice none{6, {}};
  ApplyUsedLanguageRule(none);
  EXPECT_EQ(none.CurrentLang, 6);
}

namespace {

std::vector<std::uint8_t> Utf16(const std::u16string& text) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string Block(const std::u16string& name, const std::u16string& db, const std::u16string& next) {
  return u"CHARSET=START\r\nLONG=" + name + u"\r\nNAME=" + name + u"\r\nPREDICTDB=" + db + u"\r\nNEXTWORDDB=" + next +
         u"\r\nPHONEKEYS_1=\r\nPHONEKEYS_2=\r\nQWERTY_1=\r\nQWERTY_2=\r\nQWERTY_3=\r\nQWERTYFULL_1=\r\n"
         u"QWERTYFULL_2=\r\nQWERTYFULL_3=\r\nQWERTYFULL_MODIFIERS=\r\nPREDICT_1=\r\nPREDICT_2=\r\nPREDICT_3=\r\n";
}

}  // namespace

class LanguageSwitchTest : public DeviceImageTest {
 protected:
  void SetUp() override {
    DeviceImageTest::SetUp();
    engine.programFolder = u"\\Program Files\\Tavrel\\";
    const auto file = Utf16(Block(u"en", u"english\\db.dat", u"english\\phrases.dat") +
                            Block(u"de", u"german\\db.dat", u"-") + Block(u"xx", u"-", u"-"));
    ParseLanguageFile(file.data(), file.size(), engine.languages);
    ASSERT_EQ(engine.languages.count, 3);
    CreateDirectory(u"\\Program Files\\Tavrel\\english", nullptr);
    WriteDeviceFile(u"\\Program Files\\Tavrel\\english\\phrases.dat", Utf16(u"good morning\r\n"));
  }

  PredictionEngine engine;
};

TEST_F(LanguageSwitchTest, PathsAreProgramRelativeUnlessDash) {
  EXPECT_EQ(PredictionFilePath(engine, u"english\\db.dat"), u"\\Program Files\\Tavrel\\english\\db.dat");
  EXPECT_EQ(PredictionFilePath(engine, u"-"), u"-");
  EXPECT_EQ(PredictionFilePath(engine, u""), u"-");
}

TEST_F(LanguageSwitchTest, LoadingReadsBothFilesOnceAndClearsTheCurrentWord) {
  engine.tracker.SetCurrentWord(u"half");
  EXPECT_TRUE(LoadLanguageDictionaries(engine, 0));
  EXPECT_EQ(engine.tracker.GetLoadedLanguage(), 0);
  EXPECT_EQ(engine.nextWords.PairCount(), 1);
  EXPECT_EQ(std::u16string(engine.tracker.CurrentWord()), u"");
  Learn(engine.dictionary, u"unsaved");
  EXPECT_FALSE(LoadLanguageDictionaries(engine, 0));  // already loaded: nothing is reloaded
  EXPECT_EQ(engine.dictionary.CountOf(u"unsaved"), 1);
}

TEST_F(LanguageSwitchTest, SwitchingSavesTheOldLanguageAndLoadsTheNext) {
  LanguageChoice choice{0, {0, 1, 2}};
  LoadLanguageDictionaries(engine, 0);
  Learn(engine.dictionary, u"hello");
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));
  EXPECT_EQ(choice.CurrentLang, 1);
  EXPECT_EQ(engine.tracker.GetLoadedLanguage(), 1);
  EXPECT_EQ(engine.dictionary.WordCount(), 0);   // german\db.dat is missing
  EXPECT_EQ(engine.nextWords.PairCount(), 0);    // NEXTWORDDB "-"
  EXPECT_TRUE(Exists(u"\\Program Files\\Tavrel\\german\\db.dat"));  // folder and placeholder made
  Learn(engine.dictionary, u"hallo");
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));  // to "xx": "-" files
  EXPECT_EQ(choice.CurrentLang, 2);
  Learn(engine.dictionary, u"lost");
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));  // back to English
  EXPECT_EQ(engine.dictionary.CountOf(u"hello"), 1);
  EXPECT_EQ(engine.dictionary.CountOf(u"lost"), -1);
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));
  EXPECT_EQ(engine.dictionary.CountOf(u"hallo"), 1);
}

TEST_F(LanguageSwitchTest, ASingleUsedLanguageChangesNothing) {
  LanguageChoice choice{0, {0}};
  LoadLanguageDictionaries(engine, 0);
  Learn(engine.dictionary, u"kept");
  EXPECT_FALSE(SwitchToNextLanguage(engine, choice, false));
  EXPECT_EQ(choice.CurrentLang, 0);
  EXPECT_EQ(engine.dictionary.CountOf(u"kept"), 1);
  EXPECT_FALSE(Exists(u"\\Program Files\\Tavrel\\english\\db.dat"));  // nothing saved
}

TEST_F(LanguageSwitchTest, SavingADashOrUnknownLanguageWritesNothing) {
  Learn(engine.dictionary, u"word");
  EXPECT_FALSE(SaveLanguageDictionary(engine, 2));
  EXPECT_FALSE(SaveLanguageDictionary(engine, 9));
  EXPECT_TRUE(SaveLanguageDictionary(engine, 0));
  EXPECT_TRUE(Exists(u"\\Program Files\\Tavrel\\english\\db.dat"));
}

TEST_F(LanguageSwitchTest, LearnedPairsAreReadAndWrittenBesideEachLanguagesDictionary) {
  constexpr const char16_t* kEnglishPairs = u"\\Program Files\\Tavrel\\english\\pairs.dat";
  constexpr const char16_t* kGermanPairs = u"\\Program Files\\Tavrel\\german\\pairs.dat";
  LanguageChoice choice{0, {0, 1}};
  engine.tracker.SetLearnedPairs(&engine.learnedPairs);
  LoadLanguageDictionaries(engine, 0);
  EXPECT_TRUE(SaveLanguageDictionary(engine, 0));
  EXPECT_FALSE(Exists(kEnglishPairs)) << "no pairs learned: no pairs file";

  for (char16_t c : std::u16string(u"good night good night ")) engine.tracker.TypeCharacter(c);
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));
  EXPECT_TRUE(Exists(kEnglishPairs));
  EXPECT_EQ(engine.learnedPairs.PairCount(), 0) << "German starts without the English pairs";
  for (char16_t c : std::u16string(u"gute nacht ")) engine.tracker.TypeCharacter(c);
  ASSERT_TRUE(SwitchToNextLanguage(engine, choice, false));
  EXPECT_TRUE(Exists(kGermanPairs));

  // Back in English: "good" is followed by "night" twice, and the shipped "morning" comes after.
  for (char16_t c : std::u16string(u"good ")) engine.tracker.TypeCharacter(c);
  WCHAR first[kWordBufferSize], second[kWordBufferSize];
  engine.tracker.GetCompletion(0, first);
  engine.tracker.GetCompletion(1, second);
  EXPECT_EQ(std::u16string(first), u"night");
  EXPECT_EQ(std::u16string(second), u"morning");
  const std::vector<std::uint8_t> saved = ReadDeviceFile(kEnglishPairs);
  EXPECT_TRUE(SaveLanguageDictionary(engine, 0));
  EXPECT_EQ(ReadDeviceFile(kEnglishPairs), saved) << "unchanged pairs are not rewritten";
}
