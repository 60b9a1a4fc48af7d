// MainScreen: the one place where text is typed (a new note, a note file, a contact field, a
// predefined text, a search text). A modal dialog (template 101) that stacks the menu bar, an
// optional title strip, the note editor, the prediction bar and one on-screen keyboard.
// EditMode, set by the opener, says what is edited and how Enter, "Save" and "Back" end it.
#pragma once

#include "shell/edit_request.h"

#include <device/dialogs.h>

// Opens the main screen over `owner` and waits until it ends. With a request the editor starts
// with its text (EditMode 3: the note file it names) and the accepted text is written back into
// it. Returns 1 when accepted, 0 when cancelled, -1 when the dialog could not be made.
int OpenMainScreen(HWND owner, EditRequest* request);

// The new-note band of the start window: no request (the band sets EditMode 1 first).
void OpenNewNote(HWND mainWindow);

// The dialog procedure of template 101; lParam of WM_INITDIALOG is the EditRequest or null.
BOOL CALLBACK MainScreenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
