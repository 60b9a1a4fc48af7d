#include "prediction/word_tracker.h"

#include "prediction/lower_case.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr WCHAR kSeparators[] = {u' ', u'\t', u'\n', u'\r', u',', u':', u'.', u'!', u'?', u';', u'"', u'-'};

int CopyBounded(const WCHAR* from, WCHAR* to) {
  int i = 0;
  for (; i < kMaxWordLength && from[i] != 0; ++i) to[i] = from[i];
  to[i] = 0;
  return i;
}

// The first occurrence of `needle` in `text`, or null.
const WCHAR* Find(const WCHAR* text, const WCHAR* needle) {
  for (; *text != 0; ++text) {
    int i = 0;
    while (needle[i] != 0 && text[i] == needle[i]) ++i;
    if (needle[i] == 0) return text;
  }
  return nullptr;
}

}  // namespace

bool IsWordSeparator(WCHAR c) { return std::find(std::begin(kSeparators), std::end(kSeparators), c) != std::end(kSeparators); }

WordTracker::WordTracker(WordDictionary& dictionary, NextWordList& nextWords)
    : dictionary_(dictionary), nextWords_(nextWords) {}

void WordTracker::Clear() {
  ClearCurrentWord();
  next_ = Completions{};
}

// The completions become the words that follow the current word, the next keys their first
// letters (the string ends at the first empty completion), and the current word is emptied.
void WordTracker::OfferNextWords() {
  FindNextWords(learnedPairs_, nextWords_, currentWord_, next_.word);
  ClearCurrentWord();
  int k = 0;
  while (k < kSuggestionCount && next_.word[k][0] != 0) {
    next_.nextKeys[k] = next_.word[k][0];
    ++k;
  }
  next_.nextKeys[k] = 0;
}

// FindCompletions lower-cases the current word in place, so a word set by SetCurrentWord is
// kept in lower case like a typed one.
void WordTracker::Complete() { dictionary_.FindCompletions(currentWord_, next_); }

void WordTracker::TypeCharacter(WCHAR c) {
  if (c != 0 && IsWordSeparator(c)) {
    WCHAR learned[kWordBufferSize];
    std::memcpy(learned, currentWord_, sizeof learned);
    dictionary_.LearnWord(learned);
    if (learnedPairs_ != nullptr) learnedPairs_->WordFinished(learned, c);
    OfferNextWords();
    return;
  }
  if (c != 0 && currentLength_ < kMaxWordLength) {
    currentWord_[currentLength_++] = LowerChar(c);
    currentWord_[currentLength_] = 0;
  }
  Complete();
}

// A word ended unlearned, or a caret moved elsewhere, starts no learned pair.
void WordTracker::FinishWord() {
  if (learnedPairs_ != nullptr) learnedPairs_->BreakChain();
  OfferNextWords();
}

void WordTracker::SetCurrentWord(const WCHAR* text) {
  if (learnedPairs_ != nullptr) learnedPairs_->BreakChain();
  currentLength_ = CopyBounded(text, currentWord_);
  Complete();
}

void WordTracker::GetCompletion(int k, WCHAR* buffer) const {
  if (k < 0 || k >= kSuggestionCount) return;
  CopyBounded(next_.word[k], buffer);
}

// Steps 1-3 of accepting: the rest of completion k is appended to the current word and the
// completions are recomputed. False when completion k is empty.
bool WordTracker::ExtendByCompletion(int k, WCHAR* rest) {
  rest[0] = 0;
  if (k < 0 || k >= kSuggestionCount || next_.word[k][0] == 0) return false;
  WCHAR completion[kWordBufferSize];
  CopyBounded(next_.word[k], completion);
  const WCHAR* occurrence = currentLength_ > 0 ? Find(completion, currentWord_) : nullptr;
  CopyBounded(occurrence ? occurrence + currentLength_ : completion, rest);
  for (int i = 0; rest[i] != 0 && currentLength_ < kMaxWordLength; ++i) currentWord_[currentLength_++] = rest[i];
  currentWord_[currentLength_] = 0;
  Complete();
  return true;
}

// Step 5: with AddSpace on and no longer word left to offer, the word ends here, unlearned.
bool WordTracker::EndWordAfterAccept(bool addSpace) {
  if (!addSpace || next_.word[0][0] != 0) return false;
  Clear();
  FinishWord();
  return true;
}

bool WordTracker::AcceptCompletion(int k, bool addSpace, AcceptedCompletion& out) {
  out.addedSpace = false;
  if (!ExtendByCompletion(k, out.rest)) return false;
  out.addedSpace = EndWordAfterAccept(addSpace);
  return true;
}
