#include "prediction/string_pool.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringPool, FirstFitInBlocksBelow8192Bytes) {
  StringPool pool;
  // 2047 characters and a terminator are 4096 bytes: a second such text would make the first
  // block's used count 8192, which is not below 8192, so it opens a new block.
  const std::u16string big(2047, u'x');
  pool.Store(big.c_str(), big.size());
  EXPECT_EQ(pool.BlockCount(), 1u);
  pool.Store(big.c_str(), big.size());
  EXPECT_EQ(pool.BlockCount(), 2u);
  // A small text still fits the first block (4096 + 4 < 8192) and goes there, not to the last.
  const StringPool::TextRef small = pool.Store(u"a", 1);
  EXPECT_EQ(pool.BlockCount(), 2u);
  EXPECT_EQ(std::u16string(pool.Text(small)), u"a");
  EXPECT_EQ(pool.Text(small), pool.Text(0) + 2048);  // right after the first text
}

TEST(StringPool, TextsNeverMoveAndClearFreesAll) {
  StringPool pool;
  std::vector<std::pair<StringPool::TextRef, const char16_t*>> stored;
  for (int i = 0; i < 5000; ++i) {
    const std::u16string word = u"word" + std::u16string(static_cast<std::size_t>(i % 40), u'z');
    const auto ref = pool.Store(word.c_str(), word.size());
    stored.emplace_back(ref, pool.Text(ref));
  }
  EXPECT_GT(pool.BlockCount(), 4u);  // the block list grew beyond its first room
  for (const auto& [ref, pointer] : stored) EXPECT_EQ(pool.Text(ref), pointer);
  pool.Clear();
  EXPECT_EQ(pool.BlockCount(), 0u);
  EXPECT_EQ(pool.MemoryBytes(), 0u);
}
