// The assign dialog (template 103, "Assign"): binds the program named on the tool's command
// line to one of the device's hardware buttons, or, with its box unchecked, releases the
// button. A change asks the user to restart and requests the device's reboot.
//
// With an empty command line there is no program to bind: "OK" changes nothing and ends.
#pragma once

#include <device/dialogs.h>

#include <string>

// What the tool derives from its command line (the main program's full path).
struct AssignRequest {
  std::u16string programPath;
  std::u16string buttonCommand;  // the path in double quotes
  std::u16string assignedKey;    // Software\Korvani followed by the path
};

AssignRequest MakeAssignRequest(const WCHAR* commandLine);

// Runs the dialog over `owner`; 1 after "OK", 0 after Cancel.
int RunAssignDialog(HWND owner, const AssignRequest* request);

BOOL CALLBACK AssignDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
