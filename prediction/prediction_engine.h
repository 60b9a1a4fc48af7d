// PredictionEngine: the process-wide records of the prediction engine, which live from start
// to exit: the LanguageTable, the WordDictionary and NextWordList of the loaded language, and
// the word tracker. The program uses ThePredictionEngine(); tests and tools make their own.
#pragma once

#include "prediction/language_table.h"
#include "prediction/learned_pairs.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"
#include "prediction/word_tracker.h"

#include <device/win_types.h>

#include <string>

struct PredictionEngine {
  LanguageTable languages;
  WordDictionary dictionary;
  NextWordList nextWords;
  // The user's pairs of the loaded language; the tracker uses them while LearnPairs is on.
  LearnedPairs learnedPairs;
  WordTracker tracker{dictionary, nextWords};
  // The device folder of the program, ending in a backslash ("\Program Files\Tavrel\");
  // the prediction files of keyboard.txt are relative to it.
  std::u16string programFolder;

  // The program folder followed by `name`.
  std::u16string ProgramFolderPath(const WCHAR* name) const { return programFolder + name; }
};

// The program's engine; its program folder is that of GetModuleFileName.
PredictionEngine& ThePredictionEngine();

// The folder of the running program, ending in a backslash.
std::u16string RunningProgramFolder();
