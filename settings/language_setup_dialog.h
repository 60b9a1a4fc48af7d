// The language setup dialog (template 123): the languages of keyboard.txt in two sorted lists,
// "Use these:" and "Don't use these:", by their long names. "<<" starts using the selected
// language (it becomes the last of the language button's cycle), ">>" stops using one (never
// the last). "OK" saves the settings; closing otherwise keeps the change in memory only.
#pragma once

#include <device/dialogs.h>

int RunLanguageSetupDialog(HWND owner);

BOOL CALLBACK LanguageSetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
