// QwertyKeyClass: the two-page QWERTY keyboard, 24 character keys in four staggered rows of
// six over flip, Caps/Fn, Space, Backspace and Enter. The main screen creates it for keyboard
// choice 0 at (0, 122), 240 x 201.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kQwertyKeyClass[] = u"QwertyKeyClass";

constexpr int kQwertyCharacterKeyCount = 24;  // one page of a QWERTY_* string
constexpr int kQwertyKeyCount = kQwertyCharacterKeyCount + 5;

enum QwertyKeyIndex {
  kQwertyFlipKey = kQwertyCharacterKeyCount,
  kQwertyCapsKey,  // Caps by a tap, the one-shot Fn layer by an upward stroke
  kQwertySpaceKey,
  kQwertyBackspaceKey,
  kQwertyEnterKey
};

// Key `key`'s rectangle in the keyboard's client coordinates and its skin image; an empty
// rectangle and -1 for an index out of range.
KeyPlace QwertyKeyPlace(int key);

// What a QWERTY keyboard window shows now (all zero for a window that is no such keyboard).
struct QwertyKeyboardState {
  int page;   // 0 or 1
  bool caps;  // the keys show QWERTY_2
  bool fn;    // the next character key types from QWERTY_3
};
QwertyKeyboardState QwertyState(HWND keyboard);

LRESULT CALLBACK QwertyKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// QwertyKeyClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kQwertyKeyClassRow{kQwertyKeyClass, QwertyKeyClassProc, true, kNoBackground};
