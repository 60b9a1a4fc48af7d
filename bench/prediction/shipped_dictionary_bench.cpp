// Loading the shipped dictionaries as the program does at start: the English word dictionary
// and its next-word pairs from data/english.
#include "prediction/dictionary_file.h"
#include "prediction/next_word_file.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadShipped(const char* name) {
  std::ifstream in(std::string(TAVREL_DATA_DIR) + "/english/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_ParseShippedEnglishDictionary(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = ReadShipped("db.dat");
  WordDictionary dictionary;
  for (auto _ : state) {
    dictionary.EmptyDictionary();
    ParseWordDictionaryFile(bytes.data(), bytes.size(), dictionary);
  }
  state.counters["words"] = dictionary.WordCount();
  state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024.0;
  state.counters["dict_MB"] = static_cast<double>(dictionary.MemoryBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ParseShippedEnglishDictionary)->Unit(benchmark::kMillisecond);

void BM_ParseShippedEnglishNextWords(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = ReadShipped("phrases.dat");
  NextWordList list;
  for (auto _ : state) {
    list.EmptyNextWordList();
    ParseNextWordFile(bytes.data(), bytes.size(), list);
  }
  state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024.0;
}
BENCHMARK(BM_ParseShippedEnglishNextWords)->Unit(benchmark::kMillisecond);

}  // namespace
