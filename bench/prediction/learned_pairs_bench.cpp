// The user's learned word pairs next to the shipped English ones.
//
// Goals: FindNextWords with 20,000 learned pairs <= 5 us (median over the words of an English
// paragraph, counter median_us); typing with learned pairs on no slower per keystroke than
// with them off (BM_TypeParagraph/0 off, /1 on with 20,000 pairs learned first).
#include "prediction/dictionary_file.h"
#include "prediction/learned_pairs.h"
#include "prediction/next_word_file.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"
#include "prediction/word_tracker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char16_t* kParagraph =
    u"when the evening came the travellers reached the little town at the edge of the forest they had "
    u"walked for three days through rain and wind and their boots were heavy with mud the innkeeper "
    u"looked at them with some suspicion but he gave them a room above the stable and a supper of bread "
    u"cheese and hot soup please remember to write down everything that happens she said because "
    u"someone should know what we found there if we do not come back ";

std::vector<std::uint8_t> ReadShippedEnglish(const char* name) {
  std::ifstream in(std::string(TAVREL_DATA_DIR) + "/english/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void LoadShipped(WordDictionary& dictionary, NextWordList& shipped) {
  const std::vector<std::uint8_t> db = ReadShippedEnglish("db.dat");
  const std::vector<std::uint8_t> phrases = ReadShippedEnglish("phrases.dat");
  ParseWordDictionaryFile(db.data(), db.size(), dictionary);
  ParseNextWordFile(phrases.data(), phrases.size(), shipped);
}

std::vector<std::u16string> ParagraphWords() {
  std::vector<std::u16string> words;
  std::u16string word;
  for (const char16_t* c = kParagraph; *c != 0; ++c) {
    if (*c != u' ') word += *c;
    else if (!word.empty()) words.push_back(std::exchange(word, {}));
  }
  return words;
}

// 20,000 pairs, each used twice, as a user's would be: first words drawn from the shipped
// first words with Zipf-like weights (so "the" has many followers and a rare word few), the
// paragraph's words among them.
void LearnManyPairs(const NextWordList& shipped, LearnedPairs& pairs) {
  std::vector<std::u16string> firsts;
  for (const std::u16string& word : ParagraphWords()) firsts.push_back(word);
  for (int i = 0; i < shipped.PairCount(); ++i) {
    std::u16string word(shipped.First(i));
    if (firsts.empty() || firsts.back() != word) firsts.push_back(word);
  }
  std::uint64_t state = 0x5EED;
  const auto random = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return (state >> 33) % bound;
  };
  while (pairs.PairCount() < kMaxLearnedPairs) {
    // Zipf: rank k is drawn with weight 1 / (k + 1), so the top word gets about one pair in
    // ten (2,000 followers) and most words a handful.
    const double u = static_cast<double>(random(1u << 30)) / (1u << 30);
    const auto rank = static_cast<std::size_t>(std::exp(u * std::log(static_cast<double>(firsts.size())))) - 1;
    const std::u16string& first = firsts[std::min(rank, firsts.size() - 1)];
    const std::u16string& following = firsts[random(firsts.size())];
    pairs.CountPair(first.c_str(), following.c_str());
    pairs.CountPair(first.c_str(), following.c_str());
  }
}

double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

using Clock = std::chrono::steady_clock;

// One iteration looks up the next words of every word of the paragraph; median_us is the
// median over the words of each one's mean time, max_us the slowest word's mean.
void BM_FindNextWordsWithLearnedPairs(benchmark::State& state) {
  WordDictionary dictionary;
  NextWordList shipped;
  LoadShipped(dictionary, shipped);
  LearnedPairs pairs;
  LearnManyPairs(shipped, pairs);
  const std::vector<std::u16string> words = ParagraphWords();
  std::vector<double> total(words.size(), 0.0);
  SuggestionArray out;
  for (auto _ : state) {
    for (std::size_t i = 0; i < words.size(); ++i) {
      const auto start = Clock::now();
      FindNextWords(&pairs, shipped, words[i].c_str(), out);
      total[i] += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
      benchmark::DoNotOptimize(out);
    }
  }
  for (double& t : total) t /= static_cast<double>(state.iterations());
  state.counters["median_us"] = Median(total);
  state.counters["max_us"] = *std::max_element(total.begin(), total.end());
  state.counters["learned_pairs"] = pairs.PairCount();
}
BENCHMARK(BM_FindNextWordsWithLearnedPairs);

// Typing the paragraph through the word tracker with the shipped English files, one
// keystroke per character; the argument says whether learned pairs are on (20,000 learned
// first). us_per_keystroke is the mean time of one TypeCharacter.
void BM_TypeParagraph(benchmark::State& state) {
  WordDictionary dictionary;
  NextWordList shipped;
  LoadShipped(dictionary, shipped);
  LearnedPairs pairs;
  WordTracker tracker(dictionary, shipped);
  if (state.range(0) != 0) {
    LearnManyPairs(shipped, pairs);
    tracker.SetLearnedPairs(&pairs);
  }
  const std::u16string text(kParagraph);
  double micros = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (char16_t c : text) tracker.TypeCharacter(c);
    micros += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  }
  state.counters["us_per_keystroke"] = micros / static_cast<double>(state.iterations() * text.size());
}
BENCHMARK(BM_TypeParagraph)->Arg(0)->Arg(1);

}  // namespace
