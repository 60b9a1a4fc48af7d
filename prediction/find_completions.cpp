// FindCompletions: ranking the words that extend a typed prefix, with grouping, and tallying
// the characters that follow the prefix.
#include "prediction/lower_case.h"
#include "prediction/next_key_tally.h"
#include "prediction/word_dictionary.h"

#include <algorithm>

namespace {

// A word that extends the prefix, with the character that follows the prefix in it.
struct Candidate {
  const WordEntry* entry;
  WCHAR next;
};

// Calls visit(Candidate) for every entry of the bucket, in stored order, that is longer than
// the prefix and begins with it.
template <typename Visit>
void ForEachCandidate(const std::vector<WordEntry>& bucket, const StringPool& pool, const WCHAR* prefix,
                      std::size_t n, Visit&& visit) {
  const WCHAR first = prefix[0];
  if (n == 1) {
    // The first character and the stored second one decide everything: no text is touched.
    for (const WordEntry& entry : bucket)
      if (entry.first == first && entry.second != 0) visit(Candidate{&entry, entry.second});
    return;
  }
  const WCHAR second = prefix[1];
  for (const WordEntry& entry : bucket) {
    if (entry.first != first || entry.second != second) continue;
    const WCHAR* text = pool.Text(entry.text);
    std::size_t i = 2;
    while (i < n && text[i] == prefix[i]) ++i;
    if (i == n && text[n] != 0) visit(Candidate{&entry, text[n]});
  }
}

// True when word a is a prefix of word b (or equal). Both extend the typed prefix, so both
// have at least two characters and share the first.
bool IsPrefixOf(const WordEntry& a, const WordEntry& b, const StringPool& pool) {
  if (a.second != b.second) return false;
  const WCHAR* textA = pool.Text(a.text);
  const WCHAR* textB = pool.Text(b.text);
  for (std::size_t i = 2;; ++i) {
    if (textA[i] == 0) return true;
    if (textA[i] != textB[i]) return false;
  }
}

struct Slot {
  const WordEntry* entry = nullptr;
  std::int64_t score = 0;  // 0: the slot is empty
};

class RankingSlots {
 public:
  // Rule c alone: the candidate takes slot j when its count beats the slot's score strictly,
  // pushing the slots below down by one.
  bool TakeIfHigher(int j, const WordEntry& entry) {
    if (entry.count <= slot_[j].score) return false;
    for (int k = kSuggestionCount - 1; k > j; --k) slot_[k] = slot_[k - 1];
    slot_[j] = Slot{&entry, entry.count};
    return true;
  }

  // First pass: rules a and b group a word with a slot word it extends or begins, before
  // rule c is tried for that same slot.
  void RankGrouped(const WordEntry& entry, const StringPool& pool) {
    for (int j = 0; j < kSuggestionCount; ++j) {
      Slot& slot = slot_[j];
      if (slot.score != 0) {
        if (IsPrefixOf(*slot.entry, entry, pool)) {
          slot.score += entry.count;
          return;
        }
        if (IsPrefixOf(entry, *slot.entry, pool)) {
          slot.score += entry.count;
          slot.entry = &entry;
          return;
        }
      }
      if (TakeIfHigher(j, entry)) return;
    }
  }

  // Second pass: the plain three highest counts; among equal counts the one stored first
  // stays ahead.
  void RankPlain(const WordEntry& entry) {
    for (int j = 0; j < kSuggestionCount; ++j)
      if (TakeIfHigher(j, entry)) return;
  }

  int Filled() const {
    return static_cast<int>(std::count_if(std::begin(slot_), std::end(slot_),
                                          [](const Slot& s) { return s.score != 0; }));
  }

  void Clear() { std::fill(std::begin(slot_), std::end(slot_), Slot{}); }

  void WriteWords(SuggestionArray& out, const StringPool& pool) const {
    for (int k = 0; k < kSuggestionCount; ++k) {
      if (slot_[k].score == 0) continue;
      const WCHAR* text = pool.Text(slot_[k].entry->text);
      int i = 0;
      for (; i < kMaxWordLength && text[i] != 0; ++i) out[k][i] = text[i];
      out[k][i] = 0;
    }
  }

 private:
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

  RankingSlots slots;
  NextKeyTally tally;
  bool tallyComplete = true;
  forEachCandidate([&](const Candidate& c) {
    tallyComplete = tally.Add(c.next, c.entry->count) && tallyComplete;
    slots.RankGrouped(*c.entry, pool_);
  });
  if (slots.Filled() < kSuggestionCount) {
    slots.Clear();
    forEachCandidate([&](const Candidate& c) { slots.RankPlain(*c.entry); });
  }
  slots.WriteWords(out.word, pool_);

  TopKeys top;
  if (tallyComplete)
    tally.OfferAll(top);
  else
    TallyByRanges(forEachCandidate, top);
  top.Write(out.nextKeys);
}
