// The notes list window: the notes of the `NotesFolder` six at a time over a read-only preview
// of the selected note, with a folder button (the folder browser) and a search button. A
// modeless dialog (template 117) opened by the start window's notes band; its menu (kind 1)
// deletes after a Yes/No confirmation, edits in the main screen, pages and goes back.
//
// The window stack, the main screen and the menu bar belong to the program's shell, a layer
// above the notes; the shell hands them in as a NotesListHost when it opens the list.
//
// Where it does more than show what the files say:
// - A note whose file cannot be read is never opened for editing (saving the editor's empty
//   text would replace it); the user is told instead. A note that disappeared since the list
//   was made opens nothing: the list is rebuilt.
// - With the `Menu` setting off the preview starts at the top of the screen, and its toggle
//   keeps that top (the menu bar's 30 pixels are not left empty).
#pragma once

#include <device/windows.h>

#include <cstdint>

// The main screen's text room (characters with the terminator) and its search EditMode.
constexpr int kMaxEditText = 1000;
constexpr std::int32_t kEditModeSearch = 4;

// What the notes list needs from the shell. Every member is set.
struct NotesListHost {
  void (*pushWindow)(HWND window);
  void (*popWindow)(HWND window);
  HWND (*topWindow)();
  // Runs the main screen modally over `owner` with `editMode` (3 a note file named by `text`, 4
  // a search text titled `title`); `text` (room characters) is the text on entry and the
  // accepted text on return. The opener's EditMode is 3 again afterwards. Returns 1 accepted,
  // 0 cancelled, -1 when it could not be opened.
  int (*runMainScreen)(HWND owner, std::int32_t editMode, const WCHAR* title, WCHAR* text, int room);
  // Creates the kind-1 menu over `owner`: the bar along the top, or the pop-up grid.
  HWND (*createMenu)(HWND owner, bool grid);
};

// The dialog procedure of template 117; lParam of WM_INITDIALOG is the NotesListHost, which
// must outlive the window.
BOOL CALLBACK NotesListProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates the notes list over `owner` (modeless); null when it could not be made.
HWND OpenNotesList(HINSTANCE instance, HWND owner, const NotesListHost* host);
