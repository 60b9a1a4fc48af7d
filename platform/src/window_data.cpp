// Per-window data: GetWindowLong/SetWindowLong (GWL_WNDPROC, GWL_USERDATA, GWL_STYLE,
// GWL_EXSTYLE, GWL_ID, GWL_HINSTANCE, GWL_HWNDPARENT read-only, and byte offsets into the
// class's cbWndExtra), window text through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH,
// FindWindow (of another process too, see remote_windows.h), GetDlgCtrlID, EnableWindow, IsWindowEnabled, IsWindowVisible, system metrics.
//
// Setting GWL_STYLE stores the bits without redrawing or moving anything (as Win32);
// changing WS_VISIBLE or WS_DISABLED that way bypasses ShowWindow / EnableWindow.
#include "internal/remote_windows.h"
#include "internal/window_state.h"
#include "internal/screen.h"

#include <cstring>

using namespace device::internal;

LONG_PTR GetWindowLong(HWND hwnd, int index) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWL_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_USERDATA: return w->userData;
    default: break;
  }
  LONG_PTR value = 0;
  if (index >= 0 && static_cast<size_t>(index) + sizeof value <= w->extra.size()) {
    std::memcpy(&value, w->extra.data() + index, sizeof value);
  }
  return value;
}

LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  Window* w = FromHandle(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLong(hwnd, index);
  switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_ID: w->id = value; break;
    case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    default:
      if (index >= 0 && static_cast<size_t>(index) + sizeof value <= w->extra.size()) {
        std::memcpy(w->extra.data() + index, &value, sizeof value);
      } else {
        return 0;
      }
  }
  return old;
}

BOOL SetWindowText(HWND hwnd, LPCWSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE
                                                                                       : FALSE;
}

int GetWindowText(HWND hwnd, LPWSTR buffer, int maxCount) {
  if (!IsWindow(hwnd) || !buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// Compares the stored title directly (Win32's FindWindow does not send WM_GETTEXT either).
// Only when no window of this process matches are the other processes of the device image
// asked (a class unknown here may well be registered there).
HWND FindWindow(LPCWSTR className, LPCWSTR windowName) {
  WindowClass* cls = className ? FindClass(className) : nullptr;
  for (Window* t : Wm().topLevels) {
    if (className && t->cls != cls) continue;
    if (windowName && t->text != windowName) continue;
    return t->handle;
  }
  return FindRemoteWindow(className, windowName);
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && w->parent ? static_cast<int>(w->id) : 0;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = FromHandle(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    // A disabled window takes no keys: the focus leaves it (as Win32 does).
    HWND focus = GetFocus();
    if (focus == hwnd || IsChild(hwnd, focus)) SetFocus(nullptr);
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w && IsShown(w);
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return kScreenWidth;
    case SM_CYSCREEN: return kScreenHeight;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    default: return 0;
  }
}

// The device has no sound; a beep is accepted and ignored.
BOOL MessageBeep(UINT type) { return TRUE; }
