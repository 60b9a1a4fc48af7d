#include "prediction/language_switch.h"

#include "common/messages.h"
#include "prediction/dictionary_file.h"
#include "prediction/next_word_file.h"

#include <device/user.h>

namespace {

// "-" names no file; so does an empty value (a language index outside the table, or a
// block of keyboard.txt cut short before its prediction keys).
bool IsNoFile(const WCHAR* value) { return value[0] == 0 || (value[0] == u'-' && value[1] == 0); }

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
  engine.tracker.ClearCurrentWord();
  return true;
}

bool SaveLanguageDictionary(PredictionEngine& engine, int language) {
  const LanguageRecord& record = engine.languages.Language(language);
  if (IsNoFile(record.PREDICTDB)) return false;
  return SaveWordDictionary(PredictionFilePath(engine, record.PREDICTDB).c_str(), engine.dictionary, 0);
}

bool SwitchToNextLanguage(PredictionEngine& engine, LanguageChoice& choice, HWND keyboard, HWND menuBar,
                          bool showWaitCursor) {
  HCURSOR previous = showWaitCursor ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr;
  const int next = NextUsedLanguage(choice, choice.CurrentLang);
  const bool switched = next != choice.CurrentLang;
  if (switched) {
    SaveLanguageDictionary(engine, choice.CurrentLang);
    choice.CurrentLang = next;
    LoadLanguageDictionaries(engine, next);
    if (keyboard) SendMessage(keyboard, LanguageChangedMessage, static_cast<WPARAM>(next), 0);
    if (menuBar)
      SendMessage(menuBar, MenuLabelMessage, kLanguageButton,
                  reinterpret_cast<LPARAM>(engine.languages.Language(next).NAME));
  }
  if (showWaitCursor) SetCursor(previous);
  return switched;
}
