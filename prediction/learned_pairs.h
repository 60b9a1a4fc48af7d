// LearnedPairs: the word pairs the user writes, learned while typing and offered before the
// shipped next-word pairs. The shipped next-word file is never written; what the user teaches
// lives here and in its own file beside the learned word dictionary (learned_pairs_file.h).
//
// Counting: a finished word that follows a finished word with nothing but spaces between them
// counts the pair (first, following) once. Any other separator (a full stop, a comma, a line
// end), a word ended without learning, or a caret moved elsewhere breaks the chain, so no pair
// spans a sentence or a jump in the text.
//
// Offering: a pair is offered once it has been used at least twice (one use may be a typing
// slip) and makes up at least a tenth of the uses of all learned pairs of its first word, by
// count, the most recently used first among equal counts. The share keeps a follower the user
// wrote twice after a word written hundreds of times from pushing aside a shipped pair that
// serves better: typing held-out everyday sentences of many writers, pairs offered on two uses
// alone cost 0.2-0.3 points of keystroke savings, while with the share they cost nothing and
// still bring 3 points on a single writer's text (data/SOURCES.md).
//
// Bound: at most kMaxLearnedPairs pairs. A new pair beyond that replaces the least used one
// (the least recently used among equal counts). The candidate to drop comes from a min-heap
// that is refreshed lazily: a use only raises a pair's key, so a heap entry whose pair was used
// since it was pushed is pushed again with the current key when it reaches the top, and each
// eviction costs O(log n) amortised instead of a scan of every pair.
#pragma once

#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <device/win_types.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

constexpr int kMaxLearnedPairs = 20000;
constexpr std::uint32_t kUsesBeforeOffered = 2;
constexpr std::uint32_t kOfferedShareDivisor = 10;  // a pair offered holds 1/10 of its word's uses

class LearnedPairs {
 public:
  LearnedPairs() = default;
  LearnedPairs(const LearnedPairs&) = delete;
  LearnedPairs& operator=(const LearnedPairs&) = delete;

  // The tracker reports each separator it is typed: `word` is the word the separator ended
  // (lower case, as learned; empty when there was none). Counts the pair with the word before
  // when only spaces lay between them, and keeps the word as the next pair's first word when
  // the separator is a space.
  void WordFinished(const WCHAR* word, WCHAR separator);
  // Forgets the word before: the next finished word starts no pair.
  void BreakChain() { previous_.clear(); }

  // One use of the pair; both words are lower-cased. Pairs with an empty word are ignored.
  void CountPair(const WCHAR* first, const WCHAR* following);

  // The following words of `first` (ignoring case) that are offered, by count, the most
  // recent first among equals, into out[0..2]; returns how many (the other slots are left).
  int FindLearnedNextWords(const WCHAR* first, SuggestionArray& out) const;

  // Forgets every pair (a language is loaded).
  void Empty();

  // A pair read from the pairs file, the file's order being the order of last use, oldest
  // first. Returns false (adding nothing) for an empty word, a count of 0, a pair already
  // present or a full store.
  bool AddStoredPair(const WCHAR* first, const WCHAR* following, std::uint32_t count);

  int PairCount() const { return static_cast<int>(pairs_.size()); }
  // The pairs in order of last use, oldest first (the order of the file).
  std::vector<int> PairsByLastUse() const;
  const std::u16string& First(int index) const { return pairs_[index].first; }
  const std::u16string& Following(int index) const { return pairs_[index].following; }
  std::uint32_t Count(int index) const { return pairs_[index].count; }

  // Whether pairs were counted or added since the last MarkSaved (or Empty).
  bool Changed() const { return changed_; }
  void MarkSaved() { changed_ = false; }

 private:
  struct Pair {
    std::u16string first;
    std::u16string following;
    std::uint32_t count;
    std::uint32_t lastUse;  // the clock at the pair's latest use; unique per pair
  };
  struct HeapEntry {
    std::uint32_t count;
    std::uint32_t lastUse;
    int pair;
  };

  static bool LessUsedOnTop(const HeapEntry& a, const HeapEntry& b);
  int FindPair(const std::u16string& first, const WCHAR* following) const;
  int NewPair(std::u16string first, std::u16string following, std::uint32_t count);
  int EvictLeastUsed();
  void MoveUpInList(int pair, std::uint32_t addedUses, bool isNew);
  void Unindex(int pair);
  void PushHeap(int pair);
  std::uint32_t Tick();

  std::vector<Pair> pairs_;
  // The pairs of one first word in offering order (most uses first, the most recent first
  // among equals), and the sum of their uses. (Two words whose 64-bit hashes collided would
  // share one; among 20,000 words that is too rare to matter.)
  struct WordPairs {
    std::vector<int> pairs;
    std::uint64_t uses = 0;
  };

  // Pairs by a hash of their first word, and by a hash of both words (collisions are told
  // apart by the texts), so that neither counting nor offering walks every pair of a word.
  std::unordered_map<std::uint64_t, WordPairs> byFirst_;
  std::unordered_multimap<std::uint64_t, int> byPair_;
  std::vector<HeapEntry> heap_;  // one entry per pair, least used on top
  std::uint32_t clock_ = 0;      // counts uses; gives every pair its recency
  std::u16string previous_;      // the last finished word while only spaces followed it
  bool changed_ = false;
};

// FindNextWords with the user's pairs: the learned following words of `word` first (those
// used at least twice), then the shipped pairs in list order, never the same word twice
// (ignoring case). A learned word that the shipped list also offers takes the shipped written
// form ("I", a German noun), since the tracker learns words in lower case. Without learned
// pairs for the word (or with `learned` null) the result is exactly the shipped list's.
void FindNextWords(const LearnedPairs* learned, const NextWordList& shipped, const WCHAR* word, SuggestionArray& out);
