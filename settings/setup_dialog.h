// The setup dialog (template 119, "Tavrel 1.0 - setup"): every user setting of the settings
// block, the predefined-text and language setup dialogs, and the button-assignment tool.
// Modal; works on the program's settings block and saves it on "OK".
//
// Besides the controls every setup has, it offers "Learn word pairs" (LearnPairs), the
// keypad's hand (radio buttons 1061 left, 1062 right: lefthanded) and the notes folder (edit
// 1068: directory, up to 259 characters; an emptied field keeps the folder as it was).
#pragma once

#include "settings/setup_services.h"

#include <device/dialogs.h>

// Runs the dialog over `owner`; always ends with 1.
int RunSetupDialog(HWND owner, const SetupServices* services);

BOOL CALLBACK SetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
