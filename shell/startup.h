// The program's spine: the start-up sequence, the message loop and the shut-down, and the
// process-wide values they own.
#pragma once

#include <device/windows.h>

#include <atomic>
#include <cstdint>

// The program's module instance, used for every window and dialog it creates.
extern HINSTANCE ProgramInstance;

// The start window.
extern HWND MainWindow;

// The hidden rich-ink window that converts note files; none when the library or its class is
// missing.
extern HWND RichInkWindow;

// The contacts loading thread (kept, never waited for) and its ready flag, the contact list's
// own: 0 at start, set to 1 with release semantics by the thread once the contact list is
// loaded and sorted; read with acquire semantics.
extern HANDLE ContactsThread;
extern std::atomic<std::int32_t>& ContactsReady;

// Registers every window class of the program, in the order of the class table.
void RegisterWindowClasses(HINSTANCE instance);

// The program entry: start-up, message loop and shut-down. Returns 0.
int RunTavrel(HINSTANCE instance);
