// ProgramFolderPath: program-relative files (keyboard.txt, the dictionaries, the gx images,
// "assign.exe") are found beside the running program.
#pragma once

#include <device/windows.h>

constexpr int kPathRoom = 260;  // characters including the terminator (MAX_PATH)

// Writes the running program's folder (up to and including its last backslash) followed by
// `name` into `path`, a buffer of kPathRoom characters. A result that would not fit leaves
// `path` empty and returns false, so a cut path never names another file.
bool ProgramFolderPath(const WCHAR* name, WCHAR* path);
