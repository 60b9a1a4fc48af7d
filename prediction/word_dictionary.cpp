// Storing and learning words. The lookup (FindCompletions) is in find_completions.cpp.
#include "prediction/word_dictionary.h"

#include "prediction/lower_case.h"

#include <algorithm>
#include <limits>

namespace {

std::size_t BoundedLength(const WCHAR* text) {
  std::size_t n = 0;
  while (n < static_cast<std::size_t>(kMaxWordLength) && text[n] != 0) ++n;
  return n;
}

void CountUp(std::int32_t& count) {
  if (count < std::numeric_limits<std::int32_t>::max()) ++count;
}

// How a stored word E relates to the learned word W (same first character assumed).
enum class Relation { None, Equal, LearnedIsPrefix, StoredIsPrefix };

Relation Relate(const WCHAR* stored, const WCHAR* learned, std::size_t n) {
  std::size_t i = 1;
  while (i < n && stored[i] == learned[i]) ++i;
  if (i == n) return stored[n] == 0 ? Relation::Equal : Relation::LearnedIsPrefix;
  return stored[i] == 0 ? Relation::StoredIsPrefix : Relation::None;
}

}  // namespace

void WordDictionary::EmptyDictionary() {
  for (WordBucket& bucket : buckets_) bucket.Clear(false);
  pool_.Clear();
}

void WordDictionary::DestroyDictionary() {
  for (WordBucket& bucket : buckets_) bucket.Clear(true);
  pool_.Clear();
}

void WordDictionary::Append(WordBucket& bucket, const WCHAR* text, std::size_t length, std::int32_t count) {
  bucket.Append(WordBucket::KeyOf(text, length), WordEntry{pool_.Store(text, length), count});
}

void WordDictionary::LearnWord(WCHAR* word) {
  const std::size_t fullLength = LowerInPlace(word);
  if (fullLength == 0) return;
  const std::size_t n = std::min<std::size_t>(fullLength, kMaxWordLength);
  WordBucket& bucket = buckets_[BucketOf(word[0])];
  std::int32_t newCount = 1;
  // A stored word can be equal to W, a prefix of it or begin with it only when their first
  // min(n, 4) characters agree, or when it is itself a prefix of W shorter than four
  // characters (whole key equal to that prefix's key). The key scan skips all other words.
  const std::uint64_t wordKey = WordBucket::KeyOf(word, n);
  std::uint64_t shortPrefixes[3];
  for (std::size_t k = 1; k <= 3; ++k) shortPrefixes[k - 1] = WordBucket::KeyOf(word, std::min(k, n));
  bool found = false;
  bucket.ForEachKeyMatch<3>(WordBucket::MaskOf(n), wordKey & WordBucket::MaskOf(n), shortPrefixes, [&](std::size_t i) {
    WordEntry& entry = bucket.Entry(i);
    switch (Relate(pool_.Text(entry.text), word, n)) {
      case Relation::Equal:
        // The scan stops here: later prefix entries are not counted for this use.
        CountUp(entry.count);
        found = true;
        return false;
      case Relation::LearnedIsPrefix: CountUp(newCount); break;
      case Relation::StoredIsPrefix: CountUp(entry.count); break;
      case Relation::None: break;
    }
    return true;
  });
  if (!found) Append(bucket, word, n, newCount);
}

void WordDictionary::AddStoredWord(const WCHAR* text, std::int32_t count) {
  AddStoredWord(text, BoundedLength(text), count);
}

void WordDictionary::AddStoredWord(const WCHAR* text, std::size_t length, std::int32_t count) {
  length = std::min<std::size_t>(length, kMaxWordLength);
  if (length == 0 || text[0] == 0) return;
  Append(buckets_[BucketOf(text[0])], text, length, count);
}

void WordDictionary::RemoveWordsAtOrBelow(std::int32_t threshold) {
  for (WordBucket& bucket : buckets_) bucket.RemoveAtOrBelow(threshold);
}

int WordDictionary::WordCount() const {
  std::size_t total = 0;
  for (const WordBucket& bucket : buckets_) total += bucket.size();
  return static_cast<int>(total);
}

std::int32_t WordDictionary::CountOf(const WCHAR* word) const {
  if (word[0] == 0) return -1;
  const WordBucket& bucket = buckets_[BucketOf(word[0])];
  for (std::size_t e = 0; e < bucket.size(); ++e) {
    const WordEntry& entry = bucket.Entry(e);
    const WCHAR* text = pool_.Text(entry.text);
    std::size_t i = 0;
    while (text[i] != 0 && text[i] == word[i]) ++i;
    if (text[i] == word[i]) return entry.count;
  }
  return -1;
}

std::size_t WordDictionary::MemoryBytes() const {
  std::size_t bytes = pool_.MemoryBytes();
  for (const WordBucket& bucket : buckets_) bytes += bucket.MemoryBytes();
  return bytes;
}
