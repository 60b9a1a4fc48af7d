// The assign tool's main window (class "ASSIGN", title "assign"): it runs the assign dialog
// as soon as it exists and is destroyed when the dialog ends, which ends the program.
#pragma once

#include "common/window_class.h"

inline constexpr WCHAR kAssignClassName[] = u"ASSIGN";
inline constexpr WCHAR kAssignTitle[] = u"assign";

// The create parameter of the window is the AssignRequest the dialog works on.
LRESULT CALLBACK AssignWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

inline constexpr WindowClassRow kAssignClassRow{kAssignClassName, AssignWindowProc, true, WHITE_BRUSH};
