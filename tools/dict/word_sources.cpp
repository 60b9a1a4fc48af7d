#include "tools/dict/word_sources.h"

#include "tools/dict/host_text.h"

#include "prediction/lower_case.h"
#include "prediction/word_tracker.h"

#include <unicode/uchar.h>

#include <cmath>
#include <cstdlib>

namespace {

bool IsLetter(char16_t c) { return u_isalpha(c) != 0; }
bool IsApostrophe(char16_t c) { return c == u'\'' || c == u'\u2019'; }

std::u16string Lower(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) c = LowerChar(c);
  return out;
}

bool IsLowerOrCapitalised(std::u16string_view form) {
  for (std::size_t i = 1; i < form.size(); ++i)
    if (LowerChar(form[i]) != form[i]) return false;
  return true;
}

std::vector<std::u16string_view> SplitWhiteSpace(std::u16string_view line) {
  std::vector<std::u16string_view> parts;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != u' ' && line[j] != u'\t') ++j;
    if (j > i) parts.push_back(line.substr(i, j - i));
    i = j;
  }
  return parts;
}

}  // namespace

bool WordFilter::Accepts(std::u16string_view word) const {
  if (word.empty() || word.size() > static_cast<std::size_t>(maxLength)) return false;
  for (char16_t c : word) {
    if (IsApostrophe(c)) continue;
    if (!IsLetter(c)) return false;
    if (!alphabet.empty() && alphabet.find(c) == std::u16string::npos) return false;
  }
  const std::u16string w(word);
  if (excludedWords.count(w)) return false;
  return allowedWords.empty() || allowedWords.count(w) != 0;
}

std::u16string CleanToken(std::u16string_view token) {
  std::size_t begin = 0;
  std::size_t end = token.size();
  // Quotes and brackets are stripped from the ends; digits are not, so "19th" stays a
  // number (and is refused below) instead of turning into the fragment "th".
  const auto strippable = [](char16_t c) { return !IsLetter(c) && !u_isdigit(c); };
  while (begin < end && strippable(token[begin])) ++begin;
  while (end > begin && strippable(token[end - 1])) --end;
  // A leading apostrophe belongs to a split contraction ("it 's"): no word.
  if (begin > 0 && IsApostrophe(token[begin - 1])) return {};
  if (begin == end) return {};
  std::u16string word;
  word.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    char16_t c = token[i];
    if (IsApostrophe(c)) {
      word += u'\'';
    } else if (IsLetter(c)) {
      word += LowerChar(c);
    } else {
      return {};
    }
  }
  return word;
}

std::unordered_set<std::u16string> ReadWordList(const std::string& path) {
  std::unordered_set<std::u16string> words;
  for (const std::u16string& line : ReadTextLines(path)) {
    std::u16string_view w = line;
    const std::size_t slash = w.find(u'/');
    if (slash != std::u16string_view::npos) w = w.substr(0, slash);
    while (!w.empty() && (w.back() == u' ' || w.back() == u'\t')) w.remove_suffix(1);
    if (w.empty() || (w[0] >= u'0' && w[0] <= u'9')) continue;
    std::u16string lower = Lower(w);
    for (char16_t& c : lower)
      if (c == u'\u2019') c = u'\'';
    words.insert(std::move(lower));
  }
  return words;
}

WordCounts ReadFrequencyList(const std::string& path, const WordFilter& filter) {
  WordCounts counts;
  long long rank = 0;
  std::size_t lineNumber = 0;
  for (const std::u16string& line : ReadTextLines(path)) {
    ++lineNumber;
    std::vector<std::u16string_view> parts = SplitWhiteSpace(line);
    if (parts.empty() || parts[0][0] == u'#') continue;
    ++rank;
    double count = 1e7 / static_cast<double>(rank);
    if (parts.size() >= 2) {
      const std::string number = ToUtf8(parts[1]);
      char* end = nullptr;
      count = std::strtod(number.c_str(), &end);
      if (end == number.c_str() || *end != 0 || !(count >= 0) || !std::isfinite(count)) {
        throw InputError(path + ": line " + std::to_string(lineNumber) + ": \"" + number +
                         "\" is not a count (expected: word count)");
      }
    }
    std::u16string word = Lower(parts[0]);
    for (char16_t& c : word)
      if (c == u'\u2019') c = u'\'';
    if (filter.Accepts(word)) counts[word] += count;
  }
  return counts;
}

void CountText(const std::vector<std::u16string>& lines, const WordFilter& filter, TextCounts& counts) {
  for (const std::u16string& line : lines) {
    std::u16string previous;  // the last word, while only spaces followed it
    std::size_t i = 0;
    while (i < line.size()) {
      if (IsWordSeparator(line[i])) {
        if (line[i] != u' ' && line[i] != u'\t') previous.clear();
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < line.size() && !IsWordSeparator(line[j])) ++j;
      const std::u16string_view token(line.data() + i, j - i);
      i = j;
      ++counts.tokens;
      std::u16string word = CleanToken(token);
      // Stripped quotes or brackets mean the phrase was interrupted: no pair across them.
      const bool whole = !word.empty() && token.size() == word.size();
      if (word.empty() || !filter.Accepts(word)) {
        previous.clear();
        continue;
      }
      counts.words[word] += 1;
      if (!previous.empty() && whole) {
        counts.pairs[previous][word] += 1;
        if (IsLowerOrCapitalised(token)) counts.forms[word][std::u16string(token)] += 1;
      }
      previous = whole ? std::move(word) : std::u16string();
    }
  }
}
