// The window messages the prediction engine sends (numbers fixed by the program's message
// table). Other parts may include this header rather than repeat the numbers.
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

// Owner -> menu bar: wParam the button (0-4), lParam its new label.
constexpr UINT MenuLabelMessage = 0x04C9;
constexpr WPARAM kLanguageButton = 1;
