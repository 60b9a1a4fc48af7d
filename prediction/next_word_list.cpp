#include "prediction/next_word_list.h"

#include "prediction/lower_case.h"

#include <algorithm>

namespace {

constexpr std::size_t kPairGrowth = 128;

std::size_t BoundedLength(const WCHAR* text) {
  std::size_t n = 0;
  while (n < static_cast<std::size_t>(kMaxWordLength) && text[n] != 0) ++n;
  return n;
}

void CopyWord(const WCHAR* text, WCHAR* out) {
  int i = 0;
  for (; i < kMaxWordLength && text[i] != 0; ++i) out[i] = text[i];
  out[i] = 0;
}

// FNV-1a of the lower-cased text, so that words equal ignoring case hash alike.
std::uint32_t HashIgnoringCase(const WCHAR* text) {
  std::uint32_t hash = 2166136261u;
  for (int i = 0; i < kMaxWordLength && text[i] != 0; ++i) {
    hash ^= LowerChar(text[i]);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

void NextWordList::EmptyNextWordList() {
  pairs_.clear();
  pool_.Clear();
  index_.clear();
  indexed_ = false;
}

void NextWordList::DestroyNextWordList() {
  std::vector<Pair>().swap(pairs_);
  pool_.Clear();
  std::vector<IndexEntry>().swap(index_);
  indexed_ = false;
}

void NextWordList::AddNextWordPair(const WCHAR* first, const WCHAR* following) {
  AddNextWordPair(first, BoundedLength(first), following, BoundedLength(following));
}

void NextWordList::AddNextWordPair(const WCHAR* first, std::size_t firstLength, const WCHAR* following,
                                   std::size_t followingLength) {
  firstLength = std::min<std::size_t>(firstLength, kMaxWordLength);
  followingLength = std::min<std::size_t>(followingLength, kMaxWordLength);
  if (firstLength == 0 || followingLength == 0) return;
  if (pairs_.size() == pairs_.capacity()) pairs_.reserve(pairs_.capacity() + kPairGrowth);
  const StringPool::TextRef firstRef = pool_.Store(first, firstLength);
  pairs_.push_back(Pair{firstRef, pool_.Store(following, followingLength)});
  indexed_ = false;
}

void NextWordList::BuildIndex() const {
  index_.clear();
  index_.reserve(pairs_.size());
  for (std::size_t i = 0; i < pairs_.size(); ++i)
    index_.push_back(IndexEntry{HashIgnoringCase(pool_.Text(pairs_[i].first)), static_cast<std::int32_t>(i)});
  std::sort(index_.begin(), index_.end());
  indexed_ = true;
}

int NextWordList::FindPairs(const WCHAR* word, int* indexes, int room) const {
  if (!indexed_) BuildIndex();
  const std::uint32_t hash = HashIgnoringCase(word);
  int found = 0;
  auto it = std::lower_bound(index_.begin(), index_.end(), IndexEntry{hash, 0});
  for (; it != index_.end() && it->hash == hash && found < room; ++it)
    if (EqualIgnoringCase(pool_.Text(pairs_[it->pair].first), word)) indexes[found++] = it->pair;
  return found;
}

void NextWordList::FindNextWords(const WCHAR* word, SuggestionArray& out) const {
  int indexes[kSuggestionCount];
  const int found = FindPairs(word, indexes, kSuggestionCount);
  for (int k = 0; k < found; ++k) CopyWord(pool_.Text(pairs_[indexes[k]].following), out[k]);
  for (int k = found; k < kSuggestionCount; ++k) out[k][0] = 0;
}
