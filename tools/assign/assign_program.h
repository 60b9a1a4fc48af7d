// The assign program: one per device image (a second start brings the first to the front and
// ends), a main window that runs the assign dialog, and the message loop.
#pragma once

#include <device/windows.h>

// The program's entry with its command line (the main program's full path); returns 0.
int RunAssign(HINSTANCE instance, LPCWSTR commandLine);
