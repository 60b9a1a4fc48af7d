// FindCompletions: ranking the words that extend a typed prefix, with grouping, and tallying
// the characters that follow the prefix.
#include "prediction/lower_case.h"
#include "prediction/next_key_tally.h"
#include "prediction/word_dictionary.h"

#include <algorithm>

namespace {

// A word that extends the prefix, with the character that follows the prefix in it. The text
// is resolved only when needed: a one-character prefix is matched on the key alone.
struct Candidate {
  const WordEntry* entry;
  std::uint64_t key;  // the word's first four characters
  WCHAR next;
  const WCHAR* text;  // null until resolved
};

// Calls visit(Candidate) for every entry of the bucket, in stored order, that is longer than
// the prefix and begins with it.
template <typename Visit>
void ForEachCandidate(const WordBucket& bucket, const StringPool& pool, const WCHAR* prefix, std::size_t n,
                      Visit&& visit) {
  const std::uint64_t mask = WordBucket::MaskOf(n);
  const std::uint64_t target = WordBucket::KeyOf(prefix, n) & mask;
  if (n < WordBucket::kKeyCharacters) {
    // The key holds the prefix and the character after it: no text is touched. A key whose
    // character n is 0 is the word equal to the prefix, which is no candidate.
    bucket.ForEachKeyMatch<0>(mask, target, nullptr, [&](std::size_t i) __attribute__((always_inline)) {
      const WCHAR next = WordBucket::CharacterOf(bucket.Key(i), n);
      if (next != 0) visit(Candidate{&bucket.Entry(i), bucket.Key(i), next, nullptr});
      return true;
    });
    return;
  }
  bucket.ForEachKeyMatch<0>(mask, target, nullptr, [&](std::size_t i) {
    const WordEntry& entry = bucket.Entry(i);
    const WCHAR* text = pool.Text(entry.text);
    std::size_t k = WordBucket::kKeyCharacters;
    while (k < n && text[k] == prefix[k]) ++k;
    if (k == n && text[n] != 0) visit(Candidate{&entry, bucket.Key(i), text[n], text});
    return true;
  });
}

struct Slot {
  const WordEntry* entry = nullptr;
  std::int64_t score = 0;  // 0: the slot is empty
  std::uint64_t key = 0;   // the slot word's first four characters
  WCHAR next = 0;          // the character after the prefix in the slot's word
  const WCHAR* text = nullptr;
};

enum class Relation { None, SlotBeginsWord, WordBeginsSlot };

// How a candidate relates to a filled slot's word. Both extend the prefix of length n, so
// they can be prefixes of one another only when their characters at n agree; then the keys
// decide up to the fourth character, and only words alike that far have their texts
// compared. Equal words count as the slot's word beginning the candidate.
Relation Relate(const Slot& slot, Candidate& c, std::size_t n, const StringPool& pool) {
  if (slot.next != c.next) return Relation::None;
  std::size_t i = n + 1;
  for (; i < WordBucket::kKeyCharacters; ++i) {
    const WCHAR s = WordBucket::CharacterOf(slot.key, i);
    const WCHAR w = WordBucket::CharacterOf(c.key, i);
    if (s == 0) return Relation::SlotBeginsWord;
    if (s != w) return w == 0 ? Relation::WordBeginsSlot : Relation::None;
  }
  if (!c.text) c.text = pool.Text(c.entry->text);
  while (slot.text[i] != 0 && slot.text[i] == c.text[i]) ++i;
  if (slot.text[i] == 0) return Relation::SlotBeginsWord;
  return c.text[i] == 0 ? Relation::WordBeginsSlot : Relation::None;
}

class RankingSlots {
 public:
  RankingSlots(std::size_t prefixLength, const StringPool& pool) : n_(prefixLength), pool_(pool) {}

  // Ranking by count alone: the candidate takes slot j when its count beats the slot's score
  // strictly, pushing the slots below down by one.
  bool TakeIfHigher(int j, Candidate& c) {
    if (c.entry->count <= slot_[j].score) return false;
    for (int k = kSuggestionCount - 1; k > j; --k) slot_[k] = slot_[k - 1];
    SetEntry(slot_[j], c);
    slot_[j].score = c.entry->count;
    return true;
  }

  // First pass: a word that extends a slot's word adds its count to the slot's score; a word
  // that begins a slot's word adds its count too and takes the slot's place (the shorter word
  // shows). Only when neither holds is the word ranked against the slot by its count alone.
  void RankGrouped(Candidate& c) {
    for (int j = 0; j < kSuggestionCount; ++j) {
      Slot& slot = slot_[j];
      if (slot.score != 0) {
        switch (Relate(slot, c, n_, pool_)) {
          case Relation::SlotBeginsWord: slot.score += c.entry->count; return;
          case Relation::WordBeginsSlot:
            slot.score += c.entry->count;
            SetEntry(slot, c);
            return;
          case Relation::None: break;
        }
      }
      if (TakeIfHigher(j, c)) return;
    }
  }

  // Second pass: the plain three highest counts; among equal counts the one stored first
  // stays ahead.
  void RankPlain(Candidate& c) {
    for (int j = 0; j < kSuggestionCount; ++j)
      if (TakeIfHigher(j, c)) return;
  }

  int Filled() const {
    return static_cast<int>(std::count_if(std::begin(slot_), std::end(slot_),
                                          [](const Slot& s) { return s.score != 0; }));
  }

  void Clear() { std::fill(std::begin(slot_), std::end(slot_), Slot{}); }

  void WriteWords(SuggestionArray& out) const {
    for (int k = 0; k < kSuggestionCount; ++k) {
      if (slot_[k].score == 0) continue;
      const WCHAR* text = pool_.Text(slot_[k].entry->text);
      int i = 0;
      for (; i < kMaxWordLength && text[i] != 0; ++i) out[k][i] = text[i];
      out[k][i] = 0;
    }
  }

 private:
  void SetEntry(Slot& slot, Candidate& c) {
    if (!c.text) c.text = pool_.Text(c.entry->text);
    slot.entry = c.entry;
    slot.key = c.key;
    slot.next = c.next;
    slot.text = c.text;
  }

  std::size_t n_;
  const StringPool& pool_;
  Slot slot_[kSuggestionCount];
};

// The exact tally when more than NextKeyTally::kSlots distinct characters follow the prefix:
// count one range of character codes per pass. Only pathological dictionaries get here.
template <typename ForEach>
void TallyByRanges(ForEach&& forEachCandidate, TopKeys& top) {
  constexpr unsigned kRange = NextKeyTally::kSlots;
  for (unsigned base = 0; base < 0x10000; base += kRange) {
    std::int64_t tally[kRange] = {};
    bool any = false;
    forEachCandidate([&](const Candidate& c) {
      if (c.next >= base && c.next < base + kRange) {
        tally[c.next - base] += c.entry->count;
        any = true;
      }
    });
    if (!any) continue;
    for (unsigned k = 0; k < kRange; ++k) top.Offer(static_cast<WCHAR>(base + k), tally[k]);
  }
}

void ClearCompletions(Completions& out) {
  for (auto& word : out.word) word[0] = 0;
  out.nextKeys[0] = 0;
}

}  // namespace

void WordDictionary::FindCompletions(WCHAR* prefix, Completions& out) const {
  const std::size_t n = LowerInPlace(prefix);
  ClearCompletions(out);
  if (n == 0 || n >= static_cast<std::size_t>(kMaxWordLength)) return;  // nothing stored is longer
  const WordBucket& bucket = buckets_[BucketOf(prefix[0])];
  auto forEachCandidate = [&](auto&& visit) { ForEachCandidate(bucket, pool_, prefix, n, visit); };

  RankingSlots slots(n, pool_);
  NextKeyTally tally(prefix[0]);
  bool tallyComplete = true;
  forEachCandidate([&](Candidate c) __attribute__((always_inline)) {
    tallyComplete = tally.Add(c.next, c.entry->count) && tallyComplete;
    slots.RankGrouped(c);
  });
  if (slots.Filled() < kSuggestionCount) {
    slots.Clear();
    forEachCandidate([&](Candidate c) { slots.RankPlain(c); });
  }
  slots.WriteWords(out.word);

  TopKeys top;
  if (tallyComplete)
    tally.OfferAll(top);
  else
    TallyByRanges(forEachCandidate, top);
  top.Write(out.nextKeys);
}
