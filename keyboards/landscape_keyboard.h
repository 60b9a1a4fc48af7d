// LandscapeKeyClass: the full keyboard of the turned device, 40 character keys in four
// columns (rows on the turned device) beside Fn, Caps, Space, Backspace and Enter, its texts
// drawn upwards. The main screen creates it for keyboard choice 3 at (74, 0), 166 x 320.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kLandscapeKeyClass[] = u"LandscapeKeyClass";

constexpr int kLandscapeCharacterKeyCount = 40;  // one QWERTYFULL_* string
constexpr int kLandscapeKeyCount = kLandscapeCharacterKeyCount + 5;

enum LandscapeKeyIndex {
  kLandscapeFnKey = kLandscapeCharacterKeyCount,
  kLandscapeCapsKey,
  kLandscapeSpaceKey,
  kLandscapeBackspaceKey,
  kLandscapeEnterKey
};

// Key `key`'s rectangle in the keyboard's (portrait) client coordinates and its skin image;
// an empty rectangle and -1 for an index out of range.
KeyPlace LandscapeKeyPlace(int key);

// Caps and Fn live for the whole run of the program, across landscape keyboards.
struct LandscapeKeyboardState {
  bool caps;  // the keys show QWERTYFULL_2
  bool fn;    // the next character key types its QWERTYFULL_3 character
};
LandscapeKeyboardState& TheLandscapeKeyboard();

LRESULT CALLBACK LandscapeKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// LandscapeKeyClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kLandscapeKeyClassRow{kLandscapeKeyClass, LandscapeKeyClassProc, true,
                                                      kNoBackground};
