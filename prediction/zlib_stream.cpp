#include "prediction/zlib_stream.h"

#include <zlib.h>

#include <algorithm>
#include <thread>

namespace {

constexpr std::size_t kWindowSize = 32 * 1024;
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemoryLevel = 8;

bool CompressWhole(const std::uint8_t* input, std::size_t size, int level, std::vector<std::uint8_t>& output) {
  uLongf compressedSize = compressBound(static_cast<uLong>(size));
  const std::size_t start = output.size();
  output.resize(start + compressedSize);
  if (compress2(output.data() + start, &compressedSize, input, static_cast<uLong>(size), level) != Z_OK) {
    output.resize(start);
    return false;
  }
  output.resize(start + compressedSize);
  return true;
}

// Raw deflate of one piece. `preset` (may be empty) primes the window with the bytes that
// precede the piece; `last` ends the stream, otherwise it stops on a byte boundary.
bool DeflatePiece(const std::uint8_t* preset, std::size_t presetSize, const std::uint8_t* input, std::size_t size,
                  int level, bool last, std::vector<std::uint8_t>& output) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, kRawDeflateWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK)
    return false;
  bool ok = presetSize == 0 || deflateSetDictionary(&stream, preset, static_cast<uInt>(presetSize)) == Z_OK;
  output.resize(deflateBound(&stream, static_cast<uLong>(size)) + 16);
  stream.next_in = const_cast<Bytef*>(input);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = output.data();
  stream.avail_out = static_cast<uInt>(output.size());
  if (ok) {
    const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    ok = last ? result == Z_STREAM_END : (result == Z_OK && stream.avail_in == 0);
  }
  output.resize(stream.total_out);
  deflateEnd(&stream);
  return ok;
}

void AppendBigEndian32(std::vector<std::uint8_t>& output, uLong value) {
  for (int shift = 24; shift >= 0; shift -= 8) output.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// The two header bytes compress2 writes: deflate with a 32 KiB window and the level's class.
void AppendZlibHeader(std::vector<std::uint8_t>& output, int level) {
  const unsigned levelClass = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
  const unsigned cmf = 0x78;
  unsigned flg = levelClass << 6;
  flg += 31 - ((cmf << 8) + flg) % 31;
  output.push_back(static_cast<std::uint8_t>(cmf));
  output.push_back(static_cast<std::uint8_t>(flg));
}

}  // namespace

bool CompressZlibStream(const std::uint8_t* input, std::size_t size, int level, std::vector<std::uint8_t>& output) {
  if (size < kParallelCompressionThreshold) return CompressWhole(input, size, level, output);

  const std::size_t half = size / 2;
  std::vector<std::uint8_t> first;
  std::vector<std::uint8_t> second;
  bool firstOk = false;
  std::thread firstWorker([&] { firstOk = DeflatePiece(nullptr, 0, input, half, level, false, first); });
  const std::size_t presetSize = std::min(half, kWindowSize);
  const bool secondOk =
      DeflatePiece(input + half - presetSize, presetSize, input + half, size - half, level, true, second);
  firstWorker.join();
  if (!firstOk || !secondOk) return false;

  const uLong firstSum = adler32(adler32(0L, Z_NULL, 0), input, static_cast<uInt>(half));
  const uLong secondSum = adler32(adler32(0L, Z_NULL, 0), input + half, static_cast<uInt>(size - half));
  const uLong checksum = adler32_combine(firstSum, secondSum, static_cast<z_off_t>(size - half));

  output.reserve(output.size() + 2 + first.size() + second.size() + 4);
  AppendZlibHeader(output, level);
  output.insert(output.end(), first.begin(), first.end());
  output.insert(output.end(), second.begin(), second.end());
  AppendBigEndian32(output, checksum);
  return true;
}
