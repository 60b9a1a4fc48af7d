// NumExpKeyClass: the calculator keypad, the main screen's numeric keyboard. In text mode
// every key types its character; in calculator mode the keys drive TheCalculator() and "Add"
// puts its display into the note. The main screen creates it in numeric mode.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kNumExpKeyClass[] = u"NumExpKeyClass";

// The keys, rows of five from the top left under "Add", then the bottom row.
enum CalculatorKeyIndex {
  kCalcAddKey = 0,
  kCalcClearKey = 5,     // "(" in text mode, "CE/C" in calculator mode
  kCalcMemoryAddKey = 10,
  kCalcMemoryStoreKey = 15,
  kCalcPointKey = 17,
  kCalcEqualsKey = 18,
  kCalcMemoryRecallKey = 20,
  kCalcSquareRootKey = 21,
  kCalcPercentKey = 22,
  kCalcSpaceKey = 23,
  kCalcBackspaceKey = 24,
  kCalcEnterKey = 25,
  kCalcKeyCount = 26
};

// The modes of CalculatorModeMessage.
constexpr WPARAM kCalculatorTextMode = 0;
constexpr WPARAM kCalculatorMode = 1;

// Key `key`'s rectangle in the keypad's client coordinates and its skin image; an empty
// rectangle and -1 for an index out of range.
KeyPlace CalculatorKeyPlace(int key);

// The keypad's display (an "edit" child), for tests; null for a window that is no keypad.
HWND CalculatorDisplay(HWND keypad);

LRESULT CALLBACK NumExpKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// NumExpKeyClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kNumExpKeyClassRow{kNumExpKeyClass, NumExpKeyClassProc, true, kNoBackground};
