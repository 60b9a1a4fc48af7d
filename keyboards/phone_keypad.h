// PhoneKeyClass: the phone keypad with multi-tap letter keys, and its preview pop-up
// PhonePreviewClass. The main screen creates the keypad for keyboard choice 2.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kPhoneKeyClass[] = u"PhoneKeyClass";
inline constexpr WCHAR kPhonePreviewClass[] = u"PhonePreviewClass";

constexpr int kLetterKeyCount = 12;
constexpr int kLetterGroupRoom = 20;  // 19 characters and the terminator

// The keys: letter keys 0-11 (rows of three from the top left), then the function keys.
enum PhoneKeyIndex {
  kPhoneShiftKey = kLetterKeyCount,
  kPhoneCapsKey,
  kPhoneSpaceKey,
  kPhoneBackspaceKey,
  kPhoneEnterKey,
  kPhoneKeyCount
};

// Key `key`'s rectangle in the keypad's client coordinates and its skin image; an empty
// rectangle and -1 for an index out of range.
KeyPlace PhoneKeyPlace(int key);

// The keypad state: one per process, zero when the program starts, kept across keypads.
struct PhoneKeypadState {
  bool shift;         // toggled by the Shift key
  bool caps;          // toggled by the Caps key; the Caps key shows its focused look while set
  int currentKey;     // the key hit at the last pen-down, -1 when it hit none
  int cycleKey;       // the letter key whose characters are being cycled (the last one tapped)
  int cycleIndex;     // position of the pending character in the cycle key's group
  bool cyclePending;  // a character is pending and timer 1 runs
  HWND preview;       // the PhonePreviewClass pop-up
  // The letter table: the characters of letter keys 0-11, from PHONEKEYS_1 (Shift and Caps
  // alike) or PHONEKEYS_2 (exactly one set). A key string of fewer groups leaves the others.
  WCHAR letters[kLetterKeyCount][kLetterGroupRoom];
};

PhoneKeypadState& ThePhoneKeypad();

LRESULT CALLBACK PhoneKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PhonePreviewClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Both classes: arrow cursor, no background brush, no icon. Start-up registers the keypad's;
// the keypad registers the preview's each time it is created.
inline constexpr WindowClassRow kPhoneKeyClassRow{kPhoneKeyClass, PhoneKeyClassProc, true, kNoBackground};
inline constexpr WindowClassRow kPhonePreviewClassRow{kPhonePreviewClass, PhonePreviewClassProc, true, kNoBackground};

// Fills the letter table for a language from the Shift and Caps flags.
void FillLetterTable(int language);
