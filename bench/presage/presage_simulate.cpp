// presage_simulate: types a text with Presage's suggestions the way `dict simulate` types it with
// Tavrel's, so that bench/compare-presage can set the two side by side.
//
//   presage_simulate [--words N] TEXTFILE
//
// Presage runs with its installed configuration (/etc/presage.xml), written to a temporary file
// with three changes: three suggestions, online learning off, and without the user's own n-gram
// predictor (with learning off its database would stay empty; left in, Presage would create it
// under $HOME). The shipped n-gram, abbreviation and recency predictors work as installed.
//
// The simulated user is the one of `dict simulate`: every character of the text is one keystroke
// (a line end is one Enter); words are separated by the same characters as in Tavrel's word
// tracker. Before each letter of a word the user looks at the three suggestions and, when one is
// the wanted word, taps it: one keystroke for the rest of the word. Presage tracks text in lower
// case and suggests lower-case words, so a suggestion counts when it equals the wanted word in
// lower case (a Presage client would keep the case typed so far): this favours Presage on
// capitals. Time per keystroke is the time spent in Presage's predict() per call; one call is
// made before each letter typed or suggestion taken.
#include <presage.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kSuggestions = 3;
constexpr std::string_view kSeparators = " \t\n\r,:.!?;\"-";
constexpr std::size_t kContextKept = 512;  // bytes of past text handed to Presage (its window is 80)

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

long long CharacterCount(std::string_view text) {
  return std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// What Presage sees of the text typed so far: its end.
class TypedText : public PresageCallback {
 public:
  std::string get_past_stream() const override { return past_; }
  std::string get_future_stream() const override { return {}; }
  void Append(std::string_view text) {
    past_ += text;
    if (past_.size() > 2 * kContextKept) {
      std::size_t cut = past_.size() - kContextKept;
      while (cut < past_.size() && IsContinuationByte(past_[cut])) ++cut;
      past_.erase(0, cut);
    }
  }

 private:
  std::string past_;
};

struct Tally {
  long long characters = 0;
  long long keystrokes = 0;
  long long words = 0;
  long long hits = 0;
  long long nextWordHits = 0;
  long long calls = 0;
  std::chrono::nanoseconds time{0};
};

class Simulation {
 public:
  Simulation(Presage& presage, TypedText& typed) : presage_(presage), typed_(typed) {}
  void TypeWord(std::string_view wanted);
  void TypeSeparator(char c) {
    ++tally_.characters;
    ++tally_.keystrokes;
    typed_.Append(std::string_view(&c, 1));
  }
  const Tally& Result() const { return tally_; }

 private:
  bool Suggests(const std::string& wantedLower);
  Presage& presage_;
  TypedText& typed_;
  Tally tally_;
};

bool Simulation::Suggests(const std::string& wantedLower) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<std::string> suggestions = presage_.predict();
  tally_.time += std::chrono::steady_clock::now() - start;
  ++tally_.calls;
  const std::size_t shown = std::min<std::size_t>(suggestions.size(), kSuggestions);
  return std::find(suggestions.begin(), suggestions.begin() + static_cast<long>(shown), wantedLower) !=
         suggestions.begin() + static_cast<long>(shown);
}

void Simulation::TypeWord(std::string_view wanted) {
  const std::string wantedLower = Lower(wanted);
  ++tally_.words;
  tally_.characters += CharacterCount(wanted);
  std::size_t typed = 0;
  while (typed < wanted.size()) {
    ++tally_.keystrokes;
    if (Suggests(wantedLower)) {
      ++tally_.hits;
      if (typed == 0) ++tally_.nextWordHits;
      typed_.Append(wanted.substr(typed));
      return;
    }
    std::size_t next = typed + 1;
    while (next < wanted.size() && IsContinuationByte(wanted[next])) ++next;
    typed_.Append(wanted.substr(typed, next - typed));
    typed = next;
  }
}

bool ReadText(const char* path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream whole;
  whole << in.rdbuf();
  text = whole.str();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());  // a line end is one Enter
  return true;
}

constexpr char kInstalledConfig[] = "/etc/presage.xml";

bool Replace(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) return false;
  text.replace(at, from.size(), to);
  return true;
}

// Writes the configuration described at the top into `path`; false when the installed one is
// missing or not as expected.
bool WriteConfig(const std::string& path) {
  std::ifstream in(kInstalledConfig);
  if (!in) return false;
  std::ostringstream whole;
  whole << in.rdbuf();
  std::string config = whole.str();
  const bool changed =
      Replace(config, "<SUGGESTIONS>6</SUGGESTIONS>", "<SUGGESTIONS>" + std::to_string(kSuggestions) + "</SUGGESTIONS>") &&
      Replace(config, "<ONLINE_LEARNING>yes</ONLINE_LEARNING>", "<ONLINE_LEARNING>no</ONLINE_LEARNING>") &&
      Replace(config, " UserSmoothedNgramPredictor ", " ");
  if (!changed) return false;
  std::ofstream out(path);
  out << config;
  return static_cast<bool>(out);
}

void Print(const Tally& t) {
  std::printf("words measured: %lld\n", t.words);
  std::printf("characters: %lld\n", t.characters);
  std::printf("keystrokes: %lld\n", t.keystrokes);
  std::printf("keystroke savings: %.1f %%\n", t.characters ? 100.0 * (1.0 - double(t.keystrokes) / t.characters) : 0.0);
  std::printf("suggestion hit rate: %.1f %% (%lld of %lld words, %lld of them before the first letter)\n",
              t.words ? 100.0 * t.hits / t.words : 0.0, t.hits, t.words, t.nextWordHits);
  std::printf("time per keystroke: %.2f us (%lld predict calls)\n",
              t.calls ? std::chrono::duration<double, std::micro>(t.time).count() / t.calls : 0.0, t.calls);
}

}  // namespace

int main(int argc, char** argv) {
  long maxWords = -1;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--words" && i + 1 < argc) {
      maxWords = std::atol(argv[++i]);
    } else if (path == nullptr && a.rfind("--", 0) != 0) {
      path = argv[i];
    } else {
      std::fprintf(stderr, "usage: presage_simulate [--words N] TEXTFILE\n");
      return 2;
    }
  }
  std::string text;
  if (path == nullptr || !ReadText(path, text)) {
    std::fprintf(stderr, "presage_simulate: cannot read %s\n", path ? path : "(no text file)");
    return 2;
  }
  char folder[] = "/tmp/presage-simulate-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("presage_simulate: temporary folder");
    return 1;
  }
  int status = 0;
  try {
    const std::string config = std::string(folder) + "/presage.xml";
    if (!WriteConfig(config)) throw std::runtime_error(std::string(kInstalledConfig) + " is missing or not as expected");
    TypedText typed;
    Presage presage(&typed, config);
    Simulation simulation(presage, typed);
    long words = 0;
    std::size_t i = 0;
    while (i < text.size()) {
      if (IsSeparator(text[i])) {
        simulation.TypeSeparator(text[i++]);
        continue;
      }
      if (maxWords >= 0 && words >= maxWords) break;
      std::size_t end = i;
      while (end < text.size() && !IsSeparator(text[end])) ++end;
      simulation.TypeWord(std::string_view(text).substr(i, end - i));
      ++words;
      i = end;
    }
    std::printf("text: %s\n", path);
    std::printf("presage: %d suggestions, learning off\n", kSuggestions);
    Print(simulation.Result());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "presage_simulate: %s\n", e.what());
    status = 1;
  } catch (...) {
    std::fprintf(stderr, "presage_simulate: Presage failed\n");
    status = 1;
  }
  unlink((std::string(folder) + "/presage.xml").c_str());
  rmdir(folder);
  return status;
}
