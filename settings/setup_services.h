// What the setup dialogs ask of the program that opens them: typing a text (the main screen,
// which lives above the settings), starting the button-assignment tool and the window stack. The opener passes
// the services as the dialog parameter; a null function does nothing.
#pragma once

#include <device/win_types.h>
#include <device/windows.h>

struct SetupServices {
  // Lets the user type a text over `owner`, starting from `text` (room characters including
  // the terminator). True when accepted, with the typed text in `text`; false when cancelled,
  // `text` unchanged.
  bool (*editText)(HWND owner, const WCHAR* title, WCHAR* text, int room);
  // Starts "assign.exe" from the program folder with this program's path; does not wait, and
  // a failed start is not reported.
  void (*startAssignTool)();
  // The program's window stack, which the predefined-text dialog joins while it is open.
  void (*pushWindow)(HWND window);
  void (*popWindow)(HWND window);
};
