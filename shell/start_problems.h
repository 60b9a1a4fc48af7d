// Problems found at start-up that would otherwise leave the program running with blank
// keyboards or silently forgetting its settings. Each is said on standard error and, once the
// start window exists, in a message box over it.
#pragma once

#include <device/windows.h>

#include <string>
#include <vector>

struct LanguageTable;

// What is wrong with the keyboard file at `path` after reading it (`read`: the file could be
// read into `table`), or an empty text when nothing is.
std::u16string KeyboardFileProblem(const WCHAR* path, bool read, const LanguageTable& table);

// What is wrong with the settings store, or an empty text.
std::u16string SettingsStoreProblem();

// Says each problem on standard error and then in a message box owned by `owner`.
void ReportStartProblems(HWND owner, const std::vector<std::u16string>& problems);

// A second start tells whoever started it that the running instance was raised instead.
void ReportRaisedInstance();
