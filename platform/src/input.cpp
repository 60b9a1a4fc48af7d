// Pen and key input and capture: SetCapture, ReleaseCapture, GetCapture, and the routing of
// host input taken from the queue.
//
// Pen events go to the capture window wherever the pen is, else to the window under the pen
// (WindowFromPoint); a pen event on a disabled window (or one inside a disabled window) is
// dropped, which is what keeps the owner of a modal dialog from reacting. Coordinates are
// the target's client coordinates; wParam is MK_LBUTTON while the pen is down. Key messages
// (WM_KEYDOWN, WM_KEYUP, WM_CHAR) go to the focus window, or to the active window when no
// window has the focus; keys for a disabled window are dropped. Releasing or changing the
// capture sends WM_CAPTURECHANGED to the window that loses it.
#include "internal/backend.h"
#include "internal/window_state.h"

namespace device::internal {

namespace {
POINT lastPen{0, 0};
}  // namespace

POINT LastPenPoint() { return lastPen; }

bool RoutePen(const MSG& raw, bool commit, MSG* routed) {
  POINT screen = raw.pt;
  HWND capture = Wm().capture;
  HWND target = capture ? capture : WindowFromPoint(screen);
  Window* w = FromHandle(target);
  if (commit) lastPen = screen;
  if (!w || (!capture && !IsEnabledChain(w))) return false;
  POINT client = screen;
  ScreenToClient(target, &client);
  bool down = raw.message != WM_LBUTTONUP;
  *routed = MSG{target, raw.message, down ? MK_LBUTTON : 0,
                MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)),
                static_cast<DWORD>(CurrentBackend()->NowMs()), screen};
  return true;
}

bool RouteKey(const MSG& raw, MSG* routed) {
  HWND target = Wm().focus ? Wm().focus : Wm().active;
  Window* w = FromHandle(target);
  if (!w || !IsEnabledChain(w)) return false;
  // lParam: repeat count 1; key-up adds the previous-state and transition bits; a character
  // carries the keyboard's scan code.
  LPARAM lParam = raw.message == WM_KEYUP   ? static_cast<LPARAM>(0xC0000001u)
                  : raw.message == WM_CHAR ? MAKELPARAM(1, kKeyboardScanCode)
                                           : 1;
  *routed = MSG{target, raw.message, raw.wParam, lParam,
                static_cast<DWORD>(CurrentBackend()->NowMs()), lastPen};
  return true;
}

bool RouteInput(const MSG& raw, bool commit, MSG* routed) {
  bool pen = raw.message >= WM_MOUSEMOVE && raw.message <= WM_LBUTTONUP;
  return pen ? RoutePen(raw, commit, routed) : RouteKey(raw, routed);
}

void ForgetCaptureWindow(HWND hwnd) {
  if (Wm().capture == hwnd) Wm().capture = nullptr;
}

}  // namespace device::internal

using namespace device::internal;

HWND SetCapture(HWND hwnd) {
  HWND old = Wm().capture;
  if (!IsWindow(hwnd) || old == hwnd) return old;
  Wm().capture = hwnd;
  if (old) SendToWindow(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = Wm().capture;
  Wm().capture = nullptr;
  if (old) SendToWindow(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Wm().capture; }
