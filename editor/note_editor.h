// MyEditWindowClass: the portrait note editor, the platform EDIT control whose window
// procedure is replaced by NoteEditorProc. The class is registered once at start-up only to
// carry that procedure; the main screen creates an "EDIT" control and calls MakeNoteEditor.
#pragma once

#include "common/window_class.h"

#include <device/windows.h>

inline constexpr WCHAR kNoteEditorClass[] = u"MyEditWindowClass";

// Style of the portrait editor: child, visible, vertical scroll bar, multi-line, wants return.
constexpr DWORD kNoteEditorStyle = 0x50201004;

// The longest note the editor takes: a note is not bound by the EDIT control's default limit
// of 32,767 characters. Characters typed beyond it are refused.
constexpr int kNoteTextLimit = 1000000;

// Reports caret moves to the parent (CaretMovedMessage), turns a line feed into a line break,
// hands Enter and the application keys 0xC1-0xC4 to the parent; everything else is the EDIT
// control's.
LRESULT CALLBACK NoteEditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// MyEditWindowClass: arrow cursor, no background brush; start-up registers it.
inline constexpr WindowClassRow kNoteEditorClassRow{kNoteEditorClass, NoteEditorProc, true, kNoBackground};

// A character typed on the desktop keyboard (not one the main screen sends) goes to the
// editor's parent as the on-screen keyboards send theirs (KeyboardInputMessage: a character,
// Backspace, Tab, Enter), so the word tracker sees it. True when it was forwarded, with the
// parent's answer in `result`; false for any other character message.
bool ForwardTypedCharacter(HWND editor, WPARAM ch, LPARAM lParam, LRESULT* result);

// Replaces the procedure of an EDIT control by that of MyEditWindowClass (NoteEditorProc when
// the class is not registered) and raises its text limit to kNoteTextLimit.
void MakeNoteEditor(HWND edit);
