// A second program for the concurrent-save test: saves or reads one dictionary file of the
// device image named by TAVREL_DEVICE, over and over.
//   save_contender save COUNT TAG   saves a dictionary of kWords words, each starting with TAG
//   save_contender read COUNT       reads the file COUNT times; every read must be one whole
//                                   file of one saver (kWords words, one tag)
// Exit status: 0 all well, 1 a torn or unreadable file was read, 2 a save failed or bad usage.
#include "common/file_helpers.h"
#include "prediction/dictionary_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr WCHAR kPath[] = u"\\Program Files\\Tavrel\\db.dat";
constexpr int kWords = 3000;

std::u16string Word(char tag, int i) {
  std::u16string word(1, static_cast<char16_t>(tag));
  for (int n = i; n > 0 || word.size() == 1; n /= 26) word += static_cast<char16_t>(u'a' + n % 26);
  return word;
}

int Save(int count, char tag) {
  for (int round = 0; round < count; ++round) {
    WordDictionary dictionary;
    for (int i = 0; i < kWords; ++i) {
      std::u16string word = Word(tag, i);
      dictionary.LearnWord(word.data());
    }
    if (!SaveWordDictionary(kPath, dictionary, 0)) return 2;
  }
  return 0;
}

// A whole file holds kWords words, all of one saver.
bool WholeFile(const WordDictionary& dictionary) {
  if (dictionary.WordCount() != kWords) return false;
  int tagged[2] = {0, 0};
  for (int b = 0; b < kBucketCount; ++b)
    for (int i = 0; i < dictionary.EntryCount(b); ++i) {
      const WCHAR first = dictionary.Text(dictionary.Entry(b, i))[0];
      if (first == u'x') ++tagged[0];
      else if (first == u'y') ++tagged[1];
    }
  return tagged[0] == kWords || tagged[1] == kWords;
}

int Read(int count) {
  int torn = 0;
  for (int round = 0; round < count; ++round) {
    std::vector<std::uint8_t> bytes;
    WordDictionary dictionary;
    if (ReadWholeFile(kPath, bytes) != ReadResult::Ok || !ParseWordDictionaryFile(bytes.data(), bytes.size(), dictionary) ||
        !WholeFile(dictionary))
      ++torn;
  }
  if (torn > 0) std::fprintf(stderr, "save_contender: %d torn reads in %d\n", torn, count);
  return torn == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "save") == 0) return Save(std::atoi(argv[2]), argv[3][0]);
  if (argc >= 3 && std::strcmp(argv[1], "read") == 0) return Read(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: save_contender save COUNT TAG | read COUNT\n");
  return 2;
}
