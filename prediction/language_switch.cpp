#include "prediction/language_switch.h"

#include "prediction/dictionary_file.h"
#include "prediction/learned_pairs_file.h"
#include "prediction/next_word_file.h"

#include <device/dialogs.h>
#include <device/user.h>

namespace {

// "-" names no file; so does an empty value (a language index outside the table, or a
// block of keyboard.txt cut short before its prediction keys).
bool IsNoFile(const WCHAR* value) { return value[0] == 0 || (value[0] == u'-' && value[1] == 0); }

void TellKeptAside(const std::u16string& text) {
  MessageBox(GetActiveWindow(), text.c_str(), kDictionaryMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

std::u16string PredictionFilePath(const PredictionEngine& engine, const WCHAR* value) {
  return IsNoFile(value) ? std::u16string(u"-") : engine.ProgramFolderPath(value);
}

bool LoadLanguageDictionaries(PredictionEngine& engine, int language) {
  if (language == engine.tracker.GetLoadedLanguage()) return false;
  engine.tracker.SetLoadedLanguage(language);
  const LanguageRecord& record = engine.languages.Language(language);
  engine.dictionary.EmptyDictionary();
  LoadWordDictionary(PredictionFilePath(engine, record.PREDICTDB).c_str(), engine.dictionary);
  LoadNextWordList(PredictionFilePath(engine, record.NEXTWORDDB).c_str(), engine.nextWords);
  LoadLearnedPairs(LearnedPairsPath(PredictionFilePath(engine, record.PREDICTDB)).c_str(), engine.learnedPairs);
  engine.tracker.ClearCurrentWord();
  return true;
}

bool SaveLanguageDictionary(PredictionEngine& engine, int language) {
  const LanguageRecord& record = engine.languages.Language(language);
  if (IsNoFile(record.PREDICTDB)) return false;
  const std::u16string path = PredictionFilePath(engine, record.PREDICTDB);
  std::u16string keptAs;
  const bool saved = SaveWordDictionary(path.c_str(), engine.dictionary, 0, &keptAs);
  // Each damaged file is moved aside once, so the user hears of it once.
  if (!keptAs.empty()) TellKeptAside(DictionaryKeptAsideText(keptAs));
  SaveLearnedPairs(LearnedPairsPath(path).c_str(), engine.learnedPairs, &keptAs);
  if (!keptAs.empty()) TellKeptAside(LearnedPairsKeptAsideText(keptAs));
  return saved;
}

std::u16string DictionaryKeptAsideText(const std::u16string& keptAs) {
  return u"The word dictionary could not be read. It was kept as " + keptAs + u" and a new one was saved.";
}

std::u16string LearnedPairsKeptAsideText(const std::u16string& keptAs) {
  return u"The learned word pairs could not be read. They were kept as " + keptAs + u" and new ones were saved.";
}

bool SwitchToNextLanguage(PredictionEngine& engine, LanguageChoice& choice, bool showWaitCursor) {
  HCURSOR previous = showWaitCursor ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr;
  const int next = NextUsedLanguage(choice, choice.CurrentLang);
  const bool switched = next != choice.CurrentLang;
  if (switched) {
    SaveLanguageDictionary(engine, choice.CurrentLang);
    choice.CurrentLang = next;
    LoadLanguageDictionaries(engine, next);
  }
  if (showWaitCursor) SetCursor(previous);
  return switched;
}
