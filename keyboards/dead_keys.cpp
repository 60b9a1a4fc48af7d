#include "keyboards/dead_keys.h"

namespace {

constexpr WCHAR kDeadKeys[] = u"\u00A8\u02C6\u02DD\u0300\u0301\u0385";

// One accent and what it composes: from[i] becomes to[i].
struct AccentRow {
  WCHAR accent;
  const WCHAR* from;
  const WCHAR* to;
};

constexpr AccentRow kAccentTable[] = {
    // accent   composes                                       into
    {u'\u02C6', u"AEIOUaeiou",                                 u"ÂÊÎÔÛâêîôû"},                    // circumflex
    {u'\u00A8', u"AEIOUaeiouyΙΥιυ",                            u"ÄËÏÖÜäëïöüÿΪΫϊϋ"},               // diaeresis
    {u'\u02DD', u"OUou",                                       u"ŐŰőű"},                          // double acute
    {u'\u0300', u"AEIOUaeiou",                                 u"ÀÈÌÒÙàèìòù"},                    // grave
    {u'\u0301', u"AEIOUaeiouΑΕΗΙΟΥΩαεηιουω",                   u"ÁÉÍÓÚáéíóúΆΈΉΊΌΎΏάέήίόύώ"},      // acute
    {u'\u0385', u"ιυ",                                         u"ΐΰ"},                            // dialytika tonos
};

int accentIndex = kAccentStartIndex;

int ListLength(const LanguageRecord& language) {
  int n = 0;
  while (n < kValueRoom && language.QWERTYFULL_MODIFIERS[n] != 0) ++n;
  return n;
}

int NextIndex(int index, int length) { return index + 1 >= length ? 0 : index + 1; }

// The list entry at `index`, 0 outside the list.
WCHAR EntryAt(const LanguageRecord& language, int index) {
  if (index < 0 || index >= ListLength(language)) return 0;
  return language.QWERTYFULL_MODIFIERS[index];
}

}  // namespace

bool IsDeadKey(WCHAR c) {
  if (c == 0) return false;
  for (const WCHAR* d = kDeadKeys; *d != 0; ++d) {
    if (*d == c) return true;
  }
  return false;
}

int& AccentIndex() { return accentIndex; }

WCHAR ActiveAccent(const LanguageRecord& language) {
  const WCHAR accent = EntryAt(language, accentIndex);
  return accent == u' ' ? 0 : accent;
}

void AdvanceAccent(const LanguageRecord& language) {
  accentIndex = NextIndex(accentIndex, ListLength(language));
}

void ResetAccent(const LanguageRecord& language) { accentIndex = ListLength(language) - 1; }

WCHAR ComposeAccent(WCHAR c, const LanguageRecord& language) {
  if (IsDeadKey(c)) return EntryAt(language, NextIndex(accentIndex, ListLength(language)));
  const WCHAR accent = ActiveAccent(language);
  if (accent == 0) return c;
  for (const AccentRow& row : kAccentTable) {
    if (row.accent != accent) continue;
    for (int i = 0; row.from[i] != 0; ++i) {
      if (row.from[i] == c) return row.to[i];
    }
  }
  return c;
}
