// FxKeyClass: the Fx keys, a pop-up of six keys that insert the predefined texts (four pages
// of six), a date key, a time key and Lock, which keeps the pop-up open for several
// insertions. The main screen opens it on OpenFxKeysMessage; the texts go back to the main
// screen as KeyboardInputMessage code 114.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kFxKeyClass[] = u"FxKeyClass";
inline constexpr WCHAR kFxKeysTitle[] = u"FxKeys";
constexpr DWORD kFxKeysStyle = 0x90000000;  // visible pop-up
// 227 high rather than 230, so that it ends at the screen's bottom edge: the keys end 6 pixels
// above it and nothing of the pop-up lies off the screen.
constexpr RECT kFxKeysPlace{0, 93, 240, 320};

constexpr int kFxTextKeyCount = 6;
constexpr int kFxPageCount = 4;
enum FxKeyIndex { kFxDateKey = kFxTextKeyCount, kFxTimeKey, kFxLockKey, kFxKeyCount };

// The page shown (0-3); it outlives the pop-up and starts at 0 with the program.
struct FxKeysState {
  int page;
};
FxKeysState& TheFxKeys();

// Key `key`'s rectangle in the pop-up's client coordinates and its skin image; an empty
// rectangle and -1 for an index out of range.
KeyPlace FxKeyPlace(int key);

// The label a pop-up's key shows now; empty for a window that is no pop-up or a bad index.
std::u16string FxKeyLabel(HWND popup, int key);

LRESULT CALLBACK FxKeyClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// FxKeyClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kFxKeyClassRow{kFxKeyClass, FxKeyClassProc, true, kNoBackground};
