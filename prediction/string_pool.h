// StringPool: the storage of word texts, packed into 8192-byte blocks so that a dictionary of
// a hundred thousand words needs a few hundred allocations instead of one per word.
#pragma once

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class StringPool {
 public:
  static constexpr std::size_t kBlockBytes = 8192;

  // A stored text is named by a 32-bit reference (block index and character offset) rather
  // than a pointer: it halves the size of every dictionary entry. Texts never move, so a
  // reference stays valid until Clear.
  using TextRef = std::uint32_t;

  StringPool() = default;
  StringPool(const StringPool&) = delete;
  StringPool& operator=(const StringPool&) = delete;

  // Copies `length` characters and a terminator ((length + 1) x 2 bytes) into the first block,
  // in list order, whose used bytes plus that size stay below 8192; with no such block a new
  // block is appended. `length` must be below 4095 (words are at most 255 characters).
  TextRef Store(const WCHAR* text, std::size_t length);

  const WCHAR* Text(TextRef ref) const {
    return blocks_[ref >> kOffsetBits].chars.get() + (ref & kOffsetMask);
  }

  // Frees every block at once; all references become invalid.
  void Clear();

  std::size_t BlockCount() const { return blocks_.size(); }
  std::size_t MemoryBytes() const;

 private:
  static constexpr unsigned kOffsetBits = 12;  // 4096 characters per block
  static constexpr TextRef kOffsetMask = (1u << kOffsetBits) - 1;

  struct Block {
    std::unique_ptr<WCHAR[]> chars;
    std::size_t usedBytes = 0;
  };

  // The first block, in list order, with more than `size` free bytes, or -1.
  std::ptrdiff_t FirstFitting(std::size_t size) const;
  void SetFree(std::size_t index);
  void RebuildFreeTree();

  std::vector<Block> blocks_;
  // A max-tree of the blocks' free bytes (leaves at [leafCount_, 2 x leafCount_), one per
  // room of the block list), so that the first fitting block is found in a few steps instead
  // of a walk over hundreds of blocks: loading a large dictionary stores every word.
  std::vector<std::uint16_t> freeTree_;
  std::size_t leafCount_ = 0;
};
