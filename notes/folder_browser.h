// The folder browser: chooses the `NotesFolder` by walking the folder tree as a 3 x 3 grid of
// folder icons, each with its name and the number of notes in its tree. A modal dialog
// (template 110) run by the notes list's folder button on the setting's buffer.
//
// Besides OK (which writes the current path back) it has a Cancel button, and WM_CLOSE (the
// device's close key) cancels too: walking into a folder by mistake can be undone without
// changing the setting.
#pragma once

#include <device/windows.h>

// Runs the browser over `owner` starting at `path` (a zero-terminated buffer of MAX_PATH
// characters). OK copies the chosen folder into `path` and returns true; Cancel leaves it as
// it was and returns false.
bool RunFolderBrowser(HINSTANCE instance, HWND owner, WCHAR* path);

// The dialog procedure of template 110; lParam of WM_INITDIALOG is the path buffer.
BOOL CALLBACK FolderBrowserProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Paging of the grid, shared by the drawing and the pen: which folder starts page `page`
// and what the page shows. `depth` > 0 below the root.
struct FolderPage {
  int first;        // index of the page's first folder
  int shown;        // folders shown on the page
  bool special;     // cell 0 is the up cell (first page) or the previous-page cell
  bool more;        // cell 8 is the next-page cell
};
FolderPage LayOutFolderPage(int folderCount, int depth, int page);
