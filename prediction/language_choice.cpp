#include "prediction/language_choice.h"

#include <algorithm>

bool IsUsedLanguage(const LanguageChoice& choice, int language) {
  return std::find(choice.UsedLangs.begin(), choice.UsedLangs.end(), language) != choice.UsedLangs.end();
}

int NextUsedLanguage(const LanguageChoice& choice, int language) {
  const auto& used = choice.UsedLangs;
  if (used.empty()) return language;
  const auto at = std::find(used.begin(), used.end(), language);
  if (at == used.end() || at + 1 == used.end()) return used.front();
  return *(at + 1);
}

void ApplyUsedLanguageRule(LanguageChoice& choice) {
  if (!choice.UsedLangs.empty() && !IsUsedLanguage(choice, choice.CurrentLang)) choice.CurrentLang = choice.UsedLangs.front();
}
