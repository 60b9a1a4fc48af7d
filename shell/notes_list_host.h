// Opening the notes list from the start window: the shell's window stack, main screen and
// kind-1 menu handed to the notes list (a layer below the shell) as its NotesListHost.
#pragma once

#include <device/windows.h>

// The notes band: the notes list, modeless, over the start window.
void OpenNotesListWindow(HWND mainWindow);
