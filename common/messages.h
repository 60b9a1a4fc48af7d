// The messages the program's windows send each other, all in the platform's user range, and
// the codes they carry. Every window folder includes this one header; it sits below all of
// them and knows nothing but the device's types.
#pragma once

#include <device/win_types.h>

// Keyboards, prediction bar, Fx keys -> MainScreen. wParam is one of the input codes below,
// lParam a zero-terminated text that belongs to the sender.
constexpr UINT KeyboardInputMessage = 0x0401;
constexpr WPARAM kInputCharacter = 0;       // the first character of lParam
constexpr WPARAM kInputBackspace = 8;
constexpr WPARAM kInputTab = 9;
constexpr WPARAM kInputEnter = 13;
constexpr WPARAM kInputInsertText = 112;    // insert all of lParam
constexpr WPARAM kInputCompleteWord = 114;  // complete the word at the caret with lParam

// MainScreen -> keyboard: wParam is the new language index.
constexpr UINT LanguageChangedMessage = 0x0402;
// Editor -> MainScreen: the caret moved by other means than typing. No parameters.
constexpr UINT CaretMovedMessage = 0x0405;
// MainScreen -> prediction bar: wParam the word before the caret (same number as above; the
// two go to different windows).
constexpr UINT WordBeforeCaretMessage = 0x0405;
// MainScreen -> keyboard, prediction bar: redraw from the tracker's state. No parameters.
constexpr UINT RefreshMessage = 0x0406;
// MainScreen -> calculator keypad: wParam 0 text mode, 1 calculator mode.
constexpr UINT CalculatorModeMessage = 0x0407;
// MainScreen -> prediction bar: wParam 0 horizontal, 1 vertical.
constexpr UINT BarLayoutMessage = 0x0408;
// MainScreen -> keyboard: type any input the keyboard still holds back (the phone keypad's
// pending multi-tap character) now, before the screen saves, closes or changes keyboards.
// No parameters.
constexpr UINT CommitPendingInputMessage = 0x0409;
// Note preview -> notes list. No parameters.
constexpr UINT PreviewToggleMessage = 0x042C;
// Prediction bar -> MainScreen: open the Fx keys. No parameters.
constexpr UINT OpenFxKeysMessage = 0x0437;

// Menu bar -> owner: wParam the chosen button 0-8, or -1 when the pen-up or VK_RETURN found
// no button.
constexpr UINT MenuCommandMessage = 0x04C7;
// Owner -> menu bar: wParam the kind (0-6), lParam the flag.
constexpr UINT MenuLayoutMessage = 0x04C8;
// Owner -> menu bar: wParam the button (0-4), lParam its new label.
constexpr UINT MenuLabelMessage = 0x04C9;
constexpr WPARAM kLanguageButton = 1;

// Start window -> each window above it on the window stack, topmost first: the program is
// closing (its window was closed or the host is ending it). A window saves what is being
// typed, as "Save" would, and ends; it answers 1 when it could not and stays open, which
// gives up the close. No parameters.
constexpr UINT ProgramClosingMessage = 0x04D0;
