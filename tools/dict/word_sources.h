// The inputs of `dict build`: word-frequency lists and running text, turned into word counts,
// next-word pair counts and the written forms of words.
//
// A word is what the word tracker takes for one: the characters between two separators (space,
// TAB, line ends and , : . ! ? ; " -). From running text a token is kept only when, after
// quotes and brackets are stripped from its ends, it consists of letters and apostrophes inside
// the word ("don't", "l'homme"); numbers, addresses and symbols are not words to suggest.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using WordCounts = std::unordered_map<std::u16string, double>;

// Which lower-case words may enter the dictionary.
struct WordFilter {
  std::u16string alphabet;                          // empty: any letter
  std::unordered_set<std::u16string> allowedWords;  // empty: any word
  std::unordered_set<std::u16string> excludedWords; // never words, whatever the sources say
  int maxLength = 40;                               // longer tokens are junk, not words

  bool Accepts(std::u16string_view word) const;
};

// The token as a lower-case word, or empty when it is no word (see the file comment).
std::u16string CleanToken(std::u16string_view token);

// A word list for WordFilter::allowedWords: one word a line, lower-cased; a hunspell-style
// "/FLAGS" suffix and lines starting with a digit (a .dic file's word count) are ignored.
std::unordered_set<std::u16string> ReadWordList(const std::string& path);

// A word-frequency list: "word count" (white space between) or "word" alone, one a line,
// most frequent first; "#" starts a comment line. A list without counts is taken in rank
// order, count 1e7 / rank (Zipf's law). Words the filter refuses are dropped; equal words
// after lower-casing are added up. Throws InputError on a malformed count.
WordCounts ReadFrequencyList(const std::string& path, const WordFilter& filter);

struct TextCounts {
  WordCounts words;     // lower-case word -> uses
  long long tokens = 0;  // running words seen, kept or not
  // first word -> following word -> uses, for words separated only by spaces.
  std::unordered_map<std::u16string, std::unordered_map<std::u16string, int>> pairs;
  // lower-case word -> written form -> uses, counted where the word follows another word
  // (so not at the start of a sentence), for forms that are lower case or capitalised.
  std::unordered_map<std::u16string, std::unordered_map<std::u16string, int>> forms;
};

// Counts the words, pairs and written forms of the lines of a text.
void CountText(const std::vector<std::u16string>& lines, const WordFilter& filter, TextCounts& counts);
