// The dictionary's zlib stream: small inputs match compress2 byte for byte, large ones (made
// on two threads) still read back exactly through uncompress.
#include "prediction/zlib_stream.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Word-like UTF-16 records, so the stream has the matches a real dictionary gives.
std::vector<std::uint8_t> DictionaryLikeBytes(std::size_t size) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < size) {
    const int length = 2 + static_cast<int>(random() % 9);
    bytes.push_back(static_cast<std::uint8_t>(length));
    bytes.push_back(0);
    for (int i = 0; i < length; ++i) {
      bytes.push_back(static_cast<std::uint8_t>('a' + random() % 12));
      bytes.push_back(0);
    }
    bytes.push_back(static_cast<std::uint8_t>(random() % 50));
    bytes.push_back(0);
  }
  bytes.resize(size);
  return bytes;
}

std::vector<std::uint8_t> Uncompress(const std::vector<std::uint8_t>& stream, std::size_t size) {
  std::vector<std::uint8_t> plain(size + 1);
  uLongf plainSize = static_cast<uLongf>(plain.size());
  if (uncompress(plain.data(), &plainSize, stream.data(), static_cast<uLong>(stream.size())) != Z_OK) return {};
  plain.resize(plainSize);
  return plain;
}

TEST(ZlibStream, SmallInputIsExactlyWhatCompress2Writes) {
  const auto input = DictionaryLikeBytes(kParallelCompressionThreshold - 1);
  std::vector<std::uint8_t> ours;
  ASSERT_TRUE(CompressZlibStream(input.data(), input.size(), 3, ours));
  std::vector<std::uint8_t> reference(compressBound(static_cast<uLong>(input.size())));
  uLongf size = static_cast<uLongf>(reference.size());
  ASSERT_EQ(compress2(reference.data(), &size, input.data(), static_cast<uLong>(input.size()), 3), Z_OK);
  reference.resize(size);
  EXPECT_EQ(ours, reference);
}

TEST(ZlibStream, LargeInputReadsBackExactlyAndKeepsTheHeaderOfLevelThree) {
  for (std::size_t size : {kParallelCompressionThreshold, kParallelCompressionThreshold + 12345, std::size_t{3} << 20}) {
    const auto input = DictionaryLikeBytes(size);
    std::vector<std::uint8_t> stream{0xAB};  // existing bytes before the stream stay
    ASSERT_TRUE(CompressZlibStream(input.data(), input.size(), 3, stream));
    ASSERT_EQ(stream[0], 0xAB);
    stream.erase(stream.begin());
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ(stream[1], 0x5E) << "the header compress2 writes at level 3";
    EXPECT_EQ(Uncompress(stream, size), input) << size;
    EXPECT_LT(stream.size(), size / 2) << "joining the halves keeps the compression";
  }
}

}  // namespace
