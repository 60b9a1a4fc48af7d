// The messages the program's windows send each other, all in the platform's user range.
// The prediction engine's own messages (KeyboardInputMessage, the language change,
// MenuLabelMessage) are declared in prediction/window_messages.h and come in with this header.
#pragma once

#include "prediction/window_messages.h"

#include <device/win_types.h>

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
// MenuLabelMessage 0x04C9 (owner -> menu bar: wParam button, lParam label) is in
// prediction/window_messages.h.
