// WordTracker: follows the word being typed and keeps, for the keyboards and the prediction
// bar, the three completions to offer and the characters likely to come next. A separator
// ends the word, teaches it to the WordDictionary and offers the words that usually follow it
// (NextWordList); choosing a completion appends its rest to the current word.
//
// There is one tracker in the process (PredictionEngine); only the user-interface thread
// uses it. It has no windows: it takes values and returns values, and the window that calls
// it sends the messages. The AddSpace setting is passed to AcceptCompletion by the caller (the prediction
// bar reads it from the settings block), which keeps this library free of the settings store.
#pragma once

#include "prediction/learned_pairs.h"
#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <device/win_types.h>

// Space, TAB, LF, CR and , : . ! ? ; " - (whole 16-bit characters).
bool IsWordSeparator(WCHAR c);

// What accepting a completion inserts at the caret.
struct AcceptedCompletion {
  WCHAR rest[kWordBufferSize];  // sent with KeyboardInputMessage code 114
  bool addedSpace;              // a space follows, sent with code 0
};

class WordTracker {
 public:
  WordTracker(WordDictionary& dictionary, NextWordList& nextWords);

  // One typed character. A separator learns the current word and offers the words that
  // follow it; 0 only recomputes the completions; any other character is appended, lower
  // case (a word of 255 characters is not extended), and the completions are recomputed.
  void TypeCharacter(WCHAR c);

  // Ends the current word without learning it and offers the words that follow it.
  void FinishWord();

  // The prediction bar's choice of completion k: appends the rest of it to the current word
  // and reports what the caller must send the main screen: the rest (KeyboardInputMessage code
  // 114) and, with addSpace on and no longer word left to offer, a space (code 0; the word then
  // ends unlearned). Returns false, changing nothing, when completion k is empty.
  bool AcceptCompletion(int k, bool addSpace, AcceptedCompletion& out);

  // Makes the text (cut to 255 characters) the current word and recomputes the completions.
  void SetCurrentWord(const WCHAR* text);

  // Copies completion k (0 to 2) into a buffer of at least 256 characters; any other k
  // copies nothing.
  void GetCompletion(int k, WCHAR* buffer) const;

  // The likeliest next characters (0 to 3), likeliest first.
  const WCHAR* GetNextKeys() const { return next_.nextKeys; }

  // The language whose prediction files are loaded; -1 before any.
  int GetLoadedLanguage() const { return loadedLanguage_; }
  void SetLoadedLanguage(int language) { loadedLanguage_ = language; }

  const WCHAR* CurrentWord() const { return currentWord_; }
  // Empties the current word, the completions and the next keys.
  void Clear();
  // The user's learned pairs: counted at each separator and offered before the shipped pairs.
  // Null (the LearnPairs setting off) neither counts nor offers them.
  void SetLearnedPairs(LearnedPairs* pairs) { learnedPairs_ = pairs; }
  // Empties only the current word (a language was loaded).
  void ClearCurrentWord() { currentWord_[0] = 0; currentLength_ = 0; }

 private:
  bool ExtendByCompletion(int k, WCHAR* rest);
  bool EndWordAfterAccept(bool addSpace);
  void OfferNextWords();
  void Complete();

  WordDictionary& dictionary_;
  NextWordList& nextWords_;
  WCHAR currentWord_[kWordBufferSize] = {};
  int currentLength_ = 0;
  Completions next_ = {};  // the three completions and the next-keys string
  int loadedLanguage_ = -1;
  LearnedPairs* learnedPairs_ = nullptr;
};
