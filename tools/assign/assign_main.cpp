// The program entry of assign, started by tavrel with tavrel's full path as its command line
// (in a window, or headless with --script FILE PATH).
#include "tools/assign/assign_program.h"

int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) { return RunAssign(instance, commandLine); }
