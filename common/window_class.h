// How the program registers a window class: each window's source declares its class as one
// WindowClassRow, start-up registers the rows of its table in order, and a test registers the
// rows of the windows it makes with the same call.
#pragma once

#include <device/windows.h>

inline constexpr int kNoBackground = -1;  // the window paints all of itself

struct WindowClassRow {
  const WCHAR* name;
  WNDPROC proc;
  bool arrowCursor;
  int background;  // a stock brush, or kNoBackground
};

// Registering a class again has no effect; false when the device refused the class.
inline bool RegisterWindowClass(HINSTANCE instance, const WindowClassRow& row) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = row.proc;
  wc.hInstance = instance;
  wc.hCursor = row.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
  wc.hbrBackground = row.background == kNoBackground ? nullptr : static_cast<HBRUSH>(GetStockObject(row.background));
  wc.lpszClassName = row.name;
  return RegisterClass(&wc) != 0;
}
