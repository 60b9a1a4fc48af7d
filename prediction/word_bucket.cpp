#include "prediction/word_bucket.h"

void WordBucket::Append(std::uint64_t key, WordEntry entry) {
  if (entries_.size() + 1 >= entries_.capacity()) {
    keys_.reserve(entries_.capacity() + kGrowth);
    entries_.reserve(entries_.capacity() + kGrowth);
  }
  keys_.push_back(key);
  entries_.push_back(entry);
}

void WordBucket::Clear(bool release) {
  keys_.clear();
  entries_.clear();
  if (release) {
    std::vector<std::uint64_t>().swap(keys_);
    std::vector<WordEntry>().swap(entries_);
  }
}

void WordBucket::RemoveAtOrBelow(std::int32_t threshold) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].count <= threshold) continue;
    keys_[out] = keys_[i];
    entries_[out] = entries_[i];
    ++out;
  }
  keys_.resize(out);
  entries_.resize(out);
}
