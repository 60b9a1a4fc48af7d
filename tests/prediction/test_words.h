// Small helpers shared by the prediction tests.
#pragma once

#include "prediction/word_dictionary.h"

#include <string>
#include <vector>

// LearnWord and FindCompletions change their argument in place; these take a copy.
inline void Learn(WordDictionary& dictionary, std::u16string word) { dictionary.LearnWord(word.data()); }

inline Completions Complete(const WordDictionary& dictionary, std::u16string prefix) {
  Completions out;
  dictionary.FindCompletions(prefix.data(), out);
  return out;
}

inline std::vector<std::u16string> Words(const Completions& c) {
  return {c.word[0], c.word[1], c.word[2]};
}

// The words of one bucket with their counts, in stored order.
inline std::vector<std::pair<std::u16string, int>> Bucket(const WordDictionary& dictionary, int bucket) {
  std::vector<std::pair<std::u16string, int>> words;
  for (int i = 0; i < dictionary.EntryCount(bucket); ++i) {
    const WordEntry& entry = dictionary.Entry(bucket, i);
    words.emplace_back(dictionary.Text(entry), entry.count);
  }
  return words;
}

inline void Store(WordDictionary& dictionary, const std::vector<std::pair<std::u16string, int>>& words) {
  for (const auto& [word, count] : words) dictionary.AddStoredWord(word.c_str(), count);
}
