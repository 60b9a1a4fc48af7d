// The shipped dictionaries (data/<language>/db.dat and phrases.dat), loaded with the engine's
// own file parsers and asked through the program's word tracker, as a user would meet them.
#include "prediction/dictionary_file.h"
#include "prediction/lower_case.h"
#include "prediction/next_word_file.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"
#include "prediction/word_tracker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) out += char(c);
    else if (c < 0x800) { out += char(0xC0 | (c >> 6)); out += char(0x80 | (c & 0x3F)); }
    else { out += char(0xE0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
  }
  return out;
}

struct Language {
  WordDictionary dictionary;
  NextWordList nextWords;
  std::size_t dictionaryBytes = 0;
  bool parsed = false;
};

Language& Load(const std::string& folder) {
  static std::map<std::string, std::unique_ptr<Language>> loaded;
  auto& slot = loaded[folder];
  if (!slot) {
    slot = std::make_unique<Language>();
    const std::string base = TAVREL_SOURCE_DIR "/data/" + folder;
    const auto db = ReadFile(base + "/db.dat");
    slot->dictionaryBytes = db.size();
    slot->parsed = ParseWordDictionaryFile(db.data(), db.size(), slot->dictionary);
    const auto phrases = ReadFile(base + "/phrases.dat");
    ParseNextWordFile(phrases.data(), phrases.size(), slot->nextWords);
  }
  return *slot;
}

// The three suggestions after typing `typed` into a fresh tracker (separators included).
std::vector<std::u16string> SuggestionsAfter(Language& language, const std::u16string& typed) {
  WordTracker tracker(language.dictionary, language.nextWords);
  for (char16_t c : typed) tracker.TypeCharacter(c);
  std::vector<std::u16string> out;
  for (int k = 0; k < kSuggestionCount; ++k) {
    WCHAR buffer[kWordBufferSize];
    tracker.GetCompletion(k, buffer);
    out.emplace_back(reinterpret_cast<const char16_t*>(buffer));
  }
  return out;
}

struct Expectation {
  std::u16string typed;             // what the user types
  std::set<std::u16string> good;    // everyday words one of which must come first
};

struct LanguageCase {
  const char* folder;
  int minWords;
  std::vector<Expectation> completions;  // typed prefixes
  std::vector<Expectation> nextWords;    // a word and a space: the words that follow it
};

const LanguageCase kCases[] = {
    {"english", 15000,
     {{u"th", {u"the", u"that", u"this", u"think"}},
      {u"wh", {u"what", u"when", u"where", u"which", u"who"}},
      {u"beca", {u"because"}},
      {u"peo", {u"people"}}},
     {{u"thank ", {u"you"}}, {u"going ", {u"to"}}}},
    {"german", 8000,
     {{u"nic", {u"nicht", u"nichts"}}, {u"imm", {u"immer"}}, {u"vielle", {u"vielleicht"}}},
     {}},
    {"french", 6000,
     {{u"pou", {u"pour", u"pourquoi", u"pouvez"}}, {u"mai", {u"maintenant", u"mais", u"maison"}},
      {u"tou", {u"tout", u"toujours", u"tous", u"toute"}}},
     {}},
    {"spanish", 5000,
     {{u"porq", {u"porque"}}, {u"much", {u"mucho", u"muchas", u"muchos", u"mucha"}}, {u"tamb", {u"también"}}},
     {}},
    {"hungarian", 8000,
     {{u"mer", {u"mert", u"meg"}}, {u"mos", {u"most"}}, {u"köszö", {u"köszönöm"}}},
     {}},
    {"greek", 8000,
     {{u"ευχαρ", {u"ευχαριστώ"}}, {u"τίπ", {u"τίποτα"}}, {u"πολ", {u"πολύ", u"πολλά"}}},
     {}},
};

class ShippedDictionary : public ::testing::TestWithParam<int> {
 protected:
  const LanguageCase& Case() const { return kCases[GetParam()]; }
  Language& Lang() const { return Load(Case().folder); }
};

TEST_P(ShippedDictionary, LoadsAsAWellFormedDictionaryOfLowerCaseWords) {
  Language& lang = Lang();
  ASSERT_TRUE(lang.parsed);
  EXPECT_GE(lang.dictionary.WordCount(), Case().minWords);
  EXPECT_LE(lang.dictionaryBytes, 1500u * 1024u);
  for (int b = 0; b < kBucketCount; ++b) {
    std::int32_t previous = INT32_MAX;
    for (int i = 0; i < lang.dictionary.EntryCount(b); ++i) {
      const WordEntry& e = lang.dictionary.Entry(b, i);
      const std::u16string word(reinterpret_cast<const char16_t*>(lang.dictionary.Text(e)));
      // A stored capital would make the word unreachable: prefixes are lower-cased.
      for (char16_t c : word) ASSERT_EQ(LowerChar(c), c) << Utf8(word);
      ASSERT_EQ(WordDictionary::BucketOf(word[0]), b);
      // Counts stay small so that what the user types soon outweighs them, never 0 (a word
      // of count 0 is dropped at the next save), and fall within a bucket.
      EXPECT_GE(e.count, 1);
      EXPECT_LE(e.count, 1000);
      EXPECT_LE(e.count, previous) << Utf8(word) << " stored after a less useful word";
      previous = e.count;
    }
  }
}

TEST_P(ShippedDictionary, CommonPrefixesCompleteToEverydayWords) {
  for (const Expectation& x : Case().completions) {
    const auto s = SuggestionsAfter(Lang(), x.typed);
    EXPECT_TRUE(x.good.count(s[0])) << "after " << Utf8(x.typed) << ": " << Utf8(s[0]) << ", " << Utf8(s[1])
                                    << ", " << Utf8(s[2]);
  }
  for (const Expectation& x : Case().nextWords) {
    const auto s = SuggestionsAfter(Lang(), x.typed);
    EXPECT_TRUE(x.good.count(s[0]) || x.good.count(s[1]) || x.good.count(s[2]))
        << "after " << Utf8(x.typed) << ": " << Utf8(s[0]) << ", " << Utf8(s[1]) << ", " << Utf8(s[2]);
  }
}

TEST_P(ShippedDictionary, EveryPairWordLeadsToWordsTheDictionaryKnows) {
  Language& lang = Lang();
  ASSERT_GT(lang.nextWords.PairCount(), 1000);
  std::map<std::u16string, int> perFirst;
  for (int i = 0; i < lang.nextWords.PairCount(); ++i) {
    std::u16string first(reinterpret_cast<const char16_t*>(lang.nextWords.First(i)));
    std::u16string next(reinterpret_cast<const char16_t*>(lang.nextWords.Following(i)));
    for (char16_t& c : next) c = LowerChar(c);
    EXPECT_GE(lang.dictionary.CountOf(reinterpret_cast<const WCHAR*>(next.c_str())), 1) << Utf8(next);
    EXPECT_LE(++perFirst[first], 3) << "only the first three pairs of a word are ever offered: " << Utf8(first);
  }
}

TEST(ShippedEnglishDictionary, HoldsNoWordFragments) {
  Language& lang = Load("english");
  for (const char16_t* fragment : {u"th", u"qu", u"wha", u"don", u"didn", u"isn", u"ll", u"ve", u"re", u"s", u"t"})
    EXPECT_EQ(lang.dictionary.CountOf(reinterpret_cast<const WCHAR*>(fragment)), -1) << Utf8(fragment);
  for (const char16_t* word : {u"don't", u"i'm", u"it's", u"can't"})
    EXPECT_GE(lang.dictionary.CountOf(reinterpret_cast<const WCHAR*>(word)), 1) << Utf8(word);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedDictionary, ::testing::Range(0, 6),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(kCases[info.param].folder); });

}  // namespace
