#include "prediction/string_pool.h"

#include <algorithm>
#include <bit>

StringPool::TextRef StringPool::Store(const WCHAR* text, std::size_t length) {
  const std::size_t size = (length + 1) * sizeof(WCHAR);
  std::ptrdiff_t found = FirstFitting(size);
  if (found < 0) {
    // The list of blocks starts with room for 4 and doubles when full.
    if (blocks_.size() == blocks_.capacity()) {
      blocks_.reserve(std::max<std::size_t>(4, blocks_.capacity() * 2));
      RebuildFreeTree();
    }
    blocks_.push_back(Block{std::make_unique_for_overwrite<WCHAR[]>(kBlockBytes / sizeof(WCHAR)), 0});
    found = static_cast<std::ptrdiff_t>(blocks_.size() - 1);
  }
  const std::size_t index = static_cast<std::size_t>(found);
  Block& block = blocks_[index];
  const std::size_t offset = block.usedBytes / sizeof(WCHAR);
  std::copy_n(text, length, block.chars.get() + offset);
  block.chars[offset + length] = 0;
  block.usedBytes += size;
  SetFree(index);
  return static_cast<TextRef>((index << kOffsetBits) | offset);
}

// A text of `size` bytes fits a block when used + size < 8192, that is free > size.
std::ptrdiff_t StringPool::FirstFitting(std::size_t size) const {
  if (leafCount_ == 0 || freeTree_[1] <= size) return -1;
  std::size_t node = 1;
  while (node < leafCount_) node = freeTree_[2 * node] > size ? 2 * node : 2 * node + 1;
  const std::size_t index = node - leafCount_;
  return index < blocks_.size() ? static_cast<std::ptrdiff_t>(index) : -1;
}

void StringPool::SetFree(std::size_t index) {
  std::size_t node = leafCount_ + index;
  freeTree_[node] = static_cast<std::uint16_t>(kBlockBytes - blocks_[index].usedBytes);
  for (node /= 2; node >= 1; node /= 2) freeTree_[node] = std::max(freeTree_[2 * node], freeTree_[2 * node + 1]);
}

void StringPool::RebuildFreeTree() {
  leafCount_ = std::bit_ceil(blocks_.capacity());
  freeTree_.assign(2 * leafCount_, 0);
  for (std::size_t i = 0; i < blocks_.size(); ++i) SetFree(i);
}

void StringPool::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  freeTree_.clear();
  freeTree_.shrink_to_fit();
  leafCount_ = 0;
}

std::size_t StringPool::MemoryBytes() const {
  return blocks_.size() * kBlockBytes + blocks_.capacity() * sizeof(Block) + freeTree_.capacity() * sizeof(std::uint16_t);
}
