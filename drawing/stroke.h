// Pen strokes across a key: a stroke that starts on a button (its pen-down point recorded by
// PressButtonAt) and ends far enough away gives the key's alternative instead of the key.
#pragma once

#include <device/windows.h>

enum StrokeKind { kNoStroke = 0, kStrokeRight = 1, kStrokeLeft = 2, kStrokeDown = 3, kStrokeUp = 4 };

// The stroke length in pixels: strikelength x 10 + 15 (35 with the default setting).
int StrokeThreshold();

// Classifies the stroke from the recorded origin to the pen-up point (x, y). When `send` is
// set, its effect goes to the window's parent as a KeyboardInputMessage, exactly as the key it
// stands for would send it: right a space, left a backspace, down Enter, up `character` in its
// other case. The main screen feeds the word tracker from that input, so a stroke leaves the
// tracker as the Space or Enter key does.
int ClassifyStroke(HWND window, int x, int y, bool send, bool isUpperCase, WCHAR character);

// The same from an origin the window recorded itself (a keyboard that hit-tests its keys
// without PressButtonAt keeps its own pen-down point).
int ClassifyStroke(HWND window, POINT origin, int x, int y, bool send, bool isUpperCase, WCHAR character);
