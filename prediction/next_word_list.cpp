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

}  // namespace

void NextWordList::EmptyNextWordList() {
  pairs_.clear();
  pool_.Clear();
}

void NextWordList::DestroyNextWordList() {
  std::vector<Pair>().swap(pairs_);
  pool_.Clear();
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
}

void NextWordList::FindNextWords(const WCHAR* word, SuggestionArray& out) const {
  int found = 0;
  for (const Pair& pair : pairs_) {
    if (found == kSuggestionCount) break;
    if (EqualIgnoringCase(pool_.Text(pair.first), word)) CopyWord(pool_.Text(pair.following), out[found++]);
  }
  for (int k = found; k < kSuggestionCount; ++k) out[k][0] = 0;
}
