// The registry layout the button tools share. The device shell starts, for hardware button k
// (1..5), the command in `Default` of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys\40Ck;
// `Name` there is the button's display name and `ResetCmd` its factory command. The tools
// remember the button bound to a program in the DWORD `button` of its AssignedButtonKey,
// HKEY_LOCAL_MACHINE\Software\Korvani followed directly by the program's full path.
#pragma once

#include <device/win_types.h>

#include <string>

constexpr int kButtonCount = 5;

// "Software\Korvani" followed by the program path (which begins with a backslash).
std::u16string AssignedButtonKey(const std::u16string& programPath);
// The program path between two double quotes: the command a button starts.
std::u16string ButtonCommand(const std::u16string& programPath);

// The button bound to the program, 1..5; 0 when none (missing, 0 or out of range).
int ReadAssignedButton(const std::u16string& assignedKey);
bool WriteAssignedButton(const std::u16string& assignedKey, int button);

// A string value (REG_SZ or REG_MULTI_SZ) of button k's shell key; false when missing.
bool ReadButtonValue(int button, const WCHAR* name, std::u16string& text);
// Writes the command button k starts (its `Default`).
bool WriteButtonCommand(int button, const std::u16string& command);
// Gives button k its factory command back; a button without `ResetCmd` is left as it is.
void RestoreFactoryCommand(int button);
