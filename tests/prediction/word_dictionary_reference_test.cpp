// The dictionary against a plain, slow reading of its rules: random words over a small
// alphabet (so that prefixes, shared keys and grouping happen all the time) are learned and
// stored, and every lookup and every bucket must come out the same.
#include "prediction/word_dictionary.h"

#include "test_words.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct RefEntry {
  std::u16string word;
  std::int64_t count;
};

// The rules written as directly as possible: no keys, no tricks.
class ReferenceDictionary {
 public:
  void Learn(std::u16string w) {
    for (char16_t& c : w) c = LowerChar(c);
    if (w.empty()) return;
    auto& bucket = buckets_[WordDictionary::BucketOf(w[0])];
    std::int64_t newCount = 1;
    for (RefEntry& e : bucket) {
      if (e.word[0] != w[0]) continue;
      if (e.word == w) {
        ++e.count;
        return;
      }
      if (w.size() < e.word.size() && e.word.starts_with(w)) ++newCount;
      if (w.size() > e.word.size() && w.starts_with(e.word)) ++e.count;
    }
    bucket.push_back({w, newCount});
  }

  void Store(const std::u16string& w, int count) { buckets_[WordDictionary::BucketOf(w[0])].push_back({w, count}); }

  std::pair<std::vector<std::u16string>, std::u16string> Complete(std::u16string p) const {
    for (char16_t& c : p) c = LowerChar(c);
    std::vector<const RefEntry*> candidates;
    for (const RefEntry& e : buckets_[WordDictionary::BucketOf(p[0])])
      if (e.word.size() > p.size() && e.word.starts_with(p)) candidates.push_back(&e);
    struct Slot {
      const RefEntry* entry = nullptr;
      std::int64_t score = 0;
    };
    Slot slots[3];
    auto take = [&](int j, const RefEntry* e) {
      if (e->count <= slots[j].score) return false;
      for (int k = 2; k > j; --k) slots[k] = slots[k - 1];
      slots[j] = {e, e->count};
      return true;
    };
    for (const RefEntry* e : candidates) {
      for (int j = 0; j < 3; ++j) {
        if (slots[j].score != 0 && e->word.starts_with(slots[j].entry->word)) {
          slots[j].score += e->count;
          break;
        }
        if (slots[j].score != 0 && slots[j].entry->word.starts_with(e->word)) {
          slots[j].score += e->count;
          slots[j].entry = e;
          break;
        }
        if (take(j, e)) break;
      }
    }
    if (slots[2].score == 0) {
      for (Slot& s : slots) s = Slot{};
      for (const RefEntry* e : candidates)
        for (int j = 0; j < 3; ++j)
          if (take(j, e)) break;
    }
    std::vector<std::u16string> words;
    for (const Slot& s : slots) words.push_back(s.score != 0 ? s.entry->word : u"");
    std::map<char16_t, std::int64_t> tally;
    for (const RefEntry* e : candidates) tally[e->word[p.size()]] += e->count;
    std::u16string keys;
    for (int k = 0; k < 3; ++k) {
      auto best = tally.end();
      for (auto it = tally.begin(); it != tally.end(); ++it)
        if (it->second > 0 && (best == tally.end() || it->second > best->second)) best = it;
      if (best == tally.end()) break;
      keys += best->first;
      best->second = 0;
    }
    return {words, keys};
  }

  std::vector<std::pair<std::u16string, int>> Bucket(int b) const {
    std::vector<std::pair<std::u16string, int>> out;
    for (const RefEntry& e : buckets_[b]) out.emplace_back(e.word, static_cast<int>(e.count));
    return out;
  }

 private:
  static char16_t LowerChar(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; }
  std::vector<RefEntry> buckets_[kBucketCount];
};

// 'a', 'b', 'c', 'A' and U+0101 (its low byte puts it in the bucket of 'a').
constexpr char16_t kAlphabet[] = {u'a', u'b', u'c', u'A', u'\u0101'};

std::u16string RandomWord(std::mt19937& random, int maxLength) {
  std::uniform_int_distribution<int> length(1, maxLength), letter(0, 4);
  std::u16string word;
  for (int n = length(random); n > 0; --n) word += kAlphabet[letter(random)];
  return word;
}

void ExpectSameLookups(const WordDictionary& d, const ReferenceDictionary& ref, std::mt19937& random) {
  for (int i = 0; i < 300; ++i) {
    const std::u16string prefix = RandomWord(random, 6);
    const Completions c = Complete(d, prefix);
    const auto [words, keys] = ref.Complete(prefix);
    ASSERT_EQ(Words(c), words) << "prefix length " << prefix.size();
    ASSERT_EQ(std::u16string(c.nextKeys), keys);
  }
}

}  // namespace

TEST(WordDictionaryReference, LearningAndLookupsMatchThePlainRules) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 random(seed);
    WordDictionary d;
    ReferenceDictionary ref;
    for (int step = 0; step < 400; ++step) {
      const std::u16string word = RandomWord(random, 9);
      if (random() % 5 == 0) {
        const int count = static_cast<int>(random() % 4);  // stored words may have count 0
        d.AddStoredWord(word.c_str(), count);
        ref.Store(word, count);
      } else {
        Learn(d, word);
        ref.Learn(word);
      }
    }
    for (int b = 0; b < kBucketCount; ++b) ASSERT_EQ(Bucket(d, b), ref.Bucket(b)) << "seed " << seed << " bucket " << b;
    ExpectSameLookups(d, ref, random);
  }
}
