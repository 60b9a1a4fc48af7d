// LanguageChoice: the user's choice of languages, kept in the settings block (which extends
// this record) and used by language switching. Languages are indices into the LanguageTable.
#pragma once

#include <cstdint>
#include <vector>

struct LanguageChoice {
  std::int32_t CurrentLang = 0;             // the current language
  std::vector<std::int32_t> UsedLangs;      // offered languages, in the language button's cycling order

  // NumOfLangs, the length of UsedLangs.
  std::int32_t NumOfLangs() const { return static_cast<std::int32_t>(UsedLangs.size()); }
};

// True when the language is in UsedLangs.
bool IsUsedLanguage(const LanguageChoice& choice, int language);

// The entry after `language` in UsedLangs, wrapping from the last to the first; the first
// entry when the language is not in the list; the language itself when the list is empty.
int NextUsedLanguage(const LanguageChoice& choice, int language);

// The rule at start-up and when the main screen opens: CurrentLang stays when it is used or
// UsedLangs is empty; otherwise it becomes the first used language.
void ApplyUsedLanguageRule(LanguageChoice& choice);
