// `dict dump DB` and `dict phrases PHRASES`: print a dictionary file as "word TAB count" lines
// and a next-word file as "first TAB following" lines, in stored order, read by the engine's
// own parsers (so what is printed is what the program would load).
#include "tools/dict/commands.h"
#include "tools/dict/dictionary_inputs.h"
#include "tools/dict/host_text.h"

#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <cstdio>
#include <string>

namespace {

std::u16string_view View(const WCHAR* text) { return std::u16string_view(reinterpret_cast<const char16_t*>(text)); }

}  // namespace

int RunDump(const Arguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: dict dump DB\n");
    return kUsageExit;
  }
  WordDictionary dictionary;
  LoadDictionaryInput(args[0], dictionary);
  std::string out;
  for (int b = 0; b < kBucketCount; ++b) {
    for (int i = 0; i < dictionary.EntryCount(b); ++i) {
      const WordEntry& e = dictionary.Entry(b, i);
      out += ToUtf8(View(dictionary.Text(e)));
      out += '\t';
      out += std::to_string(e.count);
      out += '\n';
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int RunPhrases(const Arguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: dict phrases PHRASES\n");
    return kUsageExit;
  }
  NextWordList list;
  LoadNextWordInput(args[0], list);
  std::string out;
  for (int i = 0; i < list.PairCount(); ++i) {
    out += ToUtf8(View(list.First(i)));
    out += '\t';
    out += ToUtf8(View(list.Following(i)));
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
