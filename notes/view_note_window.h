// ViewNoteWindowClass: the procedure the notes list installs on its preview control. It is the
// platform edit control in every way but one: each pen-up also tells the notes list
// (PreviewToggleMessage), which grows or shrinks the preview.
#pragma once

#include "common/window_class.h"

#include <device/windows.h>

inline constexpr WCHAR kViewNoteClassName[] = u"ViewNoteWindowClass";

LRESULT CALLBACK ViewNoteWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registered so that the procedure can be found by its class name, as every program class is.
inline constexpr WindowClassRow kViewNoteClassRow{kViewNoteClassName, ViewNoteWindowProc, true, kNoBackground};
