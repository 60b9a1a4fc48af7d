// `dict build`: makes a language's db.dat and phrases.dat from word lists and running text.
//
// Counts. Every source is brought to uses per million running words, so that a list and a
// text of different sizes weigh as intended; a word's frequency is the sum over the sources
// (texts times --text-weight). A word is then weighed by what offering it saves: frequency
// times (length - 1) to the power --length-weight, since a completion saves the letters not
// yet typed and a two-letter word saves next to nothing. The --max-words best words are kept
// and their weights scaled to counts: the best word gets --top-count, the others follow the
// chosen curve (linear by default), and no word gets less than 1. The defaults were chosen
// by `dict simulate` runs on held-out everyday English (data/SOURCES.md).
// Keeping the shipped counts small matters: every word the user finishes adds 1 to its count,
// so a word the user types a few times soon ranks above shipped words of the same prefix,
// while the order among shipped words is kept by the order in which they are stored
// (FindCompletions keeps the first of equal counts ahead). Smaller top counts (30 to 700) let
// learned words rise sooner and help a single writer's text (up to +0.9 points), but every one
// of them costs mixed everyday text a little in both halves, and larger ones (3,000 to 30,000)
// cost both texts (`dict simulate --halves`, data/SOURCES.md), so the default stays at 1000.
//
// Order. Words are stored best first; a bucket therefore lists its words from the most to the
// least useful, which is also the order the ranking walks them in.
//
// Pairs. For each kept word, in order of weight, its --followers best following words: words
// that followed it in the texts separated by spaces only, at least --min-pair-count times, and
// that are kept themselves; ranked by uses times (length - 1), the letters a tap saves (or by
// uses alone with --followers-by count); at most --max-pairs pairs in all. Only the
// first three pairs of a word are ever offered, and the list is searched from its start, so a
// bound on both keeps the lookup after each word short. A following word is written in the
// form it mostly has inside a sentence ("I", German nouns capitalised), because accepting a
// next-word suggestion inserts it as written.
//
// Both files are read back with the engine's own parsers before the tool reports success.
#include "tools/dict/commands.h"
#include "tools/dict/host_text.h"
#include "tools/dict/word_sources.h"

#include "prediction/dictionary_file.h"
#include "prediction/next_word_file.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class Scale { Linear, Sqrt, Log };

struct BuildOptions {
  std::vector<std::string> wordLists;
  std::vector<std::string> texts;
  std::vector<std::string> allowLists;
  std::vector<std::string> excludeLists;
  std::string alphabet;
  std::string dictOut;
  std::string nextOut;
  long maxWords = 25000;
  long topCount = 1000;
  Scale scale = Scale::Linear;
  double textWeight = 1.0;
  long minTextCount = 3;
  long followers = 3;
  long maxPairs = 40000;
  long minPairCount = 2;
  double lengthWeight = 1.5;
  bool followersByGain = true;
};

const char kUsage[] =
    "usage: dict build [--words LIST]... [--text TEXT]... --dict-out DB --next-out PHRASES\n"
    "                  [--allow WORDLIST]... [--exclude WORDLIST]... [--alphabet LETTERS]\n"
    "                  [--max-words N]\n"
    "                  [--top-count N] [--scale linear|sqrt|log] [--text-weight W]\n"
    "                  [--min-text-count N] [--length-weight X] [--followers N]\n"
    "                  [--followers-by count|gain] [--max-pairs N] [--min-pair-count N]\n";

long ParseLong(const std::string& option, const std::string& value, long min, long max) {
  char* end = nullptr;
  const long v = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != 0 || v < min || v > max)
    throw InputError(option + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max));
  return v;
}

bool ParseOptions(const Arguments& args, BuildOptions& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "dict build: %s needs a value (try dict build --help)\n", a.c_str());
      return false;
    }
    const std::string& v = args[++i];
    if (a == "--words") o.wordLists.push_back(v);
    else if (a == "--text") o.texts.push_back(v);
    else if (a == "--allow") o.allowLists.push_back(v);
    else if (a == "--exclude") o.excludeLists.push_back(v);
    else if (a == "--alphabet") o.alphabet = v;
    else if (a == "--dict-out") o.dictOut = v;
    else if (a == "--next-out") o.nextOut = v;
    else if (a == "--max-words") o.maxWords = ParseLong(a, v, 1, 2000000);
    else if (a == "--top-count") o.topCount = ParseLong(a, v, 1, 65535);
    else if (a == "--min-text-count") o.minTextCount = ParseLong(a, v, 1, 1000000);
    else if (a == "--followers") o.followers = ParseLong(a, v, 0, 1000);
    else if (a == "--max-pairs") o.maxPairs = ParseLong(a, v, 0, 10000000);
    else if (a == "--min-pair-count") o.minPairCount = ParseLong(a, v, 1, 1000000);
    else if (a == "--length-weight") {
      char* end = nullptr;
      o.lengthWeight = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != 0 || !(o.lengthWeight >= 0) || o.lengthWeight > 4)
        throw InputError("--length-weight needs a number from 0 to 4");
    } else if (a == "--followers-by") {
      if (v == "count") o.followersByGain = false;
      else if (v == "gain") o.followersByGain = true;
      else throw InputError("--followers-by is count or gain");
    } else if (a == "--text-weight") {
      char* end = nullptr;
      o.textWeight = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != 0 || !(o.textWeight >= 0) || !std::isfinite(o.textWeight))
        throw InputError("--text-weight needs a number of 0 or more");
    } else if (a == "--scale") {
      if (v == "linear") o.scale = Scale::Linear;
      else if (v == "sqrt") o.scale = Scale::Sqrt;
      else if (v == "log") o.scale = Scale::Log;
      else throw InputError("--scale is linear, sqrt or log");
    } else {
      std::fprintf(stderr, "dict build: unknown option %s (try dict build --help)\n", a.c_str());
      return false;
    }
  }
  if (o.dictOut.empty() || o.nextOut.empty() || (o.wordLists.empty() && o.texts.empty())) {
    std::fprintf(stderr, "dict build: needs --dict-out, --next-out and at least one --words or --text\n%s", kUsage);
    return false;
  }
  return true;
}

void AddPerMillion(const WordCounts& from, double total, double weight, WordCounts& to) {
  if (total <= 0) return;
  const double factor = 1e6 / total * weight;
  for (const auto& [word, count] : from) to[word] += count * factor;
}

int ScaledCount(double f, double fmax, double fmin, long top, Scale scale) {
  double s = 0;
  switch (scale) {
    case Scale::Linear: s = top * (f / fmax); break;
    case Scale::Sqrt: s = top * std::sqrt(f / fmax); break;
    case Scale::Log:
      s = fmax > fmin ? 1 + (top - 1) * std::log(f / fmin) / std::log(fmax / fmin) : top;
      break;
  }
  return static_cast<int>(std::clamp(std::lround(s), 1L, 65535L));
}

// The written form a following word mostly has inside sentences.
std::u16string WrittenForm(const std::u16string& word, const TextCounts& text) {
  const auto it = text.forms.find(word);
  if (it == text.forms.end()) return word;
  std::u16string best = word;
  int bestCount = 0;
  const auto lower = it->second.find(word);
  if (lower != it->second.end()) bestCount = lower->second;
  for (const auto& [form, count] : it->second)
    if (count > bestCount) { best = form; bestCount = count; }
  return best;
}

}  // namespace

void RemoveTemporaries(const std::string& a, const std::string& b) {
  std::remove(a.c_str());
  std::remove(b.c_str());
}

void ReplaceWith(const std::string& temporary, const std::string& path) {
  if (std::rename(temporary.c_str(), path.c_str()) != 0) throw InputError("cannot replace " + path + ": " + std::strerror(errno));
}

// An output named by a folder is refused before anything is built or written.
void CheckOutputIsAFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw InputError(path + " is a folder; name the file to write");
}

int RunBuild(const Arguments& args) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  BuildOptions o;
  if (!ParseOptions(args, o)) return kUsageExit;
  CheckOutputIsAFile(o.dictOut);
  CheckOutputIsAFile(o.nextOut);

  WordFilter filter;
  filter.alphabet = FromUtf8(o.alphabet, "--alphabet");
  for (const std::string& path : o.allowLists) {
    auto words = ReadWordList(path);
    filter.allowedWords.insert(words.begin(), words.end());
  }
  for (const std::string& path : o.excludeLists) {
    auto words = ReadWordList(path);
    filter.excludedWords.insert(words.begin(), words.end());
  }

  WordCounts frequency;
  for (const std::string& path : o.wordLists) {
    const WordCounts list = ReadFrequencyList(path, filter);
    double total = 0;
    for (const auto& entry : list) total += entry.second;
    AddPerMillion(list, total, 1.0, frequency);
    std::printf("%s: %zu words\n", path.c_str(), list.size());
  }
  TextCounts text;
  for (const std::string& path : o.texts) {
    CountText(ReadTextLines(path), filter, text);
    std::printf("%s: read\n", path.c_str());
  }
  if (!o.texts.empty()) {
    // A word seen only in the texts must be seen a few times: once may be a typo.
    WordCounts usable;
    for (const auto& [word, count] : text.words)
      if (frequency.count(word) || count >= o.minTextCount) usable[word] = count;
    AddPerMillion(usable, static_cast<double>(text.tokens), o.textWeight, frequency);
    std::printf("texts: %lld running words, %zu distinct words\n", text.tokens, text.words.size());
  }
  if (frequency.empty()) throw InputError("no words survived the filters; nothing to build");

  std::vector<std::pair<std::u16string, double>> ranked(frequency.begin(), frequency.end());
  if (o.lengthWeight > 0) {
    for (auto& [word, f] : ranked) f *= std::pow(std::max(0.5, static_cast<double>(word.size()) - 1), o.lengthWeight);
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  if (ranked.size() > static_cast<std::size_t>(o.maxWords)) ranked.resize(static_cast<std::size_t>(o.maxWords));

  WordDictionary dictionary;
  const double fmax = ranked.front().second;
  const double fmin = ranked.back().second;
  for (const auto& [word, f] : ranked)
    dictionary.AddStoredWord(reinterpret_cast<const WCHAR*>(word.c_str()), word.size(),
                             ScaledCount(f, fmax, fmin, o.topCount, o.scale));
  std::vector<std::uint8_t> dbBytes = BuildWordDictionaryFile(dictionary, 0);

  std::unordered_map<std::u16string, int> kept;
  for (std::size_t i = 0; i < ranked.size(); ++i) kept.emplace(ranked[i].first, static_cast<int>(i));
  std::string phrases;
  long pairCount = 0;
  for (const auto& [word, f] : ranked) {
    if (pairCount >= o.maxPairs) break;
    const auto it = text.pairs.find(word);
    if (it == text.pairs.end()) continue;
    std::vector<std::pair<int, std::u16string>> next;
    for (const auto& [following, count] : it->second)
      if (count >= o.minPairCount && kept.count(following))
        next.emplace_back(o.followersByGain ? count * std::max<int>(1, static_cast<int>(following.size()) - 1) : count,
                          following);
    std::sort(next.begin(), next.end(), [&](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : kept[a.second] < kept[b.second];
    });
    for (long k = 0; k < o.followers && k < static_cast<long>(next.size()) && pairCount < o.maxPairs; ++k) {
      phrases += ToUtf8(word) + " " + ToUtf8(WrittenForm(next[static_cast<std::size_t>(k)].second, text)) + "\n";
      ++pairCount;
    }
  }
  // Both outputs are written beside their final names and read back from the disk as the
  // program will read them; only then do both replace the old files, so a failed build (a full
  // disk, a bad folder) leaves the existing pair exactly as it was.
  const std::string dictTemp = o.dictOut + ".new";
  const std::string nextTemp = o.nextOut + ".new";
  WriteHostFile(dictTemp, dbBytes.data(), dbBytes.size());
  WriteHostFile(nextTemp, reinterpret_cast<const std::uint8_t*>(phrases.data()), phrases.size());
  const std::vector<std::uint8_t> dbBack = ReadHostFile(dictTemp);
  WordDictionary check;
  if (!ParseWordDictionaryFile(dbBack.data(), dbBack.size(), check) || check.WordCount() != static_cast<int>(ranked.size())) {
    RemoveTemporaries(dictTemp, nextTemp);
    throw InputError(o.dictOut + ": the written dictionary does not read back");
  }
  const std::vector<std::uint8_t> nextBack = ReadHostFile(nextTemp);
  NextWordList checkPairs;
  ParseNextWordFile(nextBack.data(), nextBack.size(), checkPairs);
  if (checkPairs.PairCount() != pairCount) {
    RemoveTemporaries(dictTemp, nextTemp);
    throw InputError(o.nextOut + ": the written pairs do not read back");
  }
  ReplaceWith(dictTemp, o.dictOut);
  ReplaceWith(nextTemp, o.nextOut);

  std::printf("%s: %zu words, %zu bytes (top count %d)\n", o.dictOut.c_str(), ranked.size(), dbBytes.size(),
              ScaledCount(fmax, fmax, fmin, o.topCount, o.scale));
  std::printf("%s: %ld pairs, %zu bytes\n", o.nextOut.c_str(), pairCount, phrases.size());
  return 0;
}
