// pairs.dat, the learned word pairs. The first byte chooses what the rest is: even, the whole
// file; odd, the decompressed payload, wrapped here in a well-formed tag, length and zlib
// stream. Any bytes either load or are refused; what loads saves and loads back.
#include "prediction/learned_pairs_file.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint8_t> WrapPayload(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file{'P', 'R', 'S', '1', 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) file[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  uLongf compressed = compressBound(static_cast<uLong>(size));
  file.resize(8 + compressed);
  if (compress2(file.data() + 8, &compressed, data, static_cast<uLong>(size), 3) != Z_OK) return {};
  file.resize(8 + compressed);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::uint8_t> file =
      (data[0] & 1) ? WrapPayload(data + 1, size - 1) : std::vector<std::uint8_t>(data + 1, data + size);
  LearnedPairs pairs;
  if (!ParseLearnedPairsFile(file.data(), file.size(), pairs)) return 0;
  const std::vector<std::uint8_t> saved = BuildLearnedPairsFile(pairs);
  LearnedPairs reloaded;
  if (!ParseLearnedPairsFile(saved.data(), saved.size(), reloaded)) std::abort();
  return 0;
}
