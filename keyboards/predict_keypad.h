// PredictKeyClass: the predictive keypad, a 7 x 5 grid of character keys that marks the likely
// next keys, over Fn, Caps, Space, Backspace and Enter. The main screen creates it for
// keyboard choice 1.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kPredictKeyClass[] = u"PredictKeyClass";

constexpr int kPredictColumns = 7;
constexpr int kPredictRows = 5;
constexpr int kCharacterKeyCount = kPredictColumns * kPredictRows;  // 35
constexpr int kPredictKeyCount = kCharacterKeyCount + 5;           // with Fn, Caps, Space, Backspace, Enter

// The function keys after the 35 character keys (rows of seven from the top left).
enum PredictKeyIndex {
  kPredictFnKey = kCharacterKeyCount,
  kPredictCapsKey,
  kPredictSpaceKey,
  kPredictBackspaceKey,
  kPredictEnterKey
};

// Key `key`'s rectangle in the keypad's client coordinates and its skin image; an empty
// rectangle and -1 for an index out of range.
KeyPlace PredictKeyPlace(int key);

// The keypad state that outlives a keypad: one per process, kept across keypads. Everything
// else (focus, pen-down point, pending hardware key) belongs to the window.
struct PredictKeypadState {
  bool fn;    // toggled by Fn; the keys show PREDICT_3
  bool caps;  // toggled by Caps; the keys show PREDICT_2 (unless Fn is set)
};

PredictKeypadState& ThePredictKeypad();

// The key a keypad window has focused (pressed last or moved to with the direction keys); -1
// for none or for a window that is no keypad.
int PredictKeypadFocusedKey(HWND keypadWindow);

LRESULT CALLBACK PredictKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// PredictKeyClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kPredictKeyClassRow{kPredictKeyClass, PredictKeyClassProc, true, kNoBackground};
