// WordDictionary: the words of the current language with their use counts. Every finished
// word is learned into it; every keystroke asks it for the three best completions of the
// typed prefix and the likeliest next characters.
//
// Layout: 32 buckets, a word living in bucket (low 8 bits of its first character) mod 32.
// A bucket (WordBucket) holds its entries in insertion order (nothing sorts them) and grows
// by 128 entries whenever an append finds count + 1 >= capacity. Texts live in a StringPool.
//
// Choices where the behaviour is otherwise open:
// - An empty prefix has no completions (it would otherwise offer every word of bucket 0,
//   words beginning with '@', '`' or accented capitals, which no user expects).
// - Words longer than 255 characters are learned as their first 255 characters; empty texts
//   are never stored.
// - Counts saturate at INT32_MAX instead of wrapping, and ranking scores are summed in 64
//   bits, so that a very frequent word is never ranked as if it were rare.
#pragma once

#include "prediction/string_pool.h"
#include "prediction/word_bucket.h"

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kMaxWordLength = 255;                // the typing buffer and the file's length byte
constexpr int kWordBufferSize = kMaxWordLength + 1;
constexpr int kSuggestionCount = 3;
constexpr int kNextKeysSize = 32;                  // room of the tracker's next-keys string
constexpr int kBucketCount = 32;

// Three zero-terminated words, likeliest first; unused slots are empty strings.
using SuggestionArray = WCHAR[kSuggestionCount][kWordBufferSize];

// The result of FindCompletions.
struct Completions {
  SuggestionArray word;
  WCHAR nextKeys[kNextKeysSize];  // 0 to 3 characters, likeliest first
};

class WordDictionary {
 public:
  WordDictionary() = default;
  WordDictionary(const WordDictionary&) = delete;
  WordDictionary& operator=(const WordDictionary&) = delete;

  static int BucketOf(WCHAR firstCharacter) { return (firstCharacter & 0xFF) % kBucketCount; }

  // Forgets every word: bucket counts become 0 (their arrays are kept for reuse) and the
  // texts are freed.
  void EmptyDictionary();

  // Frees everything (program exit).
  void DestroyDictionary();

  // Records one use of a finished word. The word is lower-cased in place (the caller's buffer
  // changes). An equal stored word is counted up; a stored word that is a prefix of it is
  // counted up too; a new word starts at 1 plus the number of stored longer words it begins.
  void LearnWord(WCHAR* word);

  // Appends a word as read from a dictionary file: no lower-casing, no search for an equal
  // word. Texts longer than 255 characters are cut; an empty text is ignored.
  void AddStoredWord(const WCHAR* text, std::int32_t count);
  void AddStoredWord(const WCHAR* text, std::size_t length, std::int32_t count);

  // The three best completions of `prefix` (lower-cased in place) and the likeliest next
  // characters. A word equal to the prefix is not a completion. Allocates nothing.
  void FindCompletions(WCHAR* prefix, Completions& out) const;

  // Removes every entry whose count is `threshold` or less, keeping the order of the others.
  void RemoveWordsAtOrBelow(std::int32_t threshold);

  // Read access for the dictionary file, tools and tests.
  int EntryCount(int bucket) const { return static_cast<int>(buckets_[bucket].size()); }
  const WordEntry& Entry(int bucket, int index) const { return buckets_[bucket].Entry(static_cast<std::size_t>(index)); }
  const WCHAR* Text(const WordEntry& entry) const { return pool_.Text(entry.text); }
  int WordCount() const;
  // The count of the first stored word equal to `word` (case-sensitive), or -1.
  std::int32_t CountOf(const WCHAR* word) const;
  // Bytes held by the buckets and the pool.
  std::size_t MemoryBytes() const;

 private:
  void Append(WordBucket& bucket, const WCHAR* text, std::size_t length, std::int32_t count);

  WordBucket buckets_[kBucketCount];
  StringPool pool_;
};
