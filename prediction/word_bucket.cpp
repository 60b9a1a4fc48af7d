#include "prediction/word_bucket.h"

void WordBucket::Append(std::uint64_t key, WordEntry entry) {
  if (entries_.size() + 1 >= entries_.capacity()) {
    head_.reserve(entries_.capacity() + kGrowth);
    tail_.reserve(entries_.capacity() + kGrowth);
    entries_.reserve(entries_.capacity() + kGrowth);
  }
  head_.push_back(static_cast<std::uint32_t>(key));
  tail_.push_back(static_cast<std::uint32_t>(key >> 32));
  entries_.push_back(entry);
}

void WordBucket::Clear(bool release) {
  head_.clear();
  tail_.clear();
  entries_.clear();
  if (release) {
    std::vector<std::uint32_t>().swap(head_);
    std::vector<std::uint32_t>().swap(tail_);
    std::vector<WordEntry>().swap(entries_);
  }
}

void WordBucket::RemoveAtOrBelow(std::int32_t threshold) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].count <= threshold) continue;
    head_[out] = head_[i];
    tail_[out] = tail_[i];
    entries_[out] = entries_[i];
    ++out;
  }
  head_.resize(out);
  tail_.resize(out);
  entries_.resize(out);
}
