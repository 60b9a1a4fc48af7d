#include "prediction/string_pool.h"

#include <algorithm>

namespace {

// The smallest text: one character and its terminator.
constexpr std::size_t kSmallestText = 2 * sizeof(WCHAR);

bool Fits(std::size_t usedBytes, std::size_t size) { return usedBytes + size < StringPool::kBlockBytes; }

}  // namespace

StringPool::TextRef StringPool::Store(const WCHAR* text, std::size_t length) {
  const std::size_t size = (length + 1) * sizeof(WCHAR);
  std::size_t index = firstOpen_;
  while (index < blocks_.size() && !Fits(blocks_[index].usedBytes, size)) ++index;
  if (index == blocks_.size()) {
    // The list of blocks starts with room for 4 and doubles when full.
    if (blocks_.size() == blocks_.capacity()) blocks_.reserve(std::max<std::size_t>(4, blocks_.capacity() * 2));
    blocks_.push_back(Block{std::make_unique_for_overwrite<WCHAR[]>(kBlockBytes / sizeof(WCHAR)), 0});
  }
  Block& block = blocks_[index];
  const std::size_t offset = block.usedBytes / sizeof(WCHAR);
  std::copy_n(text, length, block.chars.get() + offset);
  block.chars[offset + length] = 0;
  block.usedBytes += size;
  while (firstOpen_ < blocks_.size() && !Fits(blocks_[firstOpen_].usedBytes, kSmallestText)) ++firstOpen_;
  return static_cast<TextRef>((index << kOffsetBits) | offset);
}

void StringPool::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  firstOpen_ = 0;
}

std::size_t StringPool::MemoryBytes() const {
  return blocks_.size() * kBlockBytes + blocks_.capacity() * sizeof(Block);
}
