// phrases.dat, the next-word file: any bytes load as some list (possibly empty).
#include "prediction/next_word_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NextWordList list;
  ParseNextWordFile(data, size, list);
  return 0;
}
