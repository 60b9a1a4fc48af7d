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
#include <cstdint>
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

  // The indexes of the first `room` pairs, in list order, whose first word equals `word`
  // ignoring case; returns how many were found.
  int FindPairs(const WCHAR* word, int* indexes, int room) const;

  int PairCount() const { return static_cast<int>(pairs_.size()); }
  const WCHAR* First(int index) const { return pool_.Text(pairs_[index].first); }
  const WCHAR* Following(int index) const { return pool_.Text(pairs_[index].following); }
  std::size_t MemoryBytes() const {
    return pool_.MemoryBytes() + pairs_.capacity() * sizeof(Pair) + index_.capacity() * sizeof(IndexEntry);
  }

 private:
  struct Pair {
    StringPool::TextRef first;
    StringPool::TextRef following;
  };

  // A pair's place in the index: the hash of its lower-cased first word, then its position.
  struct IndexEntry {
    std::uint32_t hash;
    std::int32_t pair;
    bool operator<(const IndexEntry& o) const { return hash != o.hash ? hash < o.hash : pair < o.pair; }
  };
  void BuildIndex() const;

  std::vector<Pair> pairs_;  // grows by 128 pairs at a time
  StringPool pool_;
  // Pairs sorted by the hash of their first word, built at the first lookup after a change, so
  // that a lookup touches only the pairs of its word instead of scanning the whole list (a
  // word with fewer than three pairs used to cost a walk over every pair after each word).
  mutable std::vector<IndexEntry> index_;
  mutable bool indexed_ = false;
};
