// EditRequest: what a caller hands the main screen when it opens it for a given text, and
// where the main screen writes the accepted text back. Fixed fields; every copy into them is
// bounded and zero-terminated.
#pragma once

#include <device/win_types.h>

#include <cstdint>

constexpr int kEditTitleRoom = 30;    // characters including the terminator
constexpr int kEditTextRoom = 1000;   // characters including the terminator

struct EditRequest {
  WCHAR title[kEditTitleRoom];  // shown in the title strip
  WCHAR text[kEditTextRoom];    // the text to edit; with EditMode 3 the note file's full path
  std::int32_t numeric;         // 1 opens the calculator keypad
};

// Copies at most room - 1 characters of `source` (null: none) and the terminator.
inline void CopyBounded(WCHAR* field, int room, const WCHAR* source) {
  int n = 0;
  if (source != nullptr) {
    for (; n < room - 1 && source[n] != 0; ++n) field[n] = source[n];
  }
  field[n] = 0;
}
