// The start window's ways into the settings: the setup dialog (band 0's left part and the grid
// menu's "Setup") and the button-assignment tool (first start, and the setup dialog's
// "Assign to hardware key..").
#pragma once

#include <device/windows.h>

// Opens the setup dialog (template 119) modally over the start window.
void OpenSetupDialog(HWND mainWindow);

// Starts "assign.exe" from the program folder with this program's own full path as its command
// line, without waiting. A failed start is not reported.
void StartAssignTool();
