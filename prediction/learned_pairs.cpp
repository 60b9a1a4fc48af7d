#include "prediction/learned_pairs.h"

#include "prediction/lower_case.h"

#include <algorithm>
#include <limits>

namespace {

std::u16string LowerWord(const WCHAR* text) {
  std::u16string word;
  for (int i = 0; i < kMaxWordLength && text[i] != 0; ++i) word += LowerChar(text[i]);
  return word;
}

constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ull;

// FNV-1a over the UTF-16 units.
std::uint64_t HashWord(const char16_t* word, std::uint64_t hash = kHashStart) {
  for (; *word != 0; ++word) {
    hash ^= *word;
    hash *= 0x100000001b3ull;
  }
  return hash;
}
std::uint64_t HashWord(const std::u16string& word) { return HashWord(word.c_str()); }

// Both words, with a 0 between them so that ("ab", "c") and ("a", "bc") differ.
std::uint64_t HashPair(const std::u16string& first, const char16_t* following) {
  return HashWord(following, HashWord(first) * 0x100000001b3ull);  // FNV-1a of a 0 unit
}

void CopyWord(const WCHAR* text, WCHAR* out) {
  int i = 0;
  for (; i < kMaxWordLength && text[i] != 0; ++i) out[i] = text[i];
  out[i] = 0;
}

// Whether pair A ranks above pair B: more uses, or as many and used more recently.
bool MoreUsed(std::uint32_t countA, std::uint32_t lastUseA, std::uint32_t countB, std::uint32_t lastUseB) {
  return countA != countB ? countA > countB : lastUseA > lastUseB;
}

}  // namespace

// The heap's order (std heaps keep the greatest on top): the least used entry is "greatest".
bool LearnedPairs::LessUsedOnTop(const HeapEntry& a, const HeapEntry& b) {
  return MoreUsed(a.count, a.lastUse, b.count, b.lastUse);
}

void LearnedPairs::WordFinished(const WCHAR* word, WCHAR separator) {
  if (word[0] != 0) {
    if (!previous_.empty()) CountPair(previous_.c_str(), word);
    if (separator == u' ') previous_ = LowerWord(word);
    else BreakChain();
    return;
  }
  if (separator != u' ') BreakChain();
}

void LearnedPairs::CountPair(const WCHAR* first, const WCHAR* following) {
  std::u16string firstWord = LowerWord(first);
  std::u16string followingWord = LowerWord(following);
  if (firstWord.empty() || followingWord.empty()) return;
  changed_ = true;
  const int found = FindPair(firstWord, followingWord.c_str());
  if (found >= 0) {
    Pair& pair = pairs_[found];
    const bool counts = pair.count < std::numeric_limits<std::uint32_t>::max();
    if (counts) ++pair.count;
    pair.lastUse = Tick();
    MoveUpInList(found, counts ? 1 : 0, false);
    return;
  }
  NewPair(std::move(firstWord), std::move(followingWord), 1);
}

int LearnedPairs::FindLearnedNextWords(const WCHAR* first, SuggestionArray& out) const {
  const std::u16string word = LowerWord(first);
  const auto it = byFirst_.find(HashWord(word));
  if (it == byFirst_.end()) return 0;
  int found = 0;
  const std::uint64_t uses = it->second.uses;
  // The list is in offering order, so the first pairs with enough uses are the answer.
  for (int index : it->second.pairs) {
    const Pair& pair = pairs_[index];
    if (found == kSuggestionCount || pair.count < kUsesBeforeOffered ||
        std::uint64_t{pair.count} * kOfferedShareDivisor < uses)
      break;
    if (pair.first == word) CopyWord(reinterpret_cast<const WCHAR*>(pair.following.c_str()), out[found++]);
  }
  return found;
}

void LearnedPairs::Empty() {
  pairs_.clear();
  byFirst_.clear();
  byPair_.clear();
  heap_.clear();
  clock_ = 0;
  previous_.clear();
  changed_ = false;
}

bool LearnedPairs::AddStoredPair(const WCHAR* first, const WCHAR* following, std::uint32_t count) {
  std::u16string firstWord = LowerWord(first);
  std::u16string followingWord = LowerWord(following);
  if (firstWord.empty() || followingWord.empty() || count == 0 || PairCount() >= kMaxLearnedPairs ||
      FindPair(firstWord, followingWord.c_str()) >= 0)
    return false;
  NewPair(std::move(firstWord), std::move(followingWord), count);
  return true;
}

std::vector<int> LearnedPairs::PairsByLastUse() const {
  std::vector<int> order(pairs_.size());
  for (int i = 0; i < PairCount(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](int a, int b) { return pairs_[a].lastUse < pairs_[b].lastUse; });
  return order;
}

int LearnedPairs::FindPair(const std::u16string& first, const WCHAR* following) const {
  const auto [from, to] = byPair_.equal_range(HashPair(first, following));
  for (auto it = from; it != to; ++it) {
    const Pair& pair = pairs_[it->second];
    if (pair.first == first && pair.following == reinterpret_cast<const char16_t*>(following)) return it->second;
  }
  return -1;
}

int LearnedPairs::NewPair(std::u16string first, std::u16string following, std::uint32_t count) {
  const std::uint32_t stamp = Tick();  // before a pair leaves, so a renumbering sees every pair
  const int index = PairCount() < kMaxLearnedPairs ? PairCount() : EvictLeastUsed();
  Pair pair{std::move(first), std::move(following), count, stamp};
  if (index == PairCount()) pairs_.push_back(std::move(pair));
  else pairs_[index] = std::move(pair);
  MoveUpInList(index, count, true);
  byPair_.emplace(HashPair(pairs_[index].first, pairs_[index].following.c_str()), index);
  PushHeap(index);
  return index;
}

// Pops heap entries until one still holds its pair's current key; that pair is the least
// used. Entries made stale by later uses go back with the pair's current key.
int LearnedPairs::EvictLeastUsed() {
  for (;;) {
    std::pop_heap(heap_.begin(), heap_.end(), LessUsedOnTop);
    const HeapEntry top = heap_.back();
    heap_.pop_back();
    const Pair& pair = pairs_[top.pair];
    if (pair.lastUse == top.lastUse) {
      Unindex(top.pair);
      return top.pair;
    }
    PushHeap(top.pair);
  }
}

// A pair only ever rises (its count grows, its last use is the newest), so it moves towards
// the front of its word's list, to just after the last pair that still ranks above it.
void LearnedPairs::MoveUpInList(int pair, std::uint32_t addedUses, bool isNew) {
  WordPairs& word = byFirst_[HashWord(pairs_[pair].first)];
  word.uses += addedUses;
  std::vector<int>& list = word.pairs;
  if (isNew) list.push_back(pair);
  const auto from = isNew ? list.end() - 1 : std::find(list.begin(), list.end(), pair);
  const Pair& moved = pairs_[pair];
  const auto to = std::partition_point(list.begin(), from, [&](int other) {
    return !MoreUsed(moved.count, moved.lastUse, pairs_[other].count, pairs_[other].lastUse);
  });
  std::rotate(to, from, from + 1);
}

void LearnedPairs::Unindex(int pair) {
  const auto [from, to] = byPair_.equal_range(HashPair(pairs_[pair].first, pairs_[pair].following.c_str()));
  for (auto at = from; at != to; ++at)
    if (at->second == pair) {
      byPair_.erase(at);
      break;
    }
  const auto it = byFirst_.find(HashWord(pairs_[pair].first));
  if (it == byFirst_.end()) return;
  std::vector<int>& list = it->second.pairs;
  list.erase(std::remove(list.begin(), list.end(), pair), list.end());
  it->second.uses -= std::min<std::uint64_t>(it->second.uses, pairs_[pair].count);
  if (list.empty()) byFirst_.erase(it);
}

void LearnedPairs::PushHeap(int pair) {
  heap_.push_back(HeapEntry{pairs_[pair].count, pairs_[pair].lastUse, pair});
  std::push_heap(heap_.begin(), heap_.end(), LessUsedOnTop);
}

// The next use's stamp. When the clock would wrap (after four thousand million uses) the
// stamps are renumbered 1..n in their order, which keeps every comparison the same.
std::uint32_t LearnedPairs::Tick() {
  if (clock_ == std::numeric_limits<std::uint32_t>::max()) {
    const std::vector<int> order = PairsByLastUse();
    clock_ = 0;
    for (int index : order) pairs_[index].lastUse = ++clock_;
    heap_.clear();
    for (int i = 0; i < PairCount(); ++i) PushHeap(i);
  }
  return ++clock_;
}

void FindNextWords(const LearnedPairs* learned, const NextWordList& shipped, const WCHAR* word, SuggestionArray& out) {
  const int learnedFound = learned != nullptr ? learned->FindLearnedNextWords(word, out) : 0;
  if (learnedFound == 0) {
    shipped.FindNextWords(word, out);
    return;
  }
  // Enough shipped pairs to fill the free slots even when every learned word is among them.
  int indexes[2 * kSuggestionCount];
  const int matches = shipped.FindPairs(word, indexes, kSuggestionCount + learnedFound);
  int found = learnedFound;
  for (int m = 0; m < matches; ++m) {
    const WCHAR* following = shipped.Following(indexes[m]);
    int same = 0;
    while (same < found && !EqualIgnoringCase(out[same], following)) ++same;
    if (same < learnedFound) CopyWord(following, out[same]);  // the shipped written form
    else if (same == found && found < kSuggestionCount) CopyWord(following, out[found++]);
  }
  for (int k = found; k < kSuggestionCount; ++k) out[k][0] = 0;
}
