// Top-level windows of the other processes running on the same device image: FindWindow
// across processes and raising such a window (remote_windows.cpp).
//
// Each process that starts the device serves a local socket registered in the device image
// (<image>/instances); FindWindow asks the other registered processes only when nothing of
// its own matches. A window found that way gets a remote handle that only the raising calls
// understand: SetForegroundWindow, BringWindowToTop, ShowWindow (a showing command) and
// SetWindowPos (HWND_TOP or no z-order change, neither hiding nor moving nor sizing). Every
// other call sees an invalid handle (IsWindow is FALSE, GetWindowText empty).
#pragma once

#include <device/win_types.h>

namespace device::internal {

// Starts (or, after the device image changed, moves) this process's window server. Called
// by device start-up on the UI thread.
void StartRemoteWindowServer();

// The UI thread, whenever it runs out of messages: records its visible top-level windows
// (class, title) for the server thread to answer from.
void PublishTopLevelWindows();

// A window of another process of this device image, or null. At least one of the two
// arguments must be given; a null one matches anything.
HWND FindRemoteWindow(LPCWSTR className, LPCWSTR windowName);

bool IsRemoteWindow(HWND hwnd);
// Asks the owning process to bring the window to the front and activate it; TRUE when that
// process took the request (it acts on it when its UI thread next dispatches).
BOOL RaiseRemoteWindow(HWND hwnd);

// The posted message that carries a raise request into the owner's queue; DispatchMessage
// hands it to HandleRaiseRequest instead of the window procedure.
constexpr UINT kRaiseRequestMessage = 0xC7A1;
void HandleRaiseRequest(HWND hwnd);

}  // namespace device::internal
