// WordBucket: the words of one of the dictionary's 32 buckets, in insertion order.
//
// Stored as parallel arrays: the first four characters of every word (its key, kept as two
// 32-bit halves so that the first two characters can be scanned four at a time), and the text
// reference with the use count. A lookup touches texts only of words that can match; for
// prefixes of up to three characters the key alone decides a match and gives the character
// after the prefix. So a keystroke costs microseconds even in a bucket of ten thousand words.
#pragma once

#include "prediction/string_pool.h"

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// One stored word as the dictionary's callers see it.
struct WordEntry {
  StringPool::TextRef text;
  std::int32_t count;  // at least 1 for a learned word; 0 is possible for a loaded one
};

class WordBucket {
 public:
  static constexpr std::size_t kGrowth = 128;
  static constexpr std::size_t kKeyCharacters = 4;

  // The key of a text of `length` characters: character k in bits 16k..16k+15 for k < 4;
  // characters beyond the text's end are 0.
  static std::uint64_t KeyOf(const WCHAR* text, std::size_t length) {
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < kKeyCharacters && k < length; ++k) key |= static_cast<std::uint64_t>(text[k]) << (16 * k);
    return key;
  }
  // The bits of the first min(n, 4) characters.
  static std::uint64_t MaskOf(std::size_t n) { return n >= kKeyCharacters ? ~0ull : (1ull << (16 * n)) - 1; }
  // Character k (< 4) of a key.
  static WCHAR CharacterOf(std::uint64_t key, std::size_t k) { return static_cast<WCHAR>(key >> (16 * k)); }

  std::size_t size() const { return entries_.size(); }
  std::size_t capacity() const { return entries_.capacity(); }

  // Appends, growing the arrays by 128 entries whenever count + 1 >= capacity.
  void Append(std::uint64_t key, WordEntry entry);

  // Empties the bucket; with `release` its arrays are freed, otherwise kept for reuse.
  void Clear(bool release);

  // Removes the entries whose count is `threshold` or less, keeping the order of the others.
  void RemoveAtOrBelow(std::int32_t threshold);

  std::uint64_t Key(std::size_t i) const { return head_[i] | (static_cast<std::uint64_t>(tail_[i]) << 32); }
  const WordEntry& Entry(std::size_t i) const { return entries_[i]; }
  WordEntry& Entry(std::size_t i) { return entries_[i]; }

  // Calls visit(i) for every entry, in stored order, whose key masked with `mask` equals
  // `target`, or whose whole key equals one of the `Exact` keys at `exact`; stops when visit
  // returns false.
  template <std::size_t Exact, typename Visit>
  void ForEachKeyMatch(std::uint64_t mask, std::uint64_t target, const std::uint64_t* exact, Visit&& visit) const;

  std::size_t MemoryBytes() const {
    return (head_.capacity() + tail_.capacity()) * sizeof(std::uint32_t) + entries_.capacity() * sizeof(WordEntry);
  }

 private:
  bool Matches(std::size_t i, std::uint64_t mask, std::uint64_t target, const std::uint64_t* exact, std::size_t exactCount) const {
    const std::uint64_t key = Key(i);
    bool match = (key & mask) == target;
    for (std::size_t e = 0; e < exactCount; ++e) match = match || key == exact[e];
    return match;
  }

  std::vector<std::uint32_t> head_;  // characters 0 and 1 of each key
  std::vector<std::uint32_t> tail_;  // characters 2 and 3
  std::vector<WordEntry> entries_;
};

template <std::size_t Exact, typename Visit>
void WordBucket::ForEachKeyMatch(std::uint64_t mask, std::uint64_t target, const std::uint64_t* exact,
                                 Visit&& visit) const {
  const std::size_t count = head_.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  // Whole keys are compared four at a time, so that only true matches reach the (branchy)
  // visit; the last two characters are read only when the mask or an exact key needs them.
  const bool needTail = (mask >> 32) != 0 || Exact > 0;
  auto splat = [](std::uint64_t v, int half) { return _mm_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(v >> (32 * half)))); };
  const __m128i maskLow = splat(mask, 0), maskHigh = splat(mask, 1);
  const __m128i targetLow = splat(target, 0), targetHigh = splat(target, 1);
  __m128i exactLow[Exact > 0 ? Exact : 1], exactHigh[Exact > 0 ? Exact : 1];
  for (std::size_t e = 0; e < Exact; ++e) {
    exactLow[e] = splat(exact[e], 0);
    exactHigh[e] = splat(exact[e], 1);
  }
  auto hits = [&](std::size_t at) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(head_.data() + at));
    __m128i match = _mm_cmpeq_epi32(_mm_and_si128(low, maskLow), targetLow);
    if (needTail) {
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tail_.data() + at));
      match = _mm_and_si128(match, _mm_cmpeq_epi32(_mm_and_si128(high, maskHigh), targetHigh));
      for (std::size_t e = 0; e < Exact; ++e)
        match = _mm_or_si128(match, _mm_and_si128(_mm_cmpeq_epi32(low, exactLow[e]), _mm_cmpeq_epi32(high, exactHigh[e])));
    }
    return _mm_movemask_ps(_mm_castsi128_ps(match));
  };
  for (; i + 8 <= count; i += 8) {
    for (int bits = hits(i) | (hits(i + 4) << 4); bits != 0; bits &= bits - 1)
      if (!visit(i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(bits))))) return;
  }
#endif
  for (; i < count; ++i)
    if (Matches(i, mask, target, exact, Exact) && !visit(i)) return;
}
