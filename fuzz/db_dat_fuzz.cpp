// db.dat as a whole file: length field and zlib stream. Whatever it holds, parsing either adds
// nothing (a malformed file) or gives a dictionary that saves and loads back with the same words.
#include "prediction/dictionary_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WordDictionary dictionary;
  const bool parsed = ParseWordDictionaryFile(data, size, dictionary);
  if (!parsed && dictionary.WordCount() != 0) std::abort();
  if (!parsed) return 0;
  const int words = dictionary.WordCount();
  const std::vector<std::uint8_t> saved = BuildWordDictionaryFile(dictionary, -1);
  WordDictionary reloaded;
  if (!ParseWordDictionaryFile(saved.data(), saved.size(), reloaded) || reloaded.WordCount() != words) std::abort();
  return 0;
}
