// WindowStack: the program's open top-level windows and dialogs, in the order they opened.
// Each pushes itself when created and pops itself when destroyed; the top owns the screen,
// and windows ask TopWindow whether a timer or focus message concerns them.
#pragma once

#include <device/windows.h>

constexpr int kWindowStackRoom = 10;

struct WindowStack {
  HWND windows[kWindowStackRoom];
  int count;
};

// The process-wide stack (user-interface thread only).
extern WindowStack TheWindowStack;

// Stores the window on top. At most 10 windows are ever open; a push beyond that is dropped
// rather than written past the array (its later PopWindow then reports "window stack").
void PushWindow(HWND window);

// Removes the window when it is the top. Otherwise the stack stays unchanged and a message
// box owned by the window says "window stack" (caption "tavrel", OK only).
void PopWindow(HWND window);

// The top window, or none when the stack is empty.
HWND TopWindow();
