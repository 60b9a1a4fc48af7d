// EditLSClass: the landscape note editor. A narrow strip at the left of the screen that shows
// the text of a hidden EDIT control rotated by 90 degrees, three lines at a time, under two
// scroll buttons. The main screen creates it for the landscape keyboard (input method 3) and
// moves the text in and out through the text-get and text-set messages.
#pragma once

#include "common/window_class.h"

#include <device/windows.h>

inline constexpr WCHAR kLandscapeEditorClass[] = u"EditLSClass";

constexpr int kLandscapeLineWidth = 14;      // one line of text is a column this wide
constexpr int kLandscapeButtonsHeight = 40;  // the scroll buttons above the text

// The text, the selection and every edit message (EM_*) are the hidden EDIT control's; the
// strip draws the three lines from its first visible line upwards, turns the arrow keys with
// the device, places the caret where the pen taps and scrolls a line per button press.
LRESULT CALLBACK LandscapeEditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The EDIT control that holds the text of a landscape editor; none for any other window.
HWND LandscapeHiddenEdit(HWND editor);

// EditLSClass: arrow cursor, no background brush; start-up registers it.
inline constexpr WindowClassRow kLandscapeEditorClassRow{kLandscapeEditorClass, LandscapeEditorProc, true,
                                                         kNoBackground};
