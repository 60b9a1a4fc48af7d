#include "tools/dict/dictionary_inputs.h"

#include "tools/dict/host_text.h"

#include "prediction/dictionary_file.h"
#include "prediction/next_word_file.h"

void LoadDictionaryInput(const std::string& path, WordDictionary& dictionary) {
  const std::vector<std::uint8_t> bytes = ReadHostFile(path);
  if (!ParseWordDictionaryFile(bytes.data(), bytes.size(), dictionary)) {
    throw InputError(path + ": not a word dictionary file (expected a 4-byte length and a zlib "
                            "stream of word records)");
  }
}

void LoadNextWordInput(const std::string& path, NextWordList& list) {
  const std::vector<std::uint8_t> bytes = ReadHostFile(path);
  const bool utf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  if (!utf16) CheckUtf8Text(path, bytes);
  ParseNextWordFile(bytes.data(), bytes.size(), list);
}
