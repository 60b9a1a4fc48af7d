// `dict simulate`: types a text through the program's own word tracker and reports how many
// keystrokes prediction saves.
//
// The simulated user types every character of the text as one keystroke (letters, spaces,
// punctuation; a line end is one Enter), exactly as the keyboards hand characters to the
// tracker. Before each letter of a word the user looks at the three suggestions and, as soon
// as one of them would produce the wanted word as written (what is typed so far plus the rest
// the tracker inserts), taps it: one keystroke for the rest of the word. With --add-space the
// tracker's AddSpace behaviour is used: when it adds a space and the text goes on with one,
// that space costs nothing; when the text goes on otherwise, deleting the space costs one.
// The dictionary learns from everything typed, as in the program, and so do the learned word
// pairs (the LearnPairs setting, on by default; --no-pairs types as with it off). The first
// --learn words are typed without being measured (a user who has used the program for a
// while). With --halves the measured words are also reported as two halves, the first and
// the second, so that what the program learned from the first shows in the second.
//
//   keystroke savings = 1 - keystrokes / characters of the measured text
//   suggestion hit rate = words taken from a suggestion / words typed
//   time per keystroke = time spent in the tracker (completions, next words, learning) /
//                        tracker calls
#include "tools/dict/commands.h"
#include "tools/dict/dictionary_inputs.h"
#include "tools/dict/host_text.h"

#include "prediction/learned_pairs.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"
#include "prediction/word_tracker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct SimulateOptions {
  std::string dictPath;
  std::string nextPath;
  std::string textPath;
  long learnWords = 0;
  long measureWords = -1;  // -1: the whole rest of the text
  bool addSpace = false;
  bool learnPairs = true;
  bool halves = false;
};

struct Tally {
  long long characters = 0;
  long long keystrokes = 0;
  long long words = 0;
  long long hits = 0;          // words finished by a tapped suggestion
  long long nextWordHits = 0;  // of those, tapped before their first letter
  long long trackerCalls = 0;
  std::chrono::nanoseconds trackerTime{0};

  Tally operator-(const Tally& o) const {
    return Tally{characters - o.characters, keystrokes - o.keystrokes, words - o.words, hits - o.hits,
                 nextWordHits - o.nextWordHits, trackerCalls - o.trackerCalls, trackerTime - o.trackerTime};
  }
};

const char kUsage[] =
    "usage: dict simulate --dict DB [--next PHRASES] [--learn WORDS] [--words WORDS]\n"
    "                     [--add-space] [--no-pairs] [--halves] TEXTFILE\n";

bool ParseOptions(const Arguments& args, SimulateOptions& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--add-space" || a == "--no-pairs" || a == "--halves") {
      (a == "--add-space" ? o.addSpace : a == "--halves" ? o.halves : o.learnPairs) = a != "--no-pairs";
      continue;
    }
    if (a.rfind("--", 0) != 0) {
      if (!o.textPath.empty()) {
        std::fprintf(stderr, "dict simulate: one text file only\n%s", kUsage);
        return false;
      }
      o.textPath = a;
      continue;
    }
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "dict simulate: %s needs a value (try dict simulate --help)\n", a.c_str());
      return false;
    }
    const std::string& v = args[++i];
    char* end = nullptr;
    if (a == "--dict") o.dictPath = v;
    else if (a == "--next") o.nextPath = v;
    else if (a == "--learn" || a == "--words") {
      const long n = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != 0 || n < 0) throw InputError(a + " needs a whole number of 0 or more");
      (a == "--learn" ? o.learnWords : o.measureWords) = n;
    } else {
      std::fprintf(stderr, "dict simulate: unknown option %s (try dict simulate --help)\n", a.c_str());
      return false;
    }
  }
  if (o.dictPath.empty() || o.textPath.empty()) {
    std::fprintf(stderr, "dict simulate: needs --dict and a text file\n%s", kUsage);
    return false;
  }
  return true;
}

class TypingSimulation {
 public:
  TypingSimulation(WordTracker& tracker, bool addSpace) : tracker_(tracker), addSpace_(addSpace) {}

  // Types text[i..] up to and including the word that starts at i (or the one separator at
  // i) and returns the index after what was typed.
  std::size_t TypeNext(const std::u16string& text, std::size_t i, bool measured);
  const Tally& Result() const { return tally_; }
  // Marks the end of the first half: what is typed from here on is the second.
  void MarkHalf() { firstHalf_ = tally_; }
  const Tally& FirstHalf() const { return firstHalf_; }

 private:
  template <typename F>
  void Timed(F&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    tally_.trackerTime += std::chrono::steady_clock::now() - start;
    ++tally_.trackerCalls;
  }
  // The suggestion that completes the wanted word as written, or -1.
  int MatchingSuggestion(const std::u16string& wanted, std::size_t typed) const;

  WordTracker& tracker_;
  bool addSpace_;
  Tally tally_;
  Tally firstHalf_;
};

int TypingSimulation::MatchingSuggestion(const std::u16string& wanted, std::size_t typed) const {
  const std::u16string current(reinterpret_cast<const char16_t*>(tracker_.CurrentWord()));
  for (int k = 0; k < kSuggestionCount; ++k) {
    WCHAR buffer[kWordBufferSize];
    tracker_.GetCompletion(k, buffer);
    const std::u16string suggestion(reinterpret_cast<const char16_t*>(buffer));
    if (suggestion.empty()) continue;
    std::u16string rest = suggestion;
    const std::size_t at = current.empty() ? std::u16string::npos : suggestion.find(current);
    if (at != std::u16string::npos) rest = suggestion.substr(at + current.size());
    if (wanted.compare(0, typed, wanted, 0, typed) == 0 && wanted.size() == typed + rest.size() &&
        wanted.compare(typed, rest.size(), rest) == 0)
      return k;
  }
  return -1;
}

std::size_t TypingSimulation::TypeNext(const std::u16string& text, std::size_t i, bool measured) {
  const int add = measured ? 1 : 0;
  if (IsWordSeparator(text[i])) {
    tally_.characters += add;
    tally_.keystrokes += add;
    Timed([&] { tracker_.TypeCharacter(text[i]); });
    return i + 1;
  }
  std::size_t end = i;
  while (end < text.size() && !IsWordSeparator(text[end])) ++end;
  const std::u16string wanted = text.substr(i, end - i);
  tally_.words += add;
  tally_.characters += add * static_cast<long long>(wanted.size());
  for (std::size_t typed = 0; typed < wanted.size(); ++typed) {
    const int k = MatchingSuggestion(wanted, typed);
    if (k < 0) {
      tally_.keystrokes += add;
      Timed([&] { tracker_.TypeCharacter(wanted[typed]); });
      continue;
    }
    tally_.keystrokes += add;
    tally_.hits += add;
    if (typed == 0) tally_.nextWordHits += add;
    AcceptedCompletion accepted{};
    Timed([&] { tracker_.AcceptCompletion(k, addSpace_, accepted); });
    if (!accepted.addedSpace) return end;
    // The main screen inserts the added space and reports it to the tracker like any
    // character.
    Timed([&] { tracker_.TypeCharacter(u' '); });
    if (end < text.size() && text[end] == u' ') {
      tally_.characters += add;
      return end + 1;
    }
    tally_.keystrokes += add;  // the space is not wanted here: one backspace
    const std::u16string word = wanted;
    Timed([&] {
      tracker_.SetCurrentWord(reinterpret_cast<const WCHAR*>(word.c_str()));
      tracker_.TypeCharacter(0);
    });
    return end;
  }
  return end;
}

// The number of words that will be measured: those after the first --learn, up to --words.
long MeasuredWordCount(const std::u16string& text, const SimulateOptions& o) {
  long words = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!IsWordSeparator(text[i]) && (i == 0 || IsWordSeparator(text[i - 1]))) ++words;
  const long measured = std::max(0L, words - o.learnWords);
  return o.measureWords >= 0 ? std::min(measured, o.measureWords) : measured;
}

void PrintTally(const Tally& t, const char* part) {
  std::printf("%swords measured: %lld\n", part, t.words);
  std::printf("%scharacters: %lld\n", part, t.characters);
  std::printf("%skeystrokes: %lld\n", part, t.keystrokes);
  std::printf("%skeystroke savings: %.1f %%\n", part,
              t.characters ? 100.0 * (1.0 - static_cast<double>(t.keystrokes) / t.characters) : 0.0);
  std::printf("%ssuggestion hit rate: %.1f %% (%lld of %lld words, %lld of them before the first letter)\n", part,
              t.words ? 100.0 * t.hits / t.words : 0.0, t.hits, t.words, t.nextWordHits);
  std::printf("%stime per keystroke: %.2f us (%lld tracker calls)\n", part,
              t.trackerCalls ? std::chrono::duration<double, std::micro>(t.trackerTime).count() / t.trackerCalls : 0.0,
              t.trackerCalls);
}

}  // namespace

int RunSimulate(const Arguments& args) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  SimulateOptions o;
  if (!ParseOptions(args, o)) return kUsageExit;

  WordDictionary dictionary;
  LoadDictionaryInput(o.dictPath, dictionary);
  NextWordList nextWords;
  if (!o.nextPath.empty()) LoadNextWordInput(o.nextPath, nextWords);
  const int shippedWords = dictionary.WordCount();

  std::u16string text;
  for (const std::u16string& line : ReadTextLines(o.textPath)) {
    text += line;
    text += u'\n';
  }

  LearnedPairs learnedPairs;
  WordTracker tracker(dictionary, nextWords);
  if (o.learnPairs) tracker.SetLearnedPairs(&learnedPairs);
  TypingSimulation simulation(tracker, o.addSpace);
  const long measuredWords = MeasuredWordCount(text, o);
  long wordsSeen = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const bool startsWord = !IsWordSeparator(text[i]);
    if (startsWord) ++wordsSeen;
    const bool measured = wordsSeen > o.learnWords;
    if (o.measureWords >= 0 && wordsSeen > o.learnWords + o.measureWords) break;
    if (startsWord && wordsSeen == o.learnWords + measuredWords / 2 + 1) simulation.MarkHalf();
    i = simulation.TypeNext(text, i, measured);
  }

  const Tally& t = simulation.Result();
  if (t.characters == 0) throw InputError(o.textPath + ": nothing left to measure after the words learned first");
  std::printf("text: %s\n", o.textPath.c_str());
  std::printf("dictionary: %d words, %d next-word pairs; %s; learned pairs %s\n", shippedWords, nextWords.PairCount(),
              o.addSpace ? "AddSpace on" : "AddSpace off", o.learnPairs ? "on" : "off");
  std::printf("words learned before measuring: %ld\n", o.learnWords);
  PrintTally(t, "");
  if (o.halves) {
    PrintTally(simulation.FirstHalf(), "first half ");
    PrintTally(t - simulation.FirstHalf(), "second half ");
  }
  std::printf("dictionary after typing: %d words, %d learned pairs\n", dictionary.WordCount(),
              learnedPairs.PairCount());
  return 0;
}
