// Activation and keyboard focus: SetActiveWindow, GetActiveWindow, SetForegroundWindow,
// GetForegroundWindow, SetFocus, GetFocus.
//
// One process owns the whole device, so the foreground window is the active window.
// Activating a top-level window sends WM_ACTIVATE(WA_INACTIVE, new) to the one losing
// activation, then WM_ACTIVATE(WA_ACTIVE, old) to the new one, whose DefWindowProc takes the
// focus. SetFocus sends WM_KILLFOCUS(new) to the old focus, then WM_SETFOCUS(old) to the
// new, activating the new focus's top-level window first when needed. When the active window
// is hidden or destroyed, activation passes to its owner, else to the topmost visible enabled
// top-level window, else to none; a hidden child with the focus hands it to its parent.
#include "internal/remote_windows.h"
#include "internal/window_state.h"

using namespace device::internal;

namespace device::internal {

void ActivateWindow(Window* w, WORD how) {
  WindowManager& wm = Wm();
  if (wm.active == w->handle) return;
  HWND old = wm.active;
  wm.active = w->handle;
  if (old) SendToWindow(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(w->handle));
  if (wm.active != w->handle) return;  // the old window activated another one meanwhile
  SendToWindow(w->handle, WM_ACTIVATE, how, reinterpret_cast<LPARAM>(old));
}

namespace {

bool CanTakeActivation(const Window* w, const Window* leaving) {
  return w && w != leaving && !w->parent && !w->destroying && (w->style & WS_VISIBLE) &&
         !(w->style & WS_DISABLED);
}

void ActivateOther(Window* leaving) {
  Window* next = CanTakeActivation(leaving->owner, leaving) ? leaving->owner : nullptr;
  for (Window* t : Wm().topLevels) {
    if (next) break;
    if (CanTakeActivation(t, leaving)) next = t;
  }
  if (next) {
    ActivateWindow(next, WA_ACTIVE);
    return;
  }
  Wm().active = nullptr;
  SendToWindow(leaving->handle, WM_ACTIVATE, WA_INACTIVE, 0);
}

bool FocusInside(const Window* w) {
  HWND focus = Wm().focus;
  return focus && (focus == w->handle || IsChild(w->handle, focus));
}

}  // namespace

void ForgetWindowForFocus(Window* w) {
  if (w->parent) {
    if (FocusInside(w)) SetFocus(w->parent->handle);
    return;
  }
  if (Wm().active == w->handle) ActivateOther(w);
  if (FromHandle(w->handle) == w && FocusInside(w)) SetFocus(nullptr);
}

}  // namespace device::internal

HWND SetFocus(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND old = wm.focus;
  if (!hwnd) {
    wm.focus = nullptr;
    if (old) SendToWindow(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  if (old == hwnd) return old;
  Window* top = TopLevelOf(w);
  if (wm.active != top->handle) {
    ActivateWindow(top, WA_ACTIVE);
    if (!FromHandle(hwnd)) return nullptr;
    old = wm.focus;
    if (old == hwnd) return old;
  }
  wm.focus = hwnd;
  if (old) {
    SendToWindow(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (wm.focus != hwnd) return old;  // the old window moved the focus elsewhere
  }
  SendToWindow(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return Wm().focus; }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = Wm().active;
  Window* w = FromHandle(hwnd);
  if (!w) return nullptr;
  w = TopLevelOf(w);
  BringWindowToTop(w->handle);  // activates it too, unless it is hidden or disabled
  if (Wm().active != w->handle) ActivateWindow(w, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return Wm().active; }

BOOL SetForegroundWindow(HWND hwnd) {
  if (IsRemoteWindow(hwnd)) return RaiseRemoteWindow(hwnd);
  if (!FromHandle(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

HWND GetForegroundWindow() { return Wm().active; }
