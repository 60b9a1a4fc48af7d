// The settings block: every user setting as one process-wide record, loaded from and saved to
// HKEY_LOCAL_MACHINE\Software\Korvani\Tavrel\Options (value names and types as below).
//
// Loading clears the block and reads every value, a missing value or one of the wrong type
// taking its default. Forced on load: `Quick save` is always 1; `inputmethod` and
// `inputmethod2` read as 0 become 1; `FontSize` read as 0 becomes 12 (also before saving).
//
// Choices where the behaviour is otherwise open:
// - NumOfLangs is kept within 0..10 (the language table's room); a UsedLangs value shorter
//   than NumOfLangs entries counts as missing and the default list 0..NumOfLangs-1 is used.
// - UsedLangs keeps only entries that name a language of keyboard.txt (0 up to the language
//   count), each once; a list left empty that way becomes every language of the file, in
//   order. NumOfLangs is the length of what is kept.
// - `strikelength` outside 1..3 and `phonetimer` outside 1..5 take their defaults (2), so a
//   corrupt value never gives a zero stroke length or time-out.
// - Predefined texts: the stored strings up to the first empty one (an empty value holds no
//   text); at most 20, each cut to 199 characters. Saving writes every text that is not empty
//   (an empty string inside the value would end the list there and lose the texts after it),
//   and writes an empty value for an empty list, so removed texts stay removed.
#pragma once

#include "prediction/language_choice.h"

#include <device/win_types.h>

#include <cstdint>

constexpr int kDirectoryRoom = 260;           // characters including the terminator
constexpr int kMaxPredefinedTexts = 20;
constexpr int kPredefinedTextRoom = 200;      // 199 characters and the terminator
constexpr int kDefaultPredefinedTextCount = 6;

// Every setting by its registry value name. CurrentLang and UsedLangs (with NumOfLangs, its
// length) come from LanguageChoice.
struct SettingsBlock : LanguageChoice {
  std::int32_t FontStyle;      // stored and written back only
  std::int32_t FontSize;       // stored and written back only; never 0
  std::int32_t autorepeat;     // key auto-repeat of the predictive, landscape and QWERTY keyboards
  std::int32_t QuickSave;      // value "Quick save": save notes without asking for a name; always 1
  std::int32_t Qwerty;         // stored and written back only
  std::int32_t Menu;           // 1: menu bar always shown; 0: it opens on VK_RETURN
  std::int32_t lefthanded;     // left-handed predictive keypad
  std::int32_t AddSpace;       // add a space after an accepted completion
  std::int32_t showPredict;    // mark the likely next keys
  std::int32_t strikelength;   // pen-stroke threshold 1..3 (length = strikelength x 10 + 15 pixels)
  std::int32_t phonetimer;     // multi-tap time-out in steps of 300 ms, 1..5
  WCHAR directory[kDirectoryRoom];  // the NotesFolder
  std::int32_t inputmethod;    // main screen keyboard: 0 QWERTY, 1 predictive, 2 phone, 3 landscape
  std::int32_t inputmethod2;   // main screen keyboard while the contact list is open
  std::int32_t numericmethod;  // calculator keypad: 0 text mode, 1 calculator mode
  std::int32_t LearnPairs;     // "Learn word pairs": learn and offer the user's word pairs
  WCHAR PredefinedTexts[kMaxPredefinedTexts][kPredefinedTextRoom];  // value FxTexts
  std::int32_t PredefinedTextCount;
};

// The default predefined texts, in order.
extern const WCHAR* const kDefaultPredefinedTexts[kDefaultPredefinedTextCount];

// The program's settings block.
SettingsBlock& TheSettings();

// Clears the block and reads every value; `languageCount` (the languages of keyboard.txt) is
// the default NumOfLangs.
void LoadSettings(SettingsBlock& settings, int languageCount);
// Writes every value, in a fixed order, as one unit: true when all were stored; on failure
// (or a crash part-way) the stored values stay those of the previous save.
bool SaveSettings(SettingsBlock& settings);

// True when the settings can be stored: the registry takes a write (checked without changing
// anything). False when its store cannot be opened, e.g. a file that is not a database; the
// settings then run at their defaults and every save fails.
bool SettingsStoreWritable();

struct PredictionEngine;

// Gives the engine's word tracker its learned pairs when LearnPairs is on, none when off.
void ApplyLearnPairs(const SettingsBlock& settings, PredictionEngine& engine);

// The program's block, with the language count of the program's LanguageTable; LearnPairs is
// applied to the program's engine.
void LoadSettings();
bool SaveSettings();

// The DWORD `Assign`: 1 once the button-assignment tool has been started on first run. The
// tool is due when the value is 0 or missing; any other value counts as started.
bool AssignToolStarted();
void MarkAssignToolStarted();
