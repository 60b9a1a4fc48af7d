// The window manager's own records, shared by its modules (window_manager, message_queue,
// timers, paint, input, focus, caret). Everything here is touched only by the thread that
// owns the windows, except the message queue, which has its own lock.
#pragma once

#include <device/user.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace device::internal {

struct WindowClass {
  std::u16string name;
  WNDCLASSW info;  // lpszClassName points into `name`
};

struct Window {
  HWND handle;
  WindowClass* cls;
  WNDPROC proc;          // current procedure (GWL_WNDPROC)
  DWORD style;
  DWORD exStyle;
  RECT rect;             // whole window, in the parent's client coordinates (screen for top-level)
  Window* parent;        // null for top-level windows
  Window* owner;         // top-level owner of a pop-up, or null
  std::vector<Window*> children;  // z-order, topmost first
  std::u16string text;   // kept by DefWindowProc (WM_SETTEXT / WM_GETTEXT)
  LONG_PTR userData;
  LONG_PTR id;           // GWL_ID: the control id passed as hMenu to a child
  HINSTANCE instance;
  std::vector<unsigned char> extra;  // cbWndExtra bytes
  // Pending paint: one bounding rectangle in client coordinates.
  bool updatePending;
  RECT update;
  bool erasePending;
  bool framePending;     // the non-client frame (border, caption) needs WM_NCPAINT
  bool destroying;       // WM_DESTROY has been sent; the handle stays valid until freed
};

struct WindowManager {
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::map<std::u16string, std::unique_ptr<WindowClass>> classes;  // key: lower-case name
  std::vector<Window*> topLevels;  // z-order, topmost first
  std::uintptr_t nextHandle = 0x10000;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
};

WindowManager& Wm();
WindowClass* FindClass(LPCWSTR name);
std::u16string ClassKey(LPCWSTR name);
Window* FromHandle(HWND hwnd);  // null for a handle that names no live window

// Geometry, all in screen coordinates unless named otherwise.
constexpr int kCaptionHeight = 20;
RECT ClientInsets(const Window* w);          // left/top/right/bottom thickness of the frame
RECT ScreenWindowRect(const Window* w);
RECT ScreenClientRect(const Window* w);
RECT LocalClientRect(const Window* w);       // (0, 0, width, height) of the client area
bool IsShown(const Window* w);               // visible itself and all its ancestors
bool IsEnabledChain(const Window* w);        // enabled itself and all its ancestors
Window* TopLevelOf(Window* w);
// The screen rectangles a window may paint: its (client or whole) rectangle clipped to its
// parents and the screen, minus the visible windows stacked above it.
std::vector<RECT> VisibleRegion(const Window* w, bool clientOnly);
void SubtractRect(std::vector<RECT>& region, const RECT& cut);
RECT Intersect(const RECT& a, const RECT& b);
bool Empty(const RECT& r);

// Calls a window's procedure; answers 0 for a handle that names no live window.
LRESULT SendToWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Painting helpers (paint.cpp).
void AddUpdate(Window* w, const RECT& clientRect, bool erase, bool frame);
// What each shown window shows (its visible region less its shown children) and the bare
// screen, taken before a window hides, moves or goes; ExposeChanges then invalidates exactly
// what became visible since, and paints newly bare screen black.
struct ScreenSnapshot {
  std::map<HWND, std::vector<RECT>> shown;
  std::vector<RECT> desktop;
};
ScreenSnapshot TakeScreenSnapshot();
void ExposeChanges(const ScreenSnapshot& before);
void DropUpdate(Window* w);
Window* NextWindowToPaint();

// Focus and activation helpers (focus.cpp).
void ActivateWindow(Window* w, WORD how);
void ForgetWindowForFocus(Window* w);  // a window is going away or hiding: move focus/activation

// Timer, caret and capture clean-up when a window is freed.
void KillWindowTimers(HWND hwnd);
void ForgetCaretWindow(HWND hwnd);
void ForgetCaptureWindow(HWND hwnd);

// Resets every record (all windows must be gone); used when the device shuts down.
void ResetWindowManager();
void ResetTimers();
void ResetQueue();

}  // namespace device::internal
