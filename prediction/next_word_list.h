// NextWordList: pairs (first word, following word) that say which words tend to follow a
// finished word. Filled from the language's next-word file; never written by the program.
//
// Pairs keep the order of the file and duplicates are kept. Unlike a list that only resets
// its pair count, emptying the list also frees the texts of the old pairs: nothing refers to
// them any more, and keeping them would grow memory on every language switch.
#pragma once

#include "prediction/string_pool.h"
#include "prediction/word_dictionary.h"

#include <device/win_types.h>

#include <cstddef>
#include <vector>

class NextWordList {
 public:
  NextWordList() = default;
  NextWordList(const NextWordList&) = delete;
  NextWordList& operator=(const NextWordList&) = delete;

  // Forgets every pair.
  void EmptyNextWordList();
  // Frees everything (program exit).
  void DestroyNextWordList();

  // Appends a pair; each text is cut to 255 characters. Pairs with an empty word are ignored.
  void AddNextWordPair(const WCHAR* first, const WCHAR* following);
  void AddNextWordPair(const WCHAR* first, std::size_t firstLength, const WCHAR* following,
                       std::size_t followingLength);

  // The following words of the first three pairs, in list order, whose first word equals
  // `word` ignoring case; unused slots become empty strings.
  void FindNextWords(const WCHAR* word, SuggestionArray& out) const;

  int PairCount() const { return static_cast<int>(pairs_.size()); }
  const WCHAR* First(int index) const { return pool_.Text(pairs_[index].first); }
  const WCHAR* Following(int index) const { return pool_.Text(pairs_[index].following); }
  std::size_t MemoryBytes() const { return pool_.MemoryBytes() + pairs_.capacity() * sizeof(Pair); }

 private:
  struct Pair {
    StringPool::TextRef first;
    StringPool::TextRef following;
  };

  std::vector<Pair> pairs_;  // grows by 128 pairs at a time
  StringPool pool_;
};
