// keyboard.txt, the language file: any bytes give a table of at most ten languages whose
// every field is a terminated string within its room.
#include "prediction/language_table.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LanguageTable table;
  ParseLanguageFile(data, size, table);
  if (table.count < 0 || table.count > 10) std::abort();
  return 0;
}
