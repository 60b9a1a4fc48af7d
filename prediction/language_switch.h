// Loading and saving the prediction files of a language, and the language button's switch to
// the next used language.
#pragma once

#include "prediction/language_choice.h"
#include "prediction/prediction_engine.h"

#include <device/win_types.h>

#include <string>

// The device path of a prediction file named in keyboard.txt: the program folder followed by
// the value, or "-" (no file) when the value is "-" or empty. Paths keep every UTF-16
// character.
std::u16string PredictionFilePath(const PredictionEngine& engine, const WCHAR* value);

// Makes `language` the loaded one: empties and reloads the WordDictionary, the NextWordList
// and the learned pairs ("pairs.dat" beside the PREDICTDB file, LearnedPairsPath) from its
// files and empties the tracker's current word. Does nothing when the
// language is already loaded. Returns true when it loaded.
bool LoadLanguageDictionaries(PredictionEngine& engine, int language);

// Writes the WordDictionary to the language's PREDICTDB file (threshold 0), unless that is
// "-", and the learned pairs, when they changed, to "pairs.dat" beside it. Returns true when
// the dictionary file was written. When a file there did not load, it is kept under another
// name first (SaveWordDictionary, SaveLearnedPairs) and a message box (owned by the active
// window, caption kDictionaryMessageCaption, text DictionaryKeptAsideText or
// LearnedPairsKeptAsideText) tells the user.
bool SaveLanguageDictionary(PredictionEngine& engine, int language);

constexpr WCHAR kDictionaryMessageCaption[] = u"tavrel";
// "The word dictionary could not be read. It was kept as <keptAs> and a new one was saved."
std::u16string DictionaryKeptAsideText(const std::u16string& keptAs);
// "The learned word pairs could not be read. They were kept as <keptAs> and new ones were saved."
std::u16string LearnedPairsKeptAsideText(const std::u16string& keptAs);

// The language button: when the next used language differs from CurrentLang, saves the
// current dictionary and makes the next language current and loaded. With `showWaitCursor`
// (the application-button path) the wait cursor shows meanwhile. Nothing is written to the
// registry and no window is told: when it returns true (it switched), the caller tells the
// keyboard and the menu bar about choice.CurrentLang.
bool SwitchToNextLanguage(PredictionEngine& engine, LanguageChoice& choice, bool showWaitCursor);
