// db.dat's payload: the input is the decompressed record block, wrapped here in a well-formed
// length field and zlib stream so that the fuzzer works on the records themselves.
#include "prediction/dictionary_file.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file(4 + compressBound(static_cast<uLong>(size)));
  for (int i = 0; i < 4; ++i) file[i] = static_cast<std::uint8_t>(size >> (8 * i));
  uLongf compressed = static_cast<uLongf>(file.size() - 4);
  if (compress2(file.data() + 4, &compressed, data, static_cast<uLong>(size), 3) != Z_OK) return 0;
  file.resize(4 + compressed);
  WordDictionary dictionary;
  if (!ParseWordDictionaryFile(file.data(), file.size(), dictionary)) return 0;
  const int words = dictionary.WordCount();
  const std::vector<std::uint8_t> saved = BuildWordDictionaryFile(dictionary, -1);
  WordDictionary reloaded;
  if (!ParseWordDictionaryFile(saved.data(), saved.size(), reloaded) || reloaded.WordCount() != words) std::abort();
  return 0;
}
