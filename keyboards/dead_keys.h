// Dead-key accents of the predictive and landscape keyboards. A language's modifier list
// (QWERTYFULL_MODIFIERS, a space appended) names the accents that can be active; the accent
// state is one process-wide index into that list. A dead-key character advances the index,
// and the next character is sent composed with the active accent.
//
// The index starts at 10 (no accent); an index outside the list, or on a space of the list
// (the appended one), means no accent.
#pragma once

#include "prediction/language_table.h"

#include <device/win_types.h>

constexpr int kAccentStartIndex = 10;

// The dead-key characters: diaeresis, circumflex, double acute, combining grave, combining
// acute and Greek dialytika tonos.
bool IsDeadKey(WCHAR c);

// The process-wide accent index (the landscape keyboard shares it).
int& AccentIndex();

// The accent in effect for the language, 0 when none.
WCHAR ActiveAccent(const LanguageRecord& language);

// Advances to the next entry of the list, from the last back to the first.
void AdvanceAccent(const LanguageRecord& language);

// No accent: the index of the appended space. After every composed character, and on every
// language and input-mode change.
void ResetAccent(const LanguageRecord& language);

// `c` composed with the active accent; unchanged for every pair the accent table lacks. A
// dead-key character gives the accent the next advance would select.
WCHAR ComposeAccent(WCHAR c, const LanguageRecord& language);
