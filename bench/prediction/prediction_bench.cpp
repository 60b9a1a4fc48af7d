// Prediction engine benchmarks on a 100,000-word synthetic dictionary.
//
// Goals: FindCompletions median <= 10 us over the prefixes met while typing an English
// paragraph; LearnWord median <= 10 us; load <= 25 ms; save <= 40 ms; dictionary memory
// <= 4 MB. The per-call medians are reported as the counters median_us; memory as dict_MB.
#include "prediction/dictionary_file.h"
#include "common/file_helpers.h"
#include "prediction/word_dictionary.h"

#include <device/files.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kDictionaryWords = 100000;

constexpr const char* kParagraph =
    "When the evening came the travellers reached the little town at the edge of the forest. "
    "They had walked for three days through rain and wind, and their boots were heavy with mud. "
    "The innkeeper looked at them with some suspicion, but he gave them a room above the stable "
    "and a supper of bread, cheese and hot soup. After they had eaten, the older of the two took "
    "out a worn map and spread it across the table. There was the river they would have to cross "
    "tomorrow, and beyond it the mountains where nobody from the town had been for many years. "
    "Please remember to write down everything that happens, she said, because someone should know "
    "what we found there if we do not come back.";

// A deterministic generator of English-looking words: the first letter drawn with the
// frequencies of initial letters in an English word list (so the buckets are as uneven as a
// real dictionary's), then syllables of common onsets, vowels and codas, and now and then a
// suffix; the average length is close to that of a 100,000-word English list (about 9).
class WordGenerator {
 public:
  std::u16string Next() {
    // Initial letters per 1000 words of an English word list.
    static constexpr std::pair<char, int> kInitials[] = {
        {'s', 109}, {'c', 94}, {'p', 78}, {'d', 61}, {'a', 58}, {'m', 56}, {'b', 56}, {'t', 55}, {'r', 53},
        {'f', 42},  {'h', 41}, {'i', 38}, {'e', 38}, {'g', 34}, {'l', 33}, {'u', 32}, {'w', 27}, {'o', 26},
        {'n', 23},  {'v', 16}, {'k', 10}, {'j', 9},  {'q', 5},  {'y', 4},  {'z', 3},  {'x', 1}};
    static constexpr const char* kOnsets[] = {"b", "c", "d", "f", "g", "h", "l", "m", "n", "p", "r", "s", "t", "v",
                                              "w", "br", "ch", "cl", "cr", "dr", "fl", "gr", "pl", "pr", "sh", "st",
                                              "th", "tr", "k", "j", "qu", "sc", "sp", "z"};
    static constexpr const char* kVowels[] = {"a", "e", "i", "o", "u", "ea", "ee", "ai", "ou", "io", "oo", "y", "ie"};
    static constexpr const char* kCodas[] = {"", "", "", "n", "r", "s", "t", "l", "d", "m", "ng", "nt", "st", "ck",
                                             "rd", "ss", "ll", "th", "ch", "x", "p"};
    static constexpr const char* kSuffixes[] = {"", "", "", "", "", "s", "ed", "ing", "er", "ly", "tion", "ness", "es"};
    int pick = static_cast<int>(Random(1000)), i = 0;
    while (pick >= kInitials[i].second && i + 1 < static_cast<int>(std::size(kInitials))) pick -= kInitials[i++].second;
    const char initial = kInitials[i].first;
    const bool vowel = initial == 'a' || initial == 'e' || initial == 'i' || initial == 'o' || initial == 'u';
    std::string word(1, initial);
    if (!vowel && Random(100) < 25) word += "rlh"[Random(3)];
    const std::uint32_t r = Random(100);
    const int syllables = r < 40 ? 1 : (r < 85 ? 2 : (r < 98 ? 3 : 4));
    for (int syllable = 0; syllable < syllables; ++syllable) {
      if (syllable > 0) word += kOnsets[Random(std::size(kOnsets))];
      if (!(syllable == 0 && vowel)) word += kVowels[Random(std::size(kVowels))];
      word += kCodas[Random(std::size(kCodas))];
    }
    word += kSuffixes[Random(std::size(kSuffixes))];
    return std::u16string(word.begin(), word.end());
  }

  std::uint32_t Random(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>((state_ >> 33) % bound);
  }

 private:
  std::uint64_t state_ = 0x7A3E11;
};

std::vector<std::u16string> ParagraphWords() {
  std::vector<std::u16string> words;
  std::u16string word;
  for (const char* p = kParagraph;; ++p) {
    const char c = *p;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      word += static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
    if (c == 0) break;
  }
  return words;
}

// Every prefix typed while writing the paragraph, in typing order.
std::vector<std::u16string> KeystrokePrefixes() {
  std::vector<std::u16string> prefixes;
  for (const std::u16string& word : ParagraphWords())
    for (std::size_t n = 1; n <= word.size(); ++n) prefixes.push_back(word.substr(0, n));
  return prefixes;
}

// The synthetic dictionary as file bytes: 100,000 distinct words (the paragraph's among them)
// with Zipf-like counts, laid out as a dictionary is after loading.
const std::vector<std::uint8_t>& DictionaryFileBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    WordGenerator generator;
    std::set<std::u16string> seen;
    WordDictionary dictionary;
    auto add = [&](const std::u16string& word, int rank) {
      if (word.size() > 1 && seen.insert(word).second)
        dictionary.AddStoredWord(word.c_str(), std::max(1, 60000 / (rank + 1)));
    };
    int rank = 0;
    for (const std::u16string& word : ParagraphWords()) add(word, rank++);
    while (static_cast<int>(seen.size()) < kDictionaryWords) add(generator.Next(), rank++);
    return BuildWordDictionaryFile(dictionary, 0);
  }();
  return bytes;
}

void LoadInto(WordDictionary& dictionary) {
  const auto& bytes = DictionaryFileBytes();
  dictionary.EmptyDictionary();
  ParseWordDictionaryFile(bytes.data(), bytes.size(), dictionary);
}

double MedianMicroseconds(std::vector<double>& samples) {
  if (samples.empty()) return 0;
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

// A fresh device image for the file benchmarks.
void UseTemporaryDevice() {
  static const bool ready = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    std::filesystem::create_directories(std::filesystem::path(pattern) / "no-data");
    setenv("TAVREL_DEVICE", (std::filesystem::path(pattern) / "image").c_str(), 1);
    setenv("TAVREL_DATA", (std::filesystem::path(pattern) / "no-data").c_str(), 1);
    return device::EnsureDeviceImage();
  }();
  (void)ready;
}

constexpr const char16_t* kBenchPath = u"\\Program Files\\Tavrel\\bench.dat";

using Clock = std::chrono::steady_clock;

// One iteration types the whole paragraph: every prefix is looked up once and timed.
// median_us is the median over the prefixes of each one's mean wall time (a loaded machine
// inflates it); median_best_us that of each one's fastest lookup.
void BM_FindCompletions(benchmark::State& state) {
  WordDictionary dictionary;
  LoadInto(dictionary);
  const std::vector<std::u16string> prefixes = KeystrokePrefixes();
  std::vector<double> total(prefixes.size(), 0.0);
  std::vector<double> best(prefixes.size(), 1e30);
  Completions out;
  WCHAR prefix[kWordBufferSize];
  for (auto _ : state) {
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      std::copy(prefixes[i].begin(), prefixes[i].end() + 1, prefix);
      const auto start = Clock::now();
      dictionary.FindCompletions(prefix, out);
      const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
      total[i] += took;
      best[i] = std::min(best[i], took);
      benchmark::DoNotOptimize(out);
    }
  }
  for (double& t : total) t /= static_cast<double>(state.iterations());
  state.counters["median_us"] = MedianMicroseconds(total);
  // The same over each prefix's fastest lookup: the cost on an otherwise idle processor.
  state.counters["median_best_us"] = MedianMicroseconds(best);
  state.counters["mean_us"] = std::accumulate(total.begin(), total.end(), 0.0) / static_cast<double>(total.size());
  state.counters["prefixes"] = static_cast<double>(prefixes.size());
}
BENCHMARK(BM_FindCompletions);

void BM_LearnWord(benchmark::State& state) {
  WordDictionary dictionary;
  LoadInto(dictionary);
  const std::vector<std::u16string> words = ParagraphWords();
  WordGenerator generator;
  std::vector<double> samples;
  std::size_t next = 0;
  WCHAR word[kWordBufferSize];
  for (auto _ : state) {
    // Mostly known words, every fifth a word the dictionary may not hold yet.
    const std::u16string w = (next % 5 == 4) ? generator.Next() : words[next % words.size()];
    ++next;
    std::copy(w.begin(), w.end() + 1, word);
    const auto start = Clock::now();
    dictionary.LearnWord(word);
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  state.counters["median_us"] = MedianMicroseconds(samples);
}
BENCHMARK(BM_LearnWord);

void BM_ParseDictionary(benchmark::State& state) {
  WordDictionary dictionary;
  for (auto _ : state) LoadInto(dictionary);
  state.counters["words"] = dictionary.WordCount();
  state.counters["dict_MB"] = static_cast<double>(dictionary.MemoryBytes()) / (1024.0 * 1024.0);
  state.counters["file_KB"] = static_cast<double>(DictionaryFileBytes().size()) / 1024.0;
}
BENCHMARK(BM_ParseDictionary)->Unit(benchmark::kMillisecond);

void BM_LoadDictionaryFromDevice(benchmark::State& state) {
  UseTemporaryDevice();
  const auto& bytes = DictionaryFileBytes();
  ReplaceFileContents(kBenchPath, bytes.data(), bytes.size());
  WordDictionary dictionary;
  for (auto _ : state) {
    dictionary.EmptyDictionary();
    LoadWordDictionary(kBenchPath, dictionary);
  }
  state.counters["words"] = dictionary.WordCount();
}
BENCHMARK(BM_LoadDictionaryFromDevice)->Unit(benchmark::kMillisecond);

void BM_BuildDictionaryFile(benchmark::State& state) {
  WordDictionary dictionary;
  LoadInto(dictionary);
  for (auto _ : state) benchmark::DoNotOptimize(BuildWordDictionaryFile(dictionary, 0));
}
BENCHMARK(BM_BuildDictionaryFile)->Unit(benchmark::kMillisecond);

void BM_SaveDictionaryToDevice(benchmark::State& state) {
  UseTemporaryDevice();
  WordDictionary dictionary;
  LoadInto(dictionary);
  for (auto _ : state) SaveWordDictionary(kBenchPath, dictionary, 0);
}
BENCHMARK(BM_SaveDictionaryToDevice)->Unit(benchmark::kMillisecond);

}  // namespace
