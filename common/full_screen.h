// The program's full-screen windows hide the task bar, the input-panel button and the start icon.
#pragma once

#include <device/shell.h>
#include <device/windows.h>

inline constexpr DWORD kFullScreenFlags = SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON;  // 0x2A

// When a window above it closes: the owner of `window` comes to the top, full screen again.
inline void RaiseOwnerFullScreen(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner == nullptr) return;
  SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SHFullScreen(owner, kFullScreenFlags);
}
