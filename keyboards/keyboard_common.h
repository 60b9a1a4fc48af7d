// What the on-screen keyboards share: sending input to the main screen, the pen-stroke test
// on a character key, the Space/Backspace/Enter keys, key auto-repeat timing, and redrawing.
// Each keyboard keeps its own key table and state; these helpers hold no state of their own.
#pragma once

#include "prediction/language_table.h"

#include <device/windows.h>

// Input to the parent window (the main screen) as KeyboardInputMessage, sent synchronously.
void SendKeyboardInput(HWND keyboard, WPARAM code, const WCHAR* text);
// One character as a one-character string with code 0.
void SendKeyboardCharacter(HWND keyboard, WCHAR character);

// The editing keys every keyboard has.
enum class EditingKey { kSpace, kBackspace, kEnter };
void SendEditingKey(HWND keyboard, EditingKey key);

// The stroke test on a character key at pen-up: a stroke from `origin` to (x, y) longer than
// the stroke threshold is carried out (right: space; left: backspace; down: Enter; up:
// `character` in its other case, lower case when `upperCase`), as the keys send them.
// Returns the StrokeKind, 0 for a tap. An up stroke over a key without a character (0) is
// taken as a stroke but sends nothing.
int RunKeyStroke(HWND keyboard, POINT origin, int x, int y, bool upperCase, WCHAR character);

// Key auto-repeat on a window timer: the first repetition 300 ms after the pen-down, then one
// every 50 ms, while the pen stays within 4 pixels of the pen-down point in both axes.
constexpr UINT kAutoRepeatDelayMs = 300;
constexpr UINT kAutoRepeatPeriodMs = 50;
constexpr int kAutoRepeatSlack = 5;  // a move this far (or farther) in either axis ends the repetition
void StartAutoRepeat(HWND keyboard, UINT_PTR timer);
void ContinueAutoRepeat(HWND keyboard, UINT_PTR timer);
void StopAutoRepeat(HWND keyboard, UINT_PTR timer);
// Stops the repetition when the pen at (x, y) has left the slack around `origin`.
void StopAutoRepeatIfMoved(HWND keyboard, UINT_PTR timer, POINT origin, int x, int y);

// Invalidates the whole keyboard with erasing; it redraws itself in WM_ERASEBKGND.
void RedrawKeyboard(HWND keyboard);

// The pen position of a pen message, in client coordinates.
POINT PenPoint(LPARAM lParam);

// The language whose key strings the keyboards show: the one whose dictionaries are loaded.
int KeyboardLanguage();
const LanguageRecord& KeyboardLanguageRecord(int language);

// Registers a keyboard window class: arrow cursor, no background brush, no icon.
void RegisterKeyboardClass(HINSTANCE instance, const WCHAR* className, WNDPROC proc);
